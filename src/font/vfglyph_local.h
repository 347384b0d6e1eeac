// Drawing of single glyphs of the current font (internal; strings and the public calls use it).
#pragma once

#include "font/fontfile.h"

namespace vf {

void drawWired(const FontFileSymbol& s);
void drawSolid(const FontFileSymbol& s);
void draw3DWired(const FontFileSymbol& s);
void draw3DSolid(const FontFileSymbol& s);

} // namespace vf
