#include "testkit/toolkit/HeardEvents.h"

#include <iterator>

#include "duilib_headless/HeadlessTesting.h"

namespace HeardEvents {

std::vector<std::wstring> Take(HWND window) {
    // In the order of UIAccessibleEventType.
    static const wchar_t* const kEvents[] = {L"focus",   L"namechange",    L"show",
                                             L"hide",    L"statechange",   L"valuechange",
                                             L"reorder", L"locationchange"};
    static_assert(std::size(kEvents) ==
                  static_cast<size_t>(DuiLib::UIAccessibleEventType::LocationChange) + 1);
    std::vector<std::wstring> heard;
    for (const DuiLib::Headless::HeardEvent& e : DuiLib::Headless::TakeHeardEvents(window)) {
        heard.push_back(std::wstring(kEvents[static_cast<size_t>(e.type)]) + L" " + e.name);
    }
    return heard;
}

}  // namespace HeardEvents
