#include "ProcessRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

std::string SlurpFd(int fd) {
  std::string text;
  lseek(fd, 0, SEEK_SET);
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

int TempFd() {
  char name[] = "/tmp/tavrin_e2e_XXXXXX";
  int fd = mkstemp(name);
  unlink(name);
  return fd;
}

void ApplyEnvironment(const std::vector<std::string>& env) {
  for (const std::string& setting : env) {
    size_t eq = setting.find('=');
    std::string name = setting.substr(0, eq);
    std::string value = setting.substr(eq + 1);
    if (value.empty())
      unsetenv(name.c_str());
    else
      setenv(name.c_str(), value.c_str(), 1);
  }
}

}  // namespace

std::string BinPath(const std::string& program) {
  if (!program.empty() && program[0] == '/') return program;
  return std::string(TAVRIN_BIN_DIR) + "/" + program;
}

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir, const std::vector<std::string>& env,
                         long fileSizeLimit) {
  // Output goes to unlinked temporary files rather than pipes, so a chatty program can
  // never block on a full pipe while we wait for it.
  int outFd = TempFd();
  int errFd = TempFd();
  std::string path = BinPath(program);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(outFd, 1);
    dup2(errFd, 2);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(127);
    ApplyEnvironment(env);
    if (fileSizeLimit >= 0) {
      signal(SIGXFSZ, SIG_IGN);
      rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ProcessResult result;
  result.out = SlurpFd(outFd);
  result.err = SlurpFd(errFd);
  close(outFd);
  close(errFd);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string MakeTempDir() {
  char name[] = "/tmp/tavrin_run_XXXXXX";
  char* dir = mkdtemp(name);
  return dir != nullptr ? std::string(dir) : std::string("/tmp");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}
