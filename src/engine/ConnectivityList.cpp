// The connectivity list: for every action of the model, the groups whose enabling its
// firing can change, built once before the run so that a step re-examines only those.

#include <cstdlib>
#include <iostream>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/ActionAffectsElement.h"
#include "engine/SimulatorClass.h"
#include "framework/BaseActionClass.h"
#include "framework/BaseGroupClass.h"
#include "framework/BaseModelClass.h"
#include "framework/BaseStateVariableClass.h"
#include "framework/Errors.h"
#include "rewards/PVModel.h"

namespace {

// The older builder's choice between its two ways of removing duplicates; 1 when unset.
long OldBuilderMode() {
  const char* simtest = std::getenv("SIMTEST");
  return simtest == nullptr ? 1 : std::strtol(simtest, nullptr, 10);
}

void PrintModelAndAction(std::ostream& out, BaseActionClass* action) {
  TAVRIN_ASSERT(action->ActionName != nullptr);
  // An action outside any model has no identifier to show; -1 stands for it.
  BaseModelClass* model = action->TheModel;
  out << (model != nullptr ? model->getName() : "Unknown Model") << "("
      << (model != nullptr ? model->getId() : -1) << ")->" << action->ActionName << " ("
      << action->getID() << ")" << std::endl;
}

// The entry of the group list that an action's GroupID names.
BaseGroupClass* GroupOf(BaseActionClass* action, BaseGroupClass** groups, int numGroups) {
  TAVRIN_ASSERT(action->GroupID >= 0 && action->GroupID < numGroups);
  return groups[action->GroupID];
}

// A state variable that enables this many groups or more (a place shared by every copy of
// a replicate, read by an activity of each) has its groups listed once, in a segment that
// the list of every action changing it points to: listed in each, they would take memory
// and set-up time of the square of the number of copies.
constexpr int kSegmentFrom = 64;

// A segment while the lists are built: its first node and the identifiers of its groups.
struct SegmentUnderConstruction {
  ActionAffectsElement* head = nullptr;
  std::unordered_set<int> groups;
};

}  // namespace

// Each group is pushed at the front, so a list ends with the action's own group and holds
// the others in the reverse order of discovery; a step resamples in that order.
// ActionFound remembers, per group identifier, the last action that listed the group, so
// it needs no clearing between actions.
//
// The groups of a state variable with a segment are discovered together, in the order its
// segment holds them (reversed, as pushing them one by one would), so an action's list
// holds them as one block, less those discovered before (its own group, the groups of the
// variables it changes before this one): a reference to the segment that skips those
// stands for the block, when they are at most two; otherwise the variable's groups are
// listed one by one. Groups of later variables are listed one by one, less the segment's.
// One segment per action.
short SimulatorClass::GenerateConnectivityList() {
  int numActions = TheModel->getNumActions();
  int numGroups = TheGroupContainer->getNumItems();
  BaseActionClass** actions = TheModel->getActionList();
  int maxId = numActions > 0 ? BaseActionClass::getMaxID() : 0;
  int* ActionFound = new (std::nothrow) int[maxId + 1];
  if (ActionFound == nullptr) return 1;
  for (int i = 0; i <= maxId; i++) ActionFound[i] = -1;

  std::unordered_map<BaseStateVariableClass*, SegmentUnderConstruction> segments;
  // The segment of a state variable, made on first use; null when no node could be made.
  auto segmentOf = [&](BaseStateVariableClass* sv) -> SegmentUnderConstruction* {
    SegmentUnderConstruction& segment = segments[sv];
    if (segment.head != nullptr) return &segment;
    for (int e = 0; e < sv->getNumEnabledActions(); e++) {
      BaseActionClass* group = GroupOf(sv->getEnabledAction(e), GroupList, numGroups);
      if (!segment.groups.insert(group->getID()).second) continue;
      ActionAffectsElement* node = new (std::nothrow) ActionAffectsElement(group, segment.head);
      if (node == nullptr) {
        AffectsSegments.push_back(segment.head);   // freed with the lists
        return nullptr;
      }
      segment.head = node;
    }
    AffectsSegments.push_back(segment.head);
    return &segment;
  };

  short result = 0;
  std::vector<BaseActionClass*> found;   // the groups listed one by one for the current action
  for (int a = 0; a < numActions && result == 0; a++) {
    BaseActionClass* action = actions[a];
    int CurID = action->getID();
    found.clear();
    const SegmentUnderConstruction* used = nullptr;
    BaseActionClass* own = GroupOf(action, GroupList, numGroups);
    if (ActionFound[own->getID()] != CurID) {
      result = AddActionAffects(own, action);
      ActionFound[own->getID()] = CurID;
      found.push_back(own);
    }
    for (int s = 0; s < action->getNumAffectedSVs() && result == 0; s++) {
      BaseStateVariableClass* sv = action->getAffectedSV(s);
      if (used == nullptr && sv->getNumEnabledActions() >= kSegmentFrom) {
        SegmentUnderConstruction* segment = segmentOf(sv);
        if (segment == nullptr) {
          result = 1;
          break;
        }
        std::vector<BaseActionClass*> overlap;
        for (BaseActionClass* group : found)
          if (segment->groups.count(group->getID()) != 0) overlap.push_back(group);
        if (overlap.size() <= 2) {
          SegmentReference* node = new (std::nothrow) SegmentReference(segment->head, action->Affects);
          if (node == nullptr) {
            result = 1;
            break;
          }
          for (size_t k = 0; k < overlap.size(); k++) node->Skipped[k] = overlap[k];
          action->Affects = node;
          used = segment;
          continue;
        }
      }
      for (int e = 0; e < sv->getNumEnabledActions() && result == 0; e++) {
        BaseActionClass* group = GroupOf(sv->getEnabledAction(e), GroupList, numGroups);
        if (ActionFound[group->getID()] == CurID) continue;
        if (used != nullptr && used->groups.count(group->getID()) != 0) continue;
        ActionFound[group->getID()] = CurID;
        found.push_back(group);
        result = AddActionAffects(group, action);
      }
    }
  }
  delete[] ActionFound;
  return result;
}

