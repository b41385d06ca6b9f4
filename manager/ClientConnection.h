#ifndef TAVRIN_MANAGER_CLIENTCONNECTION_H
#define TAVRIN_MANAGER_CLIENTCONNECTION_H

#include <cstddef>
#include <string>

// ClientConnection: the manager's end of the TCP link to one simulator, non-blocking so one
// thread serves every client. A simulator may announce its port a moment before it
// listens, so a refused connection is tried again by the caller until a deadline.
class ClientConnection {
 public:
  enum State { Idle, Connecting, Open, Closed };

  ClientConnection() = default;
  ~ClientConnection();
  ClientConnection(const ClientConnection&) = delete;
  ClientConnection& operator=(const ClientConnection&) = delete;

  // Starts a connection to host:port; false with a message if the host is unknown.
  bool Begin(const std::string& host, int port, std::string& error);
  // For a Connecting link that poll found writable: Open, or back to Idle when refused.
  State Finish();
  // Reads what has arrived into out, at most most bytes (so one fast client cannot hold
  // the manager's loop); false when the peer closed or the link failed.
  bool Read(std::string& out, size_t most = static_cast<size_t>(-1));
  bool SendByte(char code);
  void Close();

  State GetState() const { return _state; }
  int Fd() const { return _fd; }

 private:
  int _fd = -1;
  State _state = Idle;
};

#endif
