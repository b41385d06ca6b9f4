#ifndef MACHINESAN_H
#define MACHINESAN_H

#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// The model's global variables, given their values by the study of each experiment.
extern double lambda;   // failure rate of one machine
extern double mu;       // repair rate of one crew

// MACHINESAN: the atomic model "Machine": one machine that fails at rate lambda, waits for
// an idle repair crew (place idle, shared by every machine and the repair facility), takes
// it at once, and is repaired at rate mu, after which the crew is idle again.
class MACHINESAN : public SANModel {
 public:
  class FailActivity : public Activity {
   public:
    FailActivity();
    void LinkVariables() override;
    bool Enabled() override;
    BaseActionClass* Fire() override;
    double Weight() override;
    int Rank() override;
    double Rate() override;
    double SampleDistribution() override;
    double* ReturnDistributionParameters() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;

    Place* up;
    Place* waiting;
    short* up_Tavrin_Mark;
    short* waiting_Tavrin_Mark;
  };

  class SeizeActivity : public Activity {
   public:
    SeizeActivity();
    void LinkVariables() override;
    bool Enabled() override;
    BaseActionClass* Fire() override;
    double Weight() override;
    int Rank() override;
    double Rate() override;
    double SampleDistribution() override;
    double* ReturnDistributionParameters() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;

    Place* waiting;
    Place* repairing;
    Place* idle;
    short* waiting_Tavrin_Mark;
    short* repairing_Tavrin_Mark;
    short* idle_Tavrin_Mark;
  };

  class RepairActivity : public Activity {
   public:
    RepairActivity();
    void LinkVariables() override;
    bool Enabled() override;
    BaseActionClass* Fire() override;
    double Weight() override;
    int Rank() override;
    double Rate() override;
    double SampleDistribution() override;
    double* ReturnDistributionParameters() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;

    Place* repairing;
    Place* up;
    Place* idle;
    short* repairing_Tavrin_Mark;
    short* up_Tavrin_Mark;
    short* idle_Tavrin_Mark;
  };

  MACHINESAN();
  ~MACHINESAN() override;   // deletes the places; activities are members

  Place* up;          // owned: 1 while the machine works
  Place* waiting;     // owned: 1 while it is broken and no crew has taken it
  Place* repairing;   // owned: 1 while a crew repairs it
  Place* idle;        // owned: the idle crews, a place every machine shares
  FailActivity Fail;
  SeizeActivity Seize;
  RepairActivity Repair;
};

#endif
