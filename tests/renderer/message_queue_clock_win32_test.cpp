// The pacer's clock on Windows: its waits end on input, or else last.
#include <windows.h>

#include <gtest/gtest.h>

#include "renderer/message_queue_clock_win32.h"

namespace {

using fulmina::MessageQueueClock;

TEST(MessageQueueClock, AWaitLastsItsTimeUnlessAMessageComes) {
    MessageQueueClock clock;
    std::int64_t before = clock.nowMicros();
    clock.waitMicros(30000);
    EXPECT_GE(clock.nowMicros() - before, 29000) << "the wait ended without a message";

    // A key for the renderer must not wait for the frame's time-out.
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0));
    before = clock.nowMicros();
    clock.waitMicros(20000000);
    EXPECT_LT(clock.nowMicros() - before, 10000000) << "the message did not end the wait";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << "the wait took the message";
}

}  // namespace
