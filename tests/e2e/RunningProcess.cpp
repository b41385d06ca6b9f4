#include "RunningProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

int Remaining(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

RunningProcess::RunningProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::string& workDir)
    : pid_(-1), outPipe_(-1), errFd_(-1), scanned_(0), finished_(false) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  char errName[] = "/tmp/tavrin_e2e_err_XXXXXX";
  errFd_ = mkstemp(errName);
  unlink(errName);
  std::string path = BinPath(program);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(pipeFds[1], 1);
    dup2(errFd_, 2);
    close(pipeFds[0]);
    close(pipeFds[1]);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  outPipe_ = pipeFds[0];
}

RunningProcess::~RunningProcess() {
  if (!finished_ && pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outPipe_ >= 0) close(outPipe_);
  if (errFd_ >= 0) close(errFd_);
}

bool RunningProcess::ReadSome(int timeoutMs) {
  pollfd p{outPipe_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  ssize_t n = read(outPipe_, buffer, sizeof buffer);
  if (n <= 0) return false;
  out_.append(buffer, static_cast<size_t>(n));
  return true;
}

std::string RunningProcess::WaitForLine(const std::string& prefix, int timeoutMs) {
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    size_t end;
    while ((end = out_.find('\n', scanned_)) != std::string::npos) {
      std::string line = out_.substr(scanned_, end - scanned_);
      scanned_ = end + 1;
      if (line.compare(0, prefix.size(), prefix) == 0) return line;
    }
    if (!ReadSome(Remaining(deadline))) return "";
  }
}

ProcessResult RunningProcess::Finish(int timeoutMs) {
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (ReadSome(Remaining(deadline))) {
  }
  ProcessResult result;
  int status = 0;
  pid_t done = 0;
  while ((done = waitpid(pid_, &status, WNOHANG)) == 0 && Remaining(deadline) > 0) usleep(10000);
  if (done == 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
    result.exitCode = -1;
  } else {
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  finished_ = true;
  result.out = out_;
  lseek(errFd_, 0, SEEK_SET);
  char buffer[4096];
  ssize_t n;
  while ((n = read(errFd_, buffer, sizeof buffer)) > 0) result.err.append(buffer, static_cast<size_t>(n));
  return result;
}

void RunningProcess::Signal(int signal) {
  if (pid_ > 0 && !finished_) kill(pid_, signal);
}
