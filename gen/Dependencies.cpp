#include "Dependencies.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Skips a quoted literal starting at text[i] (the quote); returns the index after it.
size_t SkipLiteral(const std::string& text, size_t i) {
  char quote = text[i];
  for (i++; i < text.size(); i++) {
    if (text[i] == '\\') {
      i++;
      continue;
    }
    if (text[i] == quote) return i + 1;
  }
  return i;
}

// Adds name to list unless it is already there.
void AddOnce(std::vector<std::string>& list, const std::string& name) {
  if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

class PlaceFinder {
 public:
  explicit PlaceFinder(const Model& model) {
    for (const PlaceDef& p : model.places) places_.insert(p.name);
  }
  // Appends to list the places the code names.
  void Add(std::vector<std::string>& list, const Code& code) const {
    if (!code.present) return;
    for (const std::string& id : IdentifiersIn(code.text))
      if (places_.count(id) != 0) AddOnce(list, id);
  }

 private:
  std::set<std::string> places_;
};

}  // namespace

std::vector<std::string> IdentifiersIn(const std::string& code) {
  std::vector<std::string> found;
  size_t i = 0;
  while (i < code.size()) {
    char c = code[i];
    if (c == '/' && i + 1 < code.size() && code[i + 1] == '/') {
      while (i < code.size() && code[i] != '\n') i++;
    } else if (c == '/' && i + 1 < code.size() && code[i + 1] == '*') {
      size_t end = code.find("*/", i + 2);
      i = end == std::string::npos ? code.size() : end + 2;
    } else if (c == '"' || c == '\'') {
      i = SkipLiteral(code, i);
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      // A number, its suffixes and exponent included (1e5, 2.5f, 0x1F).
      while (i < code.size() && (IsIdentifierChar(code[i]) || code[i] == '.')) i++;
    } else if (IsIdentifierStart(c)) {
      size_t start = i;
      while (i < code.size() && IsIdentifierChar(code[i])) i++;
      AddOnce(found, code.substr(start, i - start));
    } else {
      i++;
    }
  }
  return found;
}

void DeriveDependencies(Model& model) {
  PlaceFinder finder(model);
  for (ActivityDef& a : model.activities) {
    a.enablingPlaces.clear();
    a.affectedPlaces.clear();
    a.linkedPlaces.clear();
    for (const Arc& arc : a.input) AddOnce(a.enablingPlaces, arc.place);
    finder.Add(a.enablingPlaces, a.enabled);
    finder.Add(a.enablingPlaces, a.reactivationPredicate);
    finder.Add(a.enablingPlaces, a.reactivationFunction);
    for (const Code& p : a.parameters) finder.Add(a.enablingPlaces, p);
    finder.Add(a.enablingPlaces, a.rank);
    finder.Add(a.enablingPlaces, a.weight);
    for (const Case& c : a.cases) finder.Add(a.enablingPlaces, c.probability);
    for (const std::string& p : a.reads) AddOnce(a.enablingPlaces, p);

    for (const Arc& arc : a.input) AddOnce(a.affectedPlaces, arc.place);
    for (const Arc& arc : a.output) AddOnce(a.affectedPlaces, arc.place);
    finder.Add(a.affectedPlaces, a.fire);
    for (const Case& c : a.cases) {
      for (const Arc& arc : c.output) AddOnce(a.affectedPlaces, arc.place);
      finder.Add(a.affectedPlaces, c.fire);
    }
    for (const std::string& p : a.changes) AddOnce(a.affectedPlaces, p);

    // The linked places follow the model's place order, so the generated members do too.
    for (const PlaceDef& p : model.places) {
      bool used = std::find(a.enablingPlaces.begin(), a.enablingPlaces.end(), p.name) !=
                      a.enablingPlaces.end() ||
                  std::find(a.affectedPlaces.begin(), a.affectedPlaces.end(), p.name) !=
                      a.affectedPlaces.end();
      if (used) a.linkedPlaces.push_back(p.name);
    }
  }
  for (RewardDef& r : model.rewards) {
    r.ratePlaces.clear();
    finder.Add(r.ratePlaces, r.rate);
  }
}
