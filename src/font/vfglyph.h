// Drawing of single glyphs of the current font (internal; strings and the public calls use it).
#pragma once

#include "font/glffile.h"

namespace vf {

void drawWired(const GlfSymbol& s);
void drawSolid(const GlfSymbol& s);
void draw3DWired(const GlfSymbol& s);
void draw3DSolid(const GlfSymbol& s);

} // namespace vf
