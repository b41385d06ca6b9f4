#include "Composed/TANDEM/TANDEMJoin.h"

#include "Atomic/STATION/STATIONSAN.h"

TANDEMJoin::TANDEMJoin() {
  BaseModelClass* children[] = {new STATIONSAN(0), new STATIONSAN(1), new STATIONSAN(2)};
  const JoinPlace buffer1[] = {{0, "queue"}, {2, "next"}};
  const JoinPlace buffer2[] = {{1, "queue"}, {0, "next"}};
  const JoinPlace buffer3[] = {{2, "queue"}, {1, "next"}};
  const JoinSharedVariable shared[] = {
      {"buffer1", 2, buffer1}, {"buffer2", 2, buffer2}, {"buffer3", 2, buffer3}};
  initializeJoinModelNow("Tandem", 3, children, 3, shared);
}
