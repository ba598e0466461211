// Preloaded into vilora by scripts/measure/playback: writes the monotonic time
// in nanoseconds at which each SDL_RenderPresent is entered and left, one line
// "enter leave" per call, into the file named by VILORA_PRESENT_LOG.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*present_fn)(void*);

static long long now_ns(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

void SDL_RenderPresent(void* renderer) {
    static present_fn real;
    static FILE* log;
    if (!real) real = (present_fn)dlsym(RTLD_NEXT, "SDL_RenderPresent");
    if (!log) {
        const char* name = getenv("VILORA_PRESENT_LOG");
        log = fopen(name ? name : "/dev/null", "w");
    }
    const long long enter = now_ns();
    real(renderer);
    if (log) {
        fprintf(log, "%lld %lld\n", enter, now_ns());
        fflush(log);
    }
}
