// Starts a command and prints how long it took until a top-level window with a given title was
// mapped, then the largest peak resident size among the command's processes, and kills them.
// Event-driven: the root window's SubstructureNotify reports every top-level window created and
// mapped, and PropertyNotify on each reports a title set after the map. With --painted it also
// waits until the program first drew into that window once mapped, as the DAMAGE extension
// reports it: a program that is busy right after the map leaves its window blank.
//
// Usage: map_timer [--title TEXT] [--timeout SECONDS] [--settle MS] [--painted] -- COMMAND
// [ARG...]
// Prints "window_ms=<ms> peak_kib=<KiB>", with --painted "painted_ms=<ms>" after them; exits 3 on
// timeout and 4 when the command ended without such a window. The command runs in its own
// process group with its output discarded.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace {

struct Options {
  std::string title = " Trelik";
  double timeoutSeconds = 10;
  int settleMs = 0;
  bool painted = false;
  char** command = nullptr;
};

double Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
  Options options;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") {
      ++i;
      break;
    }
    if (arg == "--painted") {
      options.painted = true;
      continue;
    }
    if (i + 1 >= argc) return std::nullopt;
    if (arg == "--title") {
      options.title = argv[++i];
    } else if (arg == "--timeout") {
      options.timeoutSeconds = std::atof(argv[++i]);
    } else if (arg == "--settle") {
      options.settleMs = std::atoi(argv[++i]);
    } else {
      return std::nullopt;
    }
  }
  if (i >= argc) return std::nullopt;
  options.command = argv + i;
  return options;
}

// Windows come and go while we look at them; a request about a destroyed one is no failure.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

std::optional<std::string> TextProperty(Display* display, Window window, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, 4096, False, AnyPropertyType, &type, &format,
                         &count, &remaining, &data) != Success ||
      data == nullptr) {
    return std::nullopt;
  }
  std::optional<std::string> text;
  if (format == 8) text.emplace(reinterpret_cast<char*>(data), count);
  XFree(data);
  return text;
}

class TitleWatch {
 public:
  // With `trackPaint`, DAMAGE must be there.
  TitleWatch(Display* display, std::string title, bool trackPaint)
      : display_(display),
        title_(std::move(title)),
        netWmName_(XInternAtom(display, "_NET_WM_NAME", False)) {
    int errorBase = 0;
    trackPaint_ = trackPaint && XDamageQueryExtension(display, &damageEventBase_, &errorBase);
  }
  bool TracksPaint() const { return trackPaint_; }

  // True once a mapped top-level window carries the title.
  bool Handle(const XEvent& event) {
    if (trackPaint_ && event.type == damageEventBase_ + XDamageNotify) {
      const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
      // Reported once; drawing before the map is clipped away and reports nothing.
      if (mapped_.contains(damage.drawable)) painted_.insert(damage.drawable);
      return false;
    }
    switch (event.type) {
      case CreateNotify:
        // Selected before the title is read, so no later change is missed; the damage is
        // watched from before the map, so that no drawing right after it is missed either.
        XSelectInput(display_, event.xcreatewindow.window, PropertyChangeMask);
        if (trackPaint_) XDamageCreate(display_, event.xcreatewindow.window, XDamageReportNonEmpty);
        return false;
      case MapNotify:
        mapped_.insert(event.xmap.window);
        return HasTitle(event.xmap.window);
      case UnmapNotify:
        mapped_.erase(event.xunmap.window);
        return false;
      case PropertyNotify:
        if (event.xproperty.atom != XA_WM_NAME && event.xproperty.atom != netWmName_) return false;
        return mapped_.contains(event.xproperty.window) && HasTitle(event.xproperty.window);
      default:
        return false;
    }
  }

  // Whether the window found has been drawn into since its map.
  bool FoundPainted() const { return painted_.contains(found_); }

 private:
  // Remembers the window when it has the title.
  bool HasTitle(Window window) {
    if (TextProperty(display_, window, netWmName_) != title_ &&
        TextProperty(display_, window, XA_WM_NAME) != title_) {
      return false;
    }
    found_ = window;
    return true;
  }

