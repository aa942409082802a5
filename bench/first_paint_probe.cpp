// first_paint_probe: launch a program and report how long it takes from its
// exec to the first drawing on its top-level window, measured at the X server
// with the DAMAGE extension. No polling: every step is an X event.
//
//   first_paint_probe [--timeout-ms N] [--] command [args...]
//
// Prints, one per line on stdout:
//   pid <child pid>            as soon as the child has exec'd
//   window 0x<id> <w>x<h>      the top-level window taken as the program's
//   map_ms <ms>                exec to MapNotify of that window
//   first_paint_ms <ms>        exec to the first DamageNotify on it ("nan" on timeout)
//   root_first_paint_ms <ms>   the same seen through a damage on the root window,
//                              which exists before the child starts (a race check)
// then closes its X connection and waits for the child, exiting with the
// child's status (or 128 + signal), so the caller can kill the child by pid
// and then wait for the probe.
//
// The window is the first top-level (child of the root) InputOutput window,
// not override-redirect, larger than 10x10, that is created after the launch
// and then mapped: Qt also creates tiny unmapped helper windows, which this
// skips. A damage object is created on every new top-level window as soon as
// its CreateNotify arrives, before the program can map (and so draw on) it.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double NowMs()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct TopLevel {
    int x = 0, y = 0, width = 0, height = 0;
    bool overrideRedirect = false;
    bool mapped = false;
    xcb_damage_damage_t damage = 0;
};

bool Intersects(const xcb_rectangle_t& r, const TopLevel& w)
{
    return r.x < w.x + w.width && w.x < r.x + r.width && r.y < w.y + w.height && w.y < r.y + r.height;
}

int Usage()
{
    std::fprintf(stderr, "usage: first_paint_probe [--timeout-ms N] [--] command [args...]\n");
    return 2;
}

int ExitStatus(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    int timeoutMs = 20000;
    int first = 1;
    while (first < argc && argv[first][0] == '-') {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--timeout-ms" && first + 1 < argc) {
            timeoutMs = std::atoi(argv[first + 1]);
            first += 2;
            continue;
        }
        return Usage();
    }
    if (first >= argc)
        return Usage();

    int screenNumber = 0;
    xcb_connection_t* conn = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(conn)) {
        std::fprintf(stderr, "first_paint_probe: cannot connect to the X display\n");
        return 3;
    }
    const xcb_setup_t* setup = xcb_get_setup(conn);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;

    const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(conn, &xcb_damage_id);
    if (damageExt == nullptr || !damageExt->present) {
        std::fprintf(stderr, "first_paint_probe: the X server has no DAMAGE extension\n");
        return 3;
    }
    const uint8_t damageNotify = damageExt->first_event + XCB_DAMAGE_NOTIFY;
    free(xcb_damage_query_version_reply(
        conn, xcb_damage_query_version(conn, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr));

    // Top-level windows come and go as children of the root (no window
    // manager here reparents them).
    const uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn, root, XCB_CW_EVENT_MASK, &rootEvents);
    const xcb_damage_damage_t rootDamage = xcb_generate_id(conn);
    xcb_damage_create(conn, rootDamage, root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    // A round trip: both are in force at the server before the child exists.
    free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));

    int execPipe[2];
    if (pipe2(execPipe, O_CLOEXEC) != 0) {
        std::perror("first_paint_probe: pipe2");
        return 3;
    }
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("first_paint_probe: fork");
        return 3;
    }
    if (child == 0) {
        close(execPipe[0]);
        close(xcb_get_file_descriptor(conn));
        execvp(argv[first], argv + first);
        const int error = errno;
        (void)!write(execPipe[1], &error, sizeof error);
        _exit(127);
    }
    close(execPipe[1]);
    // The write end closes on exec (O_CLOEXEC): EOF here is the exec.
    int execError = 0;
    ssize_t got;
    do {
        got = read(execPipe[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    const double execMs = NowMs();
    close(execPipe[0]);
    if (got > 0) {
        std::fprintf(stderr, "first_paint_probe: cannot run %s: %s\n", argv[first], std::strerror(execError));
        int status = 0;
        waitpid(child, &status, 0);
        return 127;
    }
    std::printf("pid %d\n", static_cast<int>(child));
    std::fflush(stdout);

    std::map<xcb_window_t, TopLevel> windows;
    xcb_window_t target = XCB_NONE;
    double mapMs = NAN, firstPaintMs = NAN, rootFirstPaintMs = NAN;
    const double deadline = execMs + timeoutMs;
    const int fd = xcb_get_file_descriptor(conn);
    bool childGone = false;

    // Waits for both first paints; the root's view gets 500 ms more after the
    // window's own, so a mismatch cannot hold the report back for long.
    double waitUntil = deadline;
    while (std::isnan(firstPaintMs) || std::isnan(rootFirstPaintMs)) {
        xcb_generic_event_t* event = xcb_poll_for_event(conn);
        if (event == nullptr) {
            if (xcb_connection_has_error(conn))
                break;
            const double left = waitUntil - NowMs();
            if (left <= 0)
                break;
            int status = 0;
            if (!childGone && waitpid(child, &status, WNOHANG) == child) {
                childGone = true;
                std::fprintf(stderr, "first_paint_probe: the program ended before painting\n");
                std::printf("first_paint_ms nan\n");
                return ExitStatus(status);
            }
            pollfd pfd {fd, POLLIN, 0};
            // Wake at least every 200 ms to notice a child that died early.
            poll(&pfd, 1, static_cast<int>(left < 200 ? left : 200) + 1);
            continue;
        }
        const double now = NowMs();
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (e->parent == root) {
                TopLevel& w = windows[e->window];
                w.x = e->x;
                w.y = e->y;
                w.width = e->width;
                w.height = e->height;
                w.overrideRedirect = e->override_redirect;
                w.damage = xcb_generate_id(conn);
                xcb_damage_create(conn, w.damage, e->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(conn);
            }
        } else if (type == XCB_CONFIGURE_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
            if (auto found = windows.find(e->window); found != windows.end()) {
                found->second.x = e->x;
                found->second.y = e->y;
                found->second.width = e->width;
                found->second.height = e->height;
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (auto found = windows.find(e->window); found != windows.end()) {
                TopLevel& w = found->second;
                w.mapped = true;
                if (target == XCB_NONE && !w.overrideRedirect && w.width > 10 && w.height > 10) {
                    target = e->window;
                    mapMs = now - execMs;
                    std::printf("window 0x%x %dx%d\n", target, w.width, w.height);
                }
            }
        } else if (type == XCB_DESTROY_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
            if (e->window != target)
                windows.erase(e->window); // its damage went with it
        } else if (type == damageNotify) {
            const auto* e = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (target != XCB_NONE) {
                if (e->drawable == target && std::isnan(firstPaintMs)) {
                    firstPaintMs = now - execMs;
                    std::printf("map_ms %.3f\nfirst_paint_ms %.3f\n", mapMs, firstPaintMs);
                    std::fflush(stdout);
                    if (now + 500 < waitUntil)
                        waitUntil = now + 500;
                }
                if (e->damage == rootDamage && std::isnan(rootFirstPaintMs)
                    && Intersects(e->area, windows[target]))
                    rootFirstPaintMs = now - execMs;
            }
        }
        free(event);
    }

    if (std::isnan(firstPaintMs))
        std::printf("map_ms %.3f\nfirst_paint_ms nan\n", mapMs);
    std::printf("root_first_paint_ms %.3f\n", rootFirstPaintMs);
    std::fflush(stdout);
    xcb_disconnect(conn); // nothing of the probe stays at the server while the program runs

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    return ExitStatus(status);
}
