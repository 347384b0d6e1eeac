// The vector font library: outline fonts from .glf files drawn as GL geometry, a text console and
// bitmap fonts from "BMF" files.
#pragma once

// Option codes for vfEnable / vfDisable.
enum { VF_CONSOLE_MESSAGES = 10, VF_TEXTURING = 11, VF_CONTOURING = 12, VF_CONSOLE_CURSOR = 30 };

// String directions for vfStringDirection.
enum { VF_LEFT_TO_RIGHT = 1, VF_RIGHT_TO_LEFT = 2, VF_BOTTOM_TO_UP = 3, VF_UP_TO_BOTTOM = 4 };

constexpr int VF_MAX_FONTS = 256;

// Library set-up: empties every font and bitmap-font slot and restores the default settings.
void vfInit();

// Loading and the font table. Ids are slot indexes 0-255; -1 means none or failure.
int vfLoadFont(const char* fileName);
int vfUnloadFont();
int vfUnloadFontId(int id);
int vfSetCurrentFont(int id);
int vfGetCurrentFont();

// Single glyphs at the current modelview position.
void vfDrawWiredSymbol(char c);
void vfDrawSolidSymbol(char c);
void vfDraw3DWiredSymbol(char c);
void vfDraw3DSolidSymbol(char c);
void vfDrawWiredSymbolId(int id, char c);
void vfDrawSolidSymbolId(int id, char c);
void vfDraw3DWiredSymbolId(int id, char c);
void vfDraw3DSolidSymbolId(int id, char c);

// Strings laid out by the direction, centring and rotation settings; the matrix is unchanged after.
void vfDrawWiredString(const char* text);
void vfDrawSolidString(const char* text);
void vfDraw3DWiredString(const char* text);
void vfDraw3DSolidString(const char* text);
void vfDrawWiredStringId(int id, const char* text);
void vfDrawSolidStringId(int id, const char* text);
void vfDraw3DWiredStringId(int id, const char* text);
void vfDraw3DSolidStringId(int id, const char* text);

// Extent of a string laid out along +x. A pair is written only when both of its pointers are given.
void vfGetStringBounds(int id, const char* text, float* minX, float* minY, float* maxX,
                       float* maxY);
void vfGetCurrentStringBounds(const char* text, float* minX, float* minY, float* maxX, float* maxY);

// Settings shared by every font.
void vfSetSymbolSpace(float space);
float vfGetSymbolSpace();
void vfSetSpaceSize(float size);
float vfGetSpaceSize();
void vfSetSymbolDepth(float depth);
float vfGetSymbolDepth();
void vfStringDirection(int direction);
int vfGetStringDirection();
void vfStringCentering(bool center);
bool vfGetStringCentering();
void vfSetRotateAngle(float angle);
float vfGetRotateAngle();
void vfSetContourColor(float r, float g, float b, float a);
void vfGetContourColor(float rgba[4]);
void vfEnable(int code);
void vfDisable(int code);
bool vfIsEnabled(int code);

// Text console: a grid of characters drawn row by row with the console font.
void vfSetConsoleParam(int columns, int rows);
void vfGetConsoleParam(int* columns, int* rows);
void vfSetConsoleFont(int id);
void vfConsoleClear();
void vfPrint(const char* bytes, int count);
void vfPrintString(const char* text);
void vfPrintChar(char c);
void vfConsoleDraw();
void vfSetCursorBlinkRate(int draws);
// The row's characters up to its first empty cell, or "" for a row outside the grid.
const char* vfGetConsoleRow(int row);
void vfGetConsoleCursor(int* column, int* row);

// Bitmap fonts ("BMF" files): their own 256-slot table and current font.
int vfLoadBMFFont(const char* fileName);
int vfUnloadBMFFont();
int vfUnloadBMFFontId(int id);
int vfSetCurrentBMFFont(int id);
int vfGetCurrentBMFFont();
// Draws with the masked textures, left to right from the current position; matrix unchanged.
void vfDrawBString(const char* text);
void vfDrawBStringId(int id, const char* text);
// Width the string advances by, and the tallest glyph cell of the font (0 for an empty slot).
float vfGetBStringWidth(int id, const char* text);
float vfGetBFontHeight(int id);
