// The text console: a character grid with a write cursor, scrolling, and a blinking cursor mark.
#include "font/vfont.h"
#include "font/vfstate_local.h"

#include <GL/gl.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Console {
    int columns = 40;
    int rows = 20;
    std::vector<char> grid = std::vector<char>(40 * 20, 0);
    int column = 0;
    int row = 0;
    int font = 0;
    int blinkPeriod = 10;
    int blinkCounter = 10;
    bool cursorVisible = true;
    std::string rowText; // returned by vfGetConsoleRow
};

Console console;

char* rowAt(int r) {
    return &console.grid[size_t(r) * console.columns];
}

void newLine() {
    console.column = 0;
    if (++console.row < console.rows)
        return;
    std::memmove(rowAt(0), rowAt(1), size_t(console.rows - 1) * console.columns);
    std::memset(rowAt(console.rows - 1), 0, console.columns);
    console.row = console.rows - 1;
}

void put(unsigned char c) {
    if (c == 10) {
        newLine();
        return;
    }
    if (c < 32 || c > 127)
        return;
    rowAt(console.row)[console.column] = char(c);
    if (++console.column >= console.columns)
        newLine();
}

} // namespace

namespace vf {
void resetConsole() {
    console = Console();
}
} // namespace vf

void vfSetConsoleParam(int columns, int rows) {
    if (columns <= 0 || rows <= 0)
        return; // an empty grid could hold no cursor
    console.columns = columns;
    console.rows = rows;
    console.grid.assign(size_t(columns) * rows, 0);
    console.column = console.row = 0;
}

void vfGetConsoleParam(int* columns, int* rows) {
    if (columns)
        *columns = console.columns;
    if (rows)
        *rows = console.rows;
}

void vfSetConsoleFont(int id) {
    console.font = id;
}

void vfConsoleClear() {
    std::fill(console.grid.begin(), console.grid.end(), 0);
    console.column = console.row = 0;
}

void vfPrint(const char* bytes, int count) {
    if (!bytes)
        return;
    for (int i = 0; i < count; ++i)
        put(static_cast<unsigned char>(bytes[i]));
}

void vfPrintString(const char* text) {
    if (text)
        vfPrint(text, int(std::strlen(text)));
}

void vfPrintChar(char c) {
    put(static_cast<unsigned char>(c));
}

void vfSetCursorBlinkRate(int draws) {
    if (draws <= 0)
        return;
    console.blinkPeriod = draws;
    console.blinkCounter = draws;
    console.cursorVisible = true;
}

void vfConsoleDraw() {
    std::vector<char> line(size_t(console.columns) + 2);
    for (int r = 0; r < console.rows; ++r) {
        std::memcpy(line.data(), rowAt(r), console.columns);
        line[console.columns] = '\0';
        if (r == console.row && vf::settings().consoleCursor) {
            if (--console.blinkCounter < 0) {
                console.blinkCounter = console.blinkPeriod;
                console.cursorVisible = !console.cursorVisible;
            }
            size_t used = std::strlen(line.data());
            if (console.cursorVisible && used < size_t(console.columns))
                line[used] = '_';
        }
        vfDrawSolidStringId(console.font, line.data());
        glTranslatef(0, -2, 0);
    }
}

const char* vfGetConsoleRow(int row) {
    if (row < 0 || row >= console.rows)
        return "";
    console.rowText.assign(rowAt(row), strnlen(rowAt(row), console.columns));
    return console.rowText.c_str();
}

void vfGetConsoleCursor(int* column, int* row) {
    if (column)
        *column = console.column;
    if (row)
        *row = console.row;
}
