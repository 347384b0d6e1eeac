// What the platform twins share: the message queue and the tap latch.
#include "platform/common/messagequeue.h"

#include <gtest/gtest.h>

TEST(PlatformCommon, QueueIsFirstInFirstOutAndLatchLastsOneFrame) {
    MessageQueue queue;
    queue.post(WM_SIZE, 0, MAKELPARAM(320, 200));
    queue.post(WM_CLOSE, 7);
    MSG m = {0, 0, 0};
    EXPECT_FALSE(queue.take(nullptr));
    ASSERT_TRUE(queue.take(&m));
    EXPECT_TRUE(m.message == WM_SIZE && m.lParam == MAKELPARAM(320, 200));
    ASSERT_TRUE(queue.take(&m));
    EXPECT_TRUE(m.message == WM_CLOSE && m.wParam == 7);
    EXPECT_FALSE(queue.take(&m));

    TapLatch latch;
    for (int code : {5, -1, static_cast<int>(TapLatch::CODES)}) {
        latch.press(code);
    }
    EXPECT_TRUE(latch.pressed(5));
    EXPECT_FALSE(latch.pressed(6) || latch.pressed(-1) || latch.pressed(TapLatch::CODES));
    latch.endFrame();
    EXPECT_FALSE(latch.pressed(5));
}
