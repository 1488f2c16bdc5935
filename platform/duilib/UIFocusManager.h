// The keyboard focus of one window: the control that holds it, Tab's order,
// the control a window opens on, the keyboard cues (whether the focus
// indicator is drawn) and whether the native window itself has the focus.
// Created and owned by the window's CPaintManagerUI, which forwards its focus
// operations here and outlives it. UI thread only.
//
// The focus is one control of the window's tree that is focusable, visible and
// enabled in the tree. Tab's order is the tree's (depth first, a container
// before its children, children in their order, floating ones where they sit)
// over the tab stops. A focus that stops being able to take it (hidden,
// disabled) moves, once the changes settle, to the nearest enclosing control
// that can hold it (the row whose button it was), else to the next tab stop.
#pragma once

#include <string>

#include "duilib/UIControl.h"
#include "duilib/UIRender.h"

namespace DuiLib {

class UIFocusManager {
public:
    explicit UIFocusManager(CPaintManagerUI& manager) : m_manager(manager) {}
    UIFocusManager(const UIFocusManager&) = delete;
    UIFocusManager& operator=(const UIFocusManager&) = delete;

    CControlUI* GetFocus() const { return m_focus; }
    // See CPaintManagerUI::SetFocus.
    bool SetFocus(CControlUI* control);
    // The next (previous) tab stop after `from` that can take the focus,
    // wrapping; from null, the first (last); null when there is none.
    CControlUI* NextFocusable(CControlUI* from, bool forward) const;
    // The first (last) tab stop inside the container, or null.
    CControlUI* EdgeFocusableIn(CControlUI* box, bool last) const;
    // Tab / Shift+Tab: the next tab stop takes the focus and is scrolled into view.
    void MoveByKeyboard(bool forward);
    // Scrolls every scrolling ancestor so that the control is wholly in view
    // (with room for the indicator).
    void ScrollIntoView(CControlUI* control);
    // A focus that can no longer be held moves on (see above).
    void Repair();
    // A container is about to remove the control: a focus inside it moves on.
    void OnRemoving(CControlUI* control);
    // The control is being destroyed: it holds nothing here any more.
    void Forget(const CControlUI* control);

    // The control focused when the tree comes ("focus" in a layout's Window).
    void SetOpeningFocus(LPCTSTR name) { m_openingName = name ? name : L""; }
    // Before the window is shown: its activation then reports the focus to the reader.
    void FocusOnOpening();

    // Keyboard cues (Windows' convention): shown once a key is used, hidden by
    // a press of the mouse. A dialog starts with its owner's.
    bool HasKeyboardCues() const { return m_cues; }
    void SetKeyboardCues(bool shown);
    // The native window got or lost the keyboard focus.
    void OnWindowFocus(bool focused);
    bool IsWindowFocused() const { return m_windowFocused; }
    // Until the native window says it has the focus, the reader hears nothing of it.
    void AwaitWindowFocus() { m_windowFocused = false; }

    // Space activates on its release the control that had the focus on its press.
    void PressSpace(CControlUI* control) { m_spaceDown = control; }
    CControlUI* TakeSpacePress();

    bool IsIndicatorShown() const;
    // Two rings round the focus rectangle, clipped by the lists it is in.
    void PaintIndicator(CRenderList& list) const;

private:
    CPaintManagerUI& m_manager;
    CControlUI* m_focus = nullptr;
    CControlUI* m_spaceDown = nullptr;  // the focus when Space went down
    bool m_cues = false;                // the keyboard was used since the last mouse press
    bool m_windowFocused = true;        // the native window has the focus (no window: always)
    std::wstring m_openingName;
};

}  // namespace DuiLib
