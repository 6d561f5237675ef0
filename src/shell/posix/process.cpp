#include "shell/posix/process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace trelik {
namespace {

// exec and posix_spawn take the arguments as a null-terminated array of C strings.
std::vector<char*> ArgumentVector(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  return argv;
}

constexpr int kNotStarted = 127;  // the shell's status for a program it could not run

}  // namespace

int StartDetached(const std::vector<std::string>& arguments, std::chrono::milliseconds patience) {
  // Everything the children use is prepared here: between fork and exec only
  // async-signal-safe calls are allowed, since other threads may hold locks. glibc's execvp
  // searches PATH with buffers on the stack, so it allocates nothing there.
  const std::vector<char*> argv = ArgumentVector(arguments);
  const int waitMs = static_cast<int>(patience.count());

  const pid_t child = ::fork();
  if (child < 0) return kNotStarted;
  if (child == 0) {
    // The child starts the program, watches it for the time given and ends with what it saw,
    // so that a program that runs on is handed to init.
    ::setsid();
    const pid_t grandchild = ::_Fork();
    if (grandchild == 0) {
      sigset_t none;
      ::sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::execvp(argv[0], argv.data());
      ::_exit(kNotStarted);
    }
    if (grandchild < 0) ::_exit(kNotStarted);
    const int watch = static_cast<int>(::syscall(SYS_pidfd_open, grandchild, 0));
    pollfd ended{watch, POLLIN, 0};
    int status = 0;
    if (watch >= 0 && ::poll(&ended, 1, waitMs) == 1 &&
        ::waitpid(grandchild, &status, WNOHANG) == grandchild) {
      ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : kNotStarted);
    }
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return kNotStarted;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kNotStarted;
}

RunOutcome RunAndWait(const std::vector<std::string>& arguments) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const std::vector<char*> argv = ArgumentVector(arguments);
  pid_t child = 0;
  const int started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return {std::error_code(started, std::generic_category())};
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return {std::error_code(errno, std::generic_category())};
  }
  return {{}, WIFEXITED(status) && WEXITSTATUS(status) == 0};
}

bool IsNotFound(const std::error_code& error) {
  // As with the shell, a file of the name that may not be executed does not count as found.
  return error == std::errc::no_such_file_or_directory || error == std::errc::permission_denied;
}

}  // namespace trelik
