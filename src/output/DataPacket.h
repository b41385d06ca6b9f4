#ifndef TAVRIN_OUTPUT_DATAPACKET_H
#define TAVRIN_OUTPUT_DATAPACKET_H

#include <cstddef>

// DataPacket: one report: for every performance variable a row of observations, one per
// batch, and the count of valid entries in the row. Indices are the caller's to keep in range.
class DataPacket {
 public:
  // Throws std::bad_alloc when the rows cannot be allocated. The rows come zeroed from the
  // system, so pages no observation reaches are never touched.
  DataPacket(int clientId, int experimentNumber, int numPV, int maxNumReports);
  ~DataPacket();
  DataPacket(const DataPacket&) = delete;
  DataPacket& operator=(const DataPacket&) = delete;

  void SetClientId(int clientId) { _clientId = clientId; }
  void SetExperimentNum(int experimentNumber) { _experimentNumber = experimentNumber; }
  void SetObs(int pv, int reportNum, double value) {
    _observations[static_cast<size_t>(pv) * _maxNumReports + reportNum] = value;
  }
  void SetNumObs(int pv, int num) { _numObs[pv] = num; }
  const double* GetObsArray(int pv) const {
    return _observations + static_cast<size_t>(pv) * _maxNumReports;
  }
  int GetNumObs(int pv) const { return _numObs[pv]; }

  int GetClientId() const { return _clientId; }
  int GetExperimentNum() const { return _experimentNumber; }
  int GetNumPV() const { return _numPV; }
  int GetMaxNumReports() const { return _maxNumReports; }

 private:
  int _clientId;
  int _experimentNumber;
  int _numPV;
  int _maxNumReports;
  int* _numObs;           // owned: _numPV counts
  double* _observations;  // owned (C allocator): row-major, _numPV rows of _maxNumReports
};

#endif
