#ifndef TANDEMJOIN_H
#define TANDEMJOIN_H

#include "framework/composed/JoinModel.h"

// TANDEMJoin: the composed model "Tandem": three stations in a ring, each one's next being
// the following one's queue (shared variables buffer1, buffer2, buffer3, the queues of
// stations 1, 2 and 3; the queue is listed first, so station 1's population is kept).
class TANDEMJoin : public JoinModel {
 public:
  TANDEMJoin();
};

#endif
