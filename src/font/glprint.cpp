// glPrint: printf-style text drawn with the current vector font.
#include "font/glprint.h"

#include "font/vfont.h"

#include <cstdarg>
#include <cstdio>

namespace {
void (*printObserver)(const char*) = nullptr;
}

void glPrintSetObserver(void (*observer)(const char* text)) {
    printObserver = observer;
}

void glPrint(const char* format, ...) {
    if (!format)
        return;
    char text[256];
    va_list args;
    va_start(args, format);
    // vsnprintf truncates to the buffer, so an over-long text is cut rather than overrunning it.
    // The analyzer loses track of va_start through the format attribute; args is initialised above.
    // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized)
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (printObserver)
        printObserver(text);
    vfDrawSolidString(text);
}
