#include "GeneratedFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Format.h"

std::string GeneratedFiles::WriteTo(const std::string& dir,
                                    const std::map<std::string, bool>& alwaysWrite) const {
  namespace fs = std::filesystem;
  for (const auto& [path, content] : Files) {
    fs::path target = fs::path(dir) / path;
    std::error_code error;
    if (!target.parent_path().empty()) fs::create_directories(target.parent_path(), error);
    if (error) return "cannot create folder " + target.parent_path().string() + ": " + error.message();
    if (alwaysWrite.count(path) == 0) {
      std::ifstream old(target, std::ios::binary);
      if (old) {
        std::ostringstream existing;
        existing << old.rdbuf();
        if (existing.str() == content) continue;
      }
    }
    // Written beside the target and renamed, so an interrupted write leaves no half file.
    fs::path temporary = target;
    temporary += ".tmp";
    {
      errno = 0;
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out << content;
      out.close();
      if (!out) {
        // The reason (a full disk, a folder in the way) is what the modeller needs to know.
        std::string reason = errno != 0 ? std::strerror(errno) : "the write failed";
        if (fs::is_regular_file(temporary, error)) fs::remove(temporary, error);
        return "cannot write " + temporary.string() + ": " + reason;
      }
    }
    fs::rename(temporary, target, error);
    if (error) return "cannot write " + target.string() + ": " + error.message();
  }
  return "";
}

CodeWriter& CodeWriter::operator<<(const std::string& text) {
  for (char c : text)
    if (c == '\n') lines_++;
  text_ += text;
  return *this;
}

void CodeWriter::Piece(const std::string& modelFile, int line, const std::string& code) {
  if (!text_.empty() && text_.back() != '\n') *this << "\n";
  *this << "#line " << line << " " << QuotedString(modelFile) << "\n";
  std::string body = code;
  while (!body.empty() && (body.back() == '\n' || body.back() == ' ' || body.back() == '\r'))
    body.pop_back();
  *this << body << "\n";
  // The line after the directive is line lines_ + 2 of this file.
  *this << "#line " << (lines_ + 2) << " " << QuotedString(fileName_) << "\n";
}
