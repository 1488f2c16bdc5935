#include "hotfix/EarlyHotfixQuery.h"

#include <system_error>

#include "support/DetachedThreads.h"
#include "support/KtLogger.h"

namespace WindowsHotfix {

bool EarlyHotfixQuery::Start(Query query) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pending) {
        return true;
    }
    auto answer = std::make_shared<Answer>();
    try {
        DetachedThreads::Start([answer, query = std::move(query)] {
            std::vector<HotfixInfo> records;
            const int result = query(records);
            std::lock_guard<std::mutex> answerGuard(answer->lock);
            answer->result = result;
            answer->records = std::move(records);
            answer->done = true;
            answer->ready.notify_all();
        });
    } catch (const std::system_error& error) {
        KT_LOG(LOG_ERROR, L"start early hotfix query fail! ret:" << error.code().value(),
               "WindowsHotfix::EarlyHotfixQuery::Start");
        return false;
    }
    m_pending = std::move(answer);
    return true;
}

bool EarlyHotfixQuery::Take(std::vector<HotfixInfo>& hotfixes, int& result) {
    std::shared_ptr<Answer> answer;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        answer = std::move(m_pending);
        m_pending.reset();
    }
    if (!answer) {
        return false;
    }
    std::unique_lock<std::mutex> answerLock(answer->lock);
    answer->ready.wait(answerLock, [&answer] { return answer->done; });
    hotfixes.insert(hotfixes.end(), std::make_move_iterator(answer->records.begin()),
                    std::make_move_iterator(answer->records.end()));
    result = answer->result;
    return true;
}

void EarlyHotfixQuery::Drop() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pending.reset();
}

}  // namespace WindowsHotfix
