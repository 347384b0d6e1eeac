/* Preloaded into the game by the end-to-end tests: counts buffer swaps and notes when the first and
 * the latest happened, so frame rate and start-up can be measured without changing the game. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static long long swaps;
static double first_ms, last_ms;

static void write_log(void) {
    const char* path = getenv("HW_SWAP_LOG");
    char tmp[4096];
    FILE* f = NULL;
    if (path && snprintf(tmp, sizeof tmp, "%s.tmp", path) < (int)sizeof tmp)
        f = fopen(tmp, "w");
    if (f) { /* written aside and renamed, so a reader never sees half a line */
        fprintf(f, "%lld %.3f %.3f\n", swaps, first_ms, last_ms);
        fclose(f);
        rename(tmp, path);
    }
}

void SDL_GL_SwapWindow(void* window) {
    static void (*real)(void*);
    struct timespec ts;
    if (!real)
        *(void**)&real = dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    real(window);
    clock_gettime(CLOCK_REALTIME, &ts);
    last_ms = (double)ts.tv_sec * 1000.0 + (double)ts.tv_nsec / 1.0e6;
    if (swaps++ == 0)
        first_ms = last_ms;
    if (swaps % 15 == 1)
        write_log();
}

__attribute__((destructor)) static void finish(void) {
    write_log();
}
