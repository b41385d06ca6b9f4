#ifndef STATIONSAN_H
#define STATIONSAN_H

#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// The model's global variables, given their values by the study of each experiment.
extern int population;   // customers circulating in the tandem
extern double mu1;       // service rate of station 1
extern double mu2;       // service rate of station 2
extern double mu3;       // service rate of station 3

// STATIONSAN: the atomic model "Station": a single-server station whose customers wait in
// queue and, once served at the station's rate, go to next (the next station's queue once
// the stations are joined). Station 0 is built with the whole population in its queue, and
// station i serves at rate mu(i+1).
class STATIONSAN : public SANModel {
 public:
  class ServeActivity : public Activity {
   public:
    explicit ServeActivity(double* rate);
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

    Place* queue;
    Place* next;
    short* queue_Tavrin_Mark;
    short* next_Tavrin_Mark;

   private:
    double* ServiceRate;   // not owned: the global rate of this station
  };

  explicit STATIONSAN(int station);
  ~STATIONSAN() override;   // deletes the places

  Place* queue;   // owned
  Place* next;    // owned
  ServeActivity Serve;
};

#endif
