// Synthetic fonts, temporary files and feedback-mode capture for the font tests.
#include "fonttestutil.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

FontFileSymbol rectSymbol(float x0, float y0, float x1, float y1) {
    FontFileSymbol s;
    s.vertexCount = 4;
    s.triangleCount = 2;
    s.contourCount = 1;
    s.vertices = {x0, y0, x1, y0, x1, y1, x0, y1};
    s.triangles = {0, 1, 2, 0, 2, 3};
    s.contourEnd = {3};
    s.minX = x0, s.maxX = x1, s.minY = y0, s.maxY = y1;
    return s;
}

std::vector<uint8_t> fontBytes(const std::vector<std::pair<char, FontFileSymbol>>& symbols,
                               const char* name) {
    FontFileData font;
    std::snprintf(font.name, sizeof font.name, "%s", name);
    for (const auto& [c, s] : symbols)
        font.symbols[static_cast<unsigned char>(c)] = std::make_unique<FontFileSymbol>(s);
    return writeFontFile(font);
}

TempFile::TempFile(const std::vector<uint8_t>& bytes) {
    char pattern[] = "/tmp/hw_font_test_XXXXXX";
    int fd = mkstemp(pattern);
    if (fd >= 0) {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += size_t(n);
        }
        close(fd);
        path_ = pattern;
    }
}

TempFile::~TempFile() {
    if (!path_.empty())
        std::remove(path_.c_str());
}

std::vector<uint8_t> layoutFontBytes() {
    return fontBytes({
        {'A', rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f)},
        {'B', rectSymbol(-0.3f, -0.8f, 0.3f, 0.6f)},
        {'C', rectSymbol(-0.6f, -0.4f, 0.2f, 0.9f)},
        {'_', rectSymbol(-0.4f, -0.9f, 0.4f, -0.7f)},
        {' ', rectSymbol(-0.1f, -0.1f, 0.1f, 0.1f)}, // a space with a symbol is still a space
        {'\xE9', rectSymbol(-0.25f, -0.5f, 0.25f, 0.75f)},
    });
}

std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-32, 32, -24, 24, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    std::vector<FbPrimitive> prims;
    GLint i = 0;
    auto vertex = [&]() {
        FbVertex v;
        v.x = (buffer[i] - 320) / 10;
        v.y = (buffer[i + 1] - 240) / 10;
        v.z = 10 * (1 - 2 * buffer[i + 2]);
        std::memcpy(v.color, &buffer[i + 4], sizeof v.color);
        std::memcpy(v.tex, &buffer[i + 8], sizeof v.tex);
        i += 12;
        return v;
    };
    while (i < used) {
        GLint token = GLint(buffer[i++]);
        FbPrimitive p;
        size_t count = 0;
        if (token == GL_POLYGON_TOKEN) {
            p.kind = FbPrimitive::POLYGON;
            count = size_t(buffer[i++]);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            p.kind = FbPrimitive::LINE;
            count = 2;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            p.kind = FbPrimitive::POINT;
            count = 1;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            break; // unknown token: stop rather than misread
        }
        for (size_t k = 0; k < count; ++k)
            p.vertices.push_back(vertex());
        prims.push_back(std::move(p));
    }
    return prims;
}

std::vector<Box> glyphBoxes(const std::vector<FbPrimitive>& prims, size_t perGlyph) {
    std::vector<Box> boxes;
    size_t inGroup = 0;
    for (const FbPrimitive& p : prims) {
        if (p.kind != FbPrimitive::POLYGON)
            continue;
        if (inGroup == 0)
            boxes.push_back({1e9f, 1e9f, -1e9f, -1e9f});
        Box& b = boxes.back();
        for (const FbVertex& v : p.vertices) {
            b.minX = std::min(b.minX, v.x);
            b.maxX = std::max(b.maxX, v.x);
            b.minY = std::min(b.minY, v.y);
            b.maxY = std::max(b.maxY, v.y);
        }
        inGroup = (inGroup + 1) % perGlyph;
    }
    return boxes;
}

size_t countKind(const std::vector<FbPrimitive>& prims, FbPrimitive::Kind kind) {
    return size_t(std::count_if(prims.begin(), prims.end(),
                                [&](const FbPrimitive& p) { return p.kind == kind; }));
}
