#ifndef TAVRIN_GEN_GENERATEDFILES_H
#define TAVRIN_GEN_GENERATEDFILES_H

#include <map>
#include <string>
#include <utility>

// GeneratedFiles: every file of one generation, path (relative to the output folder) to
// content, kept in memory until all of them are made, so a failure writes nothing.
class GeneratedFiles {
 public:
  void Add(const std::string& path, const std::string& content) { Files[path] = content; }

  // Writes every file under dir, creating folders. A file whose content is unchanged is
  // left alone (so the build recompiles only what changed), except those in alwaysWrite,
  // whose time the build uses to know the generation ran. Returns an empty string, or
  // what went wrong.
  std::string WriteTo(const std::string& dir, const std::map<std::string, bool>& alwaysWrite) const;

  std::map<std::string, std::string> Files;
};

// CodeWriter: builds one generated file and counts its lines, so that after a piece of
// the model file placed under `#line N "model.toml"` it can return the compiler to the
// generated file's own numbering.
class CodeWriter {
 public:
  explicit CodeWriter(std::string fileName) : fileName_(std::move(fileName)) {}

  CodeWriter& operator<<(const std::string& text);
  CodeWriter& operator<<(const char* text) { return *this << std::string(text); }
  CodeWriter& operator<<(int number) { return *this << std::to_string(number); }

  // Writes code (one line or several) as coming from line `line` of modelFile, then
  // returns to this file's numbering. The code starts on its own line.
  void Piece(const std::string& modelFile, int line, const std::string& code);

  const std::string& Text() const { return text_; }

 private:
  std::string fileName_;
  std::string text_;
  int lines_ = 0;   // line breaks written so far
};

#endif
