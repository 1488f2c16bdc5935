// CControlUI: the base of every control in the retained tree.
// Controls belong to the UI thread; the tree owns its children.
#pragma once

#include <cstdint>
#include <string>

#include "duilib/UIAccessibleInfo.h"
#include "duilib/UIColors.h"
#include "duilib/UIGeometry.h"
#include "duilib/UIString.h"
#include "winapi/WinTypes.h"

namespace DuiLib {

class CPaintManagerUI;
class CRenderList;

enum UIEventType {
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSELEAVE,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_SCROLLWHEEL,
    UIEVENT_TIMER,
    UIEVENT_SETFOCUS,   // the control got the keyboard focus
    UIEVENT_KILLFOCUS,  // the control lost it
};

// What changed on a control, as the manager reports it to its backend (and so to
// assistive technology): the focus moved to it, its shown text (or name) changed,
// it was shown or hidden, it was enabled or disabled, children were added to or
// removed from it (a container), its children moved (a container scrolled).
enum class UIChange {
    Focus,
    Name,
    Shown,
    Hidden,
    State,
    Value,  // the value an element shows (a progress bar's percentage)
    Children,
    Location,
};

struct TEventUI {
    UIEventType Type = UIEVENT_MOUSEMOVE;
    class CControlUI* pSender = nullptr;
    int x = 0, y = 0;  // window client coordinates, physical pixels
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual LPCTSTR GetClass() const;

    virtual CDuiString GetName() const;
    virtual void SetName(LPCTSTR name);
    // The shown text; a layout text that is an "IDS_" key is shown through UICulture.
    virtual CDuiString GetText() const;
    virtual void SetText(LPCTSTR text);

    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enable = true);

    // Applies a layout attribute by name ("width", "pos", "bkcolor", ...); an
    // unknown name is logged and ignored (the builder logs a layout's own, with
    // the file name, through ApplyAttribute).
    virtual void SetAttribute(LPCTSTR name, LPCTSTR value);

    // Sizes set from code are device pixels (callers scale them themselves);
    // the layout's "width"/"height" are unscaled and scaled at layout time.
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int width);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int height);
    void SetLayoutFixedWidth(int unscaledWidth);
    // `repeat` parts of that height, each scaled (and rounded) on its own: a box
    // of rows `unscaledHeight` high stays exactly as tall as its rows at any scale.
    void SetLayoutFixedHeight(int unscaledHeight, int repeat = 1);
    // The fixed sizes in device pixels at this control's scale (0: not fixed).
    int GetScaledFixedWidth() const;
    int GetScaledFixedHeight() const;

    bool IsFloat() const;
    UIRect GetFloatPos() const;  // the "pos" attribute: left,top,right,bottom within the parent
    // Sets "pos" (unscaled, within the parent) and makes the control float.
    void SetFloatPos(const UIRect& pos);
    void SetFloat(bool isFloat);

    uint32_t GetBkColor() const;
    void SetBkColor(uint32_t argb);
    uint32_t GetDisabledBkColor() const;
    void SetDisabledBkColor(uint32_t argb);
    void SetHotBkColor(uint32_t argb);
    void SetPushedBkColor(uint32_t argb);
    void SetBorderColor(uint32_t argb);
    void SetBorderSize(int size);     // unscaled
    void SetBorderRound(int radius);  // unscaled

    CDuiString GetToolTip() const;
    void SetToolTip(LPCTSTR text);
    // What assistive technology is told beyond the class and the text, as the
    // layout ("accrole", "accname", "accdescription") or code sets it; a name or
    // suffix set here reports UIChange::Name.
    const UIAccessibleInfo& GetAccessibleInfo() const { return m_accessible; }
    void SetAccessibleRole(UIRole role);
    void SetAccessibleName(LPCTSTR name);
    void SetAccessibleNameSuffix(LPCTSTR suffix);
    void SetAccessibleDescription(LPCTSTR description);
    // What the control is to a screen reader when the layout gives it no role:
    // each class says its own (a plain control or a container: none).
    virtual UIRole ClassRole() const { return UIRole::None; }
    // What a screen reader reads as its name when none is set: the shown text.
    virtual std::wstring AccessibleText() const { return GetText().str(); }
    // The value it shows, as said (a progress bar's "40 %"); empty for most.
    virtual std::wstring AccessibleValue() const { return std::wstring(); }
    // A separator ("separator" attribute: a rule between rows, the line under a
    // title bar) paints as a rule, so that high contrast keeps it visible.
    bool IsSeparator() const { return m_separator; }
    void SetSeparator(bool separator);
    // Outer margin "l,t,r,b" (unscaled) that the parent layout keeps free.
    UIRect GetPadding() const;
    void SetPadding(const UIRect& padding);
    int GetMinWidth() const;
    int GetMaxWidth() const;
    int GetMinHeight() const;
    int GetMaxHeight() const;
    void SetMinWidth(int width);
    void SetMaxWidth(int width);  // 0: no limit
    void SetMinHeight(int height);
    void SetMaxHeight(int height);  // 0: no limit
    // "mouse" attribute: false lets the mouse pass through to what lies below.
    bool IsMouseEnabled() const;
    void SetMouseEnabled(bool enable);

    CControlUI* GetParent() const;
    CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // Laid-out rectangle in window client coordinates (physical pixels), also
    // for a control its list has scrolled out of view.
    UIRect GetPos() const;
    // Lays the control (and its subtree) out at that rectangle. The parent's
    // layout calls it; see PlaceOutOfView for children nobody can see.
    virtual void SetPos(const UIRect& rc);
    // Moves the control to a rectangle outside every view without laying its
    // subtree out again: GetPos() of its descendants follows the move, and the
    // subtree is laid out when it comes into view. For a container's layout.
    void PlaceOutOfView(const UIRect& rc) { m_pos = rc; }
    virtual UISize EstimateSize(UISize available);
    // GetPos() clipped by the ancestors' rectangles (what can be seen and hit).
    UIRect GetVisibleRect() const;
    // An unscaled length at the manager's scale (100 % without a manager).
    int Scale(int unscaled) const;

    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();

    // True when this control and every ancestor is enabled / visible.
    bool IsEnabledInTree() const;
    bool IsVisibleInTree() const;
    // True when this control is `ancestor` or inside it.
    bool IsInside(const CControlUI* ancestor) const;
    bool IsHot() const { return m_hot; }
    bool IsPushed() const { return m_pushed; }
    // True when a press at that point belongs to the control (a button, a link)
    // rather than to a window drag.
    virtual bool IsInteractiveAt(int x, int y) const;
    // True when the pointer leaving the window from this control changes
    // something (a hover look, a tip, a button's notifications); otherwise the
    // window need not be told, and does not ask (asking keeps a timer running in
    // some systems while the pointer rests).
    virtual bool CaresWhenPointerLeaves() const;
    // True for a control a user acts on (a button, a text with a link), which can
    // then take the keyboard focus while it is visible and enabled in the tree.
    virtual bool IsFocusable() const { return false; }
    // True when Tab stops at the control; a list's row can hold the focus
    // (where the user's work is) without Tab stopping at it.
    virtual bool IsTabStop() const { return IsFocusable(); }
    bool HasFocus() const;
    // Where the focus indicator goes round, window client coordinates: the
    // whole control by default; a text, its first link.
    virtual UIRect GetFocusRect() const;
    int GetBorderRound() const { return m_borderRound; }  // unscaled
    // Does what a click does (the same notification, through the same path);
    // false when the control has no action or is disabled. Keyboard activation and
    // assistive technology's default action come here.
    virtual bool Activate() { return false; }
    // What Ctrl+C copies while the control has the focus (its selected text);
    // empty: the keys are not the control's.
    virtual CDuiString GetCopyText() const { return CDuiString(); }

    // Applies an attribute; false when this control does not know the name.
    // SetAttribute calls it; the builder uses the result to log unknown names.
    virtual bool ApplyAttribute(LPCTSTR name, LPCTSTR value);

    virtual void DoEvent(TEventUI& event);
    // The deepest visible control at a point, or null.
    virtual CControlUI* FindControlAt(int x, int y);
    // This control or a descendant with that name, or null.
    virtual CControlUI* FindControlByName(LPCTSTR name);
    virtual void DoPaint(CRenderList& list, const UIRect& clip);

