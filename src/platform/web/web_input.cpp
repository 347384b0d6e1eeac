// The page's keyboard, pointer, focus and visibility events, turned into key state, cursor
// movement and window messages for the web platform.
#include "platform/audio.h"
#include "platform/web/webstate_local.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstring>

namespace web {

namespace {

const char* const CANVAS = "#canvas";

struct CodeKey {
    const char* code;
    int vk;
};

// Keys by position (KeyboardEvent.code): the ones the game binds, which the page must not act on.
const CodeKey KEYS[] = {
    {"Escape", VK_ESCAPE}, {"Enter", VK_RETURN},    {"NumpadEnter", VK_RETURN},
    {"Tab", VK_TAB},       {"ArrowLeft", VK_LEFT},  {"ArrowRight", VK_RIGHT},
    {"ArrowUp", VK_UP},    {"ArrowDown", VK_DOWN},  {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT}, {"Numpad8", VK_NUMPAD8}, {"Numpad2", VK_NUMPAD2},
    {"F1", VK_F1},
};

int virtualKeyOf(const EmscriptenKeyboardEvent* e) {
    for (const CodeKey& k : KEYS) {
        if (std::strcmp(e->code, k.code) == 0) {
            return k.vk;
        }
    }
    if (std::strncmp(e->code, "Digit", 5) == 0 && e->code[5] >= '0' && e->code[5] <= '9' &&
        e->code[6] == '\0') {
        return e->code[5];
    }
    // Letters follow the keyboard layout: 'A' is the key that types an a.
    if (e->key[0] != '\0' && e->key[1] == '\0') {
        const char c = e->key[0];
        if (c >= 'a' && c <= 'z') {
            return c - 'a' + 'A';
        }
        if (c >= 'A' && c <= 'Z') {
            return c;
        }
    }
    return 0;
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void*) {
    const int vk = virtualKeyOf(e);
    if (vk == 0) {
        return EM_FALSE;
    }
    State& s = state();
    if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
        if (vk == VK_ESCAPE && s.locked) {
            // The browser owns Escape while the pointer is locked: it only frees the pointer.
            releaseLock();
            s.lockWaits = true;
            return EM_TRUE;
        }
        s.keys[vk] = true;
        s.latched.press(vk);
        // Muting is the player's business, not the game's: it never reaches a demo.
        if (vk == 'M' && !e->repeat) {
            MusicToggleMute();
        }
    } else {
        s.keys[vk] = false;
    }
    // With Ctrl, Alt or Meta the key is the browser's (Ctrl+S saves, Alt+Left goes back).
    return !(e->ctrlKey || e->altKey || e->metaKey);
}

EM_BOOL onMove(int, const EmscriptenMouseEvent* e, void*) {
    state().moveX += e->movementX;
    state().moveY += e->movementY;
    return EM_FALSE;
}

EM_BOOL onButton(int, const EmscriptenMouseEvent* e, void*) {
    State& s = state();
    int cssW = 0, cssH = 0;
    canvasCssSize(&cssW, &cssH);
    const long x = cssW > 0 ? e->targetX * s.width / cssW : e->targetX;
    const long y = cssH > 0 ? e->targetY * s.height / cssH : e->targetY;
    const LPARAM where = MAKELPARAM(static_cast<unsigned>(x), static_cast<unsigned>(y));
    if (s.steering && !s.locked) {
        s.lockWaits = false; // a click is the gesture a browser wants before it locks
        requestLock();
    }
    if (e->button == 0) {
        s.messages.post(WM_LBUTTONDOWN, 0, where);
    } else if (e->button == 2) {
        s.messages.post(WM_RBUTTONDOWN, 0, where);
    }
    return EM_TRUE;
}

EM_BOOL onLockChange(int, const EmscriptenPointerlockChangeEvent* e, void*) {
    State& s = state();
    const bool wasLocked = s.locked;
    s.locked = e->isActive && std::strcmp(e->id, "canvas") == 0;
    s.lockAsked = false;
    if (wasLocked && !s.locked && !s.weReleased) {
        s.lockWaits = true; // the player took the pointer back (Escape): leave it with them
    }
    s.weReleased = false;
    return EM_FALSE;
}

EM_BOOL onLockError(int, const void*, void*) {
    state().lockAsked = false;
    state().lockWaits = true; // refused without a gesture: the next click asks again
    return EM_FALSE;
}

// A hidden tab is a minimised window (frames stop); losing the focus only frees the pointer.
EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
    state().messages.post(WM_ACTIVATE, e->hidden ? MAKEWPARAM(0, 1) : MAKEWPARAM(1, 0), 0);
    return EM_FALSE;
}

EM_BOOL onFocus(int type, const EmscriptenFocusEvent*, void*) {
    State& s = state();
    if (type == EMSCRIPTEN_EVENT_BLUR) {
        s.focused = false;
        releaseLock();
        for (bool& k : s.keys) {
            k = false; // their key-up events go to whatever has the focus now
        }
        s.messages.post(WM_ACTIVATE, MAKEWPARAM(0, 0), 0);
    } else {
        s.focused = true;
        s.moveX = s.moveY = 0;
        s.messages.post(WM_ACTIVATE, MAKEWPARAM(1, 0), 0);
    }
    return EM_FALSE;
}

// The browser's promise for the lock is dropped quietly: a refusal is an event, not an error.
// clang-format off
EM_JS(void, askPointerLock, (), {
    var canvas = document.getElementById("canvas");
    if (!canvas || !canvas.requestPointerLock) {
        return;
    }
    try {
        var p = canvas.requestPointerLock();
        if (p && p.catch) {
            p.catch(function(){});
        }
    } catch (e) {
    }
});
// clang-format on

} // namespace

void requestLock() {
    State& s = state();
    if (!s.locked && !s.lockAsked) {
        s.lockAsked = true;
        askPointerLock();
    }
}

void releaseLock() {
    State& s = state();
    if (s.locked) {
        s.weReleased = true;
        emscripten_exit_pointerlock();
    }
    s.lockAsked = false;
}

void canvasCssSize(int* width, int* height) {
    double w = 0, h = 0;
    emscripten_get_element_css_size(CANVAS, &w, &h);
    *width = static_cast<int>(std::lround(w));
    *height = static_cast<int>(std::lround(h));
}

void installInput() {
    const char* win = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(win, nullptr, EM_TRUE, onKey);
    emscripten_set_keyup_callback(win, nullptr, EM_TRUE, onKey);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onMove);
    emscripten_set_mousedown_callback(CANVAS, nullptr, EM_TRUE, onButton);
    emscripten_set_pointerlockchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE,
                                              onLockChange);
    emscripten_set_pointerlockerror_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE,
                                             onLockError);
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, onVisibility);
    emscripten_set_blur_callback(win, nullptr, EM_TRUE, onFocus);
    emscripten_set_focus_callback(win, nullptr, EM_TRUE, onFocus);
}

void removeInput() {
    releaseLock();
    emscripten_html5_remove_all_event_listeners();
}

} // namespace web
