// Demos replay what was read, stop a game out of step, refuse damage; the twins' queue and latch.
#include "platform/demo/demo.h"
#include "platform/demo/demo_file.h"
#include "platform/common/messagequeue.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "support/datafolder.h"

struct DemoTest : ::testing::Test {
    testdata::ScratchDir dir;
    std::string path = dir.file("a.hwd"), error;
    void TearDown() override { demo::reset(); }
    // Two frames: ticks, a key and a click, then a key not held.
    void SetUp() override {
        headless::reset();
        ASSERT_TRUE(demo::startRecording(path.c_str(), error)) << error;
        headless::setTickCount(1234);
        GetTickCount();
        headless::setKey(VK_ESCAPE, true);
        EXPECT_EQ(KEYDOWN(VK_ESCAPE), 1); // recording passes the live state on
        headless::postMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 6));
        MSG m;
        EXPECT_TRUE(PeekMessage(&m) && !PeekMessage(&m));
        demo::frameDone();
        (void)KEYDOWN('A');
        demo::frameDone();
        ASSERT_TRUE(demo::finish(error)) << error;
        headless::reset(); // the live state now differs from the recorded one
    }
};

TEST_F(DemoTest, PlaybackGivesBackWhatWasRecordedStopsOutOfStepAndRefusesDamageInOneLine) {
    for (bool inStep : {true, false}) {
        ASSERT_TRUE(demo::startPlayback(path.c_str(), false, error)) << error;
        headless::postMessage(WM_RBUTTONDOWN); // live input is not the demo's
        EXPECT_EQ(GetTickCount(), 1234u);
        EXPECT_EQ(KEYDOWN(inStep ? VK_ESCAPE : VK_RETURN), inStep ? 1 : 0);
        MSG m;
        ASSERT_TRUE(PeekMessage(&m));
        if (inStep) {
            EXPECT_EQ(m.lParam, MAKELPARAM(5, 6));
            EXPECT_FALSE(PeekMessage(&m));
            demo::frameDone();
            EXPECT_EQ(KEYDOWN('A'), 0);
            demo::frameDone();
            ASSERT_TRUE(PeekMessage(&m)); // the end of the demo ends the session
        }
        EXPECT_EQ(m.message, WM_QUIT);
        EXPECT_EQ(demo::finish(error), inStep) << error;
    }
    EXPECT_NE(error.find("record 1"), std::string::npos) << error;
    std::vector<uint8_t> good;
    ASSERT_TRUE(testdata::readFile(path, good));
    std::vector<demo::Record> records;
    ASSERT_TRUE(demo::parse(good.data(), good.size(), records, error)) << error;
    // Every truncation, and every byte changed, is refused without reading out of bounds.
    for (size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(demo::parse(good.data(), n, records, error)) << n;
        EXPECT_TRUE(n < 8 || error.find("truncated") != std::string::npos) << n << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos);
        std::vector<uint8_t> bad = good;
        bad[n] ^= 0xA5;
        EXPECT_FALSE(demo::parse(bad.data(), bad.size(), records, error)) << n;
    }
    // Every field comes back with its sign and width.
    const demo::Record sent[] = {{demo::REC_CURSOR, 1, 0, -5, -70000},
                                 {demo::REC_PEEK, 1, WM_SIZE, -1, INT64_MIN + 3},
                                 {demo::REC_KEY, 0xFFFF, 0x8000, 0, 0},
                                 {demo::REC_TICK, 0xFFFFFFFF, 0, 0, 0},
                                 {demo::REC_FRAME, 0, 0, 0, 0}};
    good.clear();
    demo::encodeHeader(good);
    for (const demo::Record& r : sent)
        demo::encode(r, good);
    demo::encodeEnd(1, 0, good);
    ASSERT_TRUE(demo::parse(good.data(), good.size(), records, error)) << error;
    ASSERT_EQ(records.size(), 6u);
    const uint8_t storedType[] = {3, 4, 2, 1, 5, 6}; // demos of other builds rely on the numbers
    for (size_t i = 0, at = demo::HEADER_SIZE; i < 6;
         at += 3 + demo::payloadSize(records[i++].type)) {
        EXPECT_EQ(good[at], storedType[i]) << i;
        const demo::Record &a = records[i], &b = i < 5 ? sent[i] : records[5]; // and the end
        EXPECT_TRUE(a.type == b.type && a.a == b.a && a.b == b.b && a.x == b.x && a.y == b.y) << i;
    }
    const std::tuple<size_t, uint8_t, const char*> cases[] = {
        {0, 'X', "not a Hoopwind demo"},
        {8, 1, "demo version 1, this game plays version 2"}, // an old demo
        {10, 1, "this game plays version 2"},                // the reserved field
        {demo::HEADER_SIZE, 99, "unknown record"},           // first record's type
        {demo::HEADER_SIZE + 1, 0xFF, "wrong length"},       // its length
        {demo::HEADER_SIZE + 3, 2, "damaged record"},        // the cursor's result
        {good.size() - 8, 7, "frame count does not match"},  // the end record's count
        {good.size() - 16, 0x41, "damaged: the checksum"},   // the tick's last byte
        {good.size(), 0, "data after the end"}};
    for (const auto& [at, value, why] : cases) {
        std::vector<uint8_t> bad = good;
        bad.resize(std::max(bad.size(), at + 1));
        bad[at] = value;
        EXPECT_FALSE(demo::parse(bad.data(), bad.size(), records, error)) << why;
        EXPECT_NE(error.find(why), std::string::npos) << error;
        // Opening it names the file and says what is wrong before anything is played.
        ASSERT_TRUE(testdata::writeFile(path, bad));
        EXPECT_FALSE(demo::startPlayback(path.c_str(), false, error));
        EXPECT_TRUE(error.rfind(path + ": ", 0) == 0 && error.find(why) != std::string::npos)
            << error;
    }
}

TEST(PlatformCommon, QueueIsFirstInFirstOutAndLatchLastsOneFrame) {
    MessageQueue queue;
    queue.post(WM_SIZE, 0, MAKELPARAM(320, 200));
    queue.post(WM_CLOSE, 7);
    MSG m = {0, 0, 0};
    EXPECT_FALSE(queue.take(nullptr));
    EXPECT_TRUE(queue.take(&m) && m.message == WM_SIZE && m.lParam == MAKELPARAM(320, 200));
    EXPECT_TRUE(queue.take(&m) && m.message == WM_CLOSE && m.wParam == 7);
    EXPECT_FALSE(queue.take(&m));

    TapLatch latch;
    for (int code : {5, -1, static_cast<int>(TapLatch::CODES)})
        latch.press(code);
    EXPECT_TRUE(latch.pressed(5));
    EXPECT_FALSE(latch.pressed(6) || latch.pressed(-1) || latch.pressed(TapLatch::CODES));
    latch.endFrame();
    EXPECT_FALSE(latch.pressed(5));
}
