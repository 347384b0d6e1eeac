// Bitmap fonts: a picture and a mask texture from the "BMF" file's image; glyphs are textured
// quads drawn straight from the cells (no display lists, which not every GL has).
#include "font/bmffile.h"
#include "font/fontfile.h"
#include "font/vfont.h"
#include "font/vfstate_local.h"

#include <GL/gl.h>
#include <cstring>
#include <vector>

namespace {

struct BitmapFont {
    char name[97] = {};
    BmfCell cells[256];
    GLuint picture = 0;
    GLuint mask = 0;
    float height = 0;
};

BitmapFont* bitmapFonts[256] = {};
int currentBitmapFont = -1;

bool validBitmapFont(int id) {
    return id >= 0 && id < 256 && bitmapFonts[id];
}

GLuint makeTexture(const std::vector<uint8_t>& rgba, int width, int height) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 rgba.data());
    return name;
}

// Black where the picture has any colour, white elsewhere: multiplied into the frame it cuts out
// the glyph's shape before the picture is added on top.
std::vector<uint8_t> maskOf(const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> mask(rgba.size());
    for (size_t p = 0; p < rgba.size(); p += 4) {
        uint8_t v = (rgba[p] || rgba[p + 1] || rgba[p + 2]) ? 0 : 255;
        mask[p] = mask[p + 1] = mask[p + 2] = v;
        mask[p + 3] = 255;
    }
    return mask;
}

// One glyph at the current position, then the position moves past it.
void drawGlyph(const BmfCell& cell) {
    glBegin(GL_QUADS);
    glTexCoord2f(cell.x, cell.y);
    glVertex2f(0, 0);
    glTexCoord2f(cell.x + cell.width, cell.y);
    glVertex2f(cell.width, 0);
    glTexCoord2f(cell.x + cell.width, cell.y + cell.height);
    glVertex2f(cell.width, cell.height);
    glTexCoord2f(cell.x, cell.y + cell.height);
    glVertex2f(0, cell.height);
    glEnd();
    glTranslatef(cell.width + 0.001f, 0, 0);
}

// The state a bitmap string changes, put back by hand afterwards (not every GL has an attribute
// stack): the two switches, the blend factors and the bound texture.
#ifndef GL_BLEND_SRC_RGB
#define GL_BLEND_SRC_RGB 0x80C9
#define GL_BLEND_DST_RGB 0x80C8
#endif
struct SavedTextState {
    GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    GLboolean blending = glIsEnabled(GL_BLEND);
    GLint src = GL_ONE, dst = GL_ZERO, texture = 0;
    SavedTextState() {
        glGetIntegerv(GL_BLEND_SRC_RGB, &src);
        glGetIntegerv(GL_BLEND_DST_RGB, &dst);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    }
    ~SavedTextState() {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        glBlendFunc(static_cast<GLenum>(src), static_cast<GLenum>(dst));
        enable(GL_BLEND, blending);
        enable(GL_TEXTURE_2D, texturing);
    }
    static void enable(GLenum what, GLboolean on) {
        if (on)
            glEnable(what);
        else
            glDisable(what);
    }
};

void release(BitmapFont* font) {
    if (font->picture)
        glDeleteTextures(1, &font->picture);
    if (font->mask)
        glDeleteTextures(1, &font->mask);
    delete font;
}

void callGlyphs(const BitmapFont& font, const char* text) {
    glPushMatrix();
    for (const char* p = text; *p; ++p)
        drawGlyph(font.cells[static_cast<unsigned char>(*p)]);
    glPopMatrix();
}

} // namespace

namespace vf {
void resetBitmapFonts() {
    for (BitmapFont*& f : bitmapFonts) {
        if (f)
            release(f);
        f = nullptr;
    }
    currentBitmapFont = -1;
}
} // namespace vf

int vfLoadBMFFont(const char* fileName) {
    int slot = -1;
    for (int i = 0; i < 256 && slot < 0; ++i)
        if (!bitmapFonts[i])
            slot = i;
    std::vector<uint8_t> bytes;
    if (slot < 0 || !readWholeFile(fileName, bytes))
        return -1;
    BmfFile file;
    if (!bmfParse(bytes.data(), bytes.size(), file))
        return -1;
    auto* font = new BitmapFont;
    std::memcpy(font->name, file.name, sizeof font->name);
    std::memcpy(font->cells, file.cells, sizeof font->cells);
    for (const BmfCell& c : font->cells)
        if (c.height > font->height)
            font->height = c.height;
    const SgiImage& image = file.image;
    font->picture = makeTexture(image.rgba, image.width, image.height);
    font->mask = makeTexture(maskOf(image.rgba), image.width, image.height);
    bitmapFonts[slot] = font;
    currentBitmapFont = slot;
    return slot;
}

int vfUnloadBMFFontId(int id) {
    if (!validBitmapFont(id))
        return -1;
    release(bitmapFonts[id]);
    bitmapFonts[id] = nullptr;
    if (currentBitmapFont == id)
        currentBitmapFont = -1;
    return 0;
}

int vfUnloadBMFFont() {
    return vfUnloadBMFFontId(currentBitmapFont);
}

int vfSetCurrentBMFFont(int id) {
    if (!validBitmapFont(id))
        return -1;
    currentBitmapFont = id;
    return 0;
}

int vfGetCurrentBMFFont() {
    return currentBitmapFont;
}

void vfDrawBStringId(int id, const char* text) {
    if (!validBitmapFont(id) || !text || !*text)
        return;
    const BitmapFont& font = *bitmapFonts[id];
    SavedTextState saved;
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, font.mask);
    callGlyphs(font, text);
    glBlendFunc(GL_ONE, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, font.picture);
    callGlyphs(font, text);
}

void vfDrawBString(const char* text) {
    vfDrawBStringId(currentBitmapFont, text);
}

float vfGetBStringWidth(int id, const char* text) {
    if (!validBitmapFont(id) || !text)
        return 0;
    float width = 0;
    for (const char* p = text; *p; ++p)
        width += bitmapFonts[id]->cells[static_cast<unsigned char>(*p)].width + 0.001f;
    return width;
}

float vfGetBFontHeight(int id) {
    return validBitmapFont(id) ? bitmapFonts[id]->height : 0;
}
