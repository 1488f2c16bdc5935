// Builds a control tree from a layout XML file under the resource path.
#pragma once

#include "duilib/UIWindow.h"

namespace DuiLib {

class CDialogBuilder {
public:
    // Root control of the built layout, or null when the file is missing or unusable.
    // The file name is relative to the resource path; "\\" and "/" both separate.
    // With a manager, the root's "size", "caption" and fonts configure that window.
    CControlUI* Create(STRINGorID xml, LPCTSTR type = nullptr,
                       IDialogBuilderCallback* callback = nullptr,
                       CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
};

}  // namespace DuiLib
