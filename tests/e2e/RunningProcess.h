#ifndef TAVRIN_TESTS_E2E_RUNNINGPROCESS_H
#define TAVRIN_TESTS_E2E_RUNNINGPROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

#include "ProcessRunner.h"

// A program of build/bin started in the background, whose standard output the test reads
// while it runs: a manager must learn the port from the announcement line before it can
// connect. The standard error goes to a temporary file.
class RunningProcess {
 public:
  RunningProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::string& workDir);
  ~RunningProcess();   // kills the program if the test did not wait for it
  RunningProcess(const RunningProcess&) = delete;
  RunningProcess& operator=(const RunningProcess&) = delete;

  // Reads the standard output until a whole line beginning with prefix has arrived, or
  // the program closes its output, or timeoutMs pass; returns that line without its line
  // end, or "" when none came.
  std::string WaitForLine(const std::string& prefix, int timeoutMs);

  // Waits up to timeoutMs for the program to end, then collects all it wrote. A program
  // still running then is killed and reported with exit code -1.
  ProcessResult Finish(int timeoutMs);

  void Signal(int signal);   // sends signal to the program while it runs

 private:
  bool ReadSome(int timeoutMs);   // false at end of output or time-out

  pid_t pid_;
  int outPipe_;
  int errFd_;
  std::string out_;
  size_t scanned_;   // lines before this offset were already looked at
  bool finished_;
};

#endif
