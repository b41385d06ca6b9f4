#ifndef AVAILABILITYSAN_H
#define AVAILABILITYSAN_H

#include "framework/PostselectGroup.h"
#include "framework/PreselectGroup.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// Global variables of the model, defined by the study, which gives them their values for
// the experiment of the run before the model is built.
extern double lambda;   // failure rate of the component
extern double mu;       // repair rate of the component

// AVAILABILITYSAN: the atomic model "AVAILABILITY": one component that fails after an
// exponential time of rate lambda and is repaired after one of rate mu. It starts up.
class AVAILABILITYSAN : public SANModel {
 public:
  class FAILActivity : public Activity {
   public:
    FAILActivity();
    ~FAILActivity() override;   // frees TheDistributionParameters

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

    Place* UP;
    short* UP_Tavrin_Mark;
    Place* DOWN;
    short* DOWN_Tavrin_Mark;
  };

  class REPAIRActivity : public Activity {
   public:
    REPAIRActivity();
    ~REPAIRActivity() override;   // frees TheDistributionParameters

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

    Place* DOWN;
    short* DOWN_Tavrin_Mark;
    Place* UP;
    short* UP_Tavrin_Mark;
  };

  AVAILABILITYSAN();
  ~AVAILABILITYSAN() override;   // deletes the places; activities and groups are members

  void assignPlacesToActivitiesInst();
  void assignPlacesToActivitiesTimed();
  void CustomInitialization();

  Place* UP;     // owned
  Place* DOWN;   // owned
  FAILActivity FAIL;
  REPAIRActivity REPAIR;
  // Declared by the generator for every model; this model hands none of them to the engine.
  PreselectGroup ImmediateGroup;
  PostselectGroup FAILGroup;
  PostselectGroup REPAIRGroup;
};

#endif
