// The accessible tree over time: stable ids of controls, the events that
// reported changes become, and the tree as text.
#include <sstream>

#include "duilib/UIAccessible.h"
#include "duilib/UIManager.h"

namespace DuiLib {

int UIAccessibleIds::IdOf(CControlUI* control) {
    auto found = m_ids.find(control);
    if (found != m_ids.end()) return found->second;
    const int id = m_next++;
    m_ids.emplace(control, id);
    m_controls.emplace(id, control);
    return id;
}

CControlUI* UIAccessibleIds::ControlOf(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

int UIAccessibleIds::Forget(const CControlUI* control) {
    auto found = m_ids.find(control);
    if (found == m_ids.end()) return 0;
    const int id = found->second;
    m_controls.erase(id);
    m_ids.erase(found);
    return id;
}

namespace Accessible {

namespace {

// Every element at or below `control` (visible in the tree), in tree order.
void CollectElements(CControlUI* control, std::vector<CControlUI*>& out) {
    if (IsElement(control)) out.push_back(control);
    for (CControlUI* child : ChildrenOf(control)) CollectElements(child, out);
}

const wchar_t* RoleText(UIRole role) {
    static const struct {
        UIRole role;
        const wchar_t* text;
    } kRoles[] = {
        {UIRole::Window, L"client"},       {UIRole::PushButton, L"push button"},
        {UIRole::Link, L"link"},           {UIRole::StaticText, L"text"},
        {UIRole::List, L"list"},           {UIRole::ListItem, L"list item"},
        {UIRole::Animation, L"animation"}, {UIRole::ProgressBar, L"progress bar"},
    };
    for (const auto& entry : kRoles) {
        if (entry.role == role) return entry.text;
    }
    return L"none";
}

std::wstring StateText(unsigned state) {
    static const struct {
        unsigned bit;
        const wchar_t* text;
    } kStates[] = {
        {kAccUnavailable, L"unavailable"}, {kAccFocusable, L"focusable"}, {kAccFocused, L"focused"},
        {kAccOffscreen, L"offscreen"},     {kAccInvisible, L"invisible"},
    };
    std::wstring text;
    for (const auto& entry : kStates) {
        if (state & entry.bit) text += (text.empty() ? L"" : L" ") + std::wstring(entry.text);
    }
    return text;
}

void DescribeInto(const CControlUI* element, int depth, bool withLocations,
                  std::wostringstream& out) {
    out << std::wstring(depth * 2, L' ') << RoleText(RoleOf(element)) << L" \"" << NameOf(element)
        << L"\" [" << StateText(StateOf(element)) << L"]";
    const std::wstring value = ValueOf(element);
    if (!value.empty()) out << L" = \"" << value << L'"';
    if (withLocations) {
        const UIRect rc = LocationOf(element);
        out << L" @" << rc.left << L',' << rc.top << L',' << rc.right << L',' << rc.bottom;
    }
    out << L'\n';
    for (const CControlUI* child : ChildrenOf(element)) {
        DescribeInto(child, depth + 1, withLocations, out);
    }
}

}  // namespace

int IdOf(CPaintManagerUI& manager, CControlUI* control) {
    return control == manager.GetRoot() ? 0 : manager.GetAccessibleIds().IdOf(control);
}

CControlUI* ControlOfId(CPaintManagerUI& manager, int id) {
    return id == 0 ? manager.GetRoot() : manager.GetAccessibleIds().ControlOf(id);
}

std::vector<UIAccessibleEvent> EventsFor(CControlUI* control, UIChange change) {
    std::vector<UIAccessibleEvent> events;
    if (!control || !control->GetManager()) return events;
    std::vector<CControlUI*> elements;
    UIAccessibleEventType type = UIAccessibleEventType::NameChange;
    switch (change) {
        case UIChange::Focus:
        case UIChange::Name:
        case UIChange::Value:
            if (IsElement(control)) elements.push_back(control);
            type = change == UIChange::Focus  ? UIAccessibleEventType::Focus
                   : change == UIChange::Name ? UIAccessibleEventType::NameChange
                                              : UIAccessibleEventType::ValueChange;
            break;
        case UIChange::Shown:
        case UIChange::Hidden: {
            // Seen only when everything above is visible; what the control holds
            // appears or goes with it.
            const CControlUI* parent = control->GetParent();
            if (parent && !parent->IsVisibleInTree()) break;
            // A text that lost its last text goes as it was (SetText).
            const bool element = change == UIChange::Hidden ? RoleOf(control) != UIRole::None
                                                            : CanBeElement(control);
            if (element) {
                elements.push_back(control);
            } else {
                elements = ChildrenOf(control);
            }
            type = change == UIChange::Shown ? UIAccessibleEventType::Show
                                             : UIAccessibleEventType::Hide;
            break;
        }
        case UIChange::State:
            CollectElements(control, elements);
            type = UIAccessibleEventType::StateChange;
            break;
        case UIChange::Children:
        case UIChange::Location: {
            if (!control->IsVisibleInTree()) break;
            CControlUI* element = IsElement(control) ? control : ParentOf(control);
            if (element) elements.push_back(element);
            type = change == UIChange::Children ? UIAccessibleEventType::Reorder
                                                : UIAccessibleEventType::LocationChange;
            break;
        }
    }
    for (CControlUI* element : elements) events.push_back(UIAccessibleEvent{type, element});
    return events;
}

std::wstring Describe(const CControlUI* element, bool withLocations) {
    std::wostringstream out;
    if (IsElement(element)) DescribeInto(element, 0, withLocations, out);
    return out.str();
}

}  // namespace Accessible
}  // namespace DuiLib
