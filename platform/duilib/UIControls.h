// The concrete controls: label, button, link text, containers, animation panel.
#pragma once

#include <vector>

#include "duilib/UIControl.h"
#include "duilib/UIRender.h"
#include "duilib/UITextStyle.h"

namespace DuiLib {

// Draws its text: one line unless "wrap", cut with "..." when "ellipsis" and it
// does not fit; default alignment left|vcenter.
class CLabelUI : public CControlUI {
public:
    LPCTSTR GetClass() const override;
    bool ApplyAttribute(LPCTSTR name, LPCTSTR value) override;

    void SetTextColor(uint32_t argb);
    uint32_t GetTextColor() const;
    void SetDisabledTextColor(uint32_t argb);
    uint32_t GetDisabledTextColor() const;
    void SetHotTextColor(uint32_t argb);
    void SetFont(int index);  // index into the manager's fonts ("font" attribute)
    int GetFont() const;
    void SetTextStyle(unsigned style);
    unsigned GetTextStyle() const;
    void SetTextPadding(const UIRect& padding);  // unscaled
    // The rectangle the text is laid out in (the position less textpadding).
    UIRect TextRect() const;
    UIFont CurrentFont() const;
    bool CaresWhenPointerLeaves() const override;
    UIRole ClassRole() const override { return UIRole::StaticText; }

protected:
    // The colour the text is drawn in now (disabled, hot or normal), as the
    // layout gives it; PaintedTextColor is the one painted (UIColors::Resolve).
    virtual uint32_t CurrentTextColor() const;
    uint32_t PaintedTextColor() const;
    void PaintContent(CRenderList& list, const UIRect& clip) override;

    uint32_t m_textColor = 0xFF000000;
    uint32_t m_disabledTextColor = 0xFFA7A6AA;
    uint32_t m_hotTextColor = 0;
    int m_font = -1;
    unsigned m_textStyle = DT_ALIGN_LEFT | DT_ALIGN_VCENTER;
    UIRect m_textPadding;
};

// Raises "click" when pressed and released over it while enabled.
// Default alignment center|vcenter; "pushedtextcolor" colours the text while pressed.
class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    LPCTSTR GetClass() const override;
    bool ApplyAttribute(LPCTSTR name, LPCTSTR value) override;
    void DoEvent(TEventUI& event) override;
    bool IsInteractiveAt(int x, int y) const override;
    bool IsFocusable() const override { return true; }
    bool CaresWhenPointerLeaves() const override { return true; }
    UIRole ClassRole() const override { return UIRole::PushButton; }
    // Raises "click".
    bool Activate() override;

protected:
    uint32_t CurrentTextColor() const override;
    UIColorRole FaceRole() const override { return UIColorRole::ButtonFace; }
    UIColorRole TextRole() const override { return UIColorRole::ButtonText; }

private:
    uint32_t m_pushedTextColor = 0;
    bool m_pressed = false;  // the button went down over this control
};

// A label whose text may carry links: "{a}shown text{/a}" or "{a target}shown text{/a}".
// A click on a link raises "link" with wParam = the link's index.
// Links are drawn underlined in "linkcolor" (default #FF0A59F7).
class CTextUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override;
    bool ApplyAttribute(LPCTSTR name, LPCTSTR value) override;
    void DoEvent(TEventUI& event) override;
    bool IsInteractiveAt(int x, int y) const override;
    // Focusable while it shows a link; activation raises "link" for link 0,
    // and the focus indicator goes round that link.
    bool IsFocusable() const override;
    UIRect GetFocusRect() const override;
    bool Activate() override;
    // A link while it shows one, else text; read as the shown text, without the markup.
    UIRole ClassRole() const override;
    std::wstring AccessibleText() const override;
    // Link targets and shown texts, in order, for the current text.
    int GetLinkCount() const;
    // The link's target, or its shown text when it has none; empty when out of range.
    CDuiString GetLinkContent(int index) const;
    // Where link `index` is drawn (its first piece), empty when it is not shown.
    UIRect GetLinkRect(int index) const;
    // The link at a point, or -1.
    int LinkAt(int x, int y) const;
    void SetLinkColor(uint32_t argb);
    uint32_t GetLinkColor() const;

