// A silent error handler for the sound library that SDL opens at run time: the handler is set
// through the same shared object SDL will load, never by redirecting standard error.
#include "platform/sdl/sdl_desktop.h"

#include <dlfcn.h>

namespace {

using ErrorHandler = void (*)(const char* file, int line, const char* function, int err,
                              const char* format, ...);

void quiet(const char*, int, const char*, int, const char*, ...) {}

} // namespace

void silenceSoundLibrary() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    // Kept open for the whole run: SDL's own load then finds the library, with our handler, in
    // place.
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return; // no sound library: nothing to silence
    }
    auto setHandler =
        reinterpret_cast<int (*)(ErrorHandler)>(dlsym(library, "snd_lib_error_set_handler"));
    if (setHandler) {
        setHandler(quiet);
    }
}