protected:
    // Background (bk, hot, pushed or disabled colour) and border; subclasses add
    // their content between the two.
    void PaintBackground(CRenderList& list, const UIRect& clip);
    void PaintBorder(CRenderList& list, const UIRect& clip);
    virtual void PaintContent(CRenderList& list, const UIRect& clip) {}
    // The parts of the system's scheme this control paints with in high
    // contrast (UIColors.h): its background and its text.
    virtual UIColorRole FaceRole() const {
        return m_separator ? UIColorRole::Rule : UIColorRole::Window;
    }
    virtual UIColorRole TextRole() const { return UIColorRole::WindowText; }
    // In high contrast: a button under the mouse or pressed, painted in the
    // highlight pair so that the hover shows in any scheme.
    bool ShowsHotInHighContrast() const;
    // Raises a notification from this control through its manager, if any.
    void Notify(LPCTSTR type, WPARAM wParam = 0, LPARAM lParam = 0);

    CPaintManagerUI* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    // Where the control is, in its parent's frame (see m_frame); exact unless
    // an ancestor was placed out of view.
    UIRect m_pos;
    // The rectangle the children were last laid out in. It differs from m_pos
    // only after PlaceOutOfView: the children keep their positions, and GetPos()
    // adds the difference of every ancestor.
    UIRect m_frame;
    bool m_hot = false;
    bool m_pushed = false;

private:
    mutable int m_indexHint = -1;  // the place in the parent's items when last seen (CContainerUI)
    friend class CContainerUI;     // places its children with SetPos / PlaceOutOfView

    CDuiString m_name;
    CDuiString m_text;
    CDuiString m_toolTip;
    UIAccessibleInfo m_accessible;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_mouseEnabled = true;
    bool m_float = false;
    bool m_separator = false;
    UIRect m_floatPos;
    UIRect m_padding;
    int m_fixedWidth = 0, m_fixedHeight = 0;
    bool m_fixedWidthIsLayout = false, m_fixedHeightIsLayout = false;
    int m_fixedHeightRepeat = 1;  // SetLayoutFixedHeight's parts
    int m_minWidth = 0, m_minHeight = 0, m_maxWidth = 0, m_maxHeight = 0;
    uint32_t m_bkColor = 0, m_disabledBkColor = 0, m_hotBkColor = 0, m_pushedBkColor = 0;
    uint32_t m_borderColor = 0;
    int m_borderSize = 0, m_borderRound = 0;
};

}  // namespace DuiLib
