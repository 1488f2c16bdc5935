#include "testkit/WorkInFlight.h"

#include <gtest/gtest.h>

#include <mutex>
#include <utility>
#include <vector>

namespace WorkInFlight {

namespace {

struct Probes {
    std::mutex mutex;
    std::vector<std::pair<std::string, Probe>> list;
};

Probes& Registered() {
    static Probes probes;
    return probes;
}

class Check : public ::testing::EmptyTestEventListener {
    // Runs before the result is printed, while failures still count for the test.
    void OnTestEnd(const ::testing::TestInfo& test) override {
        std::vector<std::pair<std::string, Probe>> probes;
        {
            std::lock_guard<std::mutex> lock(Registered().mutex);
            probes = Registered().list;
        }
        for (const auto& probe : probes) {
            const int count = probe.second();
            if (count != 0)
                ADD_FAILURE() << test.test_suite_name() << "." << test.name()
                              << " ended with work still in flight: " << count << " "
                              << probe.first;
        }
    }
};

}  // namespace

void AddProbe(std::string what, Probe probe) {
    std::lock_guard<std::mutex> lock(Registered().mutex);
    Registered().list.emplace_back(std::move(what), std::move(probe));
}

void InstallCheck() {
    // Listeners hear of a test's end in reverse order, so this one comes before the printer.
    ::testing::UnitTest::GetInstance()->listeners().Append(new Check);
}

}  // namespace WorkInFlight
