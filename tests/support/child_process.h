#pragma once
// Runs a piece of a test in a forked child, under limits the test process
// itself must not carry: a file-size limit (the disk is "full" for the child
// alone, SIGXFSZ ignored so that writes fail with EFBIG) or an unprivileged
// user, so that permission tests also bite when the tests run as root.
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <grp.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

namespace hasorin::testing {

// The user a root test process drops to.
inline constexpr uid_t kUnprivilegedId = 65534;  // nobody / nogroup

struct ChildLimits {
  long long maxFileBytes = -1;  // RLIMIT_FSIZE; -1: none
  bool unprivileged = false;    // when root: run as kUnprivilegedId
};

struct ChildResult {
  bool finished = false;  // the child ran the body and ended normally
  std::string output;     // what the body returned, or why it did not run
};

// Paths the unprivileged child must own (a test folder made by root).
inline void HandOverToUnprivileged(const std::string& path) {
  if (geteuid() == 0 && chown(path.c_str(), kUnprivilegedId, kUnprivilegedId) != 0) std::perror("chown");
}

inline ChildResult RunInChild(const std::function<std::string()>& body, ChildLimits limits = {}) {
  int fds[2];
  if (pipe(fds) != 0) return {false, "pipe failed"};
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return {false, "fork failed"};
  if (pid == 0) {
    close(fds[0]);
    auto send = [&](const std::string& text, int status) {
      size_t done = 0;
      while (done < text.size()) {
        const ssize_t n = write(fds[1], text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += size_t(n);
      }
      _exit(status);
    };
    if (limits.unprivileged && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0))
      send("cannot drop to an unprivileged user", 3);
    if (limits.maxFileBytes >= 0) {
      std::signal(SIGXFSZ, SIG_IGN);
      const rlimit r{rlim_t(limits.maxFileBytes), rlim_t(limits.maxFileBytes)};
      if (setrlimit(RLIMIT_FSIZE, &r) != 0) send("cannot limit the file size", 3);
    }
    send(body(), 0);
  }
  close(fds[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) result.output.append(buffer, size_t(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!WIFEXITED(status)) result.output += " (the child was killed by signal " + std::to_string(WTERMSIG(status)) + ")";
  return result;
}

}  // namespace hasorin::testing
