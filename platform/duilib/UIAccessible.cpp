// The accessible tree: elements, their roles, names, states and places, and the
// tree's shape. Ids, change events and the text form: UIAccessibleEvents.cpp.
#include "duilib/UIAccessible.h"

#include <algorithm>

#include "duilib/UIBackend.h"
#include "duilib/UIControls.h"
#include "duilib/UIManager.h"
#include "duilib/UIProgress.h"
#include "duilib/UITextLayout.h"

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

void CControlUI::SetAccessibleRole(UIRole role) {
    m_accessible.role = role;
}

void CControlUI::SetAccessibleName(LPCTSTR name) {
    m_accessible.name = CDuiString(name);
    if (m_manager) m_manager->ReportChange(this, UIChange::Name);
}

void CControlUI::SetAccessibleNameSuffix(LPCTSTR suffix) {
    m_accessible.nameSuffix = CDuiString(suffix);
    if (m_manager) m_manager->ReportChange(this, UIChange::Name);
}

void CControlUI::SetAccessibleDescription(LPCTSTR description) {
    m_accessible.description = CDuiString(description);
}

namespace Accessible {

namespace {

bool IsRoot(const CControlUI* control) {
    return control && control->GetManager() && control->GetManager()->GetRoot() == control;
}

UIRole RoleOfClass(const CControlUI* control) {
    if (dynamic_cast<const CButtonUI*>(control)) return UIRole::PushButton;
    if (auto* text = dynamic_cast<const CTextUI*>(control)) {
        return text->GetLinkCount() > 0 ? UIRole::Link : UIRole::StaticText;
    }
    if (dynamic_cast<const CLabelUI*>(control)) return UIRole::StaticText;
    if (dynamic_cast<const CAnimPanelUI*>(control)) return UIRole::Animation;
    if (dynamic_cast<const CProgressUI*>(control)) return UIRole::ProgressBar;
    return UIRole::None;
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
    return role == UIRole::Default ? RoleOfClass(control) : role;
}

std::wstring NameOf(const CControlUI* control) {
    if (!control) return std::wstring();
    if (IsRoot(control)) {
        const CWindowBackend* backend = control->GetManager()->GetBackend();
        return backend ? backend->GetTitle() : std::wstring();
    }
    const UIAccessibleInfo& info = control->GetAccessibleInfo();
    std::wstring name = info.name.str();
    if (name.empty() && dynamic_cast<const CTextUI*>(control)) {
        for (const TextRun& run : ParseLinkMarkup(control->GetText().str()).runs) name += run.text;
    } else if (name.empty()) {
        name = control->GetText().str();
    }
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
    auto* progress = dynamic_cast<const CProgressUI*>(control);
    return progress ? progress->ValueText() : std::wstring();
}

std::wstring DefaultActionOf(const CControlUI* control) {
    switch (RoleOf(control)) {
        case UIRole::PushButton:
            return L"Press";
        case UIRole::Link:
            return L"Jump";
        default:
            return std::wstring();
    }
}

unsigned StateOf(const CControlUI* control) {
    if (!control) return 0;
    unsigned state = 0;
    const bool enabled = control->IsEnabledInTree();
    const bool visible = control->IsVisibleInTree();
    if (!enabled) state |= kAccUnavailable;
    if (control->IsFocusable() && enabled && visible) state |= kAccFocusable;
    if (control->HasFocus()) state |= kAccFocused;
    if (!visible) {
        state |= kAccInvisible;
    } else if (!IsRoot(control) && IsRectEmpty(control->GetVisibleRect())) {
        state |= kAccOffscreen;
    }
    return state;
}

UIRect LocationOf(const CControlUI* control) {
    return control ? control->GetPos() : UIRect{};
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
    if (direction == Direction::FirstChild || direction == Direction::LastChild) {
        const std::vector<CControlUI*> children = ChildrenOf(element);
        if (children.empty()) return nullptr;
        return direction == Direction::FirstChild ? children.front() : children.back();
    }
    const std::vector<CControlUI*> siblings = ChildrenOf(ParentOf(element));
    auto at = std::find(siblings.begin(), siblings.end(), element);
    if (at == siblings.end()) return nullptr;
    if (direction == Direction::Next) return at + 1 == siblings.end() ? nullptr : *(at + 1);
    return at == siblings.begin() ? nullptr : *(at - 1);
}

CControlUI* HitTest(const CPaintManagerUI& manager, int x, int y) {
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
    return IsElement(focus) ? focus : nullptr;
}

}  // namespace Accessible
}  // namespace DuiLib
