// The registry of control creators keyed by layout element name ("Label",
// "Button", ...), used by CDialogBuilder. The built-in controls are registered
// on first use; more can be added (UI thread).
#pragma once

#include <map>
#include <string>

#include "duilib/UIControl.h"

namespace DuiLib {

class CControlFactory {
public:
    using Creator = CControlUI* (*)();

    static CControlFactory* GetInstance();
    // Replaces any creator of the same element name.
    void Register(const std::wstring& element, Creator creator);
    // A new control for the element, or null when the name is not registered.
    CControlUI* Create(const std::wstring& element) const;

private:
    CControlFactory();
    std::map<std::wstring, Creator> m_creators;
};

}  // namespace DuiLib
