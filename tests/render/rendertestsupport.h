// Test helpers for the rendering tests: a scratch folder, owned image records, picture checks.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "platform/headless.h"
#include "render/bmpbuilder.h"
#include "render/image.h"

namespace rendertest {

// A fresh folder under the system temp folder, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "hwrender-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct ImageDeleter {
    void operator()(ImageRec* image) const { FreeImageRec(image); }
};
using ImagePtr = std::unique_ptr<ImageRec, ImageDeleter>;

inline ImagePtr Decode(const std::vector<uint8_t>& bytes) {
    return ImagePtr(DecodeDIBImage(bytes.data(), bytes.size()));
}

// Every pixel of `image` (bottom row first) equals `pic`; reports the first few mismatches.
inline ::testing::AssertionResult SamePicture(const ImageRec* image, int width, int height,
                                              const bmptest::Picture& pic) {
    if (!image)
        return ::testing::AssertionFailure() << "no image";
    if (image->width != width || image->height != height)
        return ::testing::AssertionFailure() << "size " << image->width << "x" << image->height
                                             << ", wanted " << width << "x" << height;
    int bad = 0;
    auto failure = ::testing::AssertionFailure();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = image->data + (static_cast<size_t>(y) * width + x) * 3;
            bmptest::Rgb want = pic(x, y);
            if (p[0] != want[0] || p[1] != want[1] || p[2] != want[2]) {
                if (bad++ < 5)
                    failure << "pixel (" << x << ", " << y << ") is " << int(p[0]) << ","
                            << int(p[1]) << "," << int(p[2]) << " wanted " << int(want[0]) << ","
                            << int(want[1]) << "," << int(want[2]) << "; ";
            }
        }
    return bad ? failure : ::testing::AssertionSuccess();
}

// The texts of the message boxes shown so far, each checked to carry the "Error" caption.
inline std::vector<std::string> ErrorBoxes() {
    std::vector<std::string> texts;
    for (const auto& box : headless::messageBoxes()) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, MB_OK);
        texts.push_back(box.text);
    }
    return texts;
}

} // namespace rendertest
