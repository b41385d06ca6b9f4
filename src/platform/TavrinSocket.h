#ifndef TAVRIN_PLATFORM_TAVRINSOCKET_H
#define TAVRIN_PLATFORM_TAVRINSOCKET_H

// TavrinSocket: one blocking IPv4 TCP socket, listening or connected. Failures are
// reported on the standard error and kept as the last error text; no operation throws.
class TavrinSocket {
 public:
  explicit TavrinSocket(bool openFD);
  ~TavrinSocket();
  TavrinSocket(const TavrinSocket&) = delete;
  TavrinSocket& operator=(const TavrinSocket&) = delete;

  static bool InitializeSocketLibrary();

  bool Bind(int port);                  // all local IPv4 addresses; an address in use is silent
  bool Bind(int port, const char* address);  // one IPv4 address, dotted ("127.0.0.1")
  // A send that makes no progress for this long fails, as a broken connection does.
  bool SetSendTimeout(int millisec_timeout);
  // Lets a listening socket bind a port that connections of an earlier run still hold in
  // TIME_WAIT; a port another socket listens on stays refused.
  bool SetReuseAddress();
  // A port some other socket started listening on since this one bound it fails quietly,
  // as a port in use does in Bind.
  bool Listen(int queueSize);
  bool Accept(TavrinSocket& retSocket); // retSocket gets the new connection, or -1
  bool Connect(char* hostname, int port);
  bool Select(int millisec_timeout);    // true when readable before the time-out
  int Send(char* str, int strlen);      // the whole block, or 0 or less on failure
  int Recv(char* buffer, int buf_len);  // one receive: 0 when the peer closed, < 0 on failure
  int RecvBlock(char* buffer, int desired_len);
  int RecvBlock(char* buffer, int buflen, char* endstr);  // buffer holds buflen + 1 bytes
  // As above, but gives up when the text has not ended within millisec_timeout in all;
  // a text cut by the time-out leaves an error text, like a failed receive.
  int RecvBlock(char* buffer, int buflen, char* endstr, int millisec_timeout);
  void Close();
  const char* GetErrorString();

 private:
  void Fail(const char* text);  // keeps text as the error text and prints it
  // Receives until the text ends in endstr, buflen bytes arrive or the peer stops; with a
  // time-out (0 or more milliseconds in all), also until it runs out.
  int ReceiveText(char* buffer, int buflen, char* endstr, int millisec_timeout);

  int _socket;               // the descriptor; -1 when there is none
  const char* ErrorString;   // null until an operation fails
};

#endif
