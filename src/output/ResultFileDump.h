#ifndef TAVRIN_OUTPUT_RESULTFILEDUMP_H
#define TAVRIN_OUTPUT_RESULTFILEDUMP_H

#include <ostream>
#include <string>

// ResultFileDump: shows a binary result file as text: its header fields, one per line, then
// one line "variable,kind,observation" for every observation of every record.
class ResultFileDump {
 public:
  // contents is the whole file; name appears in error messages. Returns 0 when the file
  // was read to its end, 1 (after a message on err) when it is truncated or malformed.
  static int Dump(const std::string& contents, const std::string& name, std::ostream& out,
                  std::ostream& err);
  // Reads the file at path and dumps it; a file that cannot be read is named, with the
  // system's reason, and gives 1.
  static int DumpFile(const std::string& path, std::ostream& out, std::ostream& err);
};

#endif
