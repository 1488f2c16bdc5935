// What a control says about itself to assistive technology beyond what its class
// and text already say: set by layout attributes ("accrole", "accname",
// "accdescription") or by code. The accessible tree (UIAccessible.h) reads it.
#pragma once

#include <string>

#include "duilib/UIString.h"

namespace DuiLib {

// An element's role. Default: the role of the control's class (a button is a push
// button, a label static text, a text with a link a link, the animation panel an
// animation, a container none).
enum class UIRole {
    Default,
    None,  // not an element: a container's elements are lifted to the element above
    Window,
    PushButton,
    Link,
    StaticText,
    List,
    ListItem,
    Animation,
    ProgressBar,
};

struct UIAccessibleInfo {
    UIRole role = UIRole::Default;
    CDuiString name;         // said in place of the shown text
    CDuiString nameSuffix;   // said after the name, e.g. the row a button acts on
    CDuiString description;  // when empty, the tooltip is the description
};

// "button", "link", "text", "list", "listitem", "animation", "progressbar", "none"; false for
// anything else.
bool ParseAccessibleRole(const std::wstring& text, UIRole& role);

}  // namespace DuiLib