namespace {

// Records, for the older builder, that an action's firing affects a group, once.
class AffectsRecorder {
 public:
  AffectsRecorder(SimulatorClass* simulator, bool useMatrix, int identifiers)
      : simulator_(simulator), matrix_(nullptr), identifiers_(identifiers), useMatrix_(useMatrix) {
    if (useMatrix_)
      matrix_ = new (std::nothrow) unsigned char[static_cast<long>(identifiers) * identifiers]();
  }
  ~AffectsRecorder() { delete[] matrix_; }
  AffectsRecorder(const AffectsRecorder&) = delete;
  AffectsRecorder& operator=(const AffectsRecorder&) = delete;

  bool ready() const { return !useMatrix_ || matrix_ != nullptr; }

  short Record(BaseActionClass* group, BaseActionClass* action) {
    if (!useMatrix_) return simulator_->AddActionAffectsOld(group, action);
    unsigned char& seen =
        matrix_[group->getID() + static_cast<long>(identifiers_) * action->getID()];
    if (seen != 0) return 0;
    seen = 1;
    return simulator_->AddActionAffects(group, action);
  }

 private:
  SimulatorClass* simulator_;
  unsigned char* matrix_;   // owned: entry (group + identifiers * action) is 1 once recorded
  int identifiers_;
  bool useMatrix_;
};

}  // namespace

// The same relation seen from the affected group: an action p affects its own group, and
// every action that changes a variable p's enabling reads affects p's group too.
short SimulatorClass::GenerateConnectivityListOld() {
  int numActions = TheModel->getNumActions();
  if (numActions == 0) return 0;
  int numGroups = TheGroupContainer->getNumItems();
  BaseActionClass** actions = TheModel->getActionList();
  AffectsRecorder recorder(this, OldBuilderMode() != 0, BaseActionClass::getMaxID() + 1);
  if (!recorder.ready()) return 1;

  short result = 0;
  for (int p = 0; p < numActions && result == 0; p++) {
    BaseActionClass* action = actions[p];
    BaseActionClass* group = GroupOf(action, GroupList, numGroups);
    result = recorder.Record(group, action);
    for (int s = 0; s < action->getNumEnablingSVs() && result == 0; s++) {
      BaseStateVariableClass* sv = action->getEnablingSV(s);
      for (int c = 0; c < sv->getNumAffectingActions() && result == 0; c++)
        result = recorder.Record(group, sv->getAffectingAction(c));
    }
  }
  return result;
}

short SimulatorClass::AddActionAffects(BaseActionClass* group, BaseActionClass* action) {
  ActionAffectsElement* node = new (std::nothrow) ActionAffectsElement(group, action->Affects);
  if (node == nullptr) return 1;
  action->Affects = node;
  return 0;
}

short SimulatorClass::AddActionAffectsOld(BaseActionClass* group, BaseActionClass* action) {
  ActionAffectsElement** end = &action->Affects;
  for (; *end != nullptr; end = &(*end)->next)
    if ((*end)->Action == group) return 0;
  *end = new (std::nothrow) ActionAffectsElement(group, nullptr);
  return *end == nullptr ? 1 : 0;
}

void SimulatorClass::ClearActionAffectsList(BaseActionClass* action) {
  while (action->Affects != nullptr) {
    ActionAffectsElement* node = action->Affects;
    action->Affects = node->next;
    if (node->Action == nullptr)
      delete static_cast<SegmentReference*>(node);
    else
      delete node;
  }
}

// A simulator whose construction stopped before the model was built has no lists.
void SimulatorClass::DestructConnectivityList() {
  for (ActionAffectsElement* segment : AffectsSegments) {
    while (segment != nullptr) {
      ActionAffectsElement* node = segment;
      segment = node->next;
      delete node;
    }
  }
  AffectsSegments.clear();
  if (TheModel == nullptr) return;
  BaseActionClass** actions = TheModel->getActionList();
  for (int a = 0; a < TheModel->getNumActions(); a++) ClearActionAffectsList(actions[a]);
}

void SimulatorClass::PrintConnectivityList(std::ostream& out) {
  BaseActionClass** actions = TheModel->getActionList();
  for (int a = 0; a < TheModel->getNumActions(); a++) {
    BaseActionClass* action = actions[a];
    TAVRIN_ASSERT(action != nullptr);
    out << "Action: ";
    PrintModelAndAction(out, action);
    out << "Checking my Affects" << std::endl;
    TAVRIN_ASSERT(action->Affects != nullptr);
    ForEachAffectedGroup(action->Affects, [&out](BaseActionClass* group) {
      TAVRIN_ASSERT(group != nullptr);
      out << "    ";
      PrintModelAndAction(out, group);
    });
  }
}
