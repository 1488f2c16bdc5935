// What an uninstall hands on, from any thread: the statuses and the progress,
// kept by callbacks that outlive late calls (they share the record).
// A Listening hands both callbacks to the uninstall service for as long as it
// lives.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "hotfix/WindowsHotfixHelper.h"

class UninstallOutcomes {
public:
    std::function<void(UninstallStatus)> StatusCallback() const {
        return [record = m_record](UninstallStatus status) {
            std::lock_guard<std::mutex> lock(record->mutex);
            record->statuses.push_back(status);
            record->arrived.notify_all();
        };
    }
    std::function<void(int)> ProgressCallback() const {
        return [record = m_record](int percent) {
            std::lock_guard<std::mutex> lock(record->mutex);
            record->progress.push_back(percent);
        };
    }

    // Sets the service's callbacks to these; clears them when it goes.
    class Listening {
    public:
        explicit Listening(const UninstallOutcomes& outcomes) {
            Service()->SetUninstallStatusCallback(outcomes.StatusCallback());
            Service()->SetUninstallProgressCallback(outcomes.ProgressCallback());
        }
        ~Listening() {
            Service()->SetUninstallStatusCallback(nullptr);
            Service()->SetUninstallProgressCallback(nullptr);
        }
        Listening(const Listening&) = delete;
        Listening& operator=(const Listening&) = delete;

    private:
        static WindowsHotfix::WindowsHotfixHelper* Service() {
            return WindowsHotfix::WindowsHotfixHelper::GetInstance();
        }
    };

    // The statuses once `count` arrived, or what came within a generous bound.
    std::vector<UninstallStatus> WaitFor(size_t count,
                                         std::chrono::seconds bound = std::chrono::seconds(30)) {
        std::unique_lock<std::mutex> lock(m_record->mutex);
        m_record->arrived.wait_for(lock, bound, [&] { return m_record->statuses.size() >= count; });
        return m_record->statuses;
    }
    std::vector<UninstallStatus> Statuses() const {
        std::lock_guard<std::mutex> lock(m_record->mutex);
        return m_record->statuses;
    }
    std::vector<int> Progress() const {
        std::lock_guard<std::mutex> lock(m_record->mutex);
        return m_record->progress;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(m_record->mutex);
        m_record->statuses.clear();
        m_record->progress.clear();
    }

private:
    struct Record {
        std::mutex mutex;
        std::condition_variable arrived;
        std::vector<UninstallStatus> statuses;
        std::vector<int> progress;
    };
    std::shared_ptr<Record> m_record = std::make_shared<Record>();
};
