// Start-up latency and peak memory of whole programs on an X server.
//
// Runs each case in turn, round after round (the first case of each round
// rotates, so no case always follows the same one), and times each run from
// just before fork/exec to the first MapNotify of a top-level window on the
// root window. With no window manager, that map is the program's own
// XMapWindow. The program is held a moment longer so that it paints, then
// killed; its peak resident set comes from wait4. The CPU time that all its
// threads had used when the window was mapped is read from
// /proc/PID/task/*/schedstat: it stays steady while other processes load the
// machine, where the wall-clock latency does not.
//
// usage: startup_latency [--runs N] [--hold-ms M] [--timeout-ms T]
//            --case LABEL COMMAND [ARGS...] [--case LABEL COMMAND ...]
// The first case is the floor that the others are compared with.

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
    std::string label;
    std::vector<std::string> argv;
    std::vector<double> latencyMs;
    std::vector<double> peakKiB;
    std::vector<double> cpuMs;
    std::vector<double> waitingMs;
};

struct CpuUse {
    double onCpuMs = 0;
    double waitingMs = 0; // runnable, but another process had the CPU
};

struct Run {
    bool mapped = false;
    double latencyMs = 0;
    long peakKiB = 0;
    CpuUse cpu;
};

// What every thread of `pid` has used so far (zeros if unreadable).
CpuUse CpuUseOf(pid_t pid)
{
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(taskDir.c_str());
    if (!dir)
        return {};
    unsigned long long onCpuNs = 0;
    unsigned long long waitingNs = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = taskDir + "/" + entry->d_name + "/schedstat";
        if (FILE *file = std::fopen(path.c_str(), "r")) {
            unsigned long long on = 0;
            unsigned long long waiting = 0;
            if (std::fscanf(file, "%llu %llu", &on, &waiting) == 2) {
                onCpuNs += on;
                waitingNs += waiting;
            }
            std::fclose(file);
        }
    }
    closedir(dir);
    return {double(onCpuNs) / 1e6, double(waitingNs) / 1e6};
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::size_t(q * double(values.size() - 1) + 0.5)];
}

[[noreturn]] void Usage(const char *program)
{
    std::fprintf(stderr,
                 "usage: %s [--runs N] [--hold-ms M] [--timeout-ms T] --case LABEL COMMAND [ARGS...] ...\n",
                 program);
    std::exit(2);
}

class XWatch {
public:
    XWatch()
    {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) {
            std::fprintf(stderr, "startup_latency: cannot connect to the X server (DISPLAY=%s)\n",
                         std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
            std::exit(1);
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_void_cookie_t cookie =
            xcb_change_window_attributes_checked(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        if (xcb_generic_error_t *error = xcb_request_check(connection_, cookie)) {
            std::fprintf(stderr, "startup_latency: cannot watch the root window (error %d)\n",
                         error->error_code);
            std::exit(1);
        }
    }
    ~XWatch() { xcb_disconnect(connection_); }

    // Drops whatever the previous run left behind (unmaps, destroys).
    void Drain()
    {
        xcb_flush(connection_);
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection_))
            std::free(event);
    }

    // True at the first map of a top-level, non-override-redirect window;
    // false once `deadline` passes or the child `pid` has ended.
    bool WaitForMap(Clock::time_point deadline, pid_t pid, int *status, bool *ended)
    {
        const int fd = xcb_get_file_descriptor(connection_);
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
                const bool isMap = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                bool topLevel = false;
                if (isMap) {
                    const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                    topLevel = map->event == root_ && !map->override_redirect;
                }
                std::free(event);
                if (topLevel)
                    return true;
            }
            if (xcb_connection_has_error(connection_)) {
                std::fprintf(stderr, "startup_latency: lost the X connection\n");
                std::exit(1);
            }
            if (waitpid(pid, status, WNOHANG) == pid) {
                *ended = true;
                return false;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            // Short polls also notice a child that died without mapping.
            pollfd pfd{fd, POLLIN, 0};
            poll(&pfd, 1, int(std::min<long>(left.count(), 20)));
        }
    }

private:
    xcb_connection_t *connection_ = nullptr;
    xcb_window_t root_ = 0;
};

