// A stand-in for a simulator, for the manager's fault tests. It takes the simulator's
// options (-c, -e, -p, -s, -n and the rest), and behaves by TAVRIN_STANDIN_MODE:
//   good     listens, announces, registers, sends reports of uniform(0,1) draws until quit;
//   die      like good for two reports, then kills itself with SIGKILL;
//   garbage  registers, then sends bytes that are no message;
//   silent   never announces its port;
//   mute     registers, then sends nothing;
//   reject   writes a parse error and exits with status 1, as a simulator given bad options.
// Only the first TAVRIN_STANDIN_FAULTY client numbers (default: all) misbehave; the others
// are good, so a replacement client can take a faulty one's place.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "output/WireCodec.h"

namespace {

struct Args {
  int client = 0;
  int experiment = 0;
  int port = 10000;
  unsigned seed = 1;
  int reportSize = 100;
};

Args Parse(int argc, char** argv) {
  Args a;
  for (int i = 1; i + 1 < argc; i++) {
    std::string w = argv[i];
    if (w == "-c") a.client = std::atoi(argv[++i]);
    else if (w == "-e") a.experiment = std::atoi(argv[++i]);
    else if (w == "-p") a.port = std::atoi(argv[++i]);
    else if (w == "-s") a.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    else if (w == "-n") a.reportSize = std::atoi(argv[++i]);
  }
  return a;
}

void SendAll(int fd, const std::string& bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    ssize_t n = send(fd, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
    if (n <= 0) std::exit(0);
    at += static_cast<size_t>(n);
  }
}

std::string Record(const Args& a, std::mt19937& random, int count) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  std::string bytes(static_cast<size_t>(WireCodec::RecordLength(1, count)), '\0');
  WireCodec::PutInt32(&bytes[0], static_cast<int>(bytes.size()));
  bytes[4] = static_cast<char>(a.client);
  WireCodec::PutInt16(&bytes[5], static_cast<short>(a.experiment));
  WireCodec::PutInt16(&bytes[7], 1);
  WireCodec::PutInt16(&bytes[9], 0);
  bytes[11] = 1;
  WireCodec::PutInt32(&bytes[12], count);
  for (int i = 0; i < count; i++) WireCodec::PutDouble(&bytes[16 + 8 * i], uniform(random));
  return bytes;
}

// A fresh socket for every port tried: a socket whose bind worked but whose listen failed
// (another process listening first) stays bound and cannot try the next port.
int Listen(int& port) {
  for (int tried = 0; tried < 100; tried++, port++) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd, 10) == 0)
      return fd;
    close(fd);
  }
  std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  Args a = Parse(argc, argv);
  const char* modeText = std::getenv("TAVRIN_STANDIN_MODE");
  const char* faultyText = std::getenv("TAVRIN_STANDIN_FAULTY");
  std::string mode = modeText != nullptr ? modeText : "good";
  if (faultyText != nullptr && a.client >= std::atoi(faultyText)) mode = "good";
  if (mode == "reject") {
    std::fprintf(stderr, "ERROR: Unrecognized Command Line option: -Z\nERROR: Parsing command line options\n");
    return 1;
  }
  if (mode == "silent") {
    for (;;) pause();
  }
  int listener = Listen(a.port);
  std::printf("REGISTER:  Port: [%d]\n", a.port);
  std::fflush(stdout);
  int link = accept(listener, nullptr, nullptr);
  if (link < 0) return 1;
  SendAll(link, WireCodec::EncodeAcknowledgement(-1, 1, getpid()));
  if (mode == "garbage") {
    SendAll(link, "this is no message from a simulator, only text");
    for (;;) pause();
  }
  if (mode == "mute") {
    for (;;) pause();
  }
  std::mt19937 random(a.seed);
  double seconds = 0.0;
  for (int report = 0;; report++) {
    if (mode == "die" && report == 2) raise(SIGKILL);
    pollfd p{link, POLLIN, 0};
    if (poll(&p, 1, 0) > 0) {
      char command = 0;
      if (recv(link, &command, 1, 0) <= 0) return 0;
      if (command == 2) {
        SendAll(link, WireCodec::EncodeAcknowledgement(-2, 2, getpid()));
        return 0;
      }
    }
    seconds += 0.01;
    SendAll(link, WireCodec::EncodeCPUTime(a.client, a.experiment, seconds));
    SendAll(link, Record(a, random, a.reportSize));
    usleep(5000);
  }
}
