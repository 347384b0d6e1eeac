// The display-free platform arithmetic: picture area, mouse look, message lines, the icon file.
#include "platform/iconfile.h"
#include "platform/msgline.h"
#include "platform/screenfit.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

// Full screen: the largest centred 4:3 area, bars on the long sides only; a window is all picture.
TEST(ScreenFit, PictureAreaKeepsTheShapeOnlyFullScreen) {
    const int cases[][7] = {
        {1920, 1080, 1, 240, 0, 1440, 1080}, {1280, 800, 1, 107, 0, 1066, 800},
        {640, 480, 1, 0, 0, 640, 480},       {2560, 1440, 1, 320, 0, 1920, 1440},
        {1280, 1024, 1, 0, 32, 1280, 960},   {1920, 1080, 0, 0, 0, 1920, 1080},
        {640, 0, 0, 0, 0, 640, 1},           {200, 150, 0, 0, 0, 200, 150}};
    for (const auto& [w, h, keep, x, y, width, height] : cases) {
        const ViewArea a = pictureArea(w, h, keep != 0);
        EXPECT_TRUE(a.x == x && a.y == y && a.width == width && a.height == height)
            << w << "x" << h << " keep " << keep << ": " << a.width << "x" << a.height;
    }
}

// Where the pointer cannot be warped the game reads (320, 240) plus the motion: alike everywhere.
TEST(ScreenFit, SteeringReadsThePointPlusTheMotionWhereWarpingFails) {
    const std::tuple<bool, int, int, bool> warps[] = {
        {true, 640, 480, false}, {true, 200, 150, true},    {true, 2560, 1440, false},
        {false, 640, 480, true}, {false, 2560, 1440, true}, {true, 321, 241, false},
        {true, 320, 480, true},  {true, 640, 240, true}};
    for (const auto& [canWarp, w, h, motion] : warps)
        EXPECT_EQ(steerByMotion(canWarp, w, h, 320, 240), motion) << w << "x" << h;
    MotionSteer steer;
    for (const auto& [dx, dy, x, y] :
         {std::tuple{0, 0, 320, 240}, std::tuple{30, -4, 350, 236}, std::tuple{10, 9, 360, 245}}) {
        steerMove(steer, dx, dy);
        EXPECT_TRUE(steerCursor(steer).x == x && steerCursor(steer).y == y) << x << "," << y;
    }
    steerAnchor(steer, 320, 240); // the game puts it back: the next frame starts still
    EXPECT_TRUE(steerCursor(steer).x == 320 && steerCursor(steer).y == 240);
}

TEST(ScreenFit, MessagesAreOnePrefixedLine) {
    EXPECT_EQ(messageLine("FULLSCREEN Error: Supported by\nYour Video Card.  Use"),
              "hoopwind: FULLSCREEN Error: Supported by Your Video Card.  Use");
    EXPECT_EQ(messageLine("two\r\nbreaks\n\n"), "hoopwind: two  breaks");
}

TEST(ScreenFit, IconBitmapDecodesAndRefusesDamage) {
    std::vector<uint8_t> f = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0,  0, 0, 40, 0, 0,
                              0,   2,   0,  0, 0, 2, 0, 0, 0, 1, 0,  32, 0, 0, 0,  0, 0};
    f.resize(54, 0);
    for (uint8_t v = 0; v < 16; ++v)
        f.push_back(v);
    IconImage icon; // 2 x 2 bottom-up: it comes out top row first in RGBA
    ASSERT_TRUE(decodeIconBmp(f.data(), f.size(), icon));
    const std::vector<uint8_t> top = {10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0, 3, 6, 5, 4, 7};
    EXPECT_TRUE(icon.width == 2 && icon.height == 2 && icon.rgba == top);
    EXPECT_FALSE(decodeIconBmp(f.data(), f.size() - 1, icon)); // cut files, other depths refused
    f[18] = 0;                                                 // no width
    EXPECT_FALSE(decodeIconBmp(f.data(), f.size(), icon));
    f[18] = 2, f[28] = 24;
    EXPECT_FALSE(decodeIconBmp(f.data(), f.size(), icon));
}
