#ifndef TAVRIN_OUTPUT_WIRECODEC_H
#define TAVRIN_OUTPUT_WIRECODEC_H

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The messages a simulator sends to its manager and the binary result file share one
// big-endian layout. WireCodec writes and reads it, so the simulator, its tests and any
// manager or file reader agree on every byte.

// Acknowledgement: 10 bytes, the answer to the registration and to each known command.
struct Acknowledgement {
  int length;     // 10: the whole message
  int status;     // -1, or -2 when answering the quit command
  int code;       // the command answered; 1 for the registration
  int processId;
};

// Processor-time message: 16 bytes sent before each data record.
struct CPUTimeMessage {
  int length;            // 12: the bytes after the length field
  int marker;            // -2
  int clientId;          // low 8 bits of the client number
  int experimentNumber;  // low 16 bits of the experiment number
  double seconds;
};

// One row of a data record: the observations of one variable.
struct DataSection {
  int variable;  // index in the reward model's list of variables
  int kind;      // 1 observations, 2 squared observations
  std::vector<double> observations;
};

// Data record: one report, as sent to the manager and appended to the binary file.
struct DataRecord {
  int length;            // the whole record, 9 + 7 per section + 8 per double
  int clientId;          // low 8 bits, as a signed byte
  int experimentNumber;  // low 16 bits, as a signed 16-bit value
  std::vector<DataSection> sections;
};

// Binary file header: 256 bytes of comma-separated text padded with zero bytes.
struct BinFileHeader {
  std::string text;        // up to the first zero byte
  std::string headerSize;  // the item after the file mark, "256"
  std::vector<std::pair<std::string, std::string>> fields;  // "NAME=value" items, in order
};

class WireCodec {
 public:
  static const int AcknowledgementSize = 10;
  static const int CPUTimeMessageSize = 16;
  static const int RecordFixedSize = 9;   // length, client, experiment, section count
  static const int SectionFixedSize = 7;  // variable, kind, count
  static const int BinFileHeaderSize = 256;
  static const unsigned int DefaultSeed = 31415;  // written when the seed is 0
  static const char* const VersionText;           // "Version 2.5"
  // The manager link's port: a simulator tries this many from the one it is given (-p),
  // and says NoFreePortText when every one is taken, which the manager looks for.
  static const int PortsTried = 100;
  static const char* const NoFreePortText;        // "ERROR: Unable to bind a port"

  static void PutInt32(char* out, int value);
  static void PutInt16(char* out, short value);
  static void PutDouble(char* out, double value);
  static int GetInt32(const char* in);
  static short GetInt16(const char* in);
  static double GetDouble(const char* in);

  static std::string EncodeAcknowledgement(int status, int code, int processId);
  static std::string EncodeCPUTime(int clientId, int experimentNumber, double seconds);
  static int RecordLength(int numSections, int numDoubles);
  static std::string BuildBinFileHeader(int fileVersion, unsigned int experimentNumber,
                                        unsigned int seed, const std::string& generatorName,
                                        int batches);

  // Each decoder reads one item from the start of bytes; on failure it leaves the reason
  // in error and returns false. size is the number of bytes available.
  static bool DecodeAcknowledgement(const char* bytes, size_t size, Acknowledgement& out,
                                    std::string& error);
  static bool DecodeCPUTime(const char* bytes, size_t size, CPUTimeMessage& out,
                            std::string& error);
  static bool DecodeDataRecord(const char* bytes, size_t size, DataRecord& out,
                               std::string& error);
  static bool DecodeBinFileHeader(const char* bytes, size_t size, BinFileHeader& out,
                                  std::string& error);
  // Whether the size bytes left hold the start of one record cut short, as a writer killed
  // in the middle of a record leaves a file: fewer bytes than the length it gives (or than
  // the length field itself), with every section header they hold of kind 1 and fitting that
  // length, and, when all of them are there, filling it exactly. A length that runs past
  // the end further than that explains is corruption, not a cut.
  static bool RecordIsCut(const char* bytes, size_t size);

  // What the bytes at a record's place in a result file hold.
  enum FileRecord {
    WholeRecord,    // a record of observations sections, decoded into out
    CutRecord,      // the start of one record cut short (RecordIsCut): the file ends there
    CorruptRecord,  // anything else: error says what is wrong
  };
  // Reads the record at the start of the size bytes left in a result file.
  static FileRecord ReadFileRecord(const char* bytes, size_t size, DataRecord& out,
                                   std::string& error);
  // Whether every section of a decoded record holds observations (kind 1) of a variable
  // index of 0 or more. The layout has room for squares sections (kind 2), but no simulator
  // writes them: one in a file or a message means it was damaged or written by something
  // else, and its numbers cannot be taken for observations.
  static bool CheckObservationSections(const DataRecord& record, std::string& error);
};

#endif
