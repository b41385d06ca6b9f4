// tavrin_dump FILE: prints a binary result file's header fields and its observations.

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "output/ResultFileDump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tavrin_dump FILE" << std::endl;
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file.is_open()) {
    std::cerr << "tavrin_dump: cannot open " << argv[1] << std::endl;
    return 1;
  }
  std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return ResultFileDump::Dump(contents, argv[1], std::cout, std::cerr);
}
