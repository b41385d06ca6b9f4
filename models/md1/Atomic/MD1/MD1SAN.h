#ifndef MD1SAN_H
#define MD1SAN_H

#include "framework/PostselectGroup.h"
#include "framework/PreselectGroup.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// The model's global variables, given their values by the study of each experiment.
extern double lambda;   // arrival rate
extern double mu;       // service rate: every service takes exactly 1 / mu

// MD1SAN: the atomic model "MD1", a single-server queue without a bound on its length.
// Customers arrive at rate lambda and are served one at a time, each service taking exactly
// 1 / mu; the place Queue holds the number of customers in the system. A service in
// progress keeps its completion time while arrivals join the queue.
class MD1SAN : public SANModel {
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

  MD1SAN();
  ~MD1SAN() override;   // deletes the places; activities and groups are members

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
