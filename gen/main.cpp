// tavrin_gen: turns a model file into the sources of its simulator.
//   tavrin_gen MODEL.toml -o DIR [-s FILE] [-d FILE]
// -s also writes the study description to FILE (the build puts it beside the simulator);
// -d writes a make-style dependency file naming the model file and every file it includes,
// so that the build regenerates when an included file changes.
// A faulty model file is reported as FILE:LINE:COLUMN: message, exit status 1, and nothing
// is written.

#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "Generator.h"
#include "ModelError.h"
#include "ModelReader.h"

namespace {

const char* const kUsage = "Usage: tavrin_gen MODEL.toml -o DIR [-s STUDY_JSON_COPY] [-d DEPFILE]\n";

// A path in a make rule: spaces and the characters make reads specially escaped.
std::string MakeEscaped(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#' || c == '\\') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string input, output, studyCopy, depFile;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "-o") == 0) {
      if (i + 1 >= argc) {
        std::cerr << "tavrin_gen: expect a folder after '-o'\n" << kUsage;
        return 1;
      }
      output = argv[++i];
    } else if (std::strcmp(argv[i], "-s") == 0) {
      if (i + 1 >= argc) {
        std::cerr << "tavrin_gen: expect a file name after '-s'\n" << kUsage;
        return 1;
      }
      studyCopy = argv[++i];
    } else if (std::strcmp(argv[i], "-d") == 0) {
      if (i + 1 >= argc) {
        std::cerr << "tavrin_gen: expect a file name after '-d'\n" << kUsage;
        return 1;
      }
      depFile = argv[++i];
    } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
      std::cout << kUsage;
      return 0;
    } else if (input.empty() && argv[i][0] != '-') {
      input = argv[i];
    } else {
      std::cerr << "tavrin_gen: unexpected argument '" << argv[i] << "'\n" << kUsage;
      return 1;
    }
  }
  if (input.empty() || output.empty()) {
    std::cerr << kUsage;
    return 1;
  }
  GeneratedFiles files;
  std::vector<std::string> readFiles;
  try {
    Model model = ReadModelFile(input);
    for (const ModelWarning& w : model.warnings)
      std::cerr << (w.file.empty() ? input : w.file) << ":" << w.pos.line << ":" << w.pos.column << ": warning: "
                << w.message << "\n";
    readFiles = model.includedFiles;
    files = GenerateModel(model);
  } catch (const ModelError& error) {
    if (error.Pos.line == 0) {
      std::cerr << "tavrin_gen: " << input << ": " << error.what() << "\n";
      return 1;
    }
    std::cerr << (error.File.empty() ? input : error.File) << ":" << error.Pos.line << ":" << error.Pos.column << ": " << error.what() << "\n";
    return 1;
  }
  // The build watches the all-sources file and the study description to know the
  // generation ran, so those two are written every time.
  std::map<std::string, bool> always = {{kAllSourcesFile, true}};
  for (const auto& [path, content] : files.Files) {
    (void)content;
    if (path.size() > 11 && path.compare(path.size() - 11, 11, ".study.json") == 0) always[path] = true;
  }
  std::string problem = files.WriteTo(output, always);
  if (problem.empty() && !studyCopy.empty()) {
    GeneratedFiles copy;
    for (const auto& [path, flag] : always)
      if (flag && path != kAllSourcesFile) copy.Add(std::filesystem::path(studyCopy).filename().string(), files.Files[path]);
    problem = copy.WriteTo(std::filesystem::path(studyCopy).parent_path().string(),
                           {{std::filesystem::path(studyCopy).filename().string(), true}});
  }
  if (problem.empty() && !depFile.empty()) {
    std::string rule = MakeEscaped((std::filesystem::path(output) / kAllSourcesFile).string()) + ":";
    rule += " " + MakeEscaped(input);
    for (const std::string& f : readFiles) rule += " " + MakeEscaped(f);
    GeneratedFiles dep;
    std::string name = std::filesystem::path(depFile).filename().string();
    dep.Add(name, rule + "\n");
    problem = dep.WriteTo(std::filesystem::path(depFile).parent_path().string(), {{name, true}});
  }
  if (!problem.empty()) {
    std::cerr << "tavrin_gen: " << problem << "\n";
    return 1;
  }
  return 0;
}
