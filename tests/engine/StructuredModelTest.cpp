// A model that keeps its state in a record and an array of places, run through the
// engine: the actions see the leaves, the connectivity list reaches readers through
// them, every batch starts from the saved structured state, and reward variables read
// the fields.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <vector>

#include "RunModels.h"
#include "SimulatorFixture.h"
#include "TestModels.h"
#include "framework/state/BaseStructStateVariable.h"
#include "framework/state/ByteCopy.h"

namespace {

// A record field of a plain type other than a place's short.
template <class T>
class ValueSV : public BaseStateVariableClass {
 public:
  ValueSV(const char* name, T initial) : BaseStateVariableClass(name, ""), Value(initial) {}
  int StateSize() override { return static_cast<int>(sizeof(T)); }
  void CurrentState(void* at) override { writeMemory(at, Value); }
  void SetState(void* at) override { readMemory2(at, &Value); }
  void share(BaseStateVariableClass*) override {}
  T Value;
};

// The record Job { short kind; double size; char tag; }: 11 bytes.
class JobRecord : public BaseStructStateVariable {
 public:
  JobRecord() : BaseStructStateVariable("Job", ""), kind("kind", 0), size("size", 2.5), tag("tag", 'a') {
    fields.push_back({&kind, ArrayType_SHORT});
    fields.push_back({&size, ArrayType_DOUBLE});
    fields.push_back({&tag, ArrayType_CHAR});
    calculatedStateSize = -1;
  }
  Place kind;
  ValueSV<double> size;
  ValueSV<char> tag;
};

// The array Slots[3] of places, starting at 3, 0, 0.
class SlotArray : public BaseStructStateVariable {
 public:
  SlotArray() : BaseStructStateVariable("Slots", "") {
    const char* names[3] = {"s0", "s1", "s2"};
    for (int i = 0; i < 3; i++) {
      slot[i].SetName(names[i]);
      slot[i].setMark(i == 0 ? 3 : 0);
      fields.push_back({&slot[i], ArrayType_SHORT});
    }
    calculatedStateSize = -1;
  }
  Place slot[3];
};

// Move (1): a token from slot 0 to slot 1, the job grows by 1.5.
// Stamp (0.5): while slot 1 holds a token and the tag follows the kind, advances the tag.
// Drain (instantaneous): once the tag is ahead of the kind, the kind catches up and slot 1's token
//   goes to slot 2.
// Expire (2): while the tag is still 'a', marks the job's size -1.
class StructSAN : public SANModel {
 public:
  class StructActivity : public TestActivity {
   public:
    StructActivity(const char* name, int groupId, double delay) : TestActivity(name, groupId, delay) {}
    JobRecord* Job = nullptr;
    SlotArray* Slots = nullptr;
    short& slot(int i) { return Slots->slot[i].Mark(); }
    void LinkVariables() override {}
  };
  class MoveActivity : public StructActivity {
   public:
    MoveActivity() : StructActivity("Move", 0, 1.0) {}
    bool Enabled() override { return Remember(slot(0) > 0); }
    BaseActionClass* Fire() override {
      slot(0)--;
      slot(1)++;
      Job->size.Value += 1.5;
      return this;
    }
  };
  class StampActivity : public StructActivity {
   public:
    StampActivity() : StructActivity("Stamp", 1, 0.5) {}
    bool Enabled() override { return Remember(slot(1) > 0 && Job->tag.Value == 'a' + Job->kind.Mark()); }
    BaseActionClass* Fire() override {
      Job->tag.Value++;
      return this;
    }
  };
  class DrainActivity : public StructActivity {
   public:
    DrainActivity() : StructActivity("Drain", 2, 0.0) {
      ActivityInitialize("Drain", 2, Instantaneous, RaceEnabled, 1, 1, false);
    }
    double SampleDistribution() override { return 0; }
    bool Enabled() override { return Remember(Job->tag.Value > 'a' + Job->kind.Mark()); }
    BaseActionClass* Fire() override {
      Job->kind.Mark()++;
      slot(1)--;
      slot(2)++;
      return this;
    }
  };
  class ExpireActivity : public StructActivity {
   public:
    ExpireActivity() : StructActivity("Expire", 3, 2.0) {}
    bool Enabled() override { return Remember(Job->tag.Value == 'a'); }
    BaseActionClass* Fire() override {
      Job->size.Value = -1;
      return this;
    }
  };

