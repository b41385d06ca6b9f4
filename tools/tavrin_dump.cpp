// tavrin_dump FILE: prints a binary result file's header fields and its observations.

#include <exception>
#include <iostream>

#include "output/ResultFileDump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tavrin_dump FILE" << std::endl;
    return 2;
  }
  // Whatever goes wrong (a file too large for memory, say) ends with a message, not an abort.
  try {
    int status = ResultFileDump::DumpFile(argv[1], std::cout, std::cerr);
    if (!std::cout) {
      std::cerr << "tavrin_dump: cannot write to the standard output" << std::endl;
      return 1;
    }
    return status;
  } catch (const std::exception& failure) {
    std::cerr << "tavrin_dump: " << failure.what() << std::endl;
    return 1;
  }
}
