#pragma once
// velorin-cli as a real child process: its standard streams on pipes or
// files, the signals it gets, the way it ends. For what only a whole process
// shows (a quiet pipe, Ctrl-C, SIGTERM, limits on file size).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace velorin::testing {

struct ChildSetup {
  std::vector<std::string> arguments;  ///< after the program name
  std::string workingFolder;
  /// A file for standard input; a pipe the test writes to when empty.
  std::string stdinFile;
  /// A file for standard output (opened read-write, not emptied); a pipe
  /// the test reads from when empty.
  std::string stdoutFile;
  /// RLIMIT_FSIZE for the child, when set. SIGXFSZ keeps its default action
  /// (end the process): the program must ignore it itself.
  std::optional<rlim_t> fileSizeLimit;
};

class Child {
 public:
  Child(const std::string& program, const ChildSetup& setup) {
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    if (setup.stdinFile.empty() && ::pipe(in) != 0) return;
    if (setup.stdoutFile.empty() && ::pipe(out) != 0) return;
    if (::pipe(err) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      // The child: default signal actions (a test runner may ignore some).
      for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGXFSZ}) ::signal(s, SIG_DFL);
      sigset_t none;
      sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      if (setup.fileSizeLimit) {
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = *setup.fileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
      }
      const int stdinFd =
          setup.stdinFile.empty() ? in[0] : ::open(setup.stdinFile.c_str(), O_RDONLY);
      const int stdoutFd =
          setup.stdoutFile.empty() ? out[1] : ::open(setup.stdoutFile.c_str(), O_RDWR);
      ::dup2(stdinFd, STDIN_FILENO);
      ::dup2(stdoutFd, STDOUT_FILENO);
      ::dup2(err[1], STDERR_FILENO);
      for (int fd = 3; fd < 256; ++fd) ::close(fd);
      if (!setup.workingFolder.empty() && ::chdir(setup.workingFolder.c_str()) != 0) ::_exit(126);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const std::string& argument : setup.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
      }
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    if (in[0] >= 0) ::close(in[0]);
    if (out[1] >= 0) ::close(out[1]);
    ::close(err[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    stderr_ = err[0];
  }
  ~Child() {
    CloseStdin();
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      Wait(std::chrono::seconds(10));
    }
    for (const int fd : {stdout_, stderr_}) {
      if (fd >= 0) ::close(fd);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }

  void WriteStdin(const std::string& bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
      const ssize_t count = ::write(stdin_, data, left);
      if (count <= 0) return;
      data += count;
      left -= static_cast<std::size_t>(count);
    }
  }
  void CloseStdin() {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
  }
  void Signal(int number) { ::kill(pid_, number); }

  /// Reads standard output until `bytes` have come or `timeout` has passed.
  std::string ReadStdout(std::size_t bytes, std::chrono::milliseconds timeout) {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (text.size() < bytes) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now());
      pollfd wait{stdout_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) break;
      char buffer[4096];
      const ssize_t count = ::read(stdout_, buffer, sizeof buffer);
      if (count <= 0) break;
      text.append(buffer, static_cast<std::size_t>(count));
    }
    return text;
  }

  /// Waits for the child to end, at most `timeout`; false if it did not.
  /// Standard error is collected meanwhile (it must not fill up).
  bool Wait(std::chrono::milliseconds timeout) {
    if (status_) return true;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      DrainStderr(20);
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        DrainStderr(0);
        return true;
      }
    }
    return false;
  }
  /// The exit code, or -1 when the child was ended by a signal.
  int ExitCode() const { return status_ && WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1; }
  /// The signal that ended the child, or 0.
  int EndingSignal() const { return status_ && WIFSIGNALED(*status_) ? WTERMSIG(*status_) : 0; }
  const std::string& Stderr() const { return stderr_text_; }

 private:
  void DrainStderr(int milliseconds) {
    pollfd wait{stderr_, POLLIN, 0};
    while (::poll(&wait, 1, milliseconds) > 0) {
      char buffer[4096];
      const ssize_t count = ::read(stderr_, buffer, sizeof buffer);
      if (count <= 0) return;
      stderr_text_.append(buffer, static_cast<std::size_t>(count));
    }
  }

  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  int stderr_ = -1;
  std::optional<int> status_;
  std::string stderr_text_;
};

}  // namespace velorin::testing
