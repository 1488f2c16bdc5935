// The enumeration started at start-up, before the main window exists, so that
// the slow part of the first list (COM and WMI coming up, the query itself)
// overlaps the window's creation instead of following it.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "support/HotfixInfo.h"

namespace WindowsHotfix {

class EarlyHotfixQuery {
public:
    using Query = std::function<int(std::vector<HotfixInfo>&)>;

    // Runs `query` now on a detached thread, unless one already waits to be taken.
    // Returns false when no thread could be started (logged): the caller then
    // queries when it needs the list.
    bool Start(Query query);
    // When an early query was started and not yet taken: waits for it, appends its
    // records to `hotfixes`, sets `result` to its code and returns true. The answer
    // is taken once; later calls return false.
    bool Take(std::vector<HotfixInfo>& hotfixes, int& result);
    // Forgets an answer no one took, so that a later list is always asked afresh.
    void Drop();

private:
    struct Answer {
        std::mutex lock;
        std::condition_variable ready;
        bool done = false;
        int result = 1;
        std::vector<HotfixInfo> records;
    };
    std::mutex m_lock;
    std::shared_ptr<Answer> m_pending;  // started and not yet taken
};

}  // namespace WindowsHotfix
