// Textures: uploaded texels read back equal to the image for any width, filters, binding, the
// unpack alignment left as found, and failures that make no texture.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <vector>

#include "platform/headless.h"
#include "render/texture.h"
#include "support/bitmapbuilder.h"
#include "support/datafolder.h"

using namespace bmpbuild;
using testdata::ScratchDir;

namespace {

class TextureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl_.ok());
        headless::clearMessageBoxes();
    }

    std::string Write24(int w, int h) {
        Layout s;
        s.width = w;
        s.height = h;
        s.bits = pack24(w, h, false, gradient);
        std::string path = dir_.file("tex" + std::to_string(w) + "x" + std::to_string(h) + ".bmp");
        EXPECT_TRUE(testdata::writeFile(path, build(s)));
        return path;
    }

    // The texture's level 0 as tightly packed RGB rows, bottom row first.
    std::vector<uint8_t> ReadBack(GLuint texture, int w, int h) {
        std::vector<uint8_t> texels(static_cast<size_t>(w) * h * 3, 0);
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint packAlignment = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
        return texels;
    }

    headless::OffscreenGL gl_;
    ScratchDir dir_;
};

} // namespace

TEST_F(TextureTest, TexelsEqualTheImageForWidthsThatAreAndAreNotMultiplesOfFour) {
    for (int w : {1, 2, 3, 4, 5, 6, 7, 8, 13}) {
        for (int h : {1, 3, 4}) {
            std::string path = Write24(w, h);
            GLuint texture = LoadGLTextures(path.c_str());
            ASSERT_NE(texture, 0u) << w << "x" << h;
            GLint tw = 0, th = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
            EXPECT_EQ(tw, w);
            EXPECT_EQ(th, h);
            std::vector<uint8_t> texels = ReadBack(texture, w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    Rgb want = gradient(x, y);
                    const uint8_t* got = &texels[(static_cast<size_t>(y) * w + x) * 3];
                    ASSERT_TRUE(got[0] == want[0] && got[1] == want[1] && got[2] == want[2])
                        << w << "x" << h << " texel (" << x << ", " << y << ")";
                }
            glDeleteTextures(1, &texture);
        }
    }
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(TextureTest, NewTextureStaysBoundWithNearestFiltersAndAlignmentIsRestored) {
    std::string path = Write24(5, 2);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glDisable(GL_TEXTURE_2D);
    GLuint texture = LoadGLTextures(path.c_str());
    ASSERT_NE(texture, 0u);
    GLint bound = 0, minFilter = 0, magFilter = 0, alignment = 0, wrap = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(minFilter, GL_NEAREST);
    EXPECT_EQ(magFilter, GL_NEAREST);
    EXPECT_EQ(wrap, GL_REPEAT);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)); // enabling texturing is the caller's business
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, FailuresGiveZeroAndMakeNoTexture) {
    std::string path = Write24(2, 2);
    GLuint existing = LoadGLTextures(path.c_str());
    ASSERT_NE(existing, 0u);

    // Missing: silent, 0, and the binding is untouched (no texture object was made).
    EXPECT_EQ(LoadGLTextures(dir_.file("missing.bmp").c_str()), 0u);
    EXPECT_EQ(LoadGLTextures(nullptr), 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), existing);
    EXPECT_TRUE(headless::messageBoxes().empty());

    // Undecodable: 0 after the decoder's box.
    Layout s;
    s.headerSize = 108;
    std::string bad = dir_.file("bad.bmp");
    ASSERT_TRUE(testdata::writeFile(bad, build(s)));
    EXPECT_EQ(LoadGLTextures(bad.c_str()), 0u);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), existing);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].text, "Unknown DIB file format.");
    // The next name handed out is one more than the last real texture: nothing was generated.
    GLuint next = 0;
    glGenTextures(1, &next);
    EXPECT_EQ(next, existing + 1);
}
