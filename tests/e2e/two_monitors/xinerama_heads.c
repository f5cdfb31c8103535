/* Stands in for libXinerama.so.1 when found first on LD_LIBRARY_PATH: it reports two
   heads of 800 x 600 side by side, so Wine on one wide Xvfb screen with RANDR off sees
   two monitors. Built with the host compiler; Wine loads it with dlopen. For 32-bit Wine
   it is built without the C library, so it declares what it takes from it. */
#include <stddef.h>

void* calloc(size_t count, size_t size);

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

int XineramaQueryExtension(void* display, int* event_base, int* error_base) {
    (void)display;
    *event_base = *error_base = 0;
    return 1;
}

int XineramaQueryVersion(void* display, int* major, int* minor) {
    (void)display;
    *major = 1;
    *minor = 1;
    return 1;
}

int XineramaIsActive(void* display) {
    (void)display;
    return 1;
}

/* The caller frees the array with XFree, which is free(). */
XineramaScreenInfo* XineramaQueryScreens(void* display, int* count) {
    (void)display;
    XineramaScreenInfo* heads = calloc(2, sizeof *heads);
    if (!heads) {
        *count = 0;
        return NULL;
    }
    heads[0] = (XineramaScreenInfo){0, 0, 0, 800, 600};
    heads[1] = (XineramaScreenInfo){1, 800, 0, 800, 600};
    *count = 2;
    return heads;
}
