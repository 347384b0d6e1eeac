// Creating and tearing down the one game window with its double-buffered GL context.
#include "main/hoopwind.h"

namespace {

// What the game asks of the pixel format: RGBA colour, double buffering, a 16-bit depth buffer.
const PixelFormatRequest kPixelFormat = {SCREEN_BPP, 16, true};

bool classRegistered = false;

bool askWindowedInstead() {
    if (MessageBox(
            "The Requested Fullscreen Mode is NOT Supported by\nYour Video Card.  Use Windowed "
            "mode instead?",
            "FULLSCREEN Error", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        fullscreen = false;
        return true;
    }
    MessageBox("Program Will Now Close", "D'OH!", MB_OK | MB_ICONSTOP);
    fullscreen = false; // nothing full screen was made, so the teardown has no mode to restore
    return false;
}

} // namespace

bool CreateGLWindow(const char* title, int width, int height, int bits, bool fullscreenFlag) {
    fullscreen = fullscreenFlag;

    if (!RegisterWindowClass(WINDOW_CLASS_NAME)) {
        MessageBox("Failed to Register the Window Class", "ERROR", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    classRegistered = true;

    if (fullscreen && !ChangeDisplayModeFullscreen(width, height, bits)) {
        if (!askWindowedInstead()) {
            // The window class is ours to give back: a half-made start leaves nothing behind.
            KillGLWindow();
            return false;
        }
    }

    if (fullscreen) {
        ShowCursor(false);
    }

    bool fullscreenRefused = false;
    hwnd = CreateGameWindow(title, width, height, fullscreen, &fullscreenRefused);
    if (!hwnd && fullscreenRefused) {
        // The display accepted the mode but did not really switch to it: same question as above.
        ShowCursor(true);
        RestoreDisplayMode();
        if (!askWindowedInstead()) {
            KillGLWindow();
            return false;
        }
        hwnd = CreateGameWindow(title, width, height, fullscreen, nullptr);
    }
    if (!hwnd) {
        KillGLWindow();
        MessageBox("Window Creation Error.", "ERROR", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    hdc = GetWindowDeviceContext(hwnd);
    if (!hdc) {
        KillGLWindow();
        MessageBox("Can't Create A GL Device Context.", "ERROR", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    int format = ChoosePixelFormat(hdc, &kPixelFormat);
    if (format == 0 || !SetPixelFormat(hdc, format, &kPixelFormat)) {
        KillGLWindow();
        return false;
    }
    hrc = CreateGLContext(hdc);
    if (!hrc) {
        KillGLWindow();
        return false;
    }
    if (!MakeGLContextCurrent(hdc, hrc)) {
        KillGLWindow();
        return false;
    }

    ShowGameWindow(hwnd);
    // The drawable may be larger than asked: full screen at the desktop's size, or HiDPI.
    int drawableWidth = width, drawableHeight = height;
    GetDrawableSize(hwnd, &drawableWidth, &drawableHeight);
    ResizeGLView(drawableWidth, drawableHeight);

    if (!InitGL()) {
        KillGLWindow();
        return false;
    }
    return true;
}

void KillGLWindow() {
    if (fullscreen) {
        RestoreDisplayMode();
        ShowCursor(true);
    }
    if (hrc) {
        if (!MakeGLContextCurrent(nullptr, nullptr)) {
            MessageBox("Release of DC and RC Failed", "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
        }
        if (!DeleteGLContext(hrc)) {
            MessageBox("Release Rendering Context Failed.", "SHUTDOWN ERROR",
                       MB_OK | MB_ICONINFORMATION);
        }
        hrc = nullptr;
    }
    if (hdc) {
        if (!ReleaseWindowDeviceContext(hwnd, hdc)) {
            MessageBox("Release Device Contect Failed", "SHUTDOWN ERROR",
                       MB_OK | MB_ICONINFORMATION);
        }
        hdc = nullptr;
    }
    if (hwnd) {
        if (!DestroyGameWindow(hwnd)) {
            MessageBox("Could Not Release hWnd", "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
        }
        hwnd = nullptr;
    }
    if (classRegistered) {
        if (!UnregisterWindowClass(WINDOW_CLASS_NAME)) {
            MessageBox("Could Not Unregister Class", "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
        }
        classRegistered = false;
    }
}
