// The SDL platform's dealings with the desktop: choosing and starting the video driver, the
// names docks match the window by, SDL's own log lines, the window icon and a quiet sound library.
#pragma once

#include <SDL.h>

#include <cstddef>

// The desktop entry's name: the Wayland app id and the X11 window class, so docks tie the
// window to its menu entry.
constexpr const char* kAppId = "org.example.hoopwind";

// Starts SDL's video: the native Wayland driver when WAYLAND_DISPLAY is set (X11 when it fails),
// else X11, retried for a moment when the X server refuses a connection. An explicit
// SDL_VIDEODRIVER is respected. False with a reason in error.
bool startVideo(char* error, size_t errorSize);

// Sets the window icon from the generated bitmap in the data folder; nothing when it is missing.
void setWindowIcon(SDL_Window* window);

// Installs a silent error handler in the sound library SDL loads at run time, so a machine
// without a sound card does not get its complaints on standard error.
void silenceSoundLibrary();
