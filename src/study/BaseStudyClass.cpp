#include "study/BaseStudyClass.h"

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

// Parses value by the type letter and hands it to the study. Returns false for a letter
// that names no type. A value that does not parse is not applied: the variable keeps its
// value rather than receiving an undefined one.
bool ApplyOverride(BaseStudyClass* study, char letter, char* name, const char* value) {
  switch (letter) {
    case 'b': {
      short raw;
      if (std::sscanf(value, "%hi", &raw) != 1) return true;
      bool flag = raw != 0;
      study->OverrideGVValue(name, &flag);
      return true;
    }
    case 'c': {
      char c;
      if (std::sscanf(value, "%c", &c) != 1) return true;
      study->OverrideGVValue(name, &c);
      return true;
    }
    case 'd': {
      double d;
      if (std::sscanf(value, "%lf", &d) != 1) return true;
      study->OverrideGVValue(name, &d);
      return true;
    }
    case 'f': {
      float f;
      if (std::sscanf(value, "%f", &f) != 1) return true;
      study->OverrideGVValue(name, &f);
      return true;
    }
    case 'i': {
      int i;
      if (std::sscanf(value, "%i", &i) != 1) return true;
      study->OverrideGVValue(name, &i);
      return true;
    }
    case 'l': {
      // A study variable of type "long" has the platform's long, so that is what is passed.
      long l;
      if (std::sscanf(value, "%li", &l) != 1) return true;
      study->OverrideGVValue(name, &l);
      return true;
    }
    case 's': {
      short s;
      if (std::sscanf(value, "%hi", &s) != 1) return true;
      study->OverrideGVValue(name, &s);
      return true;
    }
    default:
      return false;
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
  for (char* type = NextToken(cursor); type != nullptr; type = NextToken(cursor)) {
    char* name = NextToken(cursor);
    char* value = (name == nullptr) ? nullptr : NextToken(cursor);
    if (value == nullptr) {
      std::cout << "Not enough double override tokens" << std::flush;
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
    if (!ApplyOverride(this, type[0], name, value))
      std::cout << "Type " << type[0] << " not recognized" << std::endl;
  }
  std::free(copy);
  return true;
}

const char* BaseStudyClass::TypeOfGV(const char* name) const {
  if (GVNames == nullptr || GVTypes == nullptr) return nullptr;
  for (unsigned int i = 0; i < NumGVs; i++)
    if (GVNames[i] != nullptr && std::strcmp(GVNames[i], name) == 0) return GVTypes[i];
  return nullptr;
}
