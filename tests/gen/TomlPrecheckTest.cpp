#include "TomlPrecheck.h"

#include <gtest/gtest.h>

#include <string>

#include "ModelError.h"
#include "ModelReader.h"

// The text the TOML parser would fail on without a report is refused before it is parsed,
// at its place; well-formed TOML passes whatever it holds in strings and comments.

namespace {

SourcePos RefusedAt(const std::string& text) {
  try {
    PrecheckTomlText(text);
  } catch (const ModelError& error) {
    return error.Pos;
  }
  ADD_FAILURE() << "accepted:\n" << text;
  return {};
}

}  // namespace

TEST(TomlPrecheck, RefusesCharactersBeyondAsciiOutsideStringsAndComments) {
  SourcePos key = RefusedAt("x = 1\ncaf\xC3\xA9 = 2\n");
  EXPECT_EQ(key.line, 2);
  EXPECT_EQ(key.column, 4);
  SourcePos value = RefusedAt("x = [1, \xC3\xA9]\n");   // columns count characters, not bytes
  EXPECT_EQ(value.line, 1);
  EXPECT_EQ(value.column, 9);
  SourcePos afterString = RefusedAt("\"a\"\xC3\xA9 = 1\n");
  EXPECT_EQ(afterString.column, 4);
  SourcePos afterEscapedQuote = RefusedAt("x = \"a\\\"\" \xC3\xA9\n");
  EXPECT_EQ(afterEscapedQuote.column, 11);
}

TEST(TomlPrecheck, RefusesATableHeaderThatDoesNotBeginWithAName) {
  SourcePos table = RefusedAt("x = 1\n[#study]\n");
  EXPECT_EQ(table.line, 2);
  EXPECT_EQ(table.column, 2);
  SourcePos arrayOfTables = RefusedAt("  [[ \t#experiment]]\n");
  EXPECT_EQ(arrayOfTables.line, 1);
  EXPECT_EQ(arrayOfTables.column, 7);
  EXPECT_EQ(RefusedAt("[\n").column, 2);
  EXPECT_EQ(RefusedAt("[[.a]]\n").column, 3);
  EXPECT_EQ(RefusedAt("[=]\n").column, 2);
}

TEST(TomlPrecheck, AcceptsAnyCharacterInStringsAndCommentsAndCommentsInsideArrays) {
  const std::string text =
      "\xEF\xBB\xBF# caf\xC3\xA9, na\xC3\xAFve\n"
      "a = \"caf\xC3\xA9 \\\" \xC3\xA9\"\n"
      "b = 'caf\xC3\xA9'\n"
      "c = \"\"\"\n\xC3\xA9 \\\"\"\" \xC3\xA9\n\"\"\"\n"
      "d = '''\n\xC3\xA9 ''\n''''\n"
      "e = [\n  [ # a comment after the bracket of a nested array\n    1 ],\n]\n"
      "f = { g = [ # here too\n ] }\n"
      "[table] # caf\xC3\xA9\n"
      "[[list]]\n";
  EXPECT_NO_THROW(PrecheckTomlText(text));
}

TEST(TomlPrecheck, ModelFileFaultsAreReportedWhereTheyAre) {
  try {
    ReadModelText("model = \"Q\"\n[#places]\n", "m.toml");
    ADD_FAILURE() << "accepted";
  } catch (const ModelError& error) {
    EXPECT_EQ(error.Pos.line, 2);
    EXPECT_NE(std::string(error.what()).find("table header"), std::string::npos) << error.what();
  }
}