protected:
    void PaintContent(CRenderList& list, const UIRect& clip) override;

private:
    uint32_t m_linkColor = 0xFF0A59F7;
    int m_pressedLink = -1;
};

// Text the user can select and copy, as a read-only edit box offers it: Tab or
// a click gives it the focus, which selects the whole text (drawn in the
// system's highlight colours), and Ctrl+C or Ctrl+Insert copies it. A line
// that is full breaks after a path separator ("\" or "/") or a space, so a
// long path shows whole; one part wider than the line is cut at its edge.
class CSelectableTextUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override;
    bool IsFocusable() const override { return !GetText().IsEmpty(); }
    bool IsInteractiveAt(int x, int y) const override;
    void DoEvent(TEventUI& event) override;
    // All of the text while it has the focus (it is then all selected).
    CDuiString GetCopyText() const override;
    // The lines the text shows in, for the width of `box`.
    std::vector<std::wstring> BreakLines(const UIRect& box) const;

protected:
    void PaintContent(CRenderList& list, const UIRect& clip) override;
};

class IContainerUI {
public:
    virtual ~IContainerUI() = default;
    virtual CControlUI* GetItemAt(int index) const = 0;
    virtual int GetCount() const = 0;
    // Appends a child; the container owns it from then on.
    virtual bool Add(CControlUI* control) = 0;
    virtual bool Remove(CControlUI* control) = 0;
    // Removes and destroys every child.
    virtual void RemoveAll() = 0;
    // The child's index, -1 when it is not among the items; constant time
    // while the items keep their places.
    virtual int IndexOf(const CControlUI* child) const = 0;
};

// Stacks its children vertically (or horizontally in CHorizontalLayoutUI),
// honours "padding", "inset" and "childpadding", and scrolls vertically when
// "vscrollbar" is true and the content is taller than the view: by the wheel
// (the system's lines per notch, small steps added up), by dragging the bar's
// thumb, by a press on its track (a page), and through the manager's keys.
//
// Laying out costs what is seen: moved without a change of size within one
// layout pass (a scroll, an outer list scrolling), a container lays out again
// only the children that can be seen and only moves the others
// (CControlUI::PlaceOutOfView).
//
// Along the stacking direction a child takes its fixed size (clamped to its
// min/max), children without one share what is left equally; across it a child
// takes its fixed size from the top/left or else the whole inner width/height.
// Floating children are placed by their "pos" relative to this container's
// top-left and take no part in the stacking. Remove destroys the child.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    ~CContainerUI() override;
    LPCTSTR GetClass() const override;
    bool ApplyAttribute(LPCTSTR name, LPCTSTR value) override;

    CControlUI* GetItemAt(int index) const override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    int IndexOf(const CControlUI* child) const override;

    // A descendant with that name, or null.
    CControlUI* FindSubControl(LPCTSTR name);

    void SetInset(const UIRect& inset);  // unscaled
    void SetChildPadding(int padding);   // unscaled
    void EnableScrollBar(bool vertical);
    // Vertical scrolling, physical pixels: the current offset and its maximum
    // (0 when the content fits the view).
    int GetScrollPos() const { return m_scrollPos; }
    int GetScrollRange() const { return m_scrollRange; }
    void SetScrollPos(int pos);
    // A page: the height of the view (GetViewRect).
    int GetScrollPage() const;
    // The area the children are laid out in and seen through (the position
    // less "inset"), window client coordinates.
    UIRect GetViewRect() const;
    // While the content scrolls: the bar's track along the right edge (where a
    // press pages or grabs the thumb) and its thumb; empty otherwise.
    UIRect GetScrollTrackRect() const;
    UIRect GetScrollThumbRect() const;
    // Turns the wheel by `delta` (120 per notch, positive scrolls up).
    void ScrollByWheel(int delta);

    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void SetPos(const UIRect& rc) override;
    // For the manager's partial layouts: MarkStale makes the next SetPos lay the
    // children out again (true unless it already would); LayoutAgain does so
    // where the container stands.
    bool MarkStale();
    void LayoutAgain();
    // A list's row (role list item) can hold the focus; Tab passes it by.
    bool IsFocusable() const override;
    bool IsTabStop() const override { return false; }
    void DoEvent(TEventUI& event) override;
    bool IsInteractiveAt(int x, int y) const override;
    bool CaresWhenPointerLeaves() const override;
    CControlUI* FindControlAt(int x, int y) override;
    CControlUI* FindControlByName(LPCTSTR name) override;
    void DoPaint(CRenderList& list, const UIRect& clip) override;

