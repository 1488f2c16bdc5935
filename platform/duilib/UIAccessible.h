// The accessible tree of a window: what a screen reader sees of its controls.
// It is computed from the live control tree (role, name, state, rectangle) on
// every call, so it always matches what the window shows, and a new window gets
// it without code of its own. The Win32 backend serves it through MSAA
// (Win32Accessible_win.cpp); tests read it through the headless backend.
// UI thread only.
//
// Elements: the window's root control stands for its client area (UIRole::Window).
// Below it, every control that is visible in the tree and has a role is an
// element: buttons, links, labels that show text, the animation panel, and
// containers given a role by the layout ("accrole": list, listitem). Containers
// without a role are transparent: their elements are children of the nearest
// element above. Hidden controls, and everything in them, are not in the tree.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "duilib/UIControl.h"

namespace DuiLib {

class CPaintManagerUI;

// Element states, as bits.
enum UIAccessibleState : unsigned {
    kAccUnavailable = 1u << 0,  // disabled, itself or an ancestor, or its window takes no input
    kAccFocusable = 1u << 1,    // can take the keyboard focus now
    kAccFocused = 1u << 2,      // has the focus, and its window has the keyboard focus
    kAccOffscreen = 1u << 3,    // in the tree, but scrolled or clipped out of view
    kAccInvisible = 1u << 4,    // hidden: only an element asked for by id can be so
};

enum class UIAccessibleEventType {
    Focus,
    NameChange,
    Show,
    Hide,
    StateChange,
    ValueChange,     // the value an element shows changed (a progress bar's percentage)
    Reorder,         // the element's children were added or removed
    LocationChange,  // the element scrolled: what it holds moved
};

struct UIAccessibleEvent {
    UIAccessibleEventType type;
    CControlUI* element;  // alive while the change is being reported
};

// Stable ids of a window's controls for assistive technology: given on first
// ask, never reused, forgotten when the control is destroyed. Owned by the
// window's paint manager (CPaintManagerUI::GetAccessibleIds).
class UIAccessibleIds {
public:
    int IdOf(CControlUI* control);
    // The control with that id, or null once it was destroyed (or never had it).
    CControlUI* ControlOf(int id) const;
    // The id the control had, or 0 when it had none.
    int Forget(const CControlUI* control);

private:
    std::unordered_map<const CControlUI*, int> m_ids;
    std::unordered_map<int, CControlUI*> m_controls;
    int m_next = 1;
};

namespace Accessible {

// True for the root control and for every control that is an element now.
bool IsElement(const CControlUI* control);
// True when the control is an element whenever it is visible in the tree: it has
// a role, and text when its role is only to show text.
bool CanBeElement(const CControlUI* control);
// UIRole::Window for the root; UIRole::None for a control that can be no element.
UIRole RoleOf(const CControlUI* control);
// The text the user sees (links without their markup), or the explicit name,
// then the name suffix. The root's name is its window's title.
std::wstring NameOf(const CControlUI* control);
// The explicit description, else the tooltip.
std::wstring DescriptionOf(const CControlUI* control);
// The element's value: a progress bar's shown percentage ("40%"); else empty.
std::wstring ValueOf(const CControlUI* control);
// What the element's action is called in the user's language ("Press" for a
// button, "Jump" for a link in English), empty for an element without one.
std::wstring DefaultActionOf(const CControlUI* control);
// True when the default action may run now: the element has one, and it is
// visible, enabled and in a window that takes input.
bool CanDoDefaultAction(const CControlUI* control);
// Runs it (what a click does, inside a UIChangeBatch) when it may; false,
// logged, when refused.
bool DoDefaultAction(CControlUI* control);
// StateOf (offscreen), LocationOf and HitTest answer from the layout the next
// paint shows: they lay out first what changed since the last layout, if
// anything did, and only that (CPaintManagerUI::UpdateLayout).
unsigned StateOf(const CControlUI* control);
// Client coordinates, physical pixels: the whole rectangle, also where it is
// scrolled out of view.
UIRect LocationOf(const CControlUI* control);

// The nearest element above (null for the root) and the elements below, in
// tree order (of a hidden element: those it holds, hidden with it).
CControlUI* ParentOf(const CControlUI* control);
std::vector<CControlUI*> ChildrenOf(const CControlUI* element);
enum class Direction { Next, Previous, FirstChild, LastChild };
// The element in that direction, or null.
CControlUI* Navigate(const CControlUI* element, Direction direction);
// A place among an element's children, as an enumerator of them keeps it: how
// many it passed, and the last one (by id) and where it sat, so that the next
// are found from there. What finding them costs grows with how many are asked
// for, not with how many were passed; only when the last one and the box it
// sat in both went does it count again from the first.
struct ChildCursor {
    unsigned passed = 0;
    int lastId = -1;    // none yet
    int holderId = -1;  // the control that held it
    int index = 0;      // its place there
};
// Up to `count` children of `element` after the cursor, moving it past them.
std::vector<CControlUI*> NextChildren(CControlUI* element, ChildCursor& cursor, unsigned count);
// The deepest element whose visible part holds the point (client coordinates):
// the root when no deeper one does, null outside the root.
CControlUI* HitTest(CPaintManagerUI& manager, int x, int y);
// The control with the keyboard focus when it is an element and the window has
// the keyboard focus, else null.
CControlUI* FocusOf(const CPaintManagerUI& manager);

// 0 for the root, the control's stable id otherwise.
int IdOf(CPaintManagerUI& manager, CControlUI* control);
// The control of an id (0: the root), or null once it was destroyed.
CControlUI* ControlOfId(CPaintManagerUI& manager, int id);

// What assistive technology is told of a change the core reports: the element
// that took the focus, changed its name or its value; the elements that appeared or went
// with a shown or hidden control; every element whose availability changed;
// the nearest element holding a container whose children changed or that
// scrolled. Nothing for what cannot be seen.
std::vector<UIAccessibleEvent> EventsFor(CControlUI* control, UIChange change);

// The tree below `element` as text, one element a line, two spaces of indent
// per level: role "name" [states] (and "@left,top,right,bottom" with locations).
std::wstring Describe(const CControlUI* element, bool withLocations = false);

}  // namespace Accessible
}  // namespace DuiLib
