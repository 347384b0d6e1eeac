// Video driver choice and start-up, window naming, SDL's log lines and the window icon.
#include "platform/sdl/sdl_desktop.h"

#include "platform/iconfile.h"
#include "platform/msgline.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool isSet(const char* name) {
    const char* v = SDL_getenv(name);
    return v && *v;
}

// SDL's own log lines go out in our one-line shape.
void logLine(void*, int, SDL_LogPriority, const char* message) {
    printMessageLine(message ? message : "");
}

bool tryDriver(const char* driver) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
}

} // namespace

bool startVideo(char* error, size_t errorSize) {
    SDL_LogSetOutputFunction(logLine, nullptr);
    // Docks match the X11 window class, and Wayland compositors the app id, to the desktop entry.
    setenv("SDL_VIDEO_X11_WMCLASS", kAppId, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kAppId, 0);
    if (isSet("SDL_VIDEODRIVER")) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            std::snprintf(error, errorSize, "%s", SDL_GetError());
            return false;
        }
        return true;
    }
    // Without a desktop session SDL would probe console back ends and print their complaints;
    // the player gets one clear line instead.
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::snprintf(error, errorSize, "no display available");
        return false;
    }
    if (isSet("WAYLAND_DISPLAY") && tryDriver("wayland")) {
        return true;
    }
    if (isSet("DISPLAY")) {
        // An X server that has just started, or is resetting after its last client left, refuses
        // connections for a moment; SDL would then fall through to other drivers and the game
        // would end. Only X11 is tried, a few times, before giving up.
        for (int attempt = 0; attempt < 30; ++attempt) {
            if (tryDriver("x11")) {
                return true;
            }
            SDL_Delay(100);
        }
    }
    std::snprintf(error, errorSize, "%s", SDL_GetError());
    return false;
}

void setWindowIcon(SDL_Window* window) {
    FILE* f = std::fopen("hoopwind-icon.bmp", "rb");
    if (!f) {
        return;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() < (1u << 23)) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    std::fclose(f);
    IconImage icon;
    if (!decodeIconBmp(bytes.data(), bytes.size(), icon)) {
        return;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon.rgba.data(), icon.width, icon.height, 32, icon.width * 4, SDL_PIXELFORMAT_ABGR8888);
    if (surface) {
        SDL_SetWindowIcon(window, surface);
        SDL_FreeSurface(surface);
    }
}