  StructSAN() {
    Job = new JobRecord();
    Slots = new SlotArray();
    BaseStateVariableClass* variables[] = {Job, Slots};
    Activity* activities[] = {&Move, &Stamp, &Drain, &Expire};
    BaseGroupClass* groups[] = {&Move, &Stamp, &Drain, &Expire};
    initializeSANModelNow("STRUCT", 2, variables, 0, nullptr, 4, activities, 4, groups);
    for (StructActivity* a : std::vector<StructActivity*>{&Move, &Stamp, &Drain, &Expire}) {
      a->Job = Job;
      a->Slots = Slots;
    }
    AddAffectArc(Slots, &Move);
    AddAffectArc(Job, &Move);
    AddAffectArc(Job, &Stamp);
    AddAffectArc(Job, &Drain);
    AddAffectArc(Slots, &Drain);
    AddAffectArc(Job, &Expire);
    AddEnableArc(Slots, &Move);
    AddEnableArc(Slots, &Stamp);
    AddEnableArc(Job, &Stamp);
    AddEnableArc(Job, &Drain);
    AddEnableArc(Job, &Expire);
  }
  ~StructSAN() override {
    delete Job;
    delete Slots;
  }

  JobRecord* Job;
  SlotArray* Slots;
  MoveActivity Move;
  StampActivity Stamp;
  DrainActivity Drain;
  ExpireActivity Expire;
};

// Instant-of-time variables over STRUCT at 2.75: 0 the job's kind, 1 its size, 2 slot 2.
const double kAt = 2.75;

class FieldAtInstant : public InstantOfTime {
 public:
  explicit FieldAtInstant(int which) : Which(which) {
    NumModels = 1;
    TheModelPtr = new BaseModelClass**[1]{&STRUCT};
  }
  ~FieldAtInstant() override { delete[] TheModelPtr; }
  double Reward_Function() override {
    StructSAN* m = static_cast<StructSAN*>(STRUCT);
    if (Which == 0) return m->Job->kind.Mark();
    if (Which == 1) return m->Job->size.Value;
    return m->Slots->slot[2].Mark();
  }
  BaseModelClass* STRUCT = nullptr;
  int Which;
};

class FieldNode : public PerformanceVariableNode {
 public:
  explicit FieldNode(int which) : Measured(nullptr), Which(which) {
    TheModelPtr = &Measured;
    Type = terminating;
    const char* names[3] = {"Kind", "Size", "Slot2"};
    Initialize(names[which], INSTANT_OF_TIME, 1, &kAt, &kAt, 0, 0, 1, 0);
    AddModelDependency("STRUCT");
  }
  void CreateWorkerList() override {
    for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new FieldAtInstant(Which);
  }
  BaseModelClass* Measured;
  int Which;
};

class FieldPVModel : public PVModel {
 public:
  FieldPVModel(BaseModelClass* measured, bool expandTimeArrays) {
    TheModel = measured;
    DefineName("FieldPVModel");
    CreatePVList(3, expandTimeArrays);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int pvindex, int) override {
    return pvindex >= 0 && pvindex < 3 ? new FieldNode(pvindex) : nullptr;
  }
};

PVModel* MakeFieldPVModel(BaseModelClass* measured, bool expandTimeArrays) {
  return new FieldPVModel(measured, expandTimeArrays);
}

std::unique_ptr<SimulatorClass> BuildStructRun(std::vector<std::string> words) {
  return runtest::BuildSimulator(&MakeModel<StructSAN>, &MakeFieldPVModel, std::move(words));
}

}  // namespace

