// The socket wrapper on the POSIX socket interface. Messages go to the standard error;
// where a message carries the error number it follows the text with no separator.

#include "platform/TavrinSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>

namespace {

const char kCreateError[] = "error in socket creation";
const char kBindError[] = "error in bind.  errno=";
const char kListenError[] = "error in listen";
const char kAcceptError[] = "error in accept: ";
const char kConnectError[] = "error in connect: errno=";
const char kSelectError[] = "error in select";
const char kShutdownError[] = "error in shutdown.  errno=";
const char kTimeoutError[] = "error in receive: timed out";
const char kSendTimeoutError[] = "error in send: timed out";

}  // namespace

TavrinSocket::TavrinSocket(bool openFD) : _socket(-1), ErrorString(nullptr) {
  InitializeSocketLibrary();
  if (!openFD) return;
  _socket = socket(AF_INET, SOCK_STREAM, 0);
  if (_socket < 0) {
    _socket = -1;
    Fail(kCreateError);
  }
}

TavrinSocket::~TavrinSocket() { Close(); }

// POSIX systems need no library start; the flag keeps the once-per-process contract.
bool TavrinSocket::InitializeSocketLibrary() {
  static bool alreadyInit = false;
  alreadyInit = true;
  return alreadyInit;
}

void TavrinSocket::Fail(const char* text) {
  ErrorString = text;
  std::cerr << text << std::endl;
}

bool TavrinSocket::Bind(int port) { return Bind(port, "0.0.0.0"); }

bool TavrinSocket::Bind(int port, const char* dotted) {
  sockaddr_in address;
  std::memset(&address, 0, sizeof(address));
  address.sin_family = AF_INET;
  if (inet_pton(AF_INET, dotted, &address.sin_addr) != 1) {
    ErrorString = kBindError;
    std::cerr << kBindError << EINVAL << " (Port=" << port << ")" << std::endl;
    return false;
  }
  address.sin_port = htons(static_cast<unsigned short>(port));
  if (bind(_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) return true;
  int error = errno;
  // A port in use is expected while a caller looks for a free one: no message.
  if (error == EADDRINUSE) return false;
  ErrorString = kBindError;
  std::cerr << kBindError << error << " (Port=" << port << ")" << std::endl;
  return false;
}

bool TavrinSocket::SetReuseAddress() {
  int on = 1;
  return _socket >= 0 && setsockopt(_socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) == 0;
}

bool TavrinSocket::Listen(int queueSize) {
  if (listen(_socket, queueSize) == 0) return true;
  int error = errno;
  if (error == EADDRINUSE) return false;
  ErrorString = kListenError;
  std::cerr << kListenError << error << std::endl;
  return false;
}

bool TavrinSocket::Accept(TavrinSocket& retSocket) {
  retSocket.Close();
  int accepted = accept(_socket, nullptr, nullptr);
  if (accepted < 0) {
    Fail(kAcceptError);
    return false;
  }
  retSocket._socket = accepted;
  return true;
}

bool TavrinSocket::Connect(char* hostname, int port) {
  addrinfo hints;
  std::memset(&hints, 0, sizeof(hints));
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(hostname, nullptr, &hints, &found) != 0 || found == nullptr) {
    // The host has no IPv4 address: reported like any other connect failure.
    ErrorString = kConnectError;
    std::cerr << kConnectError << EHOSTUNREACH << std::endl;
    return false;
  }
  sockaddr_in address;
  std::memcpy(&address, found->ai_addr, sizeof(address));
  freeaddrinfo(found);
  address.sin_port = htons(static_cast<unsigned short>(port));
  if (connect(_socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) return true;
  int error = errno;
  ErrorString = kConnectError;
  std::cerr << kConnectError << error << std::endl;
  return false;
}

bool TavrinSocket::Select(int millisec_timeout) {
  if (_socket < 0 || _socket >= FD_SETSIZE) {
    ErrorString = kSelectError;
    std::cerr << kSelectError << EBADF << std::endl;
    return false;
  }
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(_socket, &readable);
  timeval timeout;
  timeout.tv_sec = millisec_timeout / 1000;
  timeout.tv_usec = (millisec_timeout - timeout.tv_sec * 1000) * 1000;
  int ready = select(_socket + 1, &readable, nullptr, nullptr, &timeout);
  // A signal that stops the run interrupts the wait; the caller looks at the run state.
  if (ready < 0 && errno == EINTR) return false;
  if (ready < 0) {
    int error = errno;
    ErrorString = kSelectError;
    std::cerr << kSelectError << error << std::endl;
    return false;
  }
  return ready > 0 && FD_ISSET(_socket, &readable);
}

// A send may take only part of the block, so it is repeated until all is sent.
// MSG_NOSIGNAL: a manager that has gone away must make the send fail, not end the
// process with SIGPIPE, so the run can still close its result files whole.
int TavrinSocket::Send(char* str, int strlen) {
  if (_socket < 0) return -1;
  int total = 0;
  while (total < strlen) {
    ssize_t sent = send(_socket, str + total, strlen - total, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) {
      // EAGAIN is the send time-out: the peer has not read for that long. A peer that has
      // gone fails quietly, as it always has; the callers stop the run either way.
      if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) Fail(kSendTimeoutError);
      return -1;
    }
    total += static_cast<int>(sent);
  }
  return total;
}

