#ifndef TAVRIN_TESTS_TRACE_TRACETESTMODELS_H
#define TAVRIN_TESTS_TRACE_TRACETESTMODELS_H

// The models the trace tests trace: the cache example, a composed model that owns its
// children and declares their shared places, and a reward model around either.

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Atomic/L2_CACHE/L2_CACHESAN.h"
#include "framework/BaseModelClass.h"
#include "rewards/PVModel.h"

using Lines = std::vector<std::string>;

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
  // The traces do not use the state-space side of a composed model.
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

// A reward model without variables that owns the given model, as a generated one owns
// the model it builds.
class TestPVModel : public PVModel {
 public:
  explicit TestPVModel(BaseModelClass* measured) {
    TheModel = measured;
    DefineName("TEST_REWARD");
    CreatePVList(0, false);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int, int) override { return nullptr; }
};

inline Lines linesOf(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline long countOf(const Lines& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

inline std::string idOf(const BaseModelClass& model) { return std::to_string(model.getId()); }
inline std::string idOf(const BaseActionClass& action) { return std::to_string(action.getID()); }

#endif
