// Start-up time of the window program, from the start of its process to the
// first painted main window, over separate processes.
//
// The program starts itself RUNS times (after one run that is not counted,
// to warm the caches). Each started copy runs the real start-up, as the
// program's main does it, with a clock from before the process was made:
// the parent's CLOCK_MONOTONIC at spawn, handed over in the environment.
// The copy notes when its main begins, when the application object is made,
// when InitInstance returns, the first paint event of the main window once
// it is exposed (on X, once the server mapped it), and when control is back
// in the event loop after that paint (the whole window drawn and flushed);
// then it closes the window the ordinary way, which saves its layout, and
// reports through a pipe. The paint may come inside InitInstance (a
// synchronous repaint) or after it: the marks are given as times since the
// spawn, not as phases.
//
// With --fresh each run gets an empty settings folder of its own (a first
// start); without it the runs share XDG_CONFIG_HOME, so each restores the
// layout the one before saved. Run it with a temporary HOME and
// XDG_CONFIG_HOME: it writes the program's settings there.
//
// Usage: velmora_startup_time [--fresh] [RUNS]   (QT_QPA_PLATFORM as wanted)

#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr char kSpawnedAtVar[] = "VELMORA_STARTUP_SPAWNED_AT";
constexpr char kReportFdVar[] = "VELMORA_STARTUP_FD";
constexpr int kChildTimeoutMs = 30000;

// The marks of one start-up, in order; all in ns of CLOCK_MONOTONIC.
enum Mark { Spawned, MainBegins, AppMade, InitDone, FirstPaint, WindowPainted, kMarks };
const char* const kMarkNames[kMarks] = {
    "",
    "main begins (after loading, static init)",
    "application object made",
    "InitInstance returned",
    "first paint of the shown window",
    "window painted, back in the event loop",
};

