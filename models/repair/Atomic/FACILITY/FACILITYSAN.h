#ifndef FACILITYSAN_H
#define FACILITYSAN_H

#include "framework/san/Place.h"
#include "framework/san/SANModel.h"

extern int crews;   // number of repair crews

// FACILITYSAN: the atomic model "Facility", the repair facility: its place crews holds the
// idle crews, all of them at the start. It has no activity of its own: the machines it is
// joined with take and give back its crews.
class FACILITYSAN : public SANModel {
 public:
  FACILITYSAN();
  ~FACILITYSAN() override;   // deletes the place

  Place* crews;   // owned
};

#endif
