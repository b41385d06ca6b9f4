#include "output/DataPacket.h"

DataPacket::DataPacket(int clientId, int experimentNumber, int numPV, int maxNumReports)
    : _clientId(clientId),
      _experimentNumber(experimentNumber),
      _numPV(numPV),
      _maxNumReports(maxNumReports),
      _numObs(new int[numPV > 0 ? numPV : 1]()),
      _observations(new double[numPV > 0 && maxNumReports > 0
                                   ? static_cast<long>(numPV) * maxNumReports
                                   : 1]()) {}

DataPacket::~DataPacket() {
  delete[] _numObs;
  delete[] _observations;
}
