// Starts a program and times it until its menu is painted on the X screen.
//
//     orval-bench-probe PICTURE PROGRAM [ARGS...]
//
// Runs PROGRAM on $DISPLAY and polls a few root-window pixels where the centred 359 x 227 menu
// must show PICTURE. Once all match, it notes the time and VmHWM, waits until the program has
// come to rest and notes VmHWM again, then prints "<ms since the start> <MB painted> <MB at rest>"
// and ends the program with SIGTERM (SIGKILL 2 s later if still there).
// Surfaces only, as the scene model uses them: SDL_image decodes the expected picture.
#include <SDL_image.h>
#include <SDL_surface.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

constexpr int kWidth = 359, kHeight = 227;
// Window pixels off the menu's buttons (which the game draws over the picture): cap, shirt,
// trousers, the pale background and the panel's dark corner.
constexpr std::array<std::array<int, 2>, 5> kPoints = {
    {{80, 25}, {80, 100}, {80, 170}, {20, 200}, {340, 215}}};
// Per channel; the pictures are drawn unscaled, so only a stray rounding may differ.
constexpr int kTolerance = 4;
constexpr double kTimeoutMs = 20000;

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The primary display's usable area as the window manager publishes it, else the whole screen.
void usableArea(Display* display, int& x, int& y, int& w, int& h) {
    const Window root = DefaultRootWindow(display);
    x = 0;
    y = 0;
    w = DisplayWidth(display, DefaultScreen(display));
    h = DisplayHeight(display, DefaultScreen(display));
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom workarea = XInternAtom(display, "_NET_WORKAREA", True);
    if (workarea != 0 &&
        XGetWindowProperty(display, root, workarea, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && count >= 4 && format == 32) {
        const auto* values = reinterpret_cast<const long*>(data);
        x = static_cast<int>(values[0]);
        y = static_cast<int>(values[1]);
        w = static_cast<int>(values[2]);
        h = static_cast<int>(values[3]);
    }
    if (data) XFree(data);
}

double peakMemoryMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) != 0) continue;
        std::istringstream fields(line.substr(6));
        double kb = 0;
        fields >> kb;
        return kb / 1024.0;
    }
    return -1;
}

// User plus system CPU of the process so far, in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command's closing bracket: state is the 3rd, utime the 14th.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::atol(field.c_str());
        if (i == 15) stime = std::atol(field.c_str());
    }
    return utime + stime;
}

// Waits until the program has used no CPU for 300 ms (at most 5 s): the menu at rest.
void waitForRest(pid_t pid) {
    const double deadline = nowMs() + 5000;
    long last = cpuTicks(pid);
    while (nowMs() < deadline) {
        usleep(300000);
        const long now = cpuTicks(pid);
        if (now == last) return;
        last = now;
    }
}

bool near(unsigned long pixel, std::uint32_t expected) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((pixel >> shift) & 0xff);
        const int b = static_cast<int>((expected >> shift) & 0xff);
        if (std::abs(a - b) > kTolerance) return false;
    }
    return true;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    const double deadline = nowMs() + 2000;
    while (nowMs() < deadline) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(5000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: orval-bench-probe PICTURE PROGRAM [ARGS...]\n");
        return 2;
    }
    SDL_Surface* loaded = IMG_Load(argv[1]);
    if (!loaded) {
        std::fprintf(stderr, "orval-bench-probe: %s: %s\n", argv[1], IMG_GetError());
        return 2;
    }
    SDL_Surface* picture = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!picture || picture->w != kWidth || picture->h != kHeight) {
        std::fprintf(stderr, "orval-bench-probe: %s is not the %d x %d menu\n", argv[1], kWidth,
                     kHeight);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "orval-bench-probe: cannot open the display\n");
        return 2;
    }
    int ux = 0, uy = 0, uw = 0, uh = 0;
    usableArea(display, ux, uy, uw, uh);
    const int left = ux + (uw - kWidth) / 2, top = uy + (uh - kHeight) / 2;
    std::array<std::uint32_t, kPoints.size()> expected{};
    for (std::size_t i = 0; i < kPoints.size(); ++i) {
        const auto* row =
            static_cast<const std::uint8_t*>(picture->pixels) + kPoints[i][1] * picture->pitch;
        expected[i] = reinterpret_cast<const std::uint32_t*>(row)[kPoints[i][0]] & 0xffffff;
    }
    SDL_FreeSurface(picture);
    const Window root = DefaultRootWindow(display);
    const auto painted = [&] {
        for (std::size_t i = 0; i < kPoints.size(); ++i) {
            XImage* image = XGetImage(display, root, left + kPoints[i][0], top + kPoints[i][1], 1,
                                      1, AllPlanes, ZPixmap);
            if (!image) return false;
            const unsigned long pixel = XGetPixel(image, 0, 0);
            XDestroyImage(image);
            if (!near(pixel, expected[i])) return false;
        }
        return true;
    };
    // A menu left by the previous round would end the wait at once.
    for (const double until = nowMs() + 2000; painted();) {
        if (nowMs() > until) {
            std::fprintf(stderr, "orval-bench-probe: the menu is already on the screen\n");
            return 1;
        }
        usleep(10000);
    }

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("orval-bench-probe: fork");
        return 1;
    }
    if (pid == 0) {
        // Our stdout carries only the result; what the program prints goes to stderr.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[2], argv + 2);
        std::perror("orval-bench-probe: exec");
        _exit(127);
    }
    while (!painted()) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "orval-bench-probe: %s ended before its menu showed\n", argv[2]);
            return 1;
        }
        if (nowMs() - start > kTimeoutMs) {
            std::fprintf(stderr, "orval-bench-probe: no menu within %.0f ms\n", kTimeoutMs);
            stop(pid);
            return 1;
        }
        // About 0.5 ms between polls: fine enough to time, idle enough not to slow the program.
        usleep(500);
    }
    const double elapsed = nowMs() - start;
    const double peak = peakMemoryMb(pid);
    // The game goes on working with its menu up (it decodes every other picture then).
    waitForRest(pid);
    const double restingPeak = peakMemoryMb(pid);
    stop(pid);
    XCloseDisplay(display);
    std::printf("%.1f %.1f %.1f\n", elapsed, peak, restingPeak);
    return 0;
}
