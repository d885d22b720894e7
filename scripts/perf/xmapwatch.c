// Prints "<CLOCK_MONOTONIC ns> <window name>" each time a top-level window is mapped on $DISPLAY
// ("ready" once it is listening), until killed.
#include <X11/Xlib.h>
#include <stdio.h>
#include <time.h>

static int IgnoreError(Display* display, XErrorEvent* error) {
    (void)display, (void)error;
    return 0;  // a window gone before its name was asked for
}

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xmapwatch: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify) continue;
        struct timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        char* name = NULL;
        XFetchName(display, event.xmap.window, &name);
        printf("%lld %s\n", ts.tv_sec * 1000000000LL + ts.tv_nsec, name ? name : "");
        fflush(stdout);
        if (name) XFree(name);
    }
}
