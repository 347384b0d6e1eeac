// Demos: what the game read is what a replay gives back, in order; a damaged file is refused
// with one line and never read out of bounds.
#include "platform/demo/demo.h"
#include "platform/demo/demo_file.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct DemoTest : ::testing::Test {
    std::string path = "/tmp/hw-demo-test-" + std::to_string(getpid()) + ".hwd";
    std::string error;
    void SetUp() override { headless::reset(); }
    void TearDown() override {
        demo::reset();
        std::remove(path.c_str());
    }
    // Two frames: ticks, keys, the cursor and a click, as the game would read them.
    void record() {
        ASSERT_TRUE(demo::startRecording(path.c_str(), error)) << error;
        headless::setTickCount(1234);
        EXPECT_EQ(GetTickCount(), 1234u);
        headless::setKey(VK_ESCAPE, true);
        EXPECT_EQ(KEYDOWN(VK_ESCAPE), 1);
        headless::setCursor(300, 250);
        POINT p;
        GetCursorPos(&p);
        headless::postMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(5, 6));
        MSG m;
        EXPECT_TRUE(PeekMessage(&m));
        EXPECT_FALSE(PeekMessage(&m));
        demo::frameDone();
        EXPECT_EQ(KEYDOWN('A'), 0);
        demo::frameDone();
        ASSERT_TRUE(demo::finish(error)) << error;
        headless::reset(); // the live state now differs from the recorded one
    }
    std::vector<unsigned char> bytes() {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

} // namespace

TEST_F(DemoTest, PlaybackGivesBackWhatWasRecordedNotTheLiveStateThenQuits) {
    record();
    ASSERT_TRUE(demo::startPlayback(path.c_str(), false, error)) << error;
    headless::postMessage(WM_RBUTTONDOWN); // live input is not the demo's
    EXPECT_EQ(GetTickCount(), 1234u);
    EXPECT_EQ(KEYDOWN(VK_ESCAPE), 1);
    POINT p;
    EXPECT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 250);
    MSG m;
    ASSERT_TRUE(PeekMessage(&m));
    EXPECT_EQ(m.message, WM_LBUTTONDOWN);
    EXPECT_EQ(m.lParam, MAKELPARAM(5, 6));
    EXPECT_FALSE(PeekMessage(&m));
    demo::frameDone();
    EXPECT_EQ(KEYDOWN('A'), 0);
    demo::frameDone();
    ASSERT_TRUE(PeekMessage(&m)); // the end of the demo ends the session
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_EQ(demo::frames(), 2);
    EXPECT_TRUE(demo::finish(error)) << error;
}

TEST_F(DemoTest, AGameAskingForOtherInputThanRecordedStopsWithAnError) {
    record();
    ASSERT_TRUE(demo::startPlayback(path.c_str(), false, error));
    GetTickCount();
    EXPECT_EQ(KEYDOWN(VK_RETURN), 0); // recorded: Escape
    MSG m;
    ASSERT_TRUE(PeekMessage(&m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_FALSE(demo::finish(error));
    EXPECT_NE(error.find("record 1"), std::string::npos) << error;
}

TEST_F(DemoTest, DamagedFilesAreRefusedWithOneLine) {
    record();
    const std::vector<unsigned char> good = bytes();
    std::vector<demo::Record> records;
    ASSERT_TRUE(demo::parse(good.data(), good.size(), records, error)) << error;
    // Every truncation, and every byte changed, parses without reading out of bounds.
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<unsigned char> cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_FALSE(demo::parse(cut.data(), cut.size(), records, error)) << n;
        EXPECT_EQ(error.find('\n'), std::string::npos);
        std::vector<unsigned char> bad = good;
        bad[n] ^= 0xA5;
        demo::parse(bad.data(), bad.size(), records, error);
    }
    auto refused = [&](size_t at, unsigned char value, const char* why) {
        std::vector<unsigned char> bad = good;
        bad[at] = value;
        EXPECT_FALSE(demo::parse(bad.data(), bad.size(), records, error)) << why;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    };
    refused(0, 'X', "not a Hoopwind demo");
    refused(8, 2, "version 2");
    refused(demo::HEADER_SIZE, 99, "unknown record");          // first record's type
    refused(demo::HEADER_SIZE + 1, 0xFF, "wrong length");      // its length
    refused(good.size() - 4, 7, "frame count does not match"); // the end record's count
    std::vector<unsigned char> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(demo::parse(longer.data(), longer.size(), records, error)) << "data after the end";
    EXPECT_FALSE(demo::load("/nonexistent/demo.hwd", records, error));
    EXPECT_NE(error.find("/nonexistent/demo.hwd"), std::string::npos);
    EXPECT_FALSE(demo::startPlayback("/nonexistent/demo.hwd", false, error));
    EXPECT_FALSE(demo::playing());
}
