#ifndef TAVRIN_STATS_RESULTFILEREADER_H
#define TAVRIN_STATS_RESULTFILEREADER_H

#include <string>

#include "ResultFile.h"

// ResultFileReader: reads an ASCII or a binary result file, telling the two apart by their
// first bytes. It refuses a malformed file, and takes every whole observation of one cut
// short or whose batch count differs from its observations (a run killed or stopped by its
// manager), saying so in the file's warnings, so that statistics are never computed from
// part of a run without the user knowing.
class ResultFileReader {
 public:
  static const char* const AsciiMark;    // "#TAVRIN_SIM_ASCII_FILE,"
  static const char* const BinaryMark;   // "TAVRIN_SIM_BIN_FILE,"

  // Each returns 0 with out filled, or 1 with a message in error that begins with the
  // file's name. Read opens the file at path; Parse takes its whole contents.
  static int Read(const std::string& path, ResultFile& out, std::string& error);
  static int Parse(const std::string& contents, const std::string& name, ResultFile& out,
                   std::string& error);

 private:
  static int ParseAscii(const std::string& contents, ResultFile& out, std::string& error);
  static int ParseBinary(const std::string& contents, ResultFile& out, std::string& error);
  static void CheckBatchCounts(ResultFile& file);
};

#endif
