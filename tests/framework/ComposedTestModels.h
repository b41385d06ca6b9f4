#ifndef TAVRIN_TESTS_FRAMEWORK_COMPOSEDTESTMODELS_H
#define TAVRIN_TESTS_FRAMEWORK_COMPOSEDTESTMODELS_H

// Small atomic models written the way the model generator writes them, to compose:
//   Cell (places own = 1, common = 2): Take, enabled by own, moves a token from own to
//   common; Give, enabled by common, moves one back.
//   Pool (place stock = 5): Drain, enabled by stock, removes a token.
// Delays are deterministic: Take 1, Give 2, Drain 3.

#include "framework/composed/JoinModel.h"
#include "framework/composed/RepModel.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"
#include "random/UserDistributions.h"

class ComposedTestActivity : public Activity {
 public:
  ComposedTestActivity(const char* name, int groupId, double delay) : Delay(delay) {
    ActivityInitialize(name, groupId, Deterministic, RaceEnabled, 1, 1, false);
  }
  double Weight() override { return 1.0; }
  int Rank() override { return 1; }
  double Rate() override { return 0; }
  double SampleDistribution() override { return TheDistribution->Deterministic(Delay); }
  double* ReturnDistributionParameters() override { return nullptr; }
  bool ReactivationPredicate() override { return false; }
  bool ReactivationFunction() override { return false; }
  bool Remember(bool predicate) {
    OldEnabled = NewEnabled;
    NewEnabled = predicate;
    return NewEnabled;
  }
  double Delay;
};

class CellSAN : public SANModel {
 public:
  // Moves one token from From to To while From holds one.
  class MoveActivity : public ComposedTestActivity {
   public:
    MoveActivity(const char* name, int groupId, double delay)
        : ComposedTestActivity(name, groupId, delay) {}
    void LinkVariables() override {
      From->Register(&From_Tavrin_Mark);
      To->Register(&To_Tavrin_Mark);
    }
    bool Enabled() override { return Remember(*From_Tavrin_Mark > 0); }
    BaseActionClass* Fire() override {
      (*From_Tavrin_Mark)--;
      (*To_Tavrin_Mark)++;
      return this;
    }
    Place* From = nullptr;
    Place* To = nullptr;
    short* From_Tavrin_Mark = nullptr;
    short* To_Tavrin_Mark = nullptr;
  };

  CellSAN() : Take("Take", 0, 1.0), Give("Give", 1, 2.0) {
    own = new Place("own", 1);
    common = new Place("common", 2);
    BaseStateVariableClass* places[] = {own, common};
    Activity* activities[] = {&Take, &Give};
    BaseGroupClass* groups[] = {&Take, &Give};
    initializeSANModelNow("Cell", 2, places, 0, nullptr, 2, activities, 2, groups);
    Take.From = own;
    Take.To = common;
    Give.From = common;
    Give.To = own;
    AddAffectArc(own, &Take);
    AddAffectArc(common, &Take);
    AddEnableArc(own, &Take);
    AddAffectArc(common, &Give);
    AddAffectArc(own, &Give);
    AddEnableArc(common, &Give);
    Take.LinkVariables();
    Give.LinkVariables();
  }
  ~CellSAN() override {
    delete own;
    delete common;
  }

  Place* own;
  Place* common;
  MoveActivity Take;
  MoveActivity Give;
};

class PoolSAN : public SANModel {
 public:
  class DrainActivity : public ComposedTestActivity {
   public:
    DrainActivity() : ComposedTestActivity("Drain", 0, 3.0) {}
    void LinkVariables() override { stock->Register(&stock_Tavrin_Mark); }
    bool Enabled() override { return Remember(*stock_Tavrin_Mark > 0); }
    BaseActionClass* Fire() override {
      (*stock_Tavrin_Mark)--;
      return this;
    }
    Place* stock = nullptr;
    short* stock_Tavrin_Mark = nullptr;
  };

  PoolSAN() {
    stock = new Place("stock", 5);
    BaseStateVariableClass* places[] = {stock};
    Activity* activities[] = {&Drain};
    BaseGroupClass* groups[] = {&Drain};
    initializeSANModelNow("Pool", 1, places, 0, nullptr, 1, activities, 1, groups);
    Drain.stock = stock;
    AddAffectArc(stock, &Drain);
    AddEnableArc(stock, &Drain);
    Drain.LinkVariables();
  }
  ~PoolSAN() override { delete stock; }

  Place* stock;
  DrainActivity Drain;
};

// Cells: n copies of Cell sharing common.
inline RepModel* MakeCells(int n) {
  const char* shared[] = {"common"};
  return new RepModel("Cells", n, [] { return new CellSAN(); }, 1, shared);
}

// System: Cells (3 copies) joined with a Pool, the pool's stock being the cells' common
// place (shared variable store; the pool is listed first, so its 5 tokens are kept).
class SystemJoin : public JoinModel {
 public:
  SystemJoin() {
    BaseModelClass* children[] = {MakeCells(3), new PoolSAN()};
    const JoinPlace store[] = {{1, "stock"}, {0, "common"}};
    const JoinSharedVariable shared[] = {{"store", 2, store}};
    initializeJoinModelNow("System", 2, children, 1, shared);
  }
  // Inside a model class RepModel names the model kind; the class is ::RepModel.
  ::RepModel* cells() { return static_cast<::RepModel*>(GetChild(0)); }
  CellSAN* cell(int i) { return static_cast<CellSAN*>(cells()->GetChild(i)); }
  PoolSAN* pool() { return static_cast<PoolSAN*>(GetChild(1)); }
};

#endif