long long Now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Notes the first paint event of the exposed main window (of the frame or of
// any widget in it, the frame being painted first), then, back in the event
// loop after that paint pass, the end; then closes the window.
class PaintWatch : public QObject {
public:
    PaintWatch(long long* marks, int reportFd) : m_marks(marks), m_reportFd(reportFd) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || m_marks[FirstPaint] != 0 || !watched->isWidgetType())
            return false;
        auto* frame = qobject_cast<CMainFrame*>(static_cast<QWidget*>(watched)->window());
        // Painting a window the display does not show yet shows nothing.
        if (!frame || !frame->windowHandle() || !frame->windowHandle()->isExposed())
            return false;
        m_marks[FirstPaint] = Now();
        // Queued: runs when control is back in the event loop.
        QMetaObject::invokeMethod(
            this,
            [this, frame] {
                m_marks[WindowPainted] = Now();
                Report();
                frame->close();
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
        return false;
    }

    void Report() {
        char line[256];
        int n = 0;
        for (int i = 0; i < kMarks; ++i)
            n += std::snprintf(line + n, sizeof line - size_t(n), "%lld%c", m_marks[i],
                               i + 1 < kMarks ? ' ' : '\n');
        if (write(m_reportFd, line, size_t(n)) != n)
            std::perror("velmora_startup_time: report");
        close(m_reportFd);
    }

private:
    long long* m_marks;
    int m_reportFd;
};

// The started copy: the program's real start-up, as its main runs it, under
// the watch.
int RunChild(int argc, char** argv, long long spawnedAt, int reportFd) {
    long long marks[kMarks] = {};
    marks[Spawned] = spawnedAt;
    marks[MainBegins] = Now();
    CVelmoraApp app(argc, argv);
    marks[AppMade] = Now();
    PaintWatch watch(marks, reportFd);
    app.installEventFilter(&watch);
    if (!app.InitInstance(app.arguments()))
        return app.StartupStatus();
    marks[InitDone] = Now();
    QTimer::singleShot(kChildTimeoutMs, &app, [] {
        std::fprintf(stderr, "velmora_startup_time: no paint within %d ms\n", kChildTimeoutMs);
        QCoreApplication::exit(3);
    });
    return app.Run();
}

// One counted or warm-up run: the marks of a started copy; false on failure.
bool RunOnce(const char* self, bool fresh, long long (&marks)[kMarks]) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        std::perror("pipe");
        return false;
    }
    // Only the write end goes to the copy.
    fcntl(fds[1], F_SETFD, 0);

    std::string configDir;
    if (fresh) {
        char pattern[] = "/tmp/velmora-startup-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::perror("mkdtemp");
            return false;
        }
        configDir = pattern;
    }

    std::vector<std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind(kSpawnedAtVar, 0) == 0 || var.rfind(kReportFdVar, 0) == 0 ||
            (fresh && var.rfind("XDG_CONFIG_HOME=", 0) == 0))
            continue;
        vars.push_back(var);
    }
    vars.push_back(std::string(kReportFdVar) + "=" + std::to_string(fds[1]));
    if (fresh)
        vars.push_back("XDG_CONFIG_HOME=" + configDir);
    const size_t spawnedAtSlot = vars.size();
    vars.push_back(std::string());

    char* argv[] = {const_cast<char*>(self), nullptr};
    pid_t pid = 0;
    vars[spawnedAtSlot] = std::string(kSpawnedAtVar) + "=" + std::to_string(Now());
    std::vector<char*> env;
    for (std::string& var : vars)
        env.push_back(var.data());
    env.push_back(nullptr);
    const int spawnError = posix_spawn(&pid, self, nullptr, nullptr, argv, env.data());
    close(fds[1]);
    if (spawnError != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", self, std::strerror(spawnError));
        close(fds[0]);
        return false;
    }

    std::string report;
    char buffer[256];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        report.append(buffer, size_t(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (fresh) {
        std::error_code ignored;
        std::filesystem::remove_all(configDir, ignored);
    }

    int fields = 0;
    const char* at = report.c_str();
    char* end = nullptr;
    for (; fields < kMarks; ++fields, at = end) {
        marks[fields] = std::strtoll(at, &end, 10);
        if (end == at)
            break;
    }
    if (fields != kMarks || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a run failed (exit status %d, report \"%s\")\n",
                     WIFEXITED(status) ? WEXITSTATUS(status) : -1, report.c_str());
        return false;
    }
    return true;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(p / 100.0 * static_cast<double>(values.size()) + 0.999);
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

} // namespace

int main(int argc, char** argv) {
    if (const char* spawnedAt = std::getenv(kSpawnedAtVar)) {
        const char* fd = std::getenv(kReportFdVar);
        return RunChild(argc, argv, std::atoll(spawnedAt), fd ? std::atoi(fd) : -1);
    }

    bool fresh = false;
    int runs = 20;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fresh") == 0)
            fresh = true;
        else if ((runs = std::atoi(argv[i])) <= 0) {
            std::fprintf(stderr, "usage: %s [--fresh] [RUNS]\n", argv[0]);
            return 2;
        }
    }

    std::error_code error;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error) {
        std::fprintf(stderr, "cannot find this program: %s\n", error.message().c_str());
        return 1;
    }

    long long marks[kMarks];
    if (!RunOnce(self.c_str(), fresh, marks))
        return 1;
    // Milliseconds from the spawn to each mark.
    std::vector<double> times[kMarks];
    for (int run = 0; run < runs; ++run) {
        if (!RunOnce(self.c_str(), fresh, marks))
            return 1;
        for (int m = 1; m < kMarks; ++m)
            times[m].push_back(double(marks[m] - marks[Spawned]) / 1e6);
    }

    std::printf("%d runs, %s start, after one warm-up run; milliseconds since the spawn\n", runs,
                fresh ? "first (no settings)" : "later (stored layout)");
    std::printf("  %-42s %8s %8s %8s %8s\n", "mark", "median", "p90", "min", "max");
    for (int m = 1; m < kMarks; ++m) {
        const std::vector<double>& v = times[m];
        std::printf("  %-42s %8.1f %8.1f %8.1f %8.1f\n", kMarkNames[m], Percentile(v, 50),
                    Percentile(v, 90), *std::min_element(v.begin(), v.end()),
                    *std::max_element(v.begin(), v.end()));
    }
    return 0;
}
