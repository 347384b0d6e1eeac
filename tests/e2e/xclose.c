/* Asks a window to close as a window manager's close button does: a WM_DELETE_WINDOW client
 * message. Usage: xclose <window id> */
#include <X11/Xlib.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    Display* display = argc == 2 ? XOpenDisplay(NULL) : NULL;
    if (!display)
        return 2;
    XEvent event = {.xclient = {.type = ClientMessage,
                                .window = (Window)strtoul(argv[1], NULL, 0),
                                .message_type = XInternAtom(display, "WM_PROTOCOLS", False),
                                .format = 32,
                                .data.l = {(long)XInternAtom(display, "WM_DELETE_WINDOW", False),
                                           CurrentTime}}};
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display); /* flushes the request */
    return 0;
}