int TavrinSocket::Recv(char* buffer, int buf_len) {
  if (_socket < 0) return -1;
  ssize_t received;
  do {
    received = recv(_socket, buffer, buf_len, 0);
  } while (received < 0 && errno == EINTR);
  return static_cast<int>(received);
}

int TavrinSocket::RecvBlock(char* buffer, int desired_len) {
  int total = 0;
  while (total < desired_len) {
    int received = Recv(buffer + total, desired_len - total);
    if (received <= 0) break;
    total += received;
  }
  return total;
}

int TavrinSocket::RecvBlock(char* buffer, int buflen, char* endstr) {
  return ReceiveText(buffer, buflen, endstr, -1);
}

int TavrinSocket::RecvBlock(char* buffer, int buflen, char* endstr, int millisec_timeout) {
  return ReceiveText(buffer, buflen, endstr, millisec_timeout < 0 ? 0 : millisec_timeout);
}

int TavrinSocket::ReceiveText(char* buffer, int buflen, char* endstr, int millisec_timeout) {
  using Clock = std::chrono::steady_clock;
  const bool timed = millisec_timeout >= 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(millisec_timeout);
  int endLength = static_cast<int>(std::strlen(endstr));
  int total = 0;
  buffer[0] = '\0';
  while (total < buflen) {
    if (timed) {
      int left = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
      if (left <= 0 || !Select(left)) {
        if (ErrorString == nullptr) Fail(kTimeoutError);
        break;
      }
    }
    int received = Recv(buffer + total, buflen - total);
    if (received <= 0) break;
    total += received;
    buffer[total] = '\0';
    if (total >= endLength && std::memcmp(buffer + total - endLength, endstr, endLength) == 0)
      break;
  }
  return total;
}

bool TavrinSocket::SetSendTimeout(int millisec_timeout) {
  timeval timeout;
  timeout.tv_sec = millisec_timeout / 1000;
  timeout.tv_usec = (millisec_timeout % 1000) * 1000;
  return _socket >= 0 &&
         setsockopt(_socket, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout)) == 0;
}

void TavrinSocket::Close() {
  if (_socket == -1) return;  // already closed, or never opened
  // A socket that never had a peer (a listening one) or whose peer has reset it has
  // nothing to shut down; only other failures are worth a message.
  if (shutdown(_socket, SHUT_RDWR) != 0 && errno != ENOTCONN) {
    int error = errno;
    ErrorString = kShutdownError;
    std::cerr << kShutdownError << error << std::endl;
  }
  close(_socket);
  _socket = -1;
}

const char* TavrinSocket::GetErrorString() { return ErrorString; }
