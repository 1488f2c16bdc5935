#include "hotfix/UpdateTitles.h"

#include <unordered_set>

#include "hotfix/KbNumber.h"
#include "hotfix/WindowsUpdateTurn.h"

namespace WindowsHotfix {

std::vector<std::wstring> TitleKbNumbers(const std::wstring& title) {
    static const std::wstring kOpen = L"(KB";
    std::vector<std::wstring> numbers;
    for (size_t at = title.find(kOpen); at != std::wstring::npos; at = title.find(kOpen, at + 1)) {
        size_t end = at + kOpen.size();
        while (end < title.size() && title[end] >= L'0' && title[end] <= L'9') ++end;
        if (end > at + kOpen.size() && end < title.size() && title[end] == L')') {
            numbers.push_back(title.substr(at + kOpen.size(), end - at - kOpen.size()));
        }
    }
    return numbers;
}

UpdateTitles MatchUpdateTitles(const std::vector<std::wstring>& hotfixIds,
                               const std::vector<WinApi::UpdateHistoryEntry>& history) {
    // The listed hotfixes by number; a number listed twice gives both rows its title.
    std::unordered_map<std::wstring, std::vector<std::wstring>> idsByNumber;
    for (const std::wstring& id : hotfixIds) {
        const std::wstring number = ExtractKbNumber(id);
        if (!number.empty()) idsByNumber[number].push_back(id);
    }
    UpdateTitles titles;
    std::unordered_map<std::wstring, double> dates;  // of the entry each title came from
    for (const WinApi::UpdateHistoryEntry& entry : history) {
        std::unordered_set<std::wstring> seen;
        for (const std::wstring& number : TitleKbNumbers(entry.title)) {
            const auto listed = idsByNumber.find(number);
            if (listed == idsByNumber.end() || !seen.insert(number).second) continue;
            for (const std::wstring& id : listed->second) {
                const auto known = dates.find(id);
                if (known != dates.end() && known->second >= entry.date) continue;
                dates[id] = entry.date;
                titles[id] = entry.title;
            }
        }
    }
    return titles;
}

UpdateTitlesRead ReadUpdateTitles(const std::vector<std::wstring>& hotfixIds) {
    UpdateTitlesRead read;
    std::vector<WinApi::UpdateHistoryEntry> history;
    {
        const std::lock_guard<std::mutex> turn(WindowsUpdateTurn());
        read.result = WinApi::ReadUpdateHistory(&history);
    }
    read.entries = history.size();
    if (read.result == 0) read.titles = MatchUpdateTitles(hotfixIds, history);
    return read;
}

}  // namespace WindowsHotfix
