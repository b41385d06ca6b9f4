#ifndef TAVRIN_TESTS_ENGINE_TESTMODELS_H
#define TAVRIN_TESTS_ENGINE_TESTMODELS_H

// Small SAN models written the way the model generator writes them: places held by the
// model, one nested activity class each with a Place* and a registered _Tavrin_Mark
// pointer per place it uses, arcs added in a fixed order. Delays are deterministic and
// set like global variables (the Delay member), so every completion time is known.

#include <array>

#include "framework/PostselectGroup.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"
#include "random/UserDistributions.h"

// What every test activity shares: weight 1, rank 1, no reactivation, and a delay drawn
// from the deterministic distribution.
class TestActivity : public Activity {
 public:
  TestActivity(const char* name, int groupId, double delay, bool reactivation = false)
      : Delay(delay) {
    ActivityInitialize(name, groupId, Deterministic, RaceEnabled, 1, 1, reactivation);
  }
  double Weight() override { return 1.0; }
  int Rank() override { return 1; }
  double Rate() override { return 0; }
  double SampleDistribution() override {
    Draws++;
    if (Computed) return Delay;
    return TheDistribution->Deterministic(Delay);
  }
  double* ReturnDistributionParameters() override { return nullptr; }
  bool ReactivationPredicate() override { return false; }
  bool ReactivationFunction() override { return false; }

  // The rule every generated predicate follows, so that EnablingChange works.
  bool Remember(bool predicate) {
    EnablingAsked++;
    OldEnabled = NewEnabled;
    NewEnabled = predicate;
    return NewEnabled;
  }

  double Delay;   // a global variable of the model in generated code
  int Draws = 0;  // samples taken so far
  bool Computed = false;  // the delay is returned as it is, not through a distribution
  int EnablingAsked = 0;  // Enabled() calls so far
};

// Connectivity: places P, Q, R shared by several activities; E and F form the group Pair.
//   A: enabled by P, changes P and Q.        B: enabled by Q and P, changes R.
//   C: enabled by Q, changes Q.              D: enabled by R, changes nothing.
//   E, F (group Pair): enabled by R, change nothing.
class ShareSAN : public SANModel {
 public:
  class AActivity : public TestActivity {
   public:
    AActivity() : TestActivity("A", 0, 1) {}
    bool Enabled() override { return Remember(*P_Tavrin_Mark > 0); }
    BaseActionClass* Fire() override {
      (*P_Tavrin_Mark)--;
      (*Q_Tavrin_Mark)++;
      return this;
    }
    void LinkVariables() override {
      P->Register(&P_Tavrin_Mark);
      Q->Register(&Q_Tavrin_Mark);
    }
    Place* P = nullptr;
    short* P_Tavrin_Mark = nullptr;
    Place* Q = nullptr;
    short* Q_Tavrin_Mark = nullptr;
  };
  class BActivity : public TestActivity {
   public:
    BActivity() : TestActivity("B", 1, 1) {}
    bool Enabled() override { return Remember(*Q_Tavrin_Mark > 0 && *P_Tavrin_Mark == 0); }
    BaseActionClass* Fire() override {
      (*R_Tavrin_Mark)++;
      return this;
    }
    void LinkVariables() override {
      P->Register(&P_Tavrin_Mark);
      Q->Register(&Q_Tavrin_Mark);
      R->Register(&R_Tavrin_Mark);
    }
    Place* P = nullptr;
    short* P_Tavrin_Mark = nullptr;
    Place* Q = nullptr;
    short* Q_Tavrin_Mark = nullptr;
    Place* R = nullptr;
    short* R_Tavrin_Mark = nullptr;
  };
  class CActivity : public TestActivity {
   public:
    CActivity() : TestActivity("C", 2, 1) {}
    bool Enabled() override { return Remember(*Q_Tavrin_Mark > 5); }
    BaseActionClass* Fire() override {
      (*Q_Tavrin_Mark)--;
      return this;
    }
    void LinkVariables() override { Q->Register(&Q_Tavrin_Mark); }
    Place* Q = nullptr;
    short* Q_Tavrin_Mark = nullptr;
  };
  // D, E and F only read R.
  class ReaderActivity : public TestActivity {
   public:
    ReaderActivity(const char* name, int groupId) : TestActivity(name, groupId, 1) {}
    bool Enabled() override { return Remember(*R_Tavrin_Mark > 0); }
    BaseActionClass* Fire() override { return this; }
    void LinkVariables() override { R->Register(&R_Tavrin_Mark); }
    Place* R = nullptr;
    short* R_Tavrin_Mark = nullptr;
  };

