// The accessible tree: elements, their roles, names, states and places, and the
// tree's shape. Ids, change events and the text form: UIAccessibleEvents.cpp.
#include "duilib/UIAccessible.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UICulture.h"
#include "duilib/UIManager.h"
#include "support/KtLogger.h"

namespace DuiLib {

bool ParseAccessibleRole(const std::wstring& text, UIRole& role) {
    static const struct {
        const wchar_t* text;
        UIRole role;
    } kRoles[] = {
        {L"button", UIRole::PushButton},       {L"link", UIRole::Link},
        {L"text", UIRole::StaticText},         {L"list", UIRole::List},
        {L"listitem", UIRole::ListItem},       {L"animation", UIRole::Animation},
        {L"progressbar", UIRole::ProgressBar}, {L"none", UIRole::None},
    };
    for (const auto& entry : kRoles) {
        if (text == entry.text) {
            role = entry.role;
            return true;
        }
    }
    return false;
}

namespace Accessible {

namespace {

bool IsRoot(const CControlUI* control) {
    return control && control->GetManager() && control->GetManager()->GetRoot() == control;
}

const IContainerUI* AsContainer(const CControlUI* control) {
    return dynamic_cast<const CContainerUI*>(control);
}

// The elements below `control` that are not below another element, ignoring
// whether `control` itself is visible.
void CollectTopElements(const CControlUI* control, std::vector<CControlUI*>& out) {
    const IContainerUI* container = AsContainer(control);
    if (!container) return;
    for (int i = 0; i < container->GetCount(); ++i) {
        CControlUI* child = container->GetItemAt(i);
        if (!child->IsVisible()) continue;
        if (CanBeElement(child)) {
            out.push_back(child);
        } else {
            CollectTopElements(child, out);
        }
    }
}

CControlUI* EdgeElement(CControlUI* control, bool first);

// The first (last) of the elements below `control` that are not below another,
// or null, whether `control` itself is visible or not.
CControlUI* EdgeElementBelow(const CControlUI* control, bool first) {
    const IContainerUI* box = AsContainer(control);
    const int n = box ? box->GetCount() : 0;
    for (int k = 0; k < n; ++k) {
        if (CControlUI* found = EdgeElement(box->GetItemAt(first ? k : n - 1 - k), first)) {
            return found;
        }
    }
    return nullptr;
}

// The same at or below `control`; nothing of a hidden control.
CControlUI* EdgeElement(CControlUI* control, bool first) {
    if (!control->IsVisible()) return nullptr;
    if (CanBeElement(control)) return control;
    return EdgeElementBelow(control, first);
}

// The element beside `element` under the same parent element, found by walking
// out from it: what a reader's next / previous costs does not grow with the list.
CControlUI* SiblingElement(const CControlUI* element, bool forward) {
    const CControlUI* top = ParentOf(element);
    if (!top || !element->IsVisibleInTree()) return nullptr;
    for (const CControlUI* c = element; c != top; c = c->GetParent()) {
        const IContainerUI* box = AsContainer(c->GetParent());
        const int at = box ? box->IndexOf(c) : -1;
        if (at < 0) return nullptr;
        for (int i = at + (forward ? 1 : -1); i >= 0 && i < box->GetCount();
             i += forward ? 1 : -1) {
            if (CControlUI* found = EdgeElement(box->GetItemAt(i), forward)) return found;
        }
    }
    return nullptr;
}

// The first element at or after place `index` of `holder` (`top` or a
// container without a role below it), among `top`'s children; null past the end.
CControlUI* FirstElementFrom(const CControlUI* top, const CControlUI* holder, int index) {
    for (;;) {
        const IContainerUI* box = AsContainer(holder);
        for (int i = std::max(0, index); box && i < box->GetCount(); ++i) {
            if (CControlUI* found = EdgeElement(box->GetItemAt(i), true)) return found;
        }
        const CControlUI* up = holder->GetParent();
        if (holder == top || !AsContainer(up)) return nullptr;
        index = AsContainer(up)->IndexOf(holder) + 1;
        holder = up;
    }
}

}  // namespace

bool CanBeElement(const CControlUI* control) {
    const UIRole role = RoleOf(control);
    if (role == UIRole::None) return false;
    return role != UIRole::StaticText || !NameOf(control).empty();
}

bool IsElement(const CControlUI* control) {
    if (IsRoot(control)) return true;
    return control && control->GetManager() && control->IsVisibleInTree() && CanBeElement(control);
}

UIRole RoleOf(const CControlUI* control) {
    if (!control) return UIRole::None;
    if (IsRoot(control)) return UIRole::Window;
    const UIRole role = control->GetAccessibleInfo().role;
    return role == UIRole::Default ? control->ClassRole() : role;
}

std::wstring NameOf(const CControlUI* control) {
    if (!control) return std::wstring();
    if (IsRoot(control)) {
        const CWindowBackend* backend = control->GetManager()->GetBackend();
        return backend ? backend->GetTitle() : std::wstring();
    }
    const UIAccessibleInfo& info = control->GetAccessibleInfo();
    std::wstring name = info.name.IsEmpty() ? control->AccessibleText() : info.name.str();
    if (!info.nameSuffix.IsEmpty()) {
        name += (name.empty() ? L"" : L" ") + info.nameSuffix.str();
    }
    return name;
}

std::wstring DescriptionOf(const CControlUI* control) {
    if (!control) return std::wstring();
    const CDuiString& description = control->GetAccessibleInfo().description;
    return (description.IsEmpty() ? control->GetToolTip() : description).str();
}

std::wstring ValueOf(const CControlUI* control) {
    return control ? control->AccessibleValue() : std::wstring();
}

std::wstring DefaultActionOf(const CControlUI* control) {
    // Windows' own words for the actions, from the language files; English
    // where no language is loaded.
    const wchar_t* key = nullptr;
    const wchar_t* english = nullptr;
    switch (RoleOf(control)) {
        case UIRole::PushButton:
            key = L"IDS_ACCESSIBLE_ACTION_PRESS";
            english = L"Press";
            break;
        case UIRole::Link:
            key = L"IDS_ACCESSIBLE_ACTION_JUMP";
            english = L"Jump";
            break;
        default:
            return std::wstring();
    }
    const std::wstring text = UICulture::GetInstance()->GetString(key).str();
    return text.empty() ? english : text;
}

bool CanDoDefaultAction(const CControlUI* control) {
    return IsElement(control) && !IsRoot(control) && !DefaultActionOf(control).empty() &&
           !(StateOf(control) & (kAccUnavailable | kAccInvisible));
}

bool DoDefaultAction(CControlUI* control) {
    if (!CanDoDefaultAction(control)) {
        KT_LOG(LOG_ERROR, L"default action refused: " << NameOf(control),
               "Accessible::DoDefaultAction");
        return false;
    }
    UIChangeBatch batch(*control->GetManager());
    return control->Activate();  // last step: the handler may close the window
}

unsigned StateOf(const CControlUI* control) {
    if (!control) return 0;
    unsigned state = 0;
    CPaintManagerUI* manager = control->GetManager();
    if (manager) manager->UpdateLayout();
    // A window that takes no input (its modal dialog runs) offers nothing to act on.
    const bool enabled = control->IsEnabledInTree() && (!manager || manager->IsInputEnabled());
    const bool visible = control->IsVisibleInTree();
    if (!enabled) state |= kAccUnavailable;
    if (control->IsFocusable() && enabled && visible) state |= kAccFocusable;
    if (control->HasFocus() && manager->IsWindowFocused()) state |= kAccFocused;
    if (!visible) {
        state |= kAccInvisible;
    } else if (!IsRoot(control) && IsRectEmpty(control->GetVisibleRect())) {
        state |= kAccOffscreen;
    }
    return state;
}

UIRect LocationOf(const CControlUI* control) {
    if (!control) return UIRect{};
    if (CPaintManagerUI* manager = control->GetManager()) manager->UpdateLayout();
    return control->GetPos();
}

CControlUI* ParentOf(const CControlUI* control) {
    if (!control || IsRoot(control)) return nullptr;
    for (CControlUI* c = control->GetParent(); c; c = c->GetParent()) {
        if (IsRoot(c) || CanBeElement(c)) return c;
    }
    return nullptr;
}

std::vector<CControlUI*> ChildrenOf(const CControlUI* element) {
    std::vector<CControlUI*> children;
    if (element) CollectTopElements(element, children);
    return children;
}

CControlUI* Navigate(const CControlUI* element, Direction direction) {
    if (!element) return nullptr;
    if (direction == Direction::FirstChild || direction == Direction::LastChild) {
        return EdgeElementBelow(element, direction == Direction::FirstChild);
    }
    return SiblingElement(element, direction == Direction::Next);
}

std::vector<CControlUI*> NextChildren(CControlUI* element, ChildCursor& cursor, unsigned count) {
    std::vector<CControlUI*> found;
    CPaintManagerUI* manager = element ? element->GetManager() : nullptr;
    if (!manager || count == 0) return found;
    CControlUI* next = nullptr;
    CControlUI* last = cursor.passed > 0 ? ControlOfId(*manager, cursor.lastId) : nullptr;
    CControlUI* holder = cursor.passed > 0 ? ControlOfId(*manager, cursor.holderId) : nullptr;
    if (last && IsElement(last) && ParentOf(last) == element) {
        next = Navigate(last, Direction::Next);
    } else if (holder && holder->IsVisibleInTree() &&
               (holder == element || (!CanBeElement(holder) && ParentOf(holder) == element))) {
        // The last one went: the next are from the place it had.
        next = FirstElementFrom(element, holder, cursor.index);
    } else {
        next = Navigate(element, Direction::FirstChild);
        for (unsigned i = 1; i < cursor.passed && next; ++i) next = Navigate(next, Direction::Next);
    }
    while (next && found.size() < count) {
        found.push_back(next);
        if (found.size() < count) next = Navigate(next, Direction::Next);
    }
    if (!found.empty()) {
        CControlUI* end = found.back();
        const IContainerUI* box = AsContainer(end->GetParent());
        cursor.passed += static_cast<unsigned>(found.size());
        cursor.lastId = IdOf(*manager, end);
        cursor.holderId = end->GetParent() ? IdOf(*manager, end->GetParent()) : -1;
        cursor.index = box ? box->IndexOf(end) : 0;
    }
    return found;
}

CControlUI* HitTest(CPaintManagerUI& manager, int x, int y) {
    manager.UpdateLayout();
    CControlUI* at = manager.GetRoot();
    if (!at || !at->IsVisible() || !at->GetPos().Contains(x, y)) return nullptr;
    for (;;) {
        // Later children are drawn over earlier ones (floating panels).
        const std::vector<CControlUI*> children = ChildrenOf(at);
        auto hit = std::find_if(children.rbegin(), children.rend(), [&](CControlUI* child) {
            return child->GetVisibleRect().Contains(x, y);
        });
        if (hit == children.rend()) return at;
        at = *hit;
    }
}

CControlUI* FocusOf(const CPaintManagerUI& manager) {
    CControlUI* focus = manager.GetFocus();
    return manager.IsWindowFocused() && IsElement(focus) ? focus : nullptr;
}

}  // namespace Accessible
}  // namespace DuiLib
