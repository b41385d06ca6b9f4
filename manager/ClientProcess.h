#ifndef TAVRIN_MANAGER_CLIENTPROCESS_H
#define TAVRIN_MANAGER_CLIENTPROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

// ClientProcess: one simulator started for the manager, directly or through a launcher
// (ssh, srun, ...), in a process group of its own so that it and anything its launcher
// started can be ended together. Its standard output is read for the port announcement
// (and, through a launcher, the host it runs on); its standard error is kept for messages.
class ClientProcess {
 public:
  ClientProcess() = default;
  ~ClientProcess();   // ends the process group if still running
  ClientProcess(const ClientProcess&) = delete;
  ClientProcess& operator=(const ClientProcess&) = delete;

  // Starts argv directly when launcher is empty; otherwise runs "launcher words" through
  // /bin/sh, with {host} in the launcher replaced by host. Returns false with a message.
  bool Start(const std::vector<std::string>& argv, const std::string& launcher,
             const std::string& host, std::string& error);

  // Reads what the process has written; false once both its outputs are closed.
  bool ReadOutput();
  int Port() const { return _port; }                 // the announced port, or -1
  const std::string& Host() const { return _host; }  // where to connect
  std::string ErrorText() const;                     // the end of its standard error
  // The simulator's own word on why a run ended early (an absorbing state, no variable of
  // the run kind), from its standard output; "" when it said none.
  const std::string& Notice() const { return _notice; }
  int OutputFd() const { return _outFd; }
  int ErrorFd() const { return _errFd; }

  // Whether it has ended (reaps it); the exit description is then in ExitText().
  bool Exited();
  int ExitCode() const { return _exitCode; }   // -1 unless it exited normally
  const std::string& ExitText() const { return _exitText; }
  void Terminate();   // SIGTERM to its group
  void Kill();        // SIGKILL to its group, then reaps it
  pid_t Pid() const { return _pid; }

  static std::string ShellQuote(const std::string& word);
  // The port of an announcement line, or -1 (the port may be shown as a signed 16-bit value).
  static int ParseAnnouncement(const std::string& line);

 private:
  void TakeLines();
  void CloseFds();

  pid_t _pid = -1;
  int _outFd = -1;
  int _errFd = -1;
  std::string _out;
  std::string _err;
  int _port = -1;
  std::string _host = "127.0.0.1";
  std::string _notice;
  bool _exited = false;
  int _exitCode = -1;
  std::string _exitText;
};

#endif
