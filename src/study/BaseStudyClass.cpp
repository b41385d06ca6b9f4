#include "study/BaseStudyClass.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "framework/Errors.h"

BaseStudyClass* GlobalStudyPtr = nullptr;

namespace {

char* CopyString(const char* text) {
  char* copy = strdup(text);
  if (copy == nullptr) MemoryAllocationError();
  return copy;
}

// Splits like strtok with ':' as the only delimiter: runs of colons are one separator, so
// empty fields never appear. Unlike strtok it keeps its position in the caller's cursor.
char* NextToken(char*& cursor) {
  while (*cursor == ':') cursor++;
  if (*cursor == '\0') return nullptr;
  char* token = cursor;
  while (*cursor != '\0' && *cursor != ':') cursor++;
  if (*cursor == ':') *cursor++ = '\0';
  return token;
}

enum class Override { Applied, UnknownLetter, BadValue };

// Whether a scan read a number that is the whole token: "0,5" or "2.5x" would otherwise set
// 0 or 2.5 without a word.
bool Whole(int converted, const char* value, int used) {
  return converted == 1 && used >= 0 && value[used] == '\0';
}

// An integer written as the whole token (decimal, octal with a leading 0, hexadecimal with
// 0x, as "%i" reads them) that the type can hold: 99999999999 for an int would otherwise
// be stored as whatever the conversion leaves.
bool WholeInteger(const char* value, long long low, long long high, long long& out) {
  errno = 0;
  char* end = nullptr;
  out = std::strtoll(value, &end, 0);
  return end != value && *end == '\0' && errno != ERANGE && out >= low && out <= high;
}

// Parses value by the type letter and hands it to the study. A value that does not parse is
// not applied: the variable keeps its value rather than receiving an undefined one.
Override ApplyOverride(BaseStudyClass* study, char letter, char* name, const char* value) {
  int used = -1;
  switch (letter) {
    case 'b': {
      long long raw;
      if (!WholeInteger(value, SHRT_MIN, SHRT_MAX, raw)) return Override::BadValue;
      bool flag = raw != 0;
      study->OverrideGVValue(name, &flag);
      return Override::Applied;
    }
    case 'c': {
      char c;
      if (std::sscanf(value, "%c", &c) != 1) return Override::BadValue;
      study->OverrideGVValue(name, &c);
      return Override::Applied;
    }
    case 'd': {
      double d;
      int converted = std::sscanf(value, "%lf%n", &d, &used);
      if (!Whole(converted, value, used)) return Override::BadValue;
      study->OverrideGVValue(name, &d);
      return Override::Applied;
    }
    case 'f': {
      float f;
      int converted = std::sscanf(value, "%f%n", &f, &used);
      if (!Whole(converted, value, used)) return Override::BadValue;
      study->OverrideGVValue(name, &f);
      return Override::Applied;
    }
    case 'i': {
      long long whole;
      if (!WholeInteger(value, INT_MIN, INT_MAX, whole)) return Override::BadValue;
      int i = static_cast<int>(whole);
      study->OverrideGVValue(name, &i);
      return Override::Applied;
    }
    case 'l': {
      // A study variable of type "long" has the platform's long, so that is what is passed.
      long long whole;
      if (!WholeInteger(value, LONG_MIN, LONG_MAX, whole)) return Override::BadValue;
      long l = static_cast<long>(whole);
      study->OverrideGVValue(name, &l);
      return Override::Applied;
    }
    case 's': {
      long long whole;
      if (!WholeInteger(value, SHRT_MIN, SHRT_MAX, whole)) return Override::BadValue;
      short s = static_cast<short>(whole);
      study->OverrideGVValue(name, &s);
      return Override::Applied;
    }
    default:
      return Override::UnknownLetter;
  }
}

// The C type a known letter parses its value into; null for an unknown letter.
const char* TypeOfLetter(char letter) {
  switch (letter) {
    case 'b': return "bool";
    case 'c': return "char";
    case 'd': return "double";
    case 'f': return "float";
    case 'i': return "int";
    case 'l': return "long";
    case 's': return "short";
    default: return nullptr;
  }
}

}  // namespace

BaseStudyClass::BaseStudyClass()
    : GVNames(nullptr),
      GVTypes(nullptr),
      ThePVModel(nullptr),
      NumGVs(0),
      NumExps(0),
      DefaultTavrinRoot(CopyString("")) {}

BaseStudyClass::~BaseStudyClass() {
  for (unsigned int i = 0; i < NumGVs; i++) {
    if (GVNames != nullptr) std::free(GVNames[i]);
    if (GVTypes != nullptr) std::free(GVTypes[i]);
  }
  std::free(GVNames);
  std::free(GVTypes);
  std::free(DefaultTavrinRoot);
}

PVModel* BaseStudyClass::GetPVModel(bool) { return ThePVModel; }

void BaseStudyClass::SetGVs(int) { std::cout << "basestudyclass::SetGVs" << std::endl; }

void BaseStudyClass::PrintGlobalValues(int) {}

void* BaseStudyClass::GetGVValue(char*) { return nullptr; }

void BaseStudyClass::OverrideGVValue(char*, void*) {}

char* BaseStudyClass::GetExpName(int expnum) {
  static char name[128];
  std::snprintf(name, sizeof(name), "Experiment %d", expnum + 1);
  return name;
}

void BaseStudyClass::SetDefaultTavrinRoot(const char* root) {
  char* copy = CopyString(root);
  std::free(DefaultTavrinRoot);
  DefaultTavrinRoot = copy;
}

bool BaseStudyClass::overrideGVs(char* TheOverrideString) {
  if (TheOverrideString == nullptr) return true;
  char* copy = CopyString(TheOverrideString);
  char* cursor = copy;
  bool complete = true;
  for (char* type = NextToken(cursor); type != nullptr; type = NextToken(cursor)) {
    char* name = NextToken(cursor);
    char* value = (name == nullptr) ? nullptr : NextToken(cursor);
    if (value == nullptr) {
      std::cout << "Not enough double override tokens" << std::flush;
      complete = false;
      break;
    }
    const char* letterType = TypeOfLetter(type[0]);
    const char* globalType = TypeOfGV(name);
    if (letterType != nullptr && globalType != nullptr && std::strcmp(letterType, globalType) != 0) {
      std::cerr << "ERROR: Override of global variable " << name << " of type " << globalType
                << " given with type letter '" << type[0] << "' (" << letterType << ")"
                << std::endl;
      std::free(copy);
      return false;
    }
    // Whatever is not applied is reported and the rest still applies, but the whole
    // string then fails: a run with a value other than the one asked for is not the
    // experiment the modeller meant.
    if (globalType == nullptr) complete = false;   // the study's own message names it
    switch (ApplyOverride(this, type[0], name, value)) {
      case Override::Applied: break;
      case Override::UnknownLetter:
        std::cout << "Type " << type[0] << " not recognized" << std::endl;
        complete = false;
        break;
      case Override::BadValue:
        std::cerr << "ERROR: Override of global variable " << name << ": '" << value
                  << "' is not a value of type " << (letterType != nullptr ? letterType : "?") << std::endl;
        complete = false;
        break;
    }
  }
  std::free(copy);
  return complete;
}

const char* BaseStudyClass::TypeOfGV(const char* name) const {
  if (GVNames == nullptr || GVTypes == nullptr) return nullptr;
  for (unsigned int i = 0; i < NumGVs; i++)
    if (GVNames[i] != nullptr && std::strcmp(GVNames[i], name) == 0) return GVTypes[i];
  return nullptr;
}