Run RunOnce(XWatch &watch, const Case &c, int holdMs, int timeoutMs)
{
    std::vector<char *> argv;
    for (const std::string &arg : c.argv)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    watch.Drain();
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("startup_latency: fork");
        std::exit(1);
    }
    if (pid == 0) {
        // The programs' own output would only interleave with the figures.
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }

    Run run;
    int status = 0;
    bool ended = false;
    run.mapped = watch.WaitForMap(start + std::chrono::milliseconds(timeoutMs), pid, &status, &ended);
    run.latencyMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (run.mapped)
        run.cpu = CpuUseOf(pid);
    if (run.mapped && holdMs > 0) {
        pollfd none{-1, 0, 0};
        poll(&none, 0, holdMs);
    }
    if (ended)
        return run; // it exited without a window: reaped already, nothing to measure
    rusage usage{};
    kill(pid, SIGKILL);
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.peakKiB = usage.ru_maxrss;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 21;
    int holdMs = 300;
    int timeoutMs = 20000;
    std::vector<Case> cases;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg == "--hold-ms" && i + 1 < argc)
            holdMs = std::atoi(argv[++i]);
        else if (arg == "--timeout-ms" && i + 1 < argc)
            timeoutMs = std::atoi(argv[++i]);
        else if (arg == "--case" && i + 2 < argc) {
            Case c;
            c.label = argv[++i];
            while (i + 1 < argc && std::string(argv[i + 1]) != "--case")
                c.argv.push_back(argv[++i]);
            if (c.argv.empty())
                Usage(argv[0]);
            cases.push_back(std::move(c));
        } else
            Usage(argv[0]);
    }
    if (cases.empty() || runs < 1)
        Usage(argv[0]);

    XWatch watch;
    // One unmeasured round: the page cache and font caches are warm for all.
    for (const Case &c : cases)
        RunOnce(watch, c, 0, timeoutMs);

    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < cases.size(); ++k) {
            Case &c = cases[(k + std::size_t(round)) % cases.size()];
            const Run run = RunOnce(watch, c, holdMs, timeoutMs);
            if (!run.mapped) {
                std::fprintf(stderr, "startup_latency: %s showed no window within %d ms\n",
                             c.label.c_str(), timeoutMs);
                return 1;
            }
            c.latencyMs.push_back(run.latencyMs);
            c.peakKiB.push_back(double(run.peakKiB));
            c.cpuMs.push_back(run.cpu.onCpuMs);
            c.waitingMs.push_back(run.cpu.waitingMs);
        }
    }

    const Case &floor = cases.front();
    const double floorMs = Median(floor.latencyMs);
    const double floorCpuMs = Median(floor.cpuMs);
    const double floorKiB = Median(floor.peakKiB);
    std::printf("%d interleaved runs per case; floor: %s\n", runs, floor.label.c_str());
    std::printf("%-10s %9s %9s %9s %8s %8s %8s %8s %8s %10s %10s\n", "case", "median_ms", "p25_ms", "p75_ms",
                "ratio", "paired", "cpu_ms", "cpu_rat", "runq_ms", "peak_MiB", "+floor_MiB");
    for (const Case &c : cases) {
        // Each run over the floor's run of the same round: steadier than the
        // ratio of medians while the machine's load drifts.
        std::vector<double> paired;
        for (std::size_t r = 0; r < c.latencyMs.size(); ++r)
            paired.push_back(c.latencyMs[r] / floor.latencyMs[r]);
        const double peakKiB = Median(c.peakKiB);
        const double cpuMs = Median(c.cpuMs);
        std::printf("%-10s %9.1f %9.1f %9.1f %7.2fx %7.2fx %8.1f %7.2fx %8.1f %10.1f %+10.1f\n",
                    c.label.c_str(), Median(c.latencyMs), Quantile(c.latencyMs, 0.25),
                    Quantile(c.latencyMs, 0.75), Median(c.latencyMs) / floorMs, Median(paired), cpuMs,
                    floorCpuMs > 0 ? cpuMs / floorCpuMs : 0.0, Median(c.waitingMs), peakKiB / 1024.0,
                    (peakKiB - floorKiB) / 1024.0);
    }
    return 0;
}