TEST(StructuredModel, ActionsSeeTheLeavesAndTheModelLaysOutBothVariables) {
  SimulatorOn<StructSAN> on;
  StructSAN& m = on.model();
  EXPECT_EQ(m.StateSize(), 11 + 6);
  // Stamp reads both variables: the three slots and the three fields, not the two wholes.
  ASSERT_EQ(m.Stamp.getNumEnablingSVs(), 6);
  std::vector<BaseStateVariableClass*> enabling;
  for (int i = 0; i < 6; i++) enabling.push_back(m.Stamp.getEnablingSV(i));
  EXPECT_THAT(enabling, testing::UnorderedElementsAre(&m.Slots->slot[0], &m.Slots->slot[1],
                                                       &m.Slots->slot[2], &m.Job->kind,
                                                       &m.Job->size, &m.Job->tag));
  EXPECT_EQ(m.Expire.getNumAffectedSVs(), 3);
}

// Stamp and Expire change only the record, which Move does not read; every other reader
// shares a leaf with them. Drain changes both variables, so it reaches every group.
TEST(StructuredModel, ConnectivityReachesTheReadersOfEachLeaf) {
  SimulatorOn<StructSAN> on;
  StructSAN& m = on.model();
  using testing::UnorderedElementsAre;
  EXPECT_THAT(AffectsNames(&m.Stamp), UnorderedElementsAre("Stamp", "Drain", "Expire"));
  EXPECT_THAT(AffectsNames(&m.Expire), UnorderedElementsAre("Stamp", "Drain", "Expire"));
  EXPECT_THAT(AffectsNames(&m.Drain), UnorderedElementsAre("Move", "Stamp", "Drain", "Expire"));
  EXPECT_THAT(AffectsNames(&m.Move), UnorderedElementsAre("Move", "Stamp", "Drain", "Expire"));
}

// By hand, from slots 3, 0, 0, size 2.5, tag 'a', kind 0:
//   1    Move: slots 2, 1, 0, size 4.0; Stamp is enabled, due at 1.5. Expire stays due at 2.
//   1.5  Stamp: tag 'b', which disables Expire before it completes; Drain is enabled.
//   1.5  Drain: kind 1, slots 2, 0, 1.
//   2    Move: slots 1, 1, 1, size 5.5; Stamp (tag 'b' = 'a' + 1) due at 2.5.
//   2.5  Stamp: tag 'c'; Drain: kind 2, slots 1, 0, 2.
// Next is Move at 3, past the variables' 2.75: six firings, kind 2, size 5.5, slot 2 = 2.
// A batch that did not start from the saved state sees another tag and kind (Stamp never
// fires), another size, or other slots; an Expire left in the event list sets size -1.
TEST(StructuredModel, EveryBatchRestartsFromTheSavedRecordAndArray) {
  std::string ascii = runtest::ScratchFile("struct.csv");
  auto sim = BuildStructRun({"-N", "3", "-a", ascii});
  StructSAN* m = static_cast<StructSAN*>(sim->TheModel->TheModel);
  runtest::RunAndCapture(*sim);
  EXPECT_EQ(sim->_fireActionCount, 18);
  EXPECT_EQ(m->Expire.Draws, 3);   // scheduled once per batch, never fired
  // After the last batch the saved state is back in place.
  EXPECT_EQ(m->Job->kind.getMark(), 0);
  EXPECT_EQ(m->Job->size.Value, 2.5);
  EXPECT_EQ(m->Job->tag.Value, 'a');
  EXPECT_EQ(m->Slots->slot[0].getMark(), 3);
  EXPECT_EQ(m->Slots->slot[1].getMark(), 0);
  EXPECT_EQ(m->Slots->slot[2].getMark(), 0);
  sim.reset();
  std::vector<std::vector<double>> seen = runtest::AsciiObservations(ascii, 3);
  EXPECT_EQ(seen[0], (std::vector<double>{2, 2, 2}));
  EXPECT_EQ(seen[1], (std::vector<double>{5.5, 5.5, 5.5}));
  EXPECT_EQ(seen[2], (std::vector<double>{2, 2, 2}));
}
