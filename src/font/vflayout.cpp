// String layout shared by the four string routines, and string bounds.
#include "font/vfglyph_local.h"
#include "font/vfont.h"
#include "font/vfstate_local.h"

#include <GL/gl.h>
#include <cmath>
#include <cstring>

namespace {

using vf::settings;

// A character that takes part in glyph spacing: not a space and present in the font.
const FontFileSymbol* glyphOf(char c) {
    return c == ' ' ? nullptr : vf::symbolOf(c);
}

// Distance moved after character i along the string direction (always positive).
float advanceAfter(const char* text, size_t i, size_t length) {
    const FontFileSymbol* s = glyphOf(text[i]);
    if (!s)
        return settings().spaceSize;
    if (i + 1 == length)
        return 0;
    if (text[i + 1] == ' ')
        return settings().symbolSpace;
    const FontFileSymbol* next = glyphOf(text[i + 1]);
    if (!next)
        return 0; // the next character adds the space size on its own turn
    switch (settings().direction) {
    case 2:
        return std::fabs(next->maxX) + std::fabs(s->minX) + settings().symbolSpace;
    case 3:
        return std::fabs(s->maxY) + std::fabs(next->minY) + settings().symbolSpace;
    case 4:
        return std::fabs(s->minY) + std::fabs(next->maxY) + settings().symbolSpace;
    default:
        return std::fabs(s->maxX) + std::fabs(next->minX) + settings().symbolSpace;
    }
}

// Translates by `distance` along the direction (negative for directions 2 and 4).
void moveAlong(float distance) {
    switch (settings().direction) {
    case 2:
        glTranslatef(-distance, 0, 0);
        break;
    case 3:
        glTranslatef(0, distance, 0);
        break;
    case 4:
        glTranslatef(0, -distance, 0);
        break;
    default:
        glTranslatef(distance, 0, 0);
        break;
    }
}

void startOffset(const char* text, size_t length) {
    if (settings().centering) {
        float total = 0;
        for (size_t i = 0; i < length; ++i)
            total += advanceAfter(text, i, length);
        moveAlong(-total / 2);
        return;
    }
    const FontFileSymbol* first = glyphOf(text[0]);
    if (!first)
        return;
    switch (settings().direction) {
    case 2:
        glTranslatef(1 - std::fabs(first->maxX), 0, 0);
        break;
    case 3:
        glTranslatef(0, 1 - std::fabs(first->minY), 0);
        break;
    case 4:
        glTranslatef(0, -(1 - std::fabs(first->maxY)), 0);
        break;
    default:
        glTranslatef(-(1 - std::fabs(first->minX)), 0, 0);
        break;
    }
}

template <typename Draw> void layoutString(const char* text, Draw draw) {
    if (!text || !*text || !vf::current())
        return;
    size_t length = std::strlen(text);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (settings().rotateAngle != 0)
        glRotatef(settings().rotateAngle, 0, 0, 1);
    startOffset(text, length);
    for (size_t i = 0; i < length; ++i) {
        if (const FontFileSymbol* s = glyphOf(text[i]))
            draw(*s);
        float step = advanceAfter(text, i, length);
        if (step != 0)
            moveAlong(step);
    }
    glPopMatrix();
}

template <typename Draw> void layoutStringId(int id, const char* text, Draw draw) {
    vf::ScopedFont font(id);
    if (font.ok())
        layoutString(text, draw);
}

} // namespace

void vfDrawWiredString(const char* text) {
    layoutString(text, vf::drawWired);
}
void vfDrawSolidString(const char* text) {
    layoutString(text, vf::drawSolid);
}
void vfDraw3DWiredString(const char* text) {
    layoutString(text, vf::draw3DWired);
}
void vfDraw3DSolidString(const char* text) {
    layoutString(text, vf::draw3DSolid);
}
void vfDrawWiredStringId(int id, const char* text) {
    layoutStringId(id, text, vf::drawWired);
}
void vfDrawSolidStringId(int id, const char* text) {
    layoutStringId(id, text, vf::drawSolid);
}
void vfDraw3DWiredStringId(int id, const char* text) {
    layoutStringId(id, text, vf::draw3DWired);
}
void vfDraw3DSolidStringId(int id, const char* text) {
    layoutStringId(id, text, vf::draw3DSolid);
}

void vfGetStringBounds(int id, const char* text, float* minX, float* minY, float* maxX,
                       float* maxY) {
    vf::ScopedFont font(id);
    if (!font.ok())
        return;
    float left = 0, length = 0, low = 10, high = -10;
    if (text && *text) {
        if (const FontFileSymbol* first = glyphOf(text[0]))
            left = first->minX;
        for (const char* p = text; *p; ++p) {
            const FontFileSymbol* s = glyphOf(*p);
            if (!s) {
                length += settings().spaceSize;
                continue;
            }
            length += s->maxX - s->minX + settings().symbolSpace;
            if (s->minY < low)
                low = s->minY;
            if (s->maxY > high)
                high = s->maxY;
        }
    }
    if (minX && minY) {
        *minX = left;
        *minY = low;
    }
    if (maxX && maxY) {
        *maxX = left + length;
        *maxY = high;
    }
}

void vfGetCurrentStringBounds(const char* text, float* minX, float* minY, float* maxX,
                              float* maxY) {
    vfGetStringBounds(vf::currentFontId(), text, minX, minY, maxX, maxY);
}
