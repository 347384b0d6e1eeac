// The font table, loading and unloading, and the settings with their getters and setters.
#include "font/vfont.h"
#include "font/vfstate_local.h"

#include <cstdio>
#include <vector>

namespace {

vf::Settings values;
FontFileData* fonts[VF_MAX_FONTS] = {};
int currentFont = -1;

} // namespace

namespace vf {

const Settings& settings() {
    return values;
}

FontFileData* fontAt(int id) {
    return id >= 0 && id < VF_MAX_FONTS ? fonts[id] : nullptr;
}

int currentFontId() {
    return currentFont;
}

void setCurrentFontId(int id) {
    currentFont = id;
}

} // namespace vf

using namespace vf;

void vfInit() {
    for (FontFileData*& f : fonts) {
        delete f;
        f = nullptr;
    }
    currentFont = -1;
    values = Settings();
    resetBitmapFonts();
    resetConsole();
}

int vfLoadFont(const char* fileName) {
    int slot = -1;
    for (int i = 0; i < 256 && slot < 0; ++i)
        if (!fonts[i])
            slot = i;
    if (slot < 0)
        return -1;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(fileName, bytes))
        return -1;
    FontFileData* font = new FontFileData;
    FontFileStatus r = parseFontFile(bytes.data(), bytes.size(), *font);
    if (r != FONT_FILE_OK) {
        if (values.consoleMessages && r == FONT_FILE_BAD_MAGIC)
            std::printf("Error reading font file: incorrect file format\n");
        if (values.consoleMessages && r == FONT_FILE_REPEATED_SYMBOL)
            std::printf("Error reading font file: encountered symbols in font\n");
        delete font;
        return -1;
    }
    fonts[slot] = font;
    currentFont = slot;
    return slot;
}

int vfUnloadFontId(int id) {
    if (!validFont(id))
        return -1;
    delete fonts[id];
    fonts[id] = nullptr;
    if (currentFont == id)
        currentFont = -1;
    return 0;
}

int vfUnloadFont() {
    return vfUnloadFontId(currentFont);
}

int vfSetCurrentFont(int id) {
    if (!validFont(id))
        return -1;
    currentFont = id;
    return 0;
}

int vfGetCurrentFont() {
    return currentFont;
}

void vfSetSymbolSpace(float space) {
    values.symbolSpace = space;
}
float vfGetSymbolSpace() {
    return values.symbolSpace;
}
void vfSetSpaceSize(float size) {
    values.spaceSize = size;
}
float vfGetSpaceSize() {
    return values.spaceSize;
}
void vfSetSymbolDepth(float depth) {
    values.symbolDepth = depth;
}
float vfGetSymbolDepth() {
    return values.symbolDepth;
}

void vfStringDirection(int direction) {
    if (direction >= 1 && direction <= 4)
        values.direction = direction;
}
int vfGetStringDirection() {
    return values.direction;
}
void vfStringCentering(bool center) {
    values.centering = center;
}
bool vfGetStringCentering() {
    return values.centering;
}
void vfSetRotateAngle(float angle) {
    values.rotateAngle = angle;
}
float vfGetRotateAngle() {
    return values.rotateAngle;
}

void vfSetContourColor(float r, float g, float b, float a) {
    values.contourColor[0] = r;
    values.contourColor[1] = g;
    values.contourColor[2] = b;
    values.contourColor[3] = a;
}

void vfGetContourColor(float rgba[4]) {
    for (int i = 0; i < 4; ++i)
        rgba[i] = values.contourColor[i];
}

namespace {
bool* option(int code) {
    switch (code) {
    case VF_CONSOLE_MESSAGES:
        return &values.consoleMessages;
    case VF_TEXTURING:
        return &values.texturing;
    case VF_CONTOURING:
        return &values.contouring;
    case VF_CONSOLE_CURSOR:
        return &values.consoleCursor;
    default:
        return nullptr; // other codes do nothing
    }
}
} // namespace

void vfEnable(int code) {
    if (bool* o = option(code))
        *o = true;
}
void vfDisable(int code) {
    if (bool* o = option(code))
        *o = false;
}
bool vfIsEnabled(int code) {
    bool* o = option(code);
    return o && *o;
}
