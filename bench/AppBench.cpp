// The program's start-up and Open, each against its baseline, as medians over fresh processes:
//
//     orvel_app_bench [RUNS]
//
// start-up: from the start of the process to the main window shown, against the start of a plain
//           process (/bin/true, to its end);
// Open:     of the large generated project, to the tree shown, against a plain read of the file;
// RSS:      the program's resident memory after that Open, against the size of the file.
// The program runs with the platform plugin of the environment (offscreen when none is set), and
// quits once it has measured. Two child modes do the work: "startup START_NS" and
// "open START_NS FILE", START_NS being the parent's steady clock when it started the child.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "lang/DlgLangConverter.h"
#include "platform/SafeFile.h"
#include "store/FileAccess.h"
#include "tests/support/ProjectGenerator.h"

namespace {

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double MsSince(long long startNs) { return static_cast<double>(NowNs() - startNs) / 1e6; }

long long ResidentBytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atoll(line.c_str() + 6) * 1024;
    return 0;
}

// Runs the program; once its main window is shown, calls work with it and quits.
template <typename Work>
int RunUntilShown(int argc, char** argv, Work work) {
    std::setlocale(LC_ALL, "");
    TOrvelApplication app(argc, argv);
    InstallProgramServices();
    struct Watcher : QObject {
        Work work;
        bool done = false;
        explicit Watcher(Work w) : work(std::move(w)) {}
        bool eventFilter(QObject* object, QEvent* event) override {
            if (!done && event->type() == QEvent::Show) {
                if (auto* form = qobject_cast<TMainForm*>(object)) {
                    done = true;
                    // After the show has been handled, as the person at the screen sees it.
                    QTimer::singleShot(0, form, [this, form] {
                        work(*form);
                        QCoreApplication::exit(0);
                    });
                }
            }
            return false;
        }
    } watcher(std::move(work));
    app.installEventFilter(&watcher);
    return RunProgram(app, lang::LanguageFileName());
}

// The name=value lines a child printed, and its exit status.
std::map<std::string, double> RunChild(const std::vector<std::string>& args, int& status) {
    int out[2];
    if (::pipe(out) != 0) std::abort();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        // The platform plugin's notes about what it cannot do would bury the figures.
        if (const int null = ::open("/dev/null", O_WRONLY); null >= 0) ::dup2(null, 2);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    ::waitpid(pid, &status, 0);
    std::map<std::string, double> values;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (const auto eq = line.find('='); eq != std::string::npos)
            values[line.substr(0, eq)] = std::atof(line.c_str() + eq + 1);
    return values;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::string SelfPath() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string();
}

int Parent(int runs) {
    const char* tmp = std::getenv("TMPDIR");
    const std::string file = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvel-app-bench-" + std::to_string(::getpid()) + ".kvd";
    {
        TFileAccess store(file);
        GenerateProject(store, ProjectSize::Large());
        if (!store.SaveAll()) {
            std::fprintf(stderr, "cannot write %s: %s\n", file.c_str(), store.LastError.c_str());
            return 1;
        }
    }
    const std::string self = SelfPath();
    std::map<std::string, std::vector<double>> figures;
    for (int r = 0; r < runs; ++r) {
        int status = 0;
        long long start = NowNs();
        RunChild({"/bin/true"}, status);
        figures["process_ms"].push_back(MsSince(start));
        auto shown = RunChild({self, "startup", std::to_string(NowNs())}, status);
        if (status != 0 || !shown.count("shown_ms")) {
            std::fprintf(stderr, "the start-up child failed (status %d)\n", status);
            platform::RemoveFile(file);
            return 1;
        }
        figures["shown_ms"].push_back(shown["shown_ms"]);
        auto opened = RunChild({self, "open", std::to_string(NowNs()), file}, status);
        if (status != 0 || !opened.count("open_ms")) {
            std::fprintf(stderr, "the Open child failed (status %d)\n", status);
            platform::RemoveFile(file);
            return 1;
        }
        for (const char* key : {"open_ms", "read_ms", "rss_bytes", "file_bytes"}) figures[key].push_back(opened[key]);
    }
    platform::RemoveFile(file);
    const auto line = [&](const char* caption, const char* value, const char* base, double scale, const char* unit,
                          const char* goal) {
        const double v = Median(figures[value]) / scale, b = Median(figures[base]) / scale;
        std::printf("%-52s %10.1f %s  baseline %10.1f %s  ratio %6.2f  (goal %s)\n", caption, v, unit, b, unit,
                    b > 0 ? v / b : 0.0, goal);
    };
    std::printf("medians of %d fresh processes\n", runs);
    line("start-up to the main window shown (vs process start)", "shown_ms", "process_ms", 1, "ms", "<= 1.0 s");
    line("Open to the tree shown (vs plain read of the file)", "open_ms", "read_ms", 1, "ms", "<= 0.4 s");
    line("RSS after Open (vs file size)", "rss_bytes", "file_bytes", 1e6, "MB", "<= 4x");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc > 2) {
        const long long start = std::atoll(argv[2]);
        char* args[] = {argv[0], nullptr};
        int one = 1;
        return RunUntilShown(one, args, [start](TMainForm&) { std::printf("shown_ms=%.3f\n", MsSince(start)); });
    }
    if (mode == "open" && argc > 3) {
        const std::string file = argv[3];
        char* args[] = {argv[0], nullptr};
        int one = 1;
        return RunUntilShown(one, args, [file](TMainForm& form) {
            // A warm read, then the timed one: the Open that follows reads from the same cache.
            std::size_t bytes = platform::ReadFileCapped(file)->size();
            long long t0 = NowNs();
            bytes = platform::ReadFileCapped(file)->size();
            const double readMs = MsSince(t0);
            t0 = NowNs();
            form.OpenProject(file);
            QCoreApplication::processEvents();
            const double openMs = MsSince(t0);
            std::printf("open_ms=%.3f\nread_ms=%.3f\nrss_bytes=%lld\nfile_bytes=%zu\n", openMs, readMs, ResidentBytes(),
                        bytes);
        });
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return Parent(argc > 1 ? std::max(1, std::atoi(argv[1])) : 5);
}
