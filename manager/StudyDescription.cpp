#include "StudyDescription.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

namespace pt = boost::property_tree;

namespace {

const char* const kKinds[] = {"instant_of_time", "interval_of_time",
                              "time_averaged_interval_of_time", "steady_state"};

bool KnownKind(const std::string& kind) {
  for (const char* k : kKinds)
    if (kind == k) return true;
  return false;
}

const StudyDescription::Reward* FindReward(const std::vector<StudyDescription::Reward>& rewards,
                                           int index, int& point) {
  for (const StudyDescription::Reward& r : rewards) {
    if (index >= r.index && index < r.index + r.points) {
      point = index - r.index;
      return &r;
    }
  }
  return nullptr;
}

// Whole numbers are read as text and converted here: the tree's own conversion to int draws
// a false uninitialised-value warning from GCC in sanitizer builds.
int IndexOf(const pt::ptree& node, const std::string& path) {
  std::string text = node.get<std::string>("index");
  size_t used = 0;
  int value = -1;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size())
    throw pt::ptree_bad_data(path + ": index '" + text + "' is not a whole number", text);
  return value;
}

}  // namespace

int StudyDescription::Read(const std::string& path, StudyDescription& out, std::string& error) {
  pt::ptree tree;
  try {
    pt::read_json(path, tree);
    out = StudyDescription();
    out.model = tree.get<std::string>("model");
    for (const auto& g : tree.get_child("globals"))
      out.globals.emplace_back(g.second.get<std::string>("name"), g.second.get<std::string>("type"));
    for (const auto& e : tree.get_child("experiments")) {
      Experiment experiment;
      experiment.index = IndexOf(e.second, "experiment");
      experiment.name = e.second.get<std::string>("name");
      for (const auto& v : e.second.get_child("values"))
        experiment.values.emplace_back(v.first, v.second.get_value<std::string>());
      out.experiments.push_back(experiment);
    }
    for (const auto& r : tree.get_child("rewards")) {
      Reward reward;
      reward.index = IndexOf(r.second, "reward");
      reward.name = r.second.get<std::string>("name");
      reward.kind = r.second.get<std::string>("kind");
      if (!KnownKind(reward.kind)) {
        error = path + ": reward '" + reward.name + "' has the unknown kind '" + reward.kind + "'";
        return 1;
      }
      auto times = r.second.get_child_optional("times");
      if (times) {
        for (const auto& t : *times) reward.times.push_back(t.second.get_value<std::string>());
        reward.points = static_cast<int>(reward.times.size());
      }
      if (reward.points < 1) reward.points = 1;
      out.rewards.push_back(reward);
    }
  } catch (const pt::ptree_error& e) {
    error = path + ": not a study description: " + e.what();
    return 1;
  }
  for (size_t i = 0; i < out.experiments.size(); i++) {
    if (out.experiments[i].index != static_cast<int>(i)) {
      error = path + ": experiment " + std::to_string(i) + " has the index " +
              std::to_string(out.experiments[i].index);
      return 1;
    }
  }
  return 0;
}

std::string StudyDescription::VariableName(int index) const {
  int point = 0;
  const Reward* r = FindReward(rewards, index, point);
  if (r == nullptr) return "";
  if (r->points == 1) return r->name;
  return r->name + "@" + r->times[static_cast<size_t>(point)];
}

bool StudyDescription::Observes(int index, bool steadyState) const {
  int point = 0;
  const Reward* r = FindReward(rewards, index, point);
  if (r == nullptr) return true;
  return (r->kind == "steady_state") == steadyState;
}

bool StudyDescription::HasVariablesFor(bool steadyState) const {
  for (const Reward& r : rewards)
    if ((r.kind == "steady_state") == steadyState) return true;
  return false;
}

const StudyDescription::Experiment* StudyDescription::FindExperiment(int index) const {
  for (const Experiment& e : experiments)
    if (e.index == index) return &e;
  return nullptr;
}