  ShareSAN() : D("D", 3), E("E", 4), F("F", 4) {
    Pair.initialize(2, "Pair");
    Pair.appendGroup(&E);
    Pair.appendGroup(&F);
    P = new Place("P", 1);
    Q = new Place("Q", 0);
    R = new Place("R", 0);
    BaseStateVariableClass* places[] = {P, Q, R};
    Activity* activities[] = {&A, &B, &C, &D, &E, &F};
    BaseGroupClass* groups[] = {&A, &B, &C, &D, &Pair};
    initializeSANModelNow("SHARE", 3, places, 0, nullptr, 6, activities, 5, groups);
    assignPlacesToActivitiesTimed();
    AddAffectArc(P, &A);
    AddAffectArc(Q, &A);
    AddAffectArc(R, &B);
    AddAffectArc(Q, &C);
    AddEnableArc(P, &A);
    AddEnableArc(Q, &B);
    AddEnableArc(P, &B);
    AddEnableArc(Q, &C);
    AddEnableArc(R, &D);
    AddEnableArc(R, &E);
    AddEnableArc(R, &F);
    for (Activity* a : activities) a->LinkVariables();
  }
  ~ShareSAN() override {
    delete P;
    delete Q;
    delete R;
  }

  void assignPlacesToActivitiesTimed() {
    A.P = P;
    A.Q = Q;
    B.P = P;
    B.Q = Q;
    B.R = R;
    C.Q = Q;
    D.R = R;
    E.R = R;
    F.R = R;
  }

  Place* P;
  Place* Q;
  Place* R;
  AActivity A;
  BActivity B;
  CActivity C;
  ReaderActivity D;
  ReaderActivity E;
  ReaderActivity F;
  PostselectGroup Pair;
};

// Timed race: Tick (every 1) counts, Slow (10) reads the count, Close (0.5 after the count
// reaches 3) shuts the gate that enables all three.
class RaceSAN : public SANModel {
 public:
  // Every activity here reads Gate and Count.
  class RaceActivity : public TestActivity {
   public:
    RaceActivity(const char* name, int groupId, double delay) : TestActivity(name, groupId, delay) {}
    void LinkVariables() override {
      Gate->Register(&Gate_Tavrin_Mark);
      Count->Register(&Count_Tavrin_Mark);
    }
    Place* Gate = nullptr;
    short* Gate_Tavrin_Mark = nullptr;
    Place* Count = nullptr;
    short* Count_Tavrin_Mark = nullptr;
  };
  class TickActivity : public RaceActivity {
   public:
    TickActivity() : RaceActivity("Tick", 0, 1.0) {}
    bool Enabled() override { return Remember(*Gate_Tavrin_Mark > 0); }
    BaseActionClass* Fire() override {
      (*Count_Tavrin_Mark)++;
      return this;
    }
  };
  class SlowActivity : public RaceActivity {
   public:
    SlowActivity() : RaceActivity("Slow", 1, 10.0) {}
    bool Enabled() override { return Remember(*Gate_Tavrin_Mark > 0 && *Count_Tavrin_Mark < 100); }
    BaseActionClass* Fire() override {
      (*Count_Tavrin_Mark) += 10;
      return this;
    }
  };
  class CloseActivity : public RaceActivity {
   public:
    CloseActivity() : RaceActivity("Close", 2, 0.5) {}
    bool Enabled() override { return Remember(*Gate_Tavrin_Mark > 0 && *Count_Tavrin_Mark >= 3); }
    BaseActionClass* Fire() override {
      *Gate_Tavrin_Mark = 0;
      return this;
    }
  };

  RaceSAN() {
    Count = new Place("Count", 0);
    Gate = new Place("Gate", 1);
    BaseStateVariableClass* places[] = {Count, Gate};
    Activity* activities[] = {&Tick, &Slow, &Close};
    BaseGroupClass* groups[] = {&Tick, &Slow, &Close};
    initializeSANModelNow("RACE", 2, places, 0, nullptr, 3, activities, 3, groups);
    assignPlacesToActivitiesTimed();
    AddAffectArc(Count, &Tick);
    AddAffectArc(Count, &Slow);
    AddAffectArc(Gate, &Close);
    AddEnableArc(Gate, &Tick);
    AddEnableArc(Gate, &Slow);
    AddEnableArc(Count, &Slow);
    AddEnableArc(Gate, &Close);
    AddEnableArc(Count, &Close);
    for (Activity* a : activities) a->LinkVariables();
  }
  ~RaceSAN() override {
    delete Count;
    delete Gate;
  }

  void assignPlacesToActivitiesTimed() {
    for (RaceActivity* a : std::array<RaceActivity*, 3>{&Tick, &Slow, &Close}) {
      a->Gate = Gate;
      a->Count = Count;
    }
  }

  Place* Count;
  Place* Gate;
  TickActivity Tick;
  SlowActivity Slow;
  CloseActivity Close;
};

