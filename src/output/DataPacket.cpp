#include "output/DataPacket.h"

#include <cstdlib>
#include <new>

namespace {

// calloc rather than a zeroing new: a large block comes straight from the system already
// zero, so a report sized for many observations costs memory only for those it holds.
double* ZeroedRows(int numPV, int maxNumReports) {
  size_t count = (numPV > 0 && maxNumReports > 0)
                     ? static_cast<size_t>(numPV) * static_cast<size_t>(maxNumReports)
                     : 1;
  void* rows = std::calloc(count, sizeof(double));
  if (rows == nullptr) throw std::bad_alloc();
  return static_cast<double*>(rows);
}

}  // namespace

DataPacket::DataPacket(int clientId, int experimentNumber, int numPV, int maxNumReports)
    : _clientId(clientId),
      _experimentNumber(experimentNumber),
      _numPV(numPV),
      _maxNumReports(maxNumReports),
      _numObs(new int[numPV > 0 ? numPV : 1]()),
      _observations(nullptr) {
  try {
    _observations = ZeroedRows(numPV, maxNumReports);
  } catch (const std::bad_alloc&) {
    delete[] _numObs;
    throw;
  }
}

DataPacket::~DataPacket() {
  delete[] _numObs;
  std::free(_observations);
}
