// The font table, loading and unloading, and the settings with their getters and setters.
#include "font/vfont.h"
#include "font/vfstate_local.h"

#include <cstdio>
#include <vector>

namespace vf {
Settings settings;
FontFileData* fonts[256] = {};
int currentFont = -1;
} // namespace vf

using namespace vf;

void vfInit() {
    for (FontFileData*& f : fonts) {
        delete f;
        f = nullptr;
    }
    currentFont = -1;
    settings = Settings();
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
        if (settings.consoleMessages && r == FONT_FILE_BAD_MAGIC)
            std::printf("Error reading font file: incorrect file format\n");
        if (settings.consoleMessages && r == FONT_FILE_REPEATED_SYMBOL)
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
    settings.symbolSpace = space;
}
float vfGetSymbolSpace() {
    return settings.symbolSpace;
}
void vfSetSpaceSize(float size) {
    settings.spaceSize = size;
}
float vfGetSpaceSize() {
    return settings.spaceSize;
}
void vfSetSymbolDepth(float depth) {
    settings.symbolDepth = depth;
}
float vfGetSymbolDepth() {
    return settings.symbolDepth;
}

void vfStringDirection(int direction) {
    if (direction >= 1 && direction <= 4)
        settings.direction = direction;
}
int vfGetStringDirection() {
    return settings.direction;
}
void vfStringCentering(bool center) {
    settings.centering = center;
}
bool vfGetStringCentering() {
    return settings.centering;
}
void vfSetRotateAngle(float angle) {
    settings.rotateAngle = angle;
}
float vfGetRotateAngle() {
    return settings.rotateAngle;
}

void vfSetContourColor(float r, float g, float b, float a) {
    settings.contourColor[0] = r;
    settings.contourColor[1] = g;
    settings.contourColor[2] = b;
    settings.contourColor[3] = a;
}

void vfGetContourColor(float rgba[4]) {
    for (int i = 0; i < 4; ++i)
        rgba[i] = settings.contourColor[i];
}

namespace {
bool* option(int code) {
    switch (code) {
    case VF_CONSOLE_MESSAGES:
        return &settings.consoleMessages;
    case VF_TEXTURING:
        return &settings.texturing;
    case VF_CONTOURING:
        return &settings.contouring;
    case VF_CONSOLE_CURSOR:
        return &settings.consoleCursor;
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
