// The concrete controls: label, button, link text, containers, animation panel.
#pragma once

#include <vector>

#include "UIControl.h"

namespace DuiLib {

// Text alignment flags for CLabelUI::SetTextStyle.
enum : unsigned {
    DT_ALIGN_LEFT = 0x0,
    DT_ALIGN_CENTER = 0x1,
    DT_ALIGN_RIGHT = 0x2,
    DT_ALIGN_VCENTER = 0x4,
    DT_ALIGN_WRAP = 0x10,
    DT_ALIGN_ELLIPSIS = 0x8000,
};

class CLabelUI : public CControlUI {
public:
    LPCTSTR GetClass() const override;
    void SetAttribute(LPCTSTR name, LPCTSTR value) override;

    void SetTextColor(uint32_t argb);
    uint32_t GetTextColor() const;
    void SetDisabledTextColor(uint32_t argb);
    uint32_t GetDisabledTextColor() const;
    void SetFont(int index);  // index into the manager's fonts ("font" attribute)
    int GetFont() const;
    void SetTextStyle(unsigned style);
    unsigned GetTextStyle() const;
};

// Raises "click" when pressed and released over it while enabled.
class CButtonUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override;
    void SetAttribute(LPCTSTR name, LPCTSTR value) override;
    void DoEvent(TEventUI& event) override;
};

// A label whose text may carry links: "{a}shown text{/a}" or "{a target}shown text{/a}".
// A click on a link raises "link" with wParam = the link's index.
class CTextUI : public CLabelUI {
public:
    LPCTSTR GetClass() const override;
    void DoEvent(TEventUI& event) override;
    // Link targets and shown texts, in order, for the current text.
    int GetLinkCount() const;
    CDuiString GetLinkContent(int index) const;
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
};

// Stacks its children vertically (or horizontally in CHorizontalLayoutUI),
// honours "padding", "inset" and "childpadding", and scrolls vertically when
// "vscrollbar" is true and the content is taller than the view.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    ~CContainerUI() override;
    LPCTSTR GetClass() const override;
    void SetAttribute(LPCTSTR name, LPCTSTR value) override;

    CControlUI* GetItemAt(int index) const override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    // A descendant with that name, or null.
    CControlUI* FindSubControl(LPCTSTR name);
};

class CVerticalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    LPCTSTR GetClass() const override;
};

// A loading animation: a ring of dots turning on a timer while running.
class CAnimPanelUI : public CControlUI {
public:
    ~CAnimPanelUI() override;
    LPCTSTR GetClass() const override;
    void StartAnim();
    void StopAnim();
    bool IsAnimating() const;
    int GetFrame() const;  // advances once per timer tick while running
};

}  // namespace DuiLib
