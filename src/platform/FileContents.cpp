#include "platform/FileContents.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ReadFileContents(const std::string& path, std::string& contents, std::string& error) {
  contents.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  // A directory opens, and fails at its first read.
  char buffer[65536];
  errno = 0;
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) contents.append(buffer, got);
  int reason = errno;
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    error = path + ": cannot read: " + std::strerror(reason);
    contents.clear();
    return false;
  }
  return true;
}
