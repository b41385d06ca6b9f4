#ifndef TAVRIN_PLATFORM_FILECONTENTS_H
#define TAVRIN_PLATFORM_FILECONTENTS_H

#include <string>

// Reads the whole file at path, byte for byte, into contents. A path that cannot be read
// (missing, a directory, no permission, an I/O error) gives false, with a message in error
// that begins with the path and ends with the system's reason:
// "PATH: cannot open: REASON" or "PATH: cannot read: REASON".
bool ReadFileContents(const std::string& path, std::string& contents, std::string& error);

#endif
