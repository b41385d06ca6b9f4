#ifndef TAVRIN_TESTS_E2E_PROCESSRUNNER_H
#define TAVRIN_TESTS_E2E_PROCESSRUNNER_H

#include <string>
#include <sys/types.h>
#include <vector>

// What one run of a program left behind.
struct ProcessResult {
  std::string out;
  std::string err;
  int exitCode = -1;      // -1 when the program did not exit normally
};

// Runs a program of build/bin with the given words, in the given working directory, with
// extra environment settings ("NAME=value"; "NAME=" alone removes NAME), and collects its
// standard output, standard error and exit code.
ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir = "",
                         const std::vector<std::string>& env = {},
                         long fileSizeLimit = -1);
// fileSizeLimit: when 0 or more, no file the program writes may grow beyond that many
// bytes (a write past it fails as on a full file system; the signal it raises is ignored).

// The absolute path of a program in build/bin; an absolute path is kept as it is.
std::string BinPath(const std::string& program);

// A fresh empty directory for one test's files.
std::string MakeTempDir();

std::string ReadFile(const std::string& path);

#endif
