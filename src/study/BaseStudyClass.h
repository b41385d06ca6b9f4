#ifndef TAVRIN_STUDY_BASESTUDYCLASS_H
#define TAVRIN_STUDY_BASESTUDYCLASS_H

class PVModel;

// BaseStudyClass: gives the model's global variables their values for each experiment and
// makes the reward model of the run. The model generator derives one study per user model.
class BaseStudyClass {
 public:
  BaseStudyClass();
  virtual ~BaseStudyClass();
  BaseStudyClass(const BaseStudyClass&) = delete;
  BaseStudyClass& operator=(const BaseStudyClass&) = delete;

  virtual PVModel* GetPVModel(bool expandTimeArrays);
  virtual void SetGVs(int expNum);
  virtual void PrintGlobalValues(int expNum);
  // Address of the named variable's storage; the base knows no variable and returns null.
  virtual void* GetGVValue(char* TheGVName);
  virtual void OverrideGVValue(char* TheGVName, void* TheGVValue);

  unsigned int GetNumGVs() const { return NumGVs; }
  char* GetGVName(int i) const { return GVNames[i]; }
  char* GetGVType(int i) const { return GVTypes[i]; }
  unsigned int GetNumExps() const { return NumExps; }
  // "Experiment N" with N = expnum + 1, in one buffer that every call overwrites.
  char* GetExpName(int expnum);
  char* GetDefaultTavrinRoot() const { return DefaultTavrinRoot; }
  void SetDefaultTavrinRoot(const char* root);

  // Applies "letter:name:value" triples, e.g. d:Rate:2.5:i:Size:4, through OverrideGVValue.
  // False, after its message, when a known letter does not match the named global's type
  // (nothing more is applied: the value would be read or stored with the wrong size), and
  // when any triple could not be applied (a missing field, an unknown letter, a value that
  // does not parse, a name the study does not declare), each reported as it is met.
  bool overrideGVs(char* TheOverrideString);
  const char* TypeOfGV(const char* name) const;  // the named global's type; null if unknown

  char** GVNames;           // owned (C allocator): NumGVs names, each owned
  char** GVTypes;           // owned (C allocator): NumGVs C type names ("double", "int", ...)
  PVModel* ThePVModel;      // owned by the subclass, which deletes it
  unsigned int NumGVs;
  unsigned int NumExps;
  char* DefaultTavrinRoot;  // owned (C allocator): the installation root of the study
};

// The single study of the process; null until GenerateStudy().
extern BaseStudyClass* GlobalStudyPtr;

// Supplied by the generated study: makes the study on the first call and returns
// GlobalStudyPtr on every call; DestructStudy deletes it and clears GlobalStudyPtr.
BaseStudyClass* GenerateStudy();
void DestructStudy();

#endif
