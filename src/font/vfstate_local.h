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

// The settings are changed only through the public setters in vfstate.cpp.
const Settings& settings();
// The font in a slot (null for an empty slot or an id outside the table), and the current id.
FontFileData* fontAt(int id);
int currentFontId();
void setCurrentFontId(int id);

inline FontFileData* current() {
    return fontAt(currentFontId());
}
inline bool validFont(int id) {
    return fontAt(id) != nullptr;
}

// The symbol of a character in the current font, or null.
inline const FontFileSymbol* symbolOf(char c) {
    FontFileData* f = current();
    return f ? f->symbols[static_cast<unsigned char>(c)].get() : nullptr;
}

// Makes `id` current for one call and restores the previous font afterwards.
class ScopedFont {
  public:
    explicit ScopedFont(int id) : previous_(currentFontId()), ok_(validFont(id)) {
        if (ok_)
            setCurrentFontId(id);
    }
    ~ScopedFont() { setCurrentFontId(previous_); }
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
