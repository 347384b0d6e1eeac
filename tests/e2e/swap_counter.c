/* Preloaded into the game by the end-to-end tests: counts buffer swaps and notes when the first and
 * the latest happened, so the real binary's frame rate and start-up time can be measured from
 * outside without changing the game. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*swap_fn)(void*);

static long long swaps;
static double first_ms, last_ms;

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return (double)ts.tv_sec * 1000.0 + (double)ts.tv_nsec / 1.0e6;
}

static void write_log(void) {
    const char* path = getenv("HW_SWAP_LOG");
    if (!path) {
        return;
    }
    char tmp[4096];
    snprintf(tmp, sizeof tmp, "%s.tmp", path);
    FILE* f = fopen(tmp, "w");
    if (!f) {
        return;
    }
    fprintf(f, "%lld %.3f %.3f\n", swaps, first_ms, last_ms);
    fclose(f);
    rename(tmp, path);
}

void SDL_GL_SwapWindow(void* window) {
    static swap_fn real;
    if (!real) {
        real = (swap_fn)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    }
    real(window);
    last_ms = now_ms();
    if (swaps == 0) {
        first_ms = last_ms;
    }
    ++swaps;
    if (swaps % 15 == 1) {
        write_log();
    }
}

__attribute__((destructor)) static void finish(void) { write_log(); }