  Display* display_;
  std::string title_;
  Atom netWmName_;
  bool trackPaint_ = false;
  int damageEventBase_ = 0;
  std::set<Window> mapped_;
  std::set<Window> painted_;
  Window found_ = None;
};

pid_t Start(char** command) {
  const pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execvp(command[0], command);
    _exit(127);
  }
  if (child > 0) setpgid(child, child);
  return child;
}

long StatusKib(const std::string& statusFile, const std::string& key) {
  std::ifstream status(statusFile);
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, key.size(), key) == 0) return std::atol(line.c_str() + key.size());
  }
  return 0;
}

// The largest peak resident size (VmHWM) of a process in the group: for a program run through
// a wrapper (a shell script, Wine's loader) that is the program itself.
long GroupPeakKib(pid_t group) {
  long peak = 0;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return 0;
  while (const dirent* entry = readdir(proc)) {
    const std::string name = entry->d_name;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream statFile("/proc/" + name + "/stat");
    std::string stat;
    std::getline(statFile, stat);
    // Fields after the parenthesised command name: state, parent, process group.
    const auto close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    long parent = 0;
    long processGroup = 0;
    fields >> state >> parent >> processGroup;
    if (processGroup != group) continue;
    peak = std::max(peak, StatusKib("/proc/" + name + "/status", "VmHWM:"));
  }
  closedir(proc);
  return peak;
}

// Kills the group and reaps what it can: the timer adopts the command's orphans (it is their
// subreaper), so that killed wrappers leave no zombies behind. Processes that left the group
// (a daemon it started) are not waited for.
void Stop(pid_t group) {
  kill(-group, SIGKILL);
  const double giveUp = Now() + 2;
  for (;;) {
    const pid_t reaped = waitpid(-1, nullptr, WNOHANG);
    if (reaped > 0) continue;
    if (reaped < 0 || kill(-group, 0) != 0 || Now() > giveUp) break;
    usleep(10000);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = ParseOptions(argc, argv);
  if (!options) {
    std::fprintf(stderr,
                 "usage: map_timer [--title TEXT] [--timeout SECONDS] [--settle MS] [--painted] -- "
                 "COMMAND [ARG...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "map_timer: cannot open display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreXError);
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  TitleWatch watch(display, options->title, options->painted);
  if (options->painted && !watch.TracksPaint()) {
    std::fprintf(stderr, "map_timer: the X server has no DAMAGE extension\n");
    return 2;
  }

  const double start = Now();
  const double deadline = start + options->timeoutSeconds;
  const pid_t child = Start(options->command);
  if (child < 0) {
    std::perror("map_timer: fork");
    return 2;
  }
  std::optional<double> mappedAfter;
  std::optional<double> paintedAfter;
  const auto done = [&] { return mappedAfter && (!options->painted || paintedAfter); };
  while (!done()) {
    while (XPending(display) > 0 && !done()) {
      XEvent event;
      XNextEvent(display, &event);
      if (watch.Handle(event)) mappedAfter = Now() - start;
      if (mappedAfter && !paintedAfter && watch.FoundPainted()) paintedAfter = Now() - start;
    }
    if (done()) break;
    const double left = deadline - Now();
    if (left <= 0) {
      Stop(child);
      std::fprintf(stderr, "map_timer: no window \"%s\"%s within %g s\n", options->title.c_str(),
                   mappedAfter ? " drawn into" : "", options->timeoutSeconds);
      return 3;
    }
    // The slice only bounds how late the command's own end is noticed; windows wake us at once.
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(std::min(left, 0.05) * 1000) + 1);
    if (waitpid(child, nullptr, WNOHANG) == child) {
      kill(-child, SIGKILL);
      std::fprintf(stderr, "map_timer: the command ended without a window \"%s\"\n",
                   options->title.c_str());
      return 4;
    }
  }
  if (options->settleMs > 0) usleep(static_cast<useconds_t>(options->settleMs) * 1000);
  const long peakKib = GroupPeakKib(child);
  Stop(child);
  XCloseDisplay(display);
  std::printf("window_ms=%.1f peak_kib=%ld", *mappedAfter * 1000, peakKib);
  if (paintedAfter) std::printf(" painted_ms=%.1f", *paintedAfter * 1000);
  std::printf("\n");
  return 0;
}
