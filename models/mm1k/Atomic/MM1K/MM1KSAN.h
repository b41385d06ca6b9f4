#ifndef MM1KSAN_H
#define MM1KSAN_H

#include "framework/PostselectGroup.h"
#include "framework/PreselectGroup.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// The model's global variables, given their values by the study of each experiment.
extern double lambda;   // arrival rate
extern double mu;       // service rate
extern int K;           // room in the system, the customer in service included

// MM1KSAN: the atomic model "MM1K", a single-server queue with room for K customers.
// Customers arrive at rate lambda while there is room and are served one at a time at rate
// mu; the place Queue holds the number of customers in the system.
class MM1KSAN : public SANModel {
 public:
  class ArrivalActivity : public Activity {
   public:
    ArrivalActivity();

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

    Place* Queue;
    short* Queue_Tavrin_Mark;
  };

  class ServiceActivity : public Activity {
   public:
    ServiceActivity();

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

    Place* Queue;
    short* Queue_Tavrin_Mark;
  };

  MM1KSAN();
  ~MM1KSAN() override;   // deletes the places; activities and groups are members

  void assignPlacesToActivitiesInst();
  void assignPlacesToActivitiesTimed();
  void CustomInitialization();

  Place* Queue;   // owned
  ArrivalActivity Arrival;
  ServiceActivity Service;
  // Declared by the generator for every model; this model hands none of them to the engine.
  PreselectGroup ImmediateGroup;
  PostselectGroup ArrivalGroup;
  PostselectGroup ServiceGroup;
};

#endif
