// Writes the game's vector font "times_new1.glf" from Liberation Serif Regular.
#include "glyphbuild.h"

#include "font/fontfile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* kSourceFont = "/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf";
const char* kOutputName = "times_new1.glf";

struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace() {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    FreeTypeFace ft;
    if (FT_Init_FreeType(&ft.library) != 0 ||
        FT_New_Face(ft.library, kSourceFont, 0, &ft.face) != 0) {
        std::fprintf(stderr, "fontgen: cannot open %s\n", kSourceFont);
        return 1;
    }
    // The line's full height, descender to ascender, becomes -1..1 for every glyph.
    FontFrame frame{double(ft.face->descender), double(ft.face->ascender)};

    FontFileData font;
    std::snprintf(font.name, sizeof font.name, "%s", "Liberation Serif Regular");
    int written = 0, maxVertices = 0, maxTriangles = 0, maxContours = 0;
    char widest = 0;
    for (unsigned code = 0; code < 256; ++code) {
        if (!fontCarriesCode(code))
            continue;
        auto symbol = std::make_unique<FontFileSymbol>();
        if (!buildSymbol(ft.face, code, frame, *symbol))
            continue;
        if (symbol->vertexCount > maxVertices)
            widest = char(code);
        maxVertices = std::max<int>(maxVertices, symbol->vertexCount);
        maxTriangles = std::max<int>(maxTriangles, symbol->triangleCount);
        maxContours = std::max<int>(maxContours, symbol->contourCount);
        font.symbols[code] = std::move(symbol);
        ++written;
    }

    std::vector<uint8_t> bytes = writeFontFile(font);
    std::string path = std::string(argv[1]) + "/" + kOutputName;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0) {
        std::fprintf(stderr, "fontgen: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("fontgen: %d glyphs, at most %d vertices (code %u), %d triangles, %d contours\n",
                written, maxVertices, unsigned(static_cast<unsigned char>(widest)), maxTriangles,
                maxContours);
    return 0;
}
