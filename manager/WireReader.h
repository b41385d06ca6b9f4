#ifndef TAVRIN_MANAGER_WIREREADER_H
#define TAVRIN_MANAGER_WIREREADER_H

#include <cstddef>
#include <string>

#include "output/WireCodec.h"

// WireReader: cuts the byte stream of one client into whole messages (acknowledgements,
// processor-time messages and data records) as they arrive in pieces, and checks each
// against what this client may send, so that garbage ends the client with a reason
// instead of being read as observations.
class WireReader {
 public:
  enum Kind { None, Ack, CPUTime, Data, Malformed };

  // clientId and experimentNumber are the numbers the client was started with.
  WireReader(int clientId, int experimentNumber, int maxVariables);

  void Append(const char* bytes, size_t size);
  // The next whole message, filling the matching member; None when more bytes are needed;
  // Malformed (for good) with the reason in Error().
  Kind Next();

  const Acknowledgement& LastAck() const { return _ack; }
  const CPUTimeMessage& LastCPUTime() const { return _cpu; }
  const DataRecord& LastRecord() const { return _record; }
  const std::string& Error() const { return _error; }
  size_t Buffered() const { return _buffer.size() - _start; }

  static const int MaxMessageLength = 64 * 1024 * 1024;

 private:
  Kind Fail(const std::string& reason);
  bool CheckRecord();

  int _clientByte;        // the client number as the wire carries it
  int _experimentShort;   // likewise the experiment number
  int _maxVariables;
  bool _registered = false;
  std::string _buffer;
  size_t _start = 0;      // bytes before this offset are consumed
  std::string _error;
  Acknowledgement _ack{0, 0, 0, 0};
  CPUTimeMessage _cpu{0, 0, 0, 0, 0.0};
  DataRecord _record;
};

#endif
