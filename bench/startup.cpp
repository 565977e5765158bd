// Start-up in a real window, the game against a bare Qt window with a menu
// bar, run alternately: from the process's start to its window managed by the
// window manager, and to its first drawn frame (the window's centre no longer
// the black of the empty screen). Medians, and the game's ratio to the bare
// window. Run on a display with a window manager:
//   tests/x11/run-on-display.sh startup GAME BARE [runs]
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run
{
    double managedMs = 0, drawnMs = 0, peakMiB = 0;
};

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr), free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<xcb_window_t> clients(xcb_connection_t *c, xcb_window_t root, xcb_atom_t list)
{
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, list, XCB_ATOM_WINDOW, 0, 1024), nullptr), free);
    if (!reply)
        return {};
    auto *ids = static_cast<xcb_window_t *>(xcb_get_property_value(reply.get()));
    return std::vector<xcb_window_t>(ids, ids + xcb_get_property_value_length(reply.get()) / 4);
}

// The process that owns a window, by its _NET_WM_PID: not every new client is ours.
uint32_t pidOf(xcb_connection_t *c, xcb_window_t w)
{
    static const xcb_atom_t name = atom(c, "_NET_WM_PID");
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_ATOM_CARDINAL, 0, 1), nullptr), free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<uint32_t *>(xcb_get_property_value(reply.get()));
}

// The pixel at the window's centre, or 0 (black) while nothing is drawn.
uint32_t centrePixel(xcb_connection_t *c, xcb_window_t w)
{
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr), free);
    if (!geometry)
        return 0;
    std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> image(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, int16_t(geometry->width / 2),
                                          int16_t(geometry->height / 2), 1, 1, ~0u),
                            nullptr),
        free);
    if (!image || xcb_get_image_data_length(image.get()) < 4)
        return 0;
    uint32_t pixel;
    memcpy(&pixel, xcb_get_image_data(image.get()), 4);
    return pixel & 0xffffff;
}

// Waits for the next change of that root property (or a second, whichever first).
void waitForChange(xcb_connection_t *c, xcb_atom_t property)
{
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            const bool changed = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY
                                 && reinterpret_cast<xcb_property_notify_event_t *>(event)->atom == property;
            free(event);
            if (changed)
                return;
        }
        if (poll(&fd, 1, 1000) <= 0)
            return;
    }
}

double peakMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024;
    }
    return 0;
}

Run measure(xcb_connection_t *c, xcb_window_t root, xcb_atom_t list, const char *program)
{
    const std::vector<xcb_window_t> before = clients(c, root, list);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    auto since = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    Run run;
    xcb_window_t window = 0;
    // Woken by the window manager's changes to its client list: a poll here
    // would take a core's share from the programs measured, on two cores.
    while (!window) {
        for (xcb_window_t w : clients(c, root, list))
            if (std::find(before.begin(), before.end(), w) == before.end() && pidOf(c, w) == uint32_t(pid))
                window = w;
        if (!window)
            waitForChange(c, list);
    }
    run.managedMs = since();
    while (centrePixel(c, window) == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    run.drawnMs = since();
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // settled, for its memory
    run.peakMiB = peakMiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    // Gone before the next run. (Not by counting: fluxbox lists a window of its own some time after it starts.)
    for (std::vector<xcb_window_t> now = clients(c, root, list); std::count(now.begin(), now.end(), window);
         now = clients(c, root, list))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return run;
}

// The value a `share` (0 to 1) of the values lie below, between neighbours.
double quantile(std::vector<double> v, double share)
{
    std::sort(v.begin(), v.end());
    const double at = share * double(v.size() - 1);
    const auto below = size_t(at);
    return below + 1 < v.size() ? v[below] + (at - double(below)) * (v[below + 1] - v[below]) : v[below];
}

double median(const std::vector<double> &v)
{
    return quantile(v, 0.5);
}

// Each run's game against the bare window run beside it: what the machine
// did meanwhile weighs on both alike.
std::vector<double> ratios(const std::vector<double> &game, const std::vector<double> &bare)
{
    std::vector<double> r;
    for (size_t i = 0; i < game.size(); ++i)
        r.push_back(game[i] / bare[i]);
    return r;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup GAME BARE [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t list = atom(c, "_NET_CLIENT_LIST");
    const uint32_t propertyChanges = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &propertyChanges);

    std::vector<double> managed[2], drawn[2], peak[2];
    for (int i = 0; i < runs; ++i) {
        // Alternately, so that both meet the same machine, and each first in
        // every other pair: the first of a pair starts as the last one ends.
        for (int p : {i % 2, 1 - i % 2}) {
            const Run r = measure(c, root, list, argv[1 + p]);
            managed[p].push_back(r.managedMs);
            drawn[p].push_back(r.drawnMs);
            peak[p].push_back(r.peakMiB);
        }
    }
    const char *names[] = {"game", "bare Qt window"};
    std::printf("%-16s %14s %16s %14s   (medians of %d runs)\n", "", "managed (ms)", "first frame (ms)",
                "peak RSS (MiB)", runs);
    for (int p = 0; p < 2; ++p)
        std::printf("%-16s %14.1f %16.1f %14.1f\n", names[p], median(managed[p]), median(drawn[p]), median(peak[p]));
    std::printf("%-16s %14.2fx %15.2fx\n", "game / bare", median(managed[0]) / median(managed[1]),
                median(drawn[0]) / median(drawn[1]));
    const std::vector<double> managedRatios = ratios(managed[0], managed[1]), drawnRatios = ratios(drawn[0], drawn[1]);
    std::printf("%-16s %14.2fx %15.2fx   (median of the pairs' ratios)\n", "  paired", median(managedRatios),
                median(drawnRatios));
    std::printf("%-16s %7.2f-%.2fx %9.2f-%.2fx   (middle half of them)\n", "", quantile(managedRatios, 0.25),
                quantile(managedRatios, 0.75), quantile(drawnRatios, 0.25), quantile(drawnRatios, 0.75));
    xcb_disconnect(c);
    return 0;
}
