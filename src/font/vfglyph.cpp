// Glyph drawing: filled triangles, outline loops, and both extruded between z = 1 and 1 + depth.
#include "font/vfglyph_local.h"

#include "font/vfont.h"
#include "font/vfstate_local.h"

#include <GL/gl.h>

namespace vf {
namespace {

// Calls emit(first, last) for each contour's vertex range. Contour ends that do not move past the
// previous one are skipped, so a damaged file cannot leave a glBegin without its glEnd.
template <typename Emit> void forEachContour(const FontFileSymbol& s, Emit emit) {
    int first = 0;
    for (uint8_t end : s.contourEnd) {
        if (end >= first && end < s.vertexCount) {
            emit(first, int(end));
            first = end + 1;
        }
    }
}

float vx(const FontFileSymbol& s, int i) {
    return s.vertices[size_t(i) * 2];
}
float vy(const FontFileSymbol& s, int i) {
    return s.vertices[size_t(i) * 2 + 1];
}

void outlineAt(const FontFileSymbol& s, float z) {
    forEachContour(s, [&](int first, int last) {
        glBegin(GL_LINE_LOOP);
        for (int i = first; i <= last; ++i)
            glVertex3f(vx(s, i), vy(s, i), z);
        glEnd();
    });
}

} // namespace

void drawWired(const FontFileSymbol& s) {
    forEachContour(s, [&](int first, int last) {
        glBegin(GL_LINE_LOOP);
        for (int i = first; i <= last; ++i)
            glVertex2f(vx(s, i), vy(s, i));
        glEnd();
    });
}

void drawSolid(const FontFileSymbol& s) {
    glBegin(GL_TRIANGLES);
    for (uint8_t index : s.triangles) {
        float x = vx(s, index), y = vy(s, index);
        if (settings().texturing)
            glTexCoord2f((x + 1) / 2, (y + 1) / 2);
        glVertex2f(x, y);
    }
    glEnd();
    if (settings().contouring) {
        float color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        glColor4fv(settings().contourColor);
        drawWired(s);
        glColor4fv(color);
    }
}

void draw3DWired(const FontFileSymbol& s) {
    float back = 1.0f, front = 1.0f + settings().symbolDepth;
    outlineAt(s, back);
    outlineAt(s, front);
    glBegin(GL_LINES);
    for (int i = 0; i < s.vertexCount; ++i) {
        glVertex3f(vx(s, i), vy(s, i), back);
        glVertex3f(vx(s, i), vy(s, i), front);
    }
    glEnd();
}

void draw3DSolid(const FontFileSymbol& s) {
    float back = 1.0f, front = 1.0f + settings().symbolDepth;
    glBegin(GL_TRIANGLES);
    glNormal3f(0, 0, 1);
    for (size_t t = 0; t < s.triangles.size(); t += 3)
        for (int k = 2; k >= 0; --k) {
            int i = s.triangles[t + k];
            glVertex3f(vx(s, i), vy(s, i), front);
        }
    glNormal3f(0, 0, -1);
    for (uint8_t i : s.triangles)
        glVertex3f(vx(s, i), vy(s, i), back);
    glEnd();

    // The side walls: per contour edge (closed on its first vertex) a rectangle from the back to
    // the front, as two triangles split along the diagonal the desktop GL takes for a quad strip
    // of back/front pairs (which not every GL draws).
    auto corner = [&](int v, float z) {
        glNormal3f(vx(s, v), vy(s, v), 0);
        glVertex3f(vx(s, v), vy(s, v), z);
    };
    forEachContour(s, [&](int first, int last) {
        glBegin(GL_TRIANGLES);
        for (int i = first; i <= last; ++i) {
            int next = i == last ? first : i + 1;
            corner(next, back);
            corner(i, back);
            corner(next, front);
            corner(i, back);
            corner(i, front);
            corner(next, front);
        }
        glEnd();
    });

    if (settings().contouring) {
        GLboolean lighting = glIsEnabled(GL_LIGHTING);
        float color[4];
        glGetFloatv(GL_CURRENT_COLOR, color);
        glDisable(GL_LIGHTING);
        glColor4fv(settings().contourColor);
        draw3DWired(s);
        glColor4fv(color);
        if (lighting)
            glEnable(GL_LIGHTING);
    }
}

} // namespace vf

namespace {

template <typename Draw> void drawSymbolWith(char c, Draw draw) {
    if (const FontFileSymbol* s = vf::symbolOf(c))
        draw(*s);
}

template <typename Draw> void drawSymbolIdWith(int id, char c, Draw draw) {
    vf::ScopedFont font(id);
    if (font.ok())
        drawSymbolWith(c, draw);
}

} // namespace

void vfDrawWiredSymbol(char c) {
    drawSymbolWith(c, vf::drawWired);
}
void vfDrawSolidSymbol(char c) {
    drawSymbolWith(c, vf::drawSolid);
}
void vfDraw3DWiredSymbol(char c) {
    drawSymbolWith(c, vf::draw3DWired);
}
void vfDraw3DSolidSymbol(char c) {
    drawSymbolWith(c, vf::draw3DSolid);
}
void vfDrawWiredSymbolId(int id, char c) {
    drawSymbolIdWith(id, c, vf::drawWired);
}
void vfDrawSolidSymbolId(int id, char c) {
    drawSymbolIdWith(id, c, vf::drawSolid);
}
void vfDraw3DWiredSymbolId(int id, char c) {
    drawSymbolIdWith(id, c, vf::draw3DWired);
}
void vfDraw3DSolidSymbolId(int id, char c) {
    drawSymbolIdWith(id, c, vf::draw3DSolid);
}
