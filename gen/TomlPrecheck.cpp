#include "TomlPrecheck.h"

#include <cstring>

#include "ModelError.h"

namespace {

// A position in the text, counted as the parser counts it: lines from 1, and columns from
// 1 in characters, so a character of several UTF-8 bytes takes one column.
class Cursor {
 public:
  explicit Cursor(const std::string& text) : text_(text) {}

  bool Done() const { return at_ >= text_.size(); }
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  bool StartsWith(const char* prefix) const {
    return text_.compare(at_, std::strlen(prefix), prefix) == 0;
  }
  SourcePos Pos() const { return {line_, column_}; }
  void Advance() {
    unsigned char c = static_cast<unsigned char>(text_[at_++]);
    if (c == '\n') {
      line_++;
      column_ = 1;
    } else if ((c & 0xC0) != 0x80) {
      column_++;
    }
  }
  void Skip(int count) {
    for (int i = 0; i < count && !Done(); i++) Advance();
  }
  void SkipBytes(std::size_t count) { at_ += count; }   // bytes that take no column

 private:
  const std::string& text_;
  std::size_t at_ = 0;
  int line_ = 1;
  int column_ = 1;
};

// A multi-line string ends at its first unescaped triple quote, which may be followed by up
// to two more quotes belonging to the content.
void SkipMultiLineString(Cursor& c, char quote) {
  const char closing[] = {quote, quote, quote, '\0'};
  c.Skip(3);
  while (!c.Done()) {
    if (quote == '"' && c.Peek() == '\\') {
      c.Skip(2);
    } else if (c.StartsWith(closing)) {
      c.Skip(3);
      for (int extra = 0; extra < 2 && c.Peek() == quote; extra++) c.Advance();
      return;
    } else {
      c.Advance();
    }
  }
}

// A one-line string ends at its closing quote or, unterminated, at the line's end, which
// the parser then reports.
void SkipString(Cursor& c) {
  char quote = c.Peek();
  if (c.StartsWith(quote == '"' ? "\"\"\"" : "'''")) return SkipMultiLineString(c, quote);
  c.Advance();
  while (!c.Done() && c.Peek() != '\n') {
    if (quote == '"' && c.Peek() == '\\') {
      c.Skip(2);
      continue;
    }
    char ch = c.Peek();
    c.Advance();
    if (ch == quote) return;
  }
}

// What may follow a header's opening bracket for toml++ to parse it or report it: the
// start of a bare or quoted key, or the closing bracket of a header with no name.
bool StartsAHeaderName(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == '"' || c == '\'' || c == ']';
}

}  // namespace

// Brackets and braces are counted outside strings and comments, so that a line beginning
// with '[' inside a value spread over lines (a nested array, where a comment may follow
// the bracket) is not taken for a table header.
void PrecheckTomlText(const std::string& text) {
  Cursor c(text);
  if (c.StartsWith("\xEF\xBB\xBF")) c.SkipBytes(3);   // a byte order mark, which toml++ skips
  int depth = 0;
  bool lineStart = true;
  while (!c.Done()) {
    char ch = c.Peek();
    if (ch == '\n') {
      c.Advance();
      lineStart = true;
    } else if (ch == ' ' || ch == '\t' || ch == '\r') {
      c.Advance();
    } else if (ch == '#') {
      while (!c.Done() && c.Peek() != '\n') c.Advance();
    } else if (ch == '"' || ch == '\'') {
      SkipString(c);
      lineStart = false;
    } else if (static_cast<unsigned char>(ch) >= 0x80) {
      throw ModelError(c.Pos(), "a character beyond ASCII outside a string or a comment (TOML allows such "
                                "characters only in strings and comments)");
    } else if (ch == '[' && lineStart && depth == 0) {
      c.Advance();
      if (c.Peek() == '[') c.Advance();
      while (c.Peek() == ' ' || c.Peek() == '\t') c.Advance();
      if (!c.Done() && !StartsAHeaderName(c.Peek()))
        throw ModelError(c.Pos(), "a table header must begin with a name, a bare key or a quoted one");
      lineStart = false;
    } else {
      if (ch == '[' || ch == '{') depth++;
      if ((ch == ']' || ch == '}') && depth > 0) depth--;
      c.Advance();
      lineStart = false;
    }
  }
}
