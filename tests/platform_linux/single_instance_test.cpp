// One full-screen saver per session: a later start hands its request to the
// first and never waits on it for long, even when the first takes none.
#include "platform/linux/session/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

TEST(SingleInstance, LaterStartsQueueTheirRequestAndGiveUpWhenTheFirstTakesNoneForTheDeadline) {
    using namespace std::chrono_literals;
    const std::string session = "test-" + std::to_string(getpid());
    SingleInstance first(session);
    ASSERT_TRUE(first.claimOrRaiseRunning());
    // The first takes no requests, as when it is stopped: its queue fills,
    // and the start after that gives up at the deadline, saying so.
    int queued = 0;
    for (bool given = false; !given && queued <= SingleInstance::kPendingRequests + 1;) {
        SingleInstance later(session);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(later.claimOrRaiseRunning());
        const auto waited = std::chrono::steady_clock::now() - started;
        given = later.handOverResult() != 0;
        if (given) {
            EXPECT_EQ(later.handOverResult(), 1);
            EXPECT_GE(waited, SingleInstance::kAnswerDeadline);
            EXPECT_LT(waited, SingleInstance::kAnswerDeadline + 20s);
        } else {
            ++queued;
        }
    }
    EXPECT_GE(queued, SingleInstance::kPendingRequests);
    EXPECT_LE(queued, SingleInstance::kPendingRequests + 1);
    // Taken, the requests ask it to the front, and later starts are heard again.
    EXPECT_TRUE(first.raiseRequested());
    EXPECT_FALSE(first.raiseRequested());
    SingleInstance again(session);
    EXPECT_FALSE(again.claimOrRaiseRunning());
    EXPECT_EQ(again.handOverResult(), 0);
    EXPECT_TRUE(first.raiseRequested());
}

TEST(SingleInstance, TheNameIsFreeOnceTheFirstEnds) {
    const std::string session = "test-ends-" + std::to_string(getpid());
    {
        SingleInstance first(session);
        ASSERT_TRUE(first.claimOrRaiseRunning());
    }
    SingleInstance next(session);
    EXPECT_TRUE(next.claimOrRaiseRunning());
}
