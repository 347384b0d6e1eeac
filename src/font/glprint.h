// The game's printf-style text call, drawn with the current vector font.
#pragma once

// Formats into a 256-character buffer and draws it as filled glyphs at the current position.
void glPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// When set, glPrint hands every formatted text to the observer before drawing it (null clears).
void glPrintSetObserver(void (*observer)(const char* text));
