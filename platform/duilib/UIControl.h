// CControlUI: the base of every control in the retained tree.
// Controls belong to the UI thread; the tree owns its children.
#pragma once

#include <cstdint>

#include "UIString.h"
#include "../winapi/WinTypes.h"

namespace DuiLib {

class CPaintManagerUI;
class CRenderList;

struct UIRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct UISize {
    int cx = 0, cy = 0;
};

enum UIEventType {
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSELEAVE,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_SCROLLWHEEL,
    UIEVENT_TIMER,
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

    // Applies a layout attribute by name ("width", "pos", "bkcolor", ...);
    // unknown names are logged by the builder and ignored here.
    virtual void SetAttribute(LPCTSTR name, LPCTSTR value);

    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int width);  // unscaled layout pixels
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int height);

    bool IsFloat() const;
    UIRect GetFloatPos() const;  // the "pos" attribute: left,top,right,bottom within the parent

    uint32_t GetBkColor() const;
    void SetBkColor(uint32_t argb);
    uint32_t GetDisabledBkColor() const;
    void SetDisabledBkColor(uint32_t argb);

    CControlUI* GetParent() const;
    CPaintManagerUI* GetManager() const;
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // Laid-out rectangle in window client coordinates (physical pixels).
    const UIRect& GetPos() const;
    virtual void SetPos(const UIRect& rc);
    virtual UISize EstimateSize(UISize available);

    void Invalidate();
    void NeedUpdate();
    void NeedParentUpdate();

    virtual void DoEvent(TEventUI& event);
    // The deepest visible control at a point, or null.
    virtual CControlUI* FindControlAt(int x, int y);
    // This control or a descendant with that name, or null.
    virtual CControlUI* FindControlByName(LPCTSTR name);
    virtual void DoPaint(CRenderList& list, const UIRect& clip);

protected:
    // State members are the toolkit's own.
};

}  // namespace DuiLib