// Reactivation: Bump (every 1) raises Level; Watch (5) and Other (20) are watched for
// reactivation; Close (2.5) shuts the gate that enables all four. Watch asks to be
// resampled when Level reaches 1 and to stay watched while Level is below WatchLimit.
// Level enables nothing, so only the reactivation list brings Watch back into view.
class WatchSAN : public SANModel {
 public:
  // Every activity here reads Gate; GatedActivity holds that pointer.
  class GatedActivity : public TestActivity {
   public:
    GatedActivity(const char* name, int groupId, double delay)
        : TestActivity(name, groupId, delay, true) {}
    bool Enabled() override { return Remember(*Gate_Tavrin_Mark > 0); }
    void LinkVariables() override {
      Gate->Register(&Gate_Tavrin_Mark);
      Level->Register(&Level_Tavrin_Mark);
    }
    Place* Gate = nullptr;
    short* Gate_Tavrin_Mark = nullptr;
    Place* Level = nullptr;
    short* Level_Tavrin_Mark = nullptr;
  };
  class BumpActivity : public GatedActivity {
   public:
    BumpActivity() : GatedActivity("Bump", 0, 1.0) {}
    BaseActionClass* Fire() override {
      (*Level_Tavrin_Mark)++;
      return this;
    }
  };
  class WatchActivity : public GatedActivity {
   public:
    WatchActivity() : GatedActivity("Watch", 1, 5.0) {}
    BaseActionClass* Fire() override { return this; }
    bool ReactivationPredicate() override { return *Level_Tavrin_Mark < WatchLimit; }
    bool ReactivationFunction() override { return *Level_Tavrin_Mark == 1; }
    short WatchLimit = 2;
  };
  class OtherActivity : public GatedActivity {
   public:
    OtherActivity() : GatedActivity("Other", 2, 20.0) {}
    BaseActionClass* Fire() override { return this; }
    bool ReactivationPredicate() override { return true; }
  };
  class CloseActivity : public GatedActivity {
   public:
    CloseActivity() : GatedActivity("Close", 3, 2.5) {}
    BaseActionClass* Fire() override {
      *Gate_Tavrin_Mark = 0;
      return this;
    }
  };

  WatchSAN() {
    Level = new Place("Level", 0);
    Gate = new Place("Gate", 1);
    BaseStateVariableClass* places[] = {Level, Gate};
    Activity* activities[] = {&Bump, &Watch, &Other, &Close};
    BaseGroupClass* groups[] = {&Bump, &Watch, &Other, &Close};
    initializeSANModelNow("WATCH", 2, places, 0, nullptr, 4, activities, 4, groups);
    assignPlacesToActivitiesTimed();
    AddAffectArc(Level, &Bump);
    AddAffectArc(Gate, &Close);
    for (GatedActivity* a : gated()) AddEnableArc(Gate, a);
    for (Activity* a : activities) a->LinkVariables();
  }
  ~WatchSAN() override {
    delete Level;
    delete Gate;
  }

  void assignPlacesToActivitiesTimed() {
    for (GatedActivity* a : gated()) {
      a->Gate = Gate;
      a->Level = Level;
    }
  }

  Place* Level;
  Place* Gate;
  BumpActivity Bump;
  WatchActivity Watch;
  OtherActivity Other;
  CloseActivity Close;

 private:
  std::array<GatedActivity*, 4> gated() { return {&Bump, &Watch, &Other, &Close}; }
};

// A watched group that the firing's connectivity list also reaches: Bump (every 1) raises
// Level, which both Bump and Near read; Near (5) is always watched and asks to be
// resampled when Level is 1.
class NearSAN : public SANModel {
 public:
  class LevelActivity : public TestActivity {
   public:
    LevelActivity(const char* name, int groupId, double delay)
        : TestActivity(name, groupId, delay, true) {}
    bool Enabled() override { return Remember(*Level_Tavrin_Mark < 5); }
    void LinkVariables() override { Level->Register(&Level_Tavrin_Mark); }
    Place* Level = nullptr;
    short* Level_Tavrin_Mark = nullptr;
  };
  class BumpActivity : public LevelActivity {
   public:
    BumpActivity() : LevelActivity("Bump", 0, 1.0) {}
    BaseActionClass* Fire() override {
      (*Level_Tavrin_Mark)++;
      return this;
    }
  };
  class NearActivity : public LevelActivity {
   public:
    NearActivity() : LevelActivity("Near", 1, 5.0) {}
    BaseActionClass* Fire() override { return this; }
    bool ReactivationPredicate() override { return true; }
    bool ReactivationFunction() override { return *Level_Tavrin_Mark == 1; }
  };

  NearSAN() {
    Level = new Place("Level", 0);
    BaseStateVariableClass* places[] = {Level};
    Activity* activities[] = {&Bump, &Near};
    BaseGroupClass* groups[] = {&Bump, &Near};
    initializeSANModelNow("NEAR", 1, places, 0, nullptr, 2, activities, 2, groups);
    Bump.Level = Level;
    Near.Level = Level;
    AddAffectArc(Level, &Bump);
    AddEnableArc(Level, &Bump);
    AddEnableArc(Level, &Near);
    for (Activity* a : activities) a->LinkVariables();
  }
  ~NearSAN() override { delete Level; }

  Place* Level;
  BumpActivity Bump;
  NearActivity Near;
};

#endif
