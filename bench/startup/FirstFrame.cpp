// SPDX-License-Identifier: GPL-3.0-or-later
// Measures a program's start-up from outside, on a running X server:
//
//   first_frame TITLE SETTLE_MS PROGRAM [ARGUMENTS...]
//
// starts the program and prints, on one line, the milliseconds from the start
// to the mapping of its top-level window named TITLE, to the first frame drawn
// into that window (the first time its pixels are not all one colour), the
// peak resident memory of the program in kilobytes, and the processor time
// the program had used by its first frame, in milliseconds (all its threads;
// unlike the elapsed times, little disturbed by other work on the machine). The window is left
// SETTLE_MS milliseconds after its first frame and then closed as a window
// manager closes it (WM_DELETE_WINDOW); the memory is the program's whole-run
// peak, as /usr/bin/time reports it. Exits non-zero if there was no frame
// within 20 seconds.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string WindowName(Display *display, Window window)
{
    char *name = nullptr;
    if (!XFetchName(display, window, &name) || !name)
        return {};
    std::string result(name);
    XFree(name);
    return result;
}

// Processor time of every thread of process pid so far, from the kernel's
// scheduler statistics (nanoseconds on the processor come first).
double ProcessorMilliseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    double total = 0;
    while (dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        double nanoseconds = 0;
        if (stat >> nanoseconds)
            total += nanoseconds / 1e6;
    }
    closedir(dir);
    return total;
}

int IgnoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

// True once the window shows more than one colour.
bool Painted(Display *display, Window window)
{
    XWindowAttributes a;
    if (!XGetWindowAttributes(display, window, &a) || a.map_state != IsViewable)
        return false;
    XImage *image = XGetImage(display, window, 0, 0, static_cast<unsigned>(a.width),
                              static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long first = XGetPixel(image, 0, 0);
    bool varied = false;
    for (int y = 0; y < a.height && !varied; ++y) {
        for (int x = 0; x < a.width && !varied; ++x)
            varied = XGetPixel(image, x, y) != first;
    }
    XDestroyImage(image);
    return varied;
}

void Close(Display *display, Window window)
{
    XEvent e {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &e);
    XFlush(display);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE SETTLE_MS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const int settle = std::atoi(argv[2]);
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors); // windows come and go while we look at them
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    Window window = 0;
    double mapped = -1;
    double painted = -1;
    double processor = -1;
    while (painted < 0 && MillisecondsSince(start) < 20000) {
        if (!window) {
            pollfd p {ConnectionNumber(display), POLLIN, 0};
            if (!XPending(display))
                poll(&p, 1, 1);
            while (XPending(display)) {
                XEvent e;
                XNextEvent(display, &e);
                if (e.type == MapNotify && !window && WindowName(display, e.xmap.window) == title) {
                    window = e.xmap.window;
                    mapped = MillisecondsSince(start);
                }
            }
        } else if (Painted(display, window)) {
            painted = MillisecondsSince(start);
            processor = ProcessorMilliseconds(child);
        } else {
            usleep(500);
        }
    }

    if (painted >= 0) {
        usleep(static_cast<useconds_t>(settle) * 1000);
        Close(display, window);
    }
    // Wait for the program to end by itself; stop it after five seconds.
    int status = 0;
    rusage usage {};
    const Clock::time_point closing = Clock::now();
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        if (MillisecondsSince(closing) > 5000) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        usleep(1000);
    }
    XCloseDisplay(display);
    if (painted < 0) {
        std::fprintf(stderr, "no frame from '%s' within 20 s\n", title.c_str());
        return 1;
    }
    std::printf("%.1f %.1f %ld %.1f\n", mapped, painted, usage.ru_maxrss, processor);
    return 0;
}
