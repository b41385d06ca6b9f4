#include "ClientConnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

ClientConnection::~ClientConnection() { Close(); }

bool ClientConnection::Begin(const std::string& host, int port, std::string& error) {
  Close();
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (rc != 0 || found == nullptr) {
    error = "cannot resolve host '" + host + "': " + gai_strerror(rc);
    return false;
  }
  _fd = socket(AF_INET, SOCK_STREAM, 0);
  if (_fd < 0) {
    freeaddrinfo(found);
    error = std::string("cannot make a socket: ") + std::strerror(errno);
    return false;
  }
  fcntl(_fd, F_SETFL, fcntl(_fd, F_GETFL) | O_NONBLOCK);
  rc = connect(_fd, found->ai_addr, found->ai_addrlen);
  freeaddrinfo(found);
  if (rc == 0) {
    _state = Open;
  } else if (errno == EINPROGRESS) {
    _state = Connecting;
  } else {
    Close();
    _state = Idle;
  }
  return true;
}

ClientConnection::State ClientConnection::Finish() {
  if (_state != Connecting) return _state;
  int failure = 0;
  socklen_t size = sizeof failure;
  if (getsockopt(_fd, SOL_SOCKET, SO_ERROR, &failure, &size) != 0 || failure != 0) {
    Close();
    _state = Idle;
    return _state;
  }
  _state = Open;
  return _state;
}

bool ClientConnection::Read(std::string& out, size_t most) {
  char buffer[65536];
  for (size_t taken = 0; taken < most;) {
    ssize_t n = recv(_fd, buffer, std::min(sizeof buffer, most - taken), 0);
    if (n > 0) {
      out.append(buffer, static_cast<size_t>(n));
      taken += static_cast<size_t>(n);
      if (static_cast<size_t>(n) < sizeof buffer) return true;
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return true;
    return false;
  }
  return true;
}

bool ClientConnection::SendByte(char code) {
  if (_state != Open) return false;
  return send(_fd, &code, 1, MSG_NOSIGNAL) == 1;
}

void ClientConnection::Close() {
  if (_fd >= 0) close(_fd);
  _fd = -1;
  _state = Closed;
}
