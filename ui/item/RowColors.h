// The colours the code gives a row's texts and button as its uninstall goes.
// The idle look's are the row layout's own (Hotfix_container_item_detail.xml),
// which the row restores after a cancel. 0xAARRGGBB.
#pragma once

#include <cstdint>

namespace RowColors {

constexpr uint32_t kUninstallingTextColor = 0xFF999999;
constexpr uint32_t kUninstallingButtonTextColor = 0x660A59F7;
constexpr const wchar_t* kUninstallingButtonBkColor = L"#66FFFFFF";
constexpr uint32_t kOtherBusyButtonTextColor = 0xFF0A59F7;
constexpr const wchar_t* kOtherBusyButtonBkColor = L"#0D000000";
constexpr uint32_t kSuccessColor = 0xFF64BB5C;
constexpr uint32_t kProblemColor = 0xFFED6F21;

}  // namespace RowColors
