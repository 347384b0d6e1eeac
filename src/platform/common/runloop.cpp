// The program's loop on a desktop platform: the calling thread may block, so it simply loops.
#include "platform/platform.h"

int RunLoop(bool (*pass)(), int (*finish)()) {
    while (pass()) {
    }
    return finish();
}
