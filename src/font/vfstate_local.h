// Shared state of the vector font library: the font table and the settings (internal).
#pragma once

#include "font/fontfile.h"

namespace vf {

struct Settings {
    float symbolSpace = 0.2f;
    float spaceSize = 2.0f;
    float symbolDepth = 0.2f;
    int direction = 1;
    bool centering = false;
    float rotateAngle = 0.0f;
    bool texturing = false;
    bool contouring = false;
    float contourColor[4] = {0, 0, 0, 0};
    bool consoleMessages = false;
    bool consoleCursor = true;
};

extern Settings settings;
extern FontFileData* fonts[256];
extern int currentFont;

inline FontFileData* current() {
    return currentFont >= 0 ? fonts[currentFont] : nullptr;
}
inline bool validFont(int id) {
    return id >= 0 && id < 256 && fonts[id] != nullptr;
}

// The symbol of a character in the current font, or null.
inline const FontFileSymbol* symbolOf(char c) {
    FontFileData* f = current();
    return f ? f->symbols[static_cast<unsigned char>(c)].get() : nullptr;
}

// Makes `id` current for one call and restores the previous font afterwards.
class ScopedFont {
  public:
    explicit ScopedFont(int id) : previous_(currentFont), ok_(validFont(id)) {
        if (ok_)
            currentFont = id;
    }
    ~ScopedFont() { currentFont = previous_; }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;
    bool ok() const { return ok_; }

  private:
    int previous_;
    bool ok_;
};

void resetConsole();
void resetBitmapFonts();

} // namespace vf
