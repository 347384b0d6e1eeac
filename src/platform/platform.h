// The platform layer's interface: a small Win32-shaped API (window, GL context, messages, keys,
// cursor, message boxes, tick count, buffer swap), this project's own layer under the game code.
// Three implementations exist: SDL2 for the real game, the browser page (web/), and a scripted
// headless one for tests. All pass what the game reads through the demo recorder (platform/demo)
// and share their message queue (platform/common). This header must stay free of SDL.
#pragma once

#include <cstdint>

using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct PlatWindow;
struct PlatDeviceContext;
struct PlatGLContext;
using HWND = PlatWindow*;
using HDC = PlatDeviceContext*;
using HGLRC = PlatGLContext*;

struct POINT {
    long x;
    long y;
};

struct MSG {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Window messages the game's window procedure handles (this layer's own fixed numbers).
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

constexpr WPARAM MAKEWPARAM(unsigned lo, unsigned hi) {
    return (lo & 0xFFFF) | ((hi & 0xFFFF) << 16);
}
constexpr LPARAM MAKELPARAM(unsigned lo, unsigned hi) {
    return static_cast<LPARAM>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
}
constexpr unsigned LOWORD(uintptr_t v) {
    return static_cast<unsigned>(v & 0xFFFF);
}
constexpr unsigned HIWORD(uintptr_t v) {
    return static_cast<unsigned>((v >> 16) & 0xFFFF);
}

// Message boxes.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONSTOP = 0x0010;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Virtual keys the game binds. Digits and letters are their upper-case ASCII codes ('0', 'A').
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_PRIOR = 0x21; // Page Up
constexpr int VK_NEXT = 0x22;  // Page Down
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_NUMPAD2 = 0x62;
constexpr int VK_NUMPAD8 = 0x68;
constexpr int VK_F1 = 0x70;

// Pixel format request, kept for the record of what the game asks for; the implementations
// honour colour type, double buffering and the minimum depth bits.
struct PixelFormatRequest {
    int colorBits;
    int depthBits;
    bool doubleBuffer;
};

// --- Window class, display mode, window ------------------------------------------------------
// Registering the class brings up the display connection; it fails when there is no display.
bool RegisterWindowClass(const char* className);
bool UnregisterWindowClass(const char* className);
// True when the display can really show width x height full screen.
bool ChangeDisplayModeFullscreen(int width, int height, int bits);
void RestoreDisplayMode();
// Creates (hidden) the one game window with a client area of width x height. When fullscreen is
// asked for but the display did not really switch, the window is destroyed, *fullscreenRefused is
// set and null is returned, so the caller can ask the player about windowed mode.
HWND CreateGameWindow(const char* title, int width, int height, bool fullscreen,
                      bool* fullscreenRefused);
bool DestroyGameWindow(HWND window);
void ShowGameWindow(HWND window); // show, bring to the foreground, take the keyboard focus
// How full screen is reached: by default the window covers the display at its current mode (no
// mode change); with modeSwitch the display is switched to the game's own mode. Set before the
// window is made.
void SetFullscreenModeSwitch(bool modeSwitch);
// True while the window covers the display (the player can toggle it at any time): the picture
// then keeps its 4:3 shape inside black bars.
bool WindowIsFullscreen();
// The drawable's size in device pixels (larger than the window's size on a HiDPI display).
bool GetDrawableSize(HWND window, int* width, int* height);

// --- GL context ---------------------------------------------------------------------------------
HDC GetWindowDeviceContext(HWND window);
bool ReleaseWindowDeviceContext(HWND window, HDC dc);
int ChoosePixelFormat(HDC dc, const PixelFormatRequest* request); // 0 on failure
bool SetPixelFormat(HDC dc, int format, const PixelFormatRequest* request);
HGLRC CreateGLContext(HDC dc);
bool MakeGLContextCurrent(HDC dc, HGLRC context); // both null: no context current
bool DeleteGLContext(HGLRC context);
// Presents the frame and paces display to 60 frames per second (vsync or waiting).
bool SwapBuffers(HDC dc);

// --- Messages
// ------------------------------------------------------------------------------------- Takes the
// next waiting message, if any (input events become window messages).
bool PeekMessage(MSG* msg);
void PostQuitMessage(int exitCode);
// Default handling of a message the game's window procedure does not consume.
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Sleeps until a message may be waiting (at most a fraction of a second), so an idle,
// minimised game does not spin a processor core.
void WaitMessage();
// Runs the program's loop: pass is called until it returns false, then finish, whose result is
// returned. A desktop platform loops right here; a browser page must not block, so there pass runs
// once per display frame, this call never returns, and the program ends when finish has run.
int RunLoop(bool (*pass)(), int (*finish)());

// --- Input ------------------------------------------------------------------------------------
// High bit set while the key is held at the moment of the call, or went down since the last
// frame (a tap shorter than a frame is not lost).
short GetAsyncKeyState(int virtualKey);
#define KEYDOWN(vk) ((GetAsyncKeyState(vk) & 0x8000) ? 1 : 0)
// Cursor position in window client pixels (the game's window is the whole 640 x 480 screen).
bool GetCursorPos(POINT* point);
// Moves the cursor to a client point. While the game does this every frame (steering in play)
// the pointer is kept inside the window and hidden; a frame without it, or losing the focus,
// frees the pointer. Where the pointer cannot be put at that point, GetCursorPos reads the point
// plus the pointer's motion since, so mouse look turns alike at every size and on every display.
bool SetCursorPos(int x, int y);
int ShowCursor(bool show);

// --- Misc -------------------------------------------------------------------------------------
// Modal box; returns IDOK, IDYES or IDNO. When no box can be shown the text goes to standard
// error and the answer is the one that goes on: IDYES for a question, else IDOK.
int MessageBox(const char* text, const char* caption, UINT type);
uint32_t GetTickCount();
