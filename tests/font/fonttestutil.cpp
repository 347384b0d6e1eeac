// Font, SGI and "BMF" files built in memory, and feedback-mode capture, for the font tests.
#include "fonttestutil.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

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

std::vector<uint8_t> fontBytes(const std::vector<std::pair<char, FontFileSymbol>>& symbols) {
    FontFileData font;
    std::snprintf(font.name, sizeof font.name, "test font");
    for (const auto& [c, s] : symbols)
        font.symbols[static_cast<unsigned char>(c)] = std::make_unique<FontFileSymbol>(s);
    return writeFontFile(font);
}

std::vector<uint8_t> layoutFontBytes() {
    return fontBytes({
        {'A', rectSymbol(-0.5f, -0.5f, 0.5f, 0.5f)},
        {'B', rectSymbol(-0.3f, -0.8f, 0.3f, 0.6f)},
        {'C', rectSymbol(-0.6f, -0.4f, 0.2f, 0.9f)},
        {' ', rectSymbol(-0.1f, -0.1f, 0.1f, 0.1f)}, // a space with a symbol is still a space
        {'\xE9', rectSymbol(-0.25f, -0.5f, 0.25f, 0.75f)},
    });
}

namespace {

void putBE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> sgiFile(int width, int height, int channels,
                             const std::vector<uint8_t>& planes, bool rle) {
    std::vector<uint8_t> out;
    putBE(out, 474, 2);
    out.push_back(rle ? 1 : 0);
    out.push_back(1);
    for (int v : {3, width, height, channels})
        putBE(out, uint32_t(v), 2);
    out.resize(512, 0);
    if (!rle) {
        out.insert(out.end(), planes.begin(), planes.end());
        return out;
    }
    const size_t rows = size_t(height) * channels;
    std::vector<uint8_t> data;
    std::vector<uint32_t> starts, lengths;
    for (size_t r = 0; r < rows; ++r) {
        starts.push_back(uint32_t(512 + rows * 8 + data.size()));
        const uint8_t* row = &planes[r * width];
        for (int x = 0; x < width; x += 127) {
            int n = std::min(127, width - x);
            data.push_back(uint8_t(0x80 | n));
            data.insert(data.end(), row + x, row + x + n);
        }
        data.push_back(0);
        lengths.push_back(uint32_t(512 + rows * 8 + data.size()) - starts.back());
    }
    for (const auto* table : {&starts, &lengths})
        for (uint32_t v : *table)
            putBE(out, v, 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<uint8_t> bmfFile(const std::vector<CellSpec>& cells, const std::vector<uint8_t>& sgi) {
    std::vector<uint8_t> out(3 + 96, 0);
    std::memcpy(out.data(), "BMFbitmap test", 14);
    float table[256][4] = {};
    for (const CellSpec& c : cells) {
        const float cell[4] = {c.x, c.y, c.width, c.height};
        std::memcpy(table[c.code], cell, sizeof cell);
    }
    const size_t at = out.size();
    out.resize(at + sizeof table); // little-endian floats, as this machine holds them
    std::memcpy(out.data() + at, table, sizeof table);
    out.insert(out.end(), sgi.begin(), sgi.end());
    return out;
}

std::vector<FbPrimitive> captureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FbPrimitive> prims;
    for (GLint i = 0; i < used;) {
        const GLint token = GLint(buffer[i++]);
        const bool line = token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN;
        FbPrimitive p{token == GL_POLYGON_TOKEN ? FbPrimitive::POLYGON
                      : line                    ? FbPrimitive::LINE
                                                : FbPrimitive::POINT,
                      {}};
        const size_t count = token == GL_POLYGON_TOKEN ? size_t(buffer[i++]) : line ? 2 : 1;
        for (size_t k = 0; k < count; ++k, i += 3)
            p.vertices.push_back(
                {(buffer[i] - 320) / 10, (buffer[i + 1] - 240) / 10, 10 * (1 - 2 * buffer[i + 2])});
        prims.push_back(std::move(p));
    }
    return prims;
}

size_t countKind(const std::vector<FbPrimitive>& prims, FbPrimitive::Kind kind) {
    return size_t(std::count_if(prims.begin(), prims.end(),
                                [&](const FbPrimitive& p) { return p.kind == kind; }));
}

std::vector<Box> glyphBoxes(const std::vector<FbPrimitive>& prims) {
    std::vector<Box> boxes;
    size_t inGroup = 0;
    for (const FbPrimitive& p : prims) {
        if (p.kind != FbPrimitive::POLYGON)
            continue;
        if (inGroup++ % 2 == 0)
            boxes.push_back({1e9f, 1e9f, -1e9f, -1e9f});
        Box& b = boxes.back();
        for (const auto& v : p.vertices) {
            b.minX = std::min(b.minX, v[0]), b.maxX = std::max(b.maxX, v[0]);
            b.minY = std::min(b.minY, v[1]), b.maxY = std::max(b.maxY, v[1]);
        }
    }
    return boxes;
}
