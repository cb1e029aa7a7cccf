// Start-up of the real program: build/bin/cubestacks started on a private
// Xvfb with fresh settings and data folders, timed from the start of the
// process to its main window's first painted frame (the program says when,
// see app/first_frame_report.h), and its resident memory (VmRSS) then. Each
// repetition is one start; the median is the figure. One start before the
// timed ones brings the program and its libraries into the file cache.
//
//   bench_startup [--benchmark_repetitions=N]   (7 by default)

#include "bench_support.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A child process with its standard error (and, for Xvfb, one more descriptor) read through pipes.
struct Child {
    pid_t pid = -1;
    int errorOutput = -1;
};

// Starts program with args and the extra environment; the child's standard
// error comes back through a pipe; keepFd stays open in the child.
std::optional<Child> Start(const std::string& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& env, int keepFd = -1) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        dup2(pipeFds[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0)
            dup2(devNull, STDOUT_FILENO);
        if (keepFd >= 0)
            fcntl(keepFd, F_SETFD, 0);
        for (const std::string& entry : env)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    return Child{pid, pipeFds[0]};
}

void Stop(Child& child, int signal) {
    if (child.pid > 0) {
        kill(child.pid, signal);
        waitpid(child.pid, nullptr, 0);
        child.pid = -1;
    }
    if (child.errorOutput >= 0) {
        close(child.errorOutput);
        child.errorOutput = -1;
    }
}

// Reads fd line by line until a line starts with prefix; false on end of output or at the deadline.
bool ReadUntil(int fd, const std::string& prefix, Clock::time_point deadline, std::string& line,
               std::string& pending) {
    for (;;) {
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line.compare(0, prefix.size(), prefix) == 0)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        pending.append(buffer, static_cast<size_t>(n));
    }
}

// VmRSS of the process in megabytes (2^20 bytes); -1 when it cannot be read.
double ResidentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = -1;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

// The private X server for every start.
struct XServer {
    Child child;
    std::string display; // ":N"
};
XServer& Server() {
    static XServer server;
    return server;
}

bool StartXServer() {
    int displayPipe[2];
    if (pipe2(displayPipe, O_CLOEXEC) != 0)
        return false;
    auto child = Start("Xvfb",
                       {"-displayfd", std::to_string(displayPipe[1]), "-screen", "0", "1280x1024x24",
                        "-nolisten", "tcp", "-noreset"},
                       {}, displayPipe[1]);
    close(displayPipe[1]);
    if (!child) {
        close(displayPipe[0]);
        return false;
    }
    Server().child = *child;
    std::string number, pending;
    const bool ready =
        ReadUntil(displayPipe[0], "", Clock::now() + std::chrono::seconds(10), number, pending);
    close(displayPipe[0]);
    if (!ready || number.empty()) {
        Stop(Server().child, SIGTERM);
        return false;
    }
    Server().display = ":" + number;
    return true;
}

struct StartResult {
    bool ok = false;
    std::string error;
    double seconds = 0;    // process start to the main window's first frame, seen from here
    double ownMs = 0;      // the same, as the program measured it from its own start
    double splashMs = 0;   // the splash window's first paint, as the program measured it
    double residentMb = 0; // VmRSS then
};

double MillisecondsIn(const std::string& line) {
    const size_t space = line.find_last_of(' ', line.size() - 4);
    return space == std::string::npos ? 0 : std::atof(line.c_str() + space + 1);
}

StartResult StartOnce() {
    StartResult result;
    QTemporaryDir home; // fresh settings, data and runtime folders for this start
    const std::string base = home.path().toStdString();
    for (const char* dir : {"/config", "/data", "/runtime"})
        mkdir((base + dir).c_str(), 0700);
    const std::vector<std::string> env = {
        "DISPLAY=" + Server().display,          "QT_QPA_PLATFORM=xcb",
        "XDG_CONFIG_HOME=" + base + "/config",  "XDG_DATA_HOME=" + base + "/data",
        "XDG_RUNTIME_DIR=" + base + "/runtime", "CUBESTACKS_REPORT_FIRST_FRAME=1"};
    const std::string program = (RealProgramFolder() + QStringLiteral("cubestacks")).toStdString();
    const Clock::time_point start = Clock::now();
    auto child = Start(program, {}, env);
    if (!child) {
        result.error = "cannot start " + program;
        return result;
    }
    std::string line, pending;
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    if (!ReadUntil(child->errorOutput, "cubestacks: first frame: splash", deadline, line, pending)) {
        result.error = "no splash frame reported";
        Stop(*child, SIGKILL);
        return result;
    }
    result.splashMs = MillisecondsIn(line);
    if (!ReadUntil(child->errorOutput, "cubestacks: first frame: main", deadline, line, pending)) {
        result.error = "no main window frame reported";
        Stop(*child, SIGKILL);
        return result;
    }
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.ownMs = MillisecondsIn(line);
    result.residentMb = ResidentMegabytes(child->pid);
    Stop(*child, SIGKILL);
    result.ok = result.residentMb > 0;
    if (!result.ok)
        result.error = "cannot read VmRSS";
    return result;
}

void BM_StartupToFirstFrame(benchmark::State& state) {
    if (Server().display.empty()) {
        state.SkipWithError("no Xvfb: install the xvfb package");
        return;
    }
    if (!RealSetsPresent(state))
        return;
    StartResult last;
    for (auto _ : state) {
        last = StartOnce();
        if (!last.ok) {
            state.SkipWithError(last.error.c_str());
            break;
        }
        state.SetIterationTime(last.seconds);
    }
    state.counters["rss_MB"] = last.residentMb;
    state.counters["own_ms"] = last.ownMs;
    state.counters["splash_ms"] = last.splashMs;
}
BENCHMARK(BM_StartupToFirstFrame)
    ->UseManualTime()
    ->Iterations(1)
    ->ComputeStatistics("min",
                        [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Seven starts unless told otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=7";
    if (std::none_of(args.begin(), args.end(),
                     [](const char* arg) { return std::strncmp(arg, "--benchmark_repetitions", 23) == 0; }))
        args.push_back(repetitions.data());
    argc = static_cast<int>(args.size());
    args.push_back(nullptr);
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::signal(SIGPIPE, SIG_IGN);
    if (StartXServer())
        StartOnce(); // into the file cache
    else
        std::fprintf(stderr, "bench_startup: Xvfb could not be started\n");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Stop(Server().child, SIGTERM);
    return 0;
}
