#include "Model.h"

const char* TypeName(GlobalType type) {
  switch (type) {
    case GlobalType::Double: return "double";
    case GlobalType::Int: return "int";
    case GlobalType::Short: return "short";
    case GlobalType::Char: return "char";
    case GlobalType::Float: return "float";
    case GlobalType::Long: return "long";
    case GlobalType::Bool: return "bool";
  }
  return "double";
}

char TypeLetter(GlobalType type) {
  switch (type) {
    case GlobalType::Double: return 'd';
    case GlobalType::Int: return 'i';
    case GlobalType::Short: return 's';
    case GlobalType::Char: return 'c';
    case GlobalType::Float: return 'f';
    case GlobalType::Long: return 'l';
    case GlobalType::Bool: return 'b';
  }
  return 'd';
}

const char* KindName(RewardKind kind) {
  switch (kind) {
    case RewardKind::InstantOfTime: return "instant_of_time";
    case RewardKind::IntervalOfTime: return "interval_of_time";
    case RewardKind::TimeAveragedIntervalOfTime: return "time_averaged_interval_of_time";
    case RewardKind::SteadyState: return "steady_state";
  }
  return "steady_state";
}

const ActivityDef* Model::FindActivity(const std::string& wanted) const {
  for (const ActivityDef& a : activities)
    if (a.name == wanted) return &a;
  return nullptr;
}

int Model::NumResultVariables() const {
  int n = 0;
  for (const RewardDef& r : rewards) n += r.NumTimePoints();
  return n;
}

std::vector<std::string> CompositionNode::SharedNames() const {
  if (replicate) return sharedPlaces;
  std::vector<std::string> names;
  for (const JoinShared& s : shared) names.push_back(s.name);
  return names;
}

const Model* Model::FindSubmodel(const std::string& wanted) const {
  for (const Model& m : submodels)
    if (m.name == wanted) return &m;
  return nullptr;
}

const CompositionNode* Model::FindNode(const std::string& wanted) const {
  for (const CompositionNode& n : nodes)
    if (n.name == wanted) return &n;
  return nullptr;
}

bool Model::IsPlace(const std::string& wanted) const {
  for (const PlaceDef& p : places)
    if (p.name == wanted) return true;
  return false;
}
