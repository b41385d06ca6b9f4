#include "ClientProcess.h"

#include <fcntl.h>
#include <signal.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kAnnouncement[] = "REGISTER:  Port: [";
const char kHostLine[] = "TAVRIN_HOST: ";
const size_t kKeptError = 4096;   // the end of a client's standard error kept for messages
// The simulator's lines that say why a run ended early with exit status 0.
const char* const kNotices[] = {"Simulator encountered an absorbing state",
                                "No terminating performance variables", "No steady-state performance variables"};

void NonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

std::string Replace(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

// The shell command that runs argv through the launcher. A launcher with {host} (ssh) runs
// its words by a remote shell, which needs them quoted once more; one without (srun) passes
// them on as they are and gets a wrapper that first says which host the client runs on.
std::string LauncherCommand(const std::vector<std::string>& argv, const std::string& launcher,
                            const std::string& host) {
  std::string words;
  if (launcher.find("{host}") != std::string::npos) {
    // The local shell takes off one quoting, and ssh hands the words it gets, joined by
    // spaces, to the remote shell, which takes off the other.
    for (const std::string& w : argv) words += " " + ClientProcess::ShellQuote(ClientProcess::ShellQuote(w));
    return Replace(launcher, "{host}", host) + words;
  }
  for (const std::string& w : argv) words += " " + ClientProcess::ShellQuote(w);
  return launcher + " sh -c " +
         ClientProcess::ShellQuote("echo \"TAVRIN_HOST: $(hostname)\"; exec \"$@\"") + " sh" +
         words;
}

}  // namespace

ClientProcess::~ClientProcess() {
  if (_pid > 0 && !_exited) Kill();
  CloseFds();
}

std::string ClientProcess::ShellQuote(const std::string& word) {
  return "'" + Replace(word, "'", "'\\''") + "'";
}

int ClientProcess::ParseAnnouncement(const std::string& line) {
  if (line.compare(0, sizeof kAnnouncement - 1, kAnnouncement) != 0) return -1;
  const char* digits = line.c_str() + sizeof kAnnouncement - 1;
  char* end = nullptr;
  long port = std::strtol(digits, &end, 10);
  if (end == digits || *end != ']') return -1;
  if (port < 0 && port >= -32768) port += 65536;
  return (port > 0 && port < 65536) ? static_cast<int>(port) : -1;
}

bool ClientProcess::Start(const std::vector<std::string>& argv, const std::string& launcher,
                          const std::string& host, std::string& error) {
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  std::string command = launcher.empty() ? "" : LauncherCommand(argv, launcher, host);
  if (launcher.find("{host}") != std::string::npos) _host = host;
  _pid = fork();
  if (_pid < 0) {
    error = std::string("cannot start a process: ") + std::strerror(errno);
    return false;
  }
  if (_pid == 0) {
    setpgid(0, 0);
#ifdef __linux__
    // A simulator without a manager runs on without end; if the manager dies without
    // ending its clients (SIGKILL), the kernel ends them.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    dup2(outPipe[1], 1);
    dup2(errPipe[1], 2);
    close(outPipe[0]);
    close(outPipe[1]);
    close(errPipe[0]);
    close(errPipe[1]);
    if (launcher.empty()) {
      std::vector<char*> words;
      for (const std::string& w : argv) words.push_back(const_cast<char*>(w.c_str()));
      words.push_back(nullptr);
      execv(words[0], words.data());
    } else {
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    }
    std::fprintf(stderr, "cannot run %s: %s\n", argv[0].c_str(), std::strerror(errno));
    _exit(127);
  }
  setpgid(_pid, _pid);   // also here, so a signal sent at once reaches the group
  close(outPipe[1]);
  close(errPipe[1]);
  _outFd = outPipe[0];
  _errFd = errPipe[0];
  NonBlocking(_outFd);
  NonBlocking(_errFd);
  return true;
}

bool ClientProcess::ReadOutput() {
  char buffer[4096];
  for (int* fd : {&_outFd, &_errFd}) {
    while (*fd >= 0) {
      ssize_t n = read(*fd, buffer, sizeof buffer);
      if (n > 0) {
        (fd == &_outFd ? _out : _err).append(buffer, static_cast<size_t>(n));
        continue;
      }
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
      close(*fd);
      *fd = -1;
    }
  }
  TakeLines();
  if (_err.size() > 2 * kKeptError) _err.erase(0, _err.size() - kKeptError);
  return _outFd >= 0 || _errFd >= 0;
}

// Only the announcement and host lines matter; everything else the simulator prints is
// dropped as it comes, so a chatty client does not grow the manager.
void ClientProcess::TakeLines() {
  size_t start = 0, end;
  while ((end = _out.find('\n', start)) != std::string::npos) {
    std::string line = _out.substr(start, end - start);
    start = end + 1;
    if (_port < 0) {
      int port = ParseAnnouncement(line);
      if (port > 0) _port = port;
    }
    if (line.compare(0, sizeof kHostLine - 1, kHostLine) == 0)
      _host = line.substr(sizeof kHostLine - 1);
    for (const char* notice : kNotices)
      if (line.compare(0, std::strlen(notice), notice) == 0) _notice = line;
  }
  _out.erase(0, start);
  if (_out.size() > 65536) _out.clear();   // a line that never ends is no announcement
}

std::string ClientProcess::ErrorText() const {
  std::string text = _err.size() > kKeptError ? _err.substr(_err.size() - kKeptError) : _err;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

bool ClientProcess::Exited() {
  if (_exited) return true;
  if (_pid <= 0) return true;
  int status = 0;
  pid_t done = waitpid(_pid, &status, WNOHANG);
  if (done == 0) return false;
  _exited = true;
  if (done < 0) {
    _exitText = "lost";
  } else if (WIFEXITED(status)) {
    _exitCode = WEXITSTATUS(status);
    _exitText = "exited with status " + std::to_string(_exitCode);
  } else if (WIFSIGNALED(status)) {
    _exitText = std::string("killed by signal ") + std::to_string(WTERMSIG(status)) + " (" +
                strsignal(WTERMSIG(status)) + ")";
  }
  // Whatever the launcher left running in the group goes with it.
  kill(-_pid, SIGKILL);
  return true;
}

void ClientProcess::Terminate() {
  if (_pid > 0 && !_exited) kill(-_pid, SIGTERM);
}

void ClientProcess::Kill() {
  if (_pid <= 0 || _exited) return;
  kill(-_pid, SIGKILL);
  int status = 0;
  while (waitpid(_pid, &status, 0) < 0 && errno == EINTR) {
  }
  _exited = true;
  _exitText = "ended by the manager";
}

void ClientProcess::CloseFds() {
  if (_outFd >= 0) close(_outFd);
  if (_errFd >= 0) close(_errFd);
  _outFd = _errFd = -1;
}
