#ifndef L2_CACHESAN_H
#define L2_CACHESAN_H

#include "framework/PostselectGroup.h"
#include "framework/PreselectGroup.h"
#include "framework/san/Activity.h"
#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

// L2_CACHESAN: the atomic model "L2_CACHE", which moves a token from a pending read or a
// pending write into the cache content. Its activities read and write the markings only
// through the registered _Tavrin_Mark pointers, so the places could be shared.
class L2_CACHESAN : public SANModel {
 public:
  class T_READActivity : public Activity {
   public:
    T_READActivity();

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

    Place* READ;
    short* READ_Tavrin_Mark;
    Place* L2_CONTENT;
    short* L2_CONTENT_Tavrin_Mark;
  };

  class T_WRITEActivity : public Activity {
   public:
    T_WRITEActivity();

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

    Place* WRITE;
    short* WRITE_Tavrin_Mark;
    Place* L2_CONTENT;
    short* L2_CONTENT_Tavrin_Mark;
  };

  L2_CACHESAN();
  ~L2_CACHESAN() override;   // deletes the places; activities and groups are members

  void assignPlacesToActivitiesInst();
  void assignPlacesToActivitiesTimed();
  void CustomInitialization();

  Place* READ;         // owned
  Place* WRITE;        // owned
  Place* L2_CONTENT;   // owned
  T_READActivity T_READ;
  T_WRITEActivity T_WRITE;
  // Declared by the generator for every model; this model hands none of them to the engine.
  PreselectGroup ImmediateGroup;
  PostselectGroup T_READGroup;
  PostselectGroup T_WRITEGroup;
};

#endif