protected:
    bool m_horizontal = false;

private:
    UIRect InnerRect() const;
    void PlaceFloat(CControlUI* child);
    void LayoutChildren();
    // Moves every shown child by (dx, dy), stacked ones by stackedDy more.
    void MoveChildren(int dx, int dy, int stackedDy);
    // True while the children's index of the last full layout still holds (no
    // change of the tree's shape since).
    bool IndexHolds() const;
    // The shown children that can meet an area (window coordinates), in tree
    // order: what painting and hit-testing visit.
    std::vector<CControlUI*> ChildrenMeeting(const UIRect& area) const;
    // What of this container can be seen through its ancestors (empty when an
    // ancestor was placed out of view).
    UIRect ViewRegion() const;
    void PressScrollBar(int y);
    void DragScrollThumb(int y);
    void SetScrollBarHot(bool hot);
    void PaintScrollBar(CRenderList& list, const UIRect& clip);

    // A shown child and its place in m_items, as the last full layout found them.
    struct Slot {
        size_t index;
        CControlUI* child;
    };

    std::vector<CControlUI*> m_items;
    std::vector<Slot> m_stacked;   // in order along the stacking axis
    std::vector<Slot> m_floating;  // placed by "pos"
    UIRect m_inset;
    int m_childPadding = 0;
    bool m_vscroll = false;
    int m_scrollPos = 0;
    int m_scrollRange = 0;
    unsigned m_layoutPass = 0;  // the manager's layout pass this was last laid out in
    int m_wheelRest = 0;        // wheel movement not yet scrolled, in 1/120 of a step
    bool m_barHot = false;      // the mouse is over the track
    bool m_dragging = false;    // the thumb is held
    int m_dragGrab = 0;         // where the thumb was grabbed, from its top
};

class CVerticalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI() { m_horizontal = true; }
    LPCTSTR GetClass() const override;
};

// A loading animation: a ring of dots turning on a timer while running.
// The ring has kDots dots in "dotcolor"; the lit dot moves one step per tick.
// Started before it has a manager, it starts its timer when it gets one.
class CAnimPanelUI : public CControlUI {
public:
    static constexpr int kDots = 8;
    static constexpr int kTimerId = 1;
    static constexpr unsigned kFrameMs = 90;

    LPCTSTR GetClass() const override;
    bool ApplyAttribute(LPCTSTR name, LPCTSTR value) override;
    void StartAnim();
    void StopAnim();
    bool IsAnimating() const;
    int GetFrame() const;  // advances once per timer tick while running
    UIRole ClassRole() const override { return UIRole::Animation; }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    void DoEvent(TEventUI& event) override;

protected:
    void PaintContent(CRenderList& list, const UIRect& clip) override;

private:
    bool m_running = false;
    int m_frame = 0;
    uint32_t m_dotColor = 0xFF0A59F7;
};

}  // namespace DuiLib
