#include "WireReader.h"

WireReader::WireReader(int clientId, int experimentNumber, int maxVariables)
    : _clientByte(static_cast<signed char>(clientId & 0xFF)),
      _experimentShort(static_cast<short>(experimentNumber & 0xFFFF)),
      _maxVariables(maxVariables) {}

void WireReader::Append(const char* bytes, size_t size) {
  // Consumed bytes are dropped only now and then, so a steady stream is not copied twice.
  if (_start > 0 && _start * 2 > _buffer.size()) {
    _buffer.erase(0, _start);
    _start = 0;
  }
  _buffer.append(bytes, size);
}

WireReader::Kind WireReader::Fail(const std::string& reason) {
  if (_error.empty()) _error = reason;
  return Malformed;
}

WireReader::Kind WireReader::Next() {
  if (!_error.empty()) return Malformed;
  size_t available = Buffered();
  if (available < 5) return None;
  const char* at = _buffer.data() + _start;
  int length = WireCodec::GetInt32(at);
  int marker = static_cast<signed char>(at[4]);
  if (length < WireCodec::RecordFixedSize || length > MaxMessageLength)
    return Fail("a message of length " + std::to_string(length));
  // The processor-time message alone counts only the bytes after its length field.
  size_t whole = (length == WireCodec::CPUTimeMessageSize - 4 && marker == -2)
                     ? WireCodec::CPUTimeMessageSize
                     : static_cast<size_t>(length);
  if (available < whole) return None;
  std::string error;
  Kind kind;
  if (length == WireCodec::AcknowledgementSize && (marker == -1 || marker == -2)) {
    if (!WireCodec::DecodeAcknowledgement(at, whole, _ack, error)) return Fail(error);
    _registered = true;
    kind = Ack;
  } else if (!_registered) {
    return Fail("the first message is not the registration acknowledgement");
  } else if (whole == static_cast<size_t>(WireCodec::CPUTimeMessageSize)) {
    if (!WireCodec::DecodeCPUTime(at, whole, _cpu, error)) return Fail(error);
    if (_cpu.clientId != _clientByte || _cpu.experimentNumber != _experimentShort)
      return Fail("a processor-time message of another client or experiment");
    kind = CPUTime;
  } else {
    if (!WireCodec::DecodeDataRecord(at, whole, _record, error)) return Fail(error);
    if (!CheckRecord()) return Malformed;
    kind = Data;
  }
  _start += whole;
  return kind;
}

bool WireReader::CheckRecord() {
  if (_record.clientId != _clientByte || _record.experimentNumber != _experimentShort) {
    Fail("a data record of client " + std::to_string(_record.clientId) + ", experiment " +
         std::to_string(_record.experimentNumber));
    return false;
  }
  for (const DataSection& s : _record.sections) {
    if (s.kind != 1 || s.variable < 0 || s.variable >= _maxVariables) {
      Fail("a data section of kind " + std::to_string(s.kind) + " for variable " +
           std::to_string(s.variable));
      return false;
    }
  }
  return true;
}
