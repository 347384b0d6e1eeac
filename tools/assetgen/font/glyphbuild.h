// One glyph of the game's font: outline flattened, triangulated, centred and scaled.
#pragma once

#include "font/fontfile.h"

#include <ft2build.h>
#include FT_FREETYPE_H

// Shared by every glyph: the vertical band (font units) that maps onto -1..1.
struct FontFrame {
    double bottom;
    double top;
};

// The codes the game's font has glyphs for: printable ASCII (33-126) and Latin-1 (161-255); no
// control codes, and no spaces (32, 160), which the layout makes by itself.
bool fontCarriesCode(unsigned code);

// False when the character has no outline (or an empty one) in the face, or cannot be fitted
// within the file's one-byte vertex, triangle and contour counts.
bool buildSymbol(FT_Face face, unsigned long code, const FontFrame& frame, FontFileSymbol& out);
