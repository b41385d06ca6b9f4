#ifndef TAVRIN_STATS_RESULTFILE_H
#define TAVRIN_STATS_RESULTFILE_H

#include <map>
#include <string>
#include <vector>

// ResultFile: what one result file of a simulator holds, whichever of the two forms it was
// written in: the run it came from and, per variable index, the observations in batch order.
struct ResultFile {
  enum Kind { Ascii, Binary };

  std::string Name;                 // the name it was read under, for messages
  Kind FileKind = Ascii;
  unsigned int ExperimentNumber = 0;
  std::string Seed;                 // empty when the header leaves the field out
  std::string Generator;            // likewise
  long Batches = -1;                // the batch count the file gives; -1 when it gives none
  std::map<int, std::vector<double>> Observations;
  // What the reader passed over to keep every whole observation: a cut last line or record,
  // a missing trailer, a batch count that differs from the observations.
  std::vector<std::string> Warnings;
};

#endif
