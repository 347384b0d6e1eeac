// The window procedure: activation, system commands, close, resize and the two mouse buttons.
#include "main/hoopwind.h"

#include "main/game.h"

LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        active = HIWORD(wParam) == 0; // the high word is non-zero while minimised
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) {
            return 0; // no screen saver or monitor power-down while the game runs
        }
        return DefWindowProc(window, message, wParam, lParam);
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        ResizeGLView(static_cast<int>(LOWORD(static_cast<uintptr_t>(lParam))),
                     static_cast<int>(HIWORD(static_cast<uintptr_t>(lParam))));
        return 0;
    case WM_LBUTTONDOWN:
        Game_CatchAttempt();
        return DefWindowProc(window, message, wParam, lParam);
    case WM_RBUTTONDOWN:
        Game_SwitchPlayer();
        return DefWindowProc(window, message, wParam, lParam);
    default:
        return DefWindowProc(window, message, wParam, lParam);
    }
}
