#ifndef TAVRIN_MANAGER_STUDYDESCRIPTION_H
#define TAVRIN_MANAGER_STUDYDESCRIPTION_H

#include <string>
#include <utility>
#include <vector>

// StudyDescription: what <simulator>.study.json says of the model: its global variables,
// its experiments with their values, and its reward variables with their kinds, so the
// manager can name what it runs and know which variables a run of each kind observes.
struct StudyDescription {
  struct Experiment {
    int index = 0;
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;   // global name, value as text
  };
  struct Reward {
    int index = 0;          // the first result-file index of the variable
    std::string name;
    std::string kind;       // instant_of_time, interval_of_time, ..., steady_state
    int points = 1;         // result-file indices it takes (one per time of an instant)
    std::vector<std::string> times;   // an instant's times, as written in the model
  };

  std::string model;
  std::vector<std::pair<std::string, std::string>> globals;   // name, type
  std::vector<Experiment> experiments;
  std::vector<Reward> rewards;

  // 0 with out filled, 1 with a message naming the file and what is wrong.
  static int Read(const std::string& path, StudyDescription& out, std::string& error);

  // The variable's name for a result-file index (an instant with several times gets
  // "name@time", the time as written in the model), or "" when the description does not know the index.
  std::string VariableName(int index) const;
  // Whether a run of the given kind observes the variable at this index; indices the
  // description does not know are taken as observed.
  bool Observes(int index, bool steadyState) const;
  // Whether any variable is of the given run kind: without one, such a run measures nothing.
  bool HasVariablesFor(bool steadyState) const;
  const Experiment* FindExperiment(int index) const;
};

#endif
