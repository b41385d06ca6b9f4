#ifndef TAVRIN_TESTS_TRACE_TRACETESTMODELS_H
#define TAVRIN_TESTS_TRACE_TRACETESTMODELS_H

// Small models for the trace tests: an atomic cache model in the form the model generator
// writes, a composed model that holds its children and declares their shared places, and
// helpers to read what a writer wrote.

#include <sstream>
#include <string>
#include <vector>

#include "framework/BaseModelClass.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// A cache with pending reads and writes: T_READ moves a token from READ into L2_CONTENT,
// T_WRITE one from WRITE.
class CacheSAN : public SANModel {
 public:
  class T_READActivity : public Activity {
   public:
    T_READActivity() {
      ActivityInitialize("T_READ", 0, Instantaneous, RaceEnabled, 2, 1, false);
    }
    Place* READ = nullptr;
    short* READ_Tavrin_Mark = nullptr;
    Place* L2_CONTENT = nullptr;
    short* L2_CONTENT_Tavrin_Mark = nullptr;

    bool Enabled() override {
      OldEnabled = NewEnabled;
      NewEnabled = *READ_Tavrin_Mark > 0;
      return NewEnabled;
    }
    BaseActionClass* Fire() override {
      (*READ_Tavrin_Mark)--;
      (*L2_CONTENT_Tavrin_Mark)++;
      return this;
    }
    double Weight() override { return 1; }
    int Rank() override { return 1; }
    void LinkVariables() override {
      READ->Register(&READ_Tavrin_Mark);
      L2_CONTENT->Register(&L2_CONTENT_Tavrin_Mark);
    }
  };

  class T_WRITEActivity : public Activity {
   public:
    T_WRITEActivity() {
      ActivityInitialize("T_WRITE", 1, Instantaneous, RaceEnabled, 2, 1, false);
    }
    Place* WRITE = nullptr;
    short* WRITE_Tavrin_Mark = nullptr;
    Place* L2_CONTENT = nullptr;
    short* L2_CONTENT_Tavrin_Mark = nullptr;

    bool Enabled() override {
      OldEnabled = NewEnabled;
      NewEnabled = *WRITE_Tavrin_Mark > 0;
      return NewEnabled;
    }
    BaseActionClass* Fire() override {
      (*WRITE_Tavrin_Mark)--;
      (*L2_CONTENT_Tavrin_Mark)++;
      return this;
    }
    double Weight() override { return 1; }
    int Rank() override { return 1; }
    void LinkVariables() override {
      WRITE->Register(&WRITE_Tavrin_Mark);
      L2_CONTENT->Register(&L2_CONTENT_Tavrin_Mark);
    }
  };

  CacheSAN(const char* name, short read, short write) {
    READ = new Place("READ", read);
    WRITE = new Place("WRITE", write);
    L2_CONTENT = new Place("L2_CONTENT", 0);
    BaseStateVariableClass* places[] = {READ, WRITE, L2_CONTENT};
    Activity* activities[] = {&T_READ, &T_WRITE};
    BaseGroupClass* groups[] = {&T_READ, &T_WRITE};
    initializeSANModelNow(name, 3, places, 0, nullptr, 2, activities, 2, groups);
    T_READ.READ = READ;
    T_READ.L2_CONTENT = L2_CONTENT;
    T_WRITE.WRITE = WRITE;
    T_WRITE.L2_CONTENT = L2_CONTENT;
    AddAffectArc(READ, &T_READ);
    AddAffectArc(L2_CONTENT, &T_READ);
    AddAffectArc(WRITE, &T_WRITE);
    AddAffectArc(L2_CONTENT, &T_WRITE);
    AddEnableArc(READ, &T_READ);
    AddEnableArc(WRITE, &T_WRITE);
    T_READ.LinkVariables();
    T_WRITE.LinkVariables();
  }
  ~CacheSAN() override {
    delete READ;
    delete WRITE;
    delete L2_CONTENT;
  }

  Place* READ;
  Place* WRITE;
  Place* L2_CONTENT;
  T_READActivity T_READ;
  T_WRITEActivity T_WRITE;
};

// A composed model: it owns its children and declares the shared places given to it.
// Children made after it get higher ids, as in a generated composed model, which builds
// its submodels in its own constructor.
class TestJoin : public BaseModelClass {
 public:
  explicit TestJoin(const char* name) { DefineName(name); }
  ~TestJoin() override {
    for (BaseModelClass* child : Children) delete child;
  }

  void addChild(BaseModelClass* child) { Children.push_back(child); }
  void addShared(BaseStateVariableClass* sv) {
    Shared.push_back(sv);
    NumSharedStateVariables = static_cast<int>(Shared.size());
  }

  ModelType GetModelType() override { return JoinModel; }
  int GetNumberOfChildren() override { return static_cast<int>(Children.size()); }
  BaseModelClass* GetChild(int i) override { return Children.at(i); }
  BaseStateVariableClass** GetSharedStateVariables() override {
    return Shared.empty() ? nullptr : Shared.data();
  }

  // The trace does not use the state-space side of a composed model.
  void listModels(const char*, List<BaseModelClass>*) override {}
  void CurrentState(void*) override {}
  void listActions(List<BaseActionClass>*) override {}
  void listGroups(List<BaseGroupClass>*) override {}
  void SetState(void*) override {}
  int StateSize() override { return 0; }
  bool CompareState(void*, void*) override { return true; }
  void listActions(const char*, List<BaseActionClass>*) override {}
  void listSVs(const char*, const char*, List<BaseStateVariableClass>*,
               List<BaseModelClass>*) override {}

 private:
  std::vector<BaseModelClass*> Children;
  std::vector<BaseStateVariableClass*> Shared;
};

inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline std::string idOf(const BaseModelClass& model) { return std::to_string(model.getId()); }

#endif
