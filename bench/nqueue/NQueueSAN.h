#ifndef NQUEUESAN_H
#define NQUEUESAN_H

#include <vector>

#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// The benchmark's global variables, given their values by its study.
extern double lambda;   // arrival rate of every queue
extern double mu;       // service rate of every queue
extern int K;           // room in each queue, the customer in service included
extern int N;           // number of queues

// NQueueSAN: the atomic model "NQueue", N independent M/M/1/K queues in one model, for the
// benchmark of the cost of a firing as the model grows. Queue i is the place "Queue<i>",
// fed by the activity "Arrival<i>" and emptied by "Service<i>"; each activity class is
// instantiated once per queue with its index, so the model compiles in seconds whatever N.
class NQueueSAN : public SANModel {
 public:
  class ArrivalActivity : public Activity {
   public:
    void Setup(int index, Place* queue);
    void LinkVariables() override;
    bool Enabled() override;
    BaseActionClass* Fire() override;
    double Weight() override;
    int Rank() override;
    double Rate() override;
    double SampleDistribution() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;

    Place* Queue = nullptr;
    short* Queue_Tavrin_Mark = nullptr;
  };

  class ServiceActivity : public Activity {
   public:
    void Setup(int index, Place* queue);
    void LinkVariables() override;
    bool Enabled() override;
    BaseActionClass* Fire() override;
    double Weight() override;
    int Rank() override;
    double Rate() override;
    double SampleDistribution() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;

    Place* Queue = nullptr;
    short* Queue_Tavrin_Mark = nullptr;
  };

  NQueueSAN();
  ~NQueueSAN() override;   // deletes the places; the activities are members

  std::vector<Place*> Queues;   // owned
  std::vector<ArrivalActivity> Arrivals;
  std::vector<ServiceActivity> Services;
};

#endif
