#include "ModelReader.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "Dependencies.h"
#include "Format.h"
#include "ModelError.h"
#include "NameRules.h"
#include "StudyReader.h"
#include "TomlSupport.h"

namespace {

struct DistributionInfo {
  const char* name;
  int parameters;   // -1: a list, for the two phase-type distributions
};

const DistributionInfo kDistributions[] = {
    {"exponential", 1}, {"deterministic", 1},     {"geometric", 1},       {"weibull", 2},
    {"conditional_weibull", 3}, {"normal", 2},    {"lognormal", 2},       {"erlang", 2},
    {"triangular", 3},  {"gamma", 2},             {"beta", 2},            {"uniform", 2},
    {"binomial", 2},    {"negative_binomial", 2}, {"hyperexponential", -1},
    {"hypoexponential", -1}, {"pareto", 2}};

const DistributionInfo* FindDistribution(const std::string& name) {
  for (const DistributionInfo& d : kDistributions)
    if (name == d.name) return &d;
  return nullptr;
}

std::string DistributionList() {
  std::string list;
  for (const DistributionInfo& d : kDistributions) list += (list.empty() ? "" : ", ") + std::string(d.name);
  return list + ", instantaneous";
}

class Reader {
 public:
  Reader(const std::string& text, const std::string& path) : text_(text) { model_.file = path; }

  Model Read() {
    toml::table root;
    try {
      root = toml::parse(text_, model_.file);
    } catch (const toml::parse_error& error) {
      throw ModelError(PosOf(error.source()), std::string(error.description()));
    }
    if (root.empty()) throw ModelError({1, 1}, "empty model: the file defines nothing");
    CheckKeys(root, {"model", "description", "globals", "places", "activity", "reward", "study", "experiment"},
              "the model file");
    ReadHeader(root);
    ReadGlobals(root);
    ReadPlaces(root);
    ReadActivities(root);
    ReadRewards(root);
    CheckNames();
    ReadStudy(root, model_);
    DeriveDependencies(model_);
    return model_;
  }

 private:
  // The line the text of a string node starts on: a multi-line string that opens with a
  // line break starts on the next line.
  int ContentLine(const toml::node& node) {
    SourcePos pos = PosOf(node);
    if (lines_.empty()) {
      std::istringstream in(text_);
      std::string line;
      while (std::getline(in, line)) lines_.push_back(line);
    }
    if (pos.line < 1 || pos.line > static_cast<int>(lines_.size())) return pos.line;
    const std::string& line = lines_[pos.line - 1];
    size_t at = static_cast<size_t>(pos.column - 1);
    for (const char* opener : {"'''", "\"\"\""}) {
      if (line.compare(at, 3, opener) != 0) continue;
      if (line.find_first_not_of(" \t\r", at + 3) == std::string::npos) return pos.line + 1;
    }
    return pos.line;
  }

  // A code piece: a string of C++, or a number standing for itself.
  Code ReadCode(const toml::node& node, const std::string& what) {
    Code code;
    code.present = true;
    code.pos = PosOf(node);
    if (const auto* s = node.as_string()) {
      code.text = s->get();
      code.pos.line = ContentLine(node);
      if (code.text.find_first_not_of(" \t\r\n") == std::string::npos)
        throw ModelError(PosOf(node), what + " is empty");
    } else if (const auto* i = node.as_integer()) {
      code.text = std::to_string(i->get());
    } else if (const auto* f = node.as_floating_point()) {
      if (!std::isfinite(f->get())) throw ModelError(PosOf(node), what + " must be finite");
      code.text = FormatDouble(f->get());
    } else {
      throw ModelError(PosOf(node), what + " must be a string of C++ code or a number");
    }
    return code;
  }

  std::string ReadString(const toml::node& node, const std::string& what) {
    const auto* s = node.as_string();
    if (s == nullptr) throw ModelError(PosOf(node), what + " must be a string");
    return s->get();
  }

  void ReadHeader(const toml::table& root) {
    const toml::node* name = root.get("model");
    if (name == nullptr) throw ModelError({1, 1}, "the model has no name: add model = \"NAME\"");
    model_.name = ReadString(*name, "the model name");
    CheckIdentifier(model_.name, PosOf(*name), "model name");
    if (const toml::node* d = root.get("description")) model_.description = ReadString(*d, "description");
  }

  void ReadGlobals(const toml::table& root) {
    const toml::node* node = root.get("globals");
    if (node == nullptr) return;
    for (const auto& [key, value] : InFileOrder(AsTable(*node, "[globals]"))) {
      Global g;
      g.name = std::string(key->str());
      g.pos = PosOf(*key);
      std::string type = ReadString(*value, "the type of global '" + g.name + "'");
      static const std::map<std::string, GlobalType> kTypes = {
          {"double", GlobalType::Double}, {"int", GlobalType::Int},   {"short", GlobalType::Short},
          {"char", GlobalType::Char},     {"float", GlobalType::Float}, {"long", GlobalType::Long},
          {"bool", GlobalType::Bool}};
      auto found = kTypes.find(type);
      if (found == kTypes.end())
        throw ModelError(PosOf(*value), "unknown type '" + type + "' of global '" + g.name +
                                            "' (types: double, int, short, char, float, long, bool)");
      g.type = found->second;
      model_.globals.push_back(g);
    }
  }

  void ReadPlaces(const toml::table& root) {
    const toml::node* node = root.get("places");
    if (node == nullptr) return;
    for (const auto& [key, value] : InFileOrder(AsTable(*node, "[places]"))) {
      PlaceDef p;
      p.name = std::string(key->str());
      p.pos = PosOf(*key);
      p.initial = ReadCode(*value, "the initial marking of place '" + p.name + "'");
      model_.places.push_back(p);
    }
  }

  bool IsPlace(const std::string& name) const {
    for (const PlaceDef& p : model_.places)
      if (p.name == name) return true;
    return false;
  }

  std::vector<Arc> ReadArcs(const toml::node& node, const std::string& what) {
    std::vector<Arc> arcs;
    for (const auto& [key, value] : InFileOrder(AsTable(node, what))) {
      Arc arc;
      arc.place = std::string(key->str());
      arc.pos = PosOf(*key);
      if (!IsPlace(arc.place))
        throw ModelError(arc.pos, what + " names unknown place '" + arc.place + "'");
      const auto* m = value->as_integer();
      if (m == nullptr || m->get() < 1 || m->get() > 32767)
        throw ModelError(PosOf(*value), "the multiplicity of the arc to '" + arc.place +
                                            "' must be a whole number from 1 to 32767");
      arc.multiplicity = static_cast<int>(m->get());
      arcs.push_back(arc);
    }
    return arcs;
  }

  std::vector<std::string> ReadPlaceList(const toml::node& node, const std::string& what) {
    const toml::array* list = node.as_array();
    if (list == nullptr) throw ModelError(PosOf(node), what + " must be a list of place names");
    std::vector<std::string> names;
    for (const toml::node& item : *list) {
      std::string name = ReadString(item, "an entry of " + what);
      if (!IsPlace(name)) throw ModelError(PosOf(item), what + " names unknown place '" + name + "'");
      names.push_back(name);
    }
    return names;
  }

  void ReadDistribution(const toml::node& node, ActivityDef& a) {
    if (const auto* s = node.as_string()) {
      if (s->get() != "instantaneous")
        throw ModelError(PosOf(node), "unknown distribution '" + s->get() + "' (distributions: " +
                                          DistributionList() + ")");
      a.instantaneous = true;
      return;
    }
    const toml::table& table = AsTable(node, "distribution");
    if (table.size() != 1)
      throw ModelError(PosOf(node), "distribution must name one distribution, e.g. { exponential = \"lambda\" }");
    auto entries = InFileOrder(table);
    const toml::key& key = *entries[0].first;
    const toml::node& params = *entries[0].second;
    a.distribution = std::string(key.str());
    const DistributionInfo* info = FindDistribution(a.distribution);
    if (info == nullptr)
      throw ModelError(PosOf(key), "unknown distribution '" + a.distribution + "' (distributions: " +
                                       DistributionList() + ")");
    if (const toml::array* list = params.as_array()) {
      for (const toml::node& p : *list) a.parameters.push_back(ReadCode(p, "a distribution parameter"));
    } else {
      a.parameters.push_back(ReadCode(params, "a distribution parameter"));
    }
    int n = static_cast<int>(a.parameters.size());
    if (info->parameters > 0 && n != info->parameters)
      throw ModelError(PosOf(params), "distribution '" + a.distribution + "' takes " +
                                          std::to_string(info->parameters) + " parameter" +
                                          (info->parameters == 1 ? "" : "s") + ", not " + std::to_string(n));
    if (a.distribution == "hyperexponential" && (n < 2 || n % 2 != 0))
      throw ModelError(PosOf(params), "distribution 'hyperexponential' takes pairs of parameters "
                                      "[rate1, weight1, rate2, weight2, ...], not " + std::to_string(n));
    if (a.distribution == "hypoexponential" && n < 1)
      throw ModelError(PosOf(params), "distribution 'hypoexponential' takes one rate per phase, not 0");
  }

  void ReadCases(const toml::node& node, ActivityDef& a) {
    const toml::array* list = node.as_array();
    if (list == nullptr || list->empty())
      throw ModelError(PosOf(node), "case must be a list of cases ([[activity." + a.name + ".case]])");
    bool allConstant = true;
    double sum = 0.0;
    for (const toml::node& item : *list) {
      const toml::table& table = AsTable(item, "a case of activity '" + a.name + "'");
      CheckKeys(table, {"probability", "output", "fire"}, "a case of activity '" + a.name + "'");
      Case c;
      c.pos = PosOf(item);
      const toml::node* p = table.get("probability");
      if (p == nullptr) throw ModelError(c.pos, "a case of activity '" + a.name + "' has no probability");
      c.probability = ReadCode(*p, "a case probability");
      char* end = nullptr;
      double constant = std::strtod(c.probability.text.c_str(), &end);
      bool isConstant = end != c.probability.text.c_str() &&
                        std::string(end).find_first_not_of(" \t\r\n") == std::string::npos;
      if (isConstant) sum += constant;
      allConstant = allConstant && isConstant;
      if (const toml::node* o = table.get("output")) c.output = ReadArcs(*o, "the output arcs of a case of '" + a.name + "'");
      if (const toml::node* f = table.get("fire")) c.fire = ReadCode(*f, "a case's firing function");
      a.cases.push_back(c);
    }
    if (allConstant && std::fabs(sum - 1.0) > 1e-9)
      throw ModelError(PosOf(node), "the case probabilities of activity '" + a.name + "' sum to " +
                                        FormatDouble(sum) + ", not 1");
  }

  void ReadActivities(const toml::table& root) {
    const toml::node* node = root.get("activity");
    if (node == nullptr) throw ModelError({1, 1}, "empty model: it has no activity ([activity.NAME])");
    for (const auto& [key, value] : InFileOrder(AsTable(*node, "activity"))) {
      ActivityDef a;
      a.name = std::string(key->str());
      a.pos = PosOf(*key);
      std::string what = "activity '" + a.name + "'";
      const toml::table& table = AsTable(*value, what);
      CheckKeys(table, {"distribution", "input", "output", "enabled", "fire", "case", "reactivation_predicate",
                        "reactivation_function", "rank", "weight", "policy", "reads", "changes"},
                what);
      const toml::node* d = table.get("distribution");
      if (d == nullptr)
        throw ModelError(a.pos, what + " has no distribution (e.g. distribution = { exponential = \"rate\" }, "
                                       "or distribution = \"instantaneous\")");
      ReadDistribution(*d, a);
      if (const toml::node* n = table.get("input")) a.input = ReadArcs(*n, "the input arcs of " + what);
      if (const toml::node* n = table.get("output")) a.output = ReadArcs(*n, "the output arcs of " + what);
      if (const toml::node* n = table.get("enabled")) a.enabled = ReadCode(*n, "the enabling predicate");
      if (const toml::node* n = table.get("fire")) a.fire = ReadCode(*n, "the firing function");
      if (const toml::node* n = table.get("case")) ReadCases(*n, a);
      if (const toml::node* n = table.get("reactivation_predicate"))
        a.reactivationPredicate = ReadCode(*n, "the reactivation predicate");
      if (const toml::node* n = table.get("reactivation_function"))
        a.reactivationFunction = ReadCode(*n, "the reactivation function");
      if (a.reactivationPredicate.present != a.reactivationFunction.present)
        throw ModelError(a.pos, what + " needs both reactivation_predicate and reactivation_function, or neither");
      if (const toml::node* n = table.get("rank")) a.rank = ReadCode(*n, "the rank");
      if (const toml::node* n = table.get("weight")) a.weight = ReadCode(*n, "the weight");
      if (!a.cases.empty() && (a.rank.present || a.weight.present))
        throw ModelError(a.pos, what + " has cases: its group always has rank 1 and weight 1, so rank and "
                                       "weight cannot be set");
      if (const toml::node* n = table.get("policy")) {
        std::string policy = ReadString(*n, "policy");
        static const std::map<std::string, std::string> kPolicies = {
            {"race_enabled", "RaceEnabled"}, {"race_resampling", "RaceResampling"}, {"race_age", "RaceAge"}};
        auto found = kPolicies.find(policy);
        if (found == kPolicies.end())
          throw ModelError(PosOf(*n), "unknown policy '" + policy + "' (race_enabled, race_resampling, race_age)");
        a.policy = found->second;
      }
      if (const toml::node* n = table.get("reads")) a.reads = ReadPlaceList(*n, "reads");
      if (const toml::node* n = table.get("changes")) a.changes = ReadPlaceList(*n, "changes");
      model_.activities.push_back(a);
    }
    if (model_.activities.empty()) throw ModelError(PosOf(*node), "empty model: it has no activity");
  }

  void ReadRewards(const toml::table& root) {
    const toml::node* node = root.get("reward");
    if (node == nullptr) throw ModelError({1, 1}, "the model has no reward variable ([reward.NAME])");
    int index = 0;
    for (const auto& [key, value] : InFileOrder(AsTable(*node, "reward"))) {
      RewardDef r;
      r.name = std::string(key->str());
      r.pos = PosOf(*key);
      std::string what = "reward variable '" + r.name + "'";
      const toml::table& table = AsTable(*value, what);
      const toml::node* k = table.get("kind");
      if (k == nullptr)
        throw ModelError(r.pos, what + " has no kind (instant_of_time, interval_of_time, "
                                       "time_averaged_interval_of_time, steady_state)");
      std::string kind = ReadString(*k, "kind");
      std::vector<std::string> keys = {"kind", "rate", "impulse"};
      if (kind == "instant_of_time") {
        r.kind = RewardKind::InstantOfTime;
        keys.push_back("times");
        if (const toml::node* n = table.get("impulse"))
          throw ModelError(PosOf(*n), what + ": an instant-of-time variable has no impulse rewards, "
                                            "only a rate reward");
      } else if (kind == "interval_of_time" || kind == "time_averaged_interval_of_time") {
        r.kind = kind == "interval_of_time" ? RewardKind::IntervalOfTime : RewardKind::TimeAveragedIntervalOfTime;
        keys.insert(keys.end(), {"start", "stop"});
      } else if (kind == "steady_state") {
        r.kind = RewardKind::SteadyState;
        keys.insert(keys.end(), {"transient", "batch"});
      } else {
        throw ModelError(PosOf(*k), "unknown kind '" + kind + "' (instant_of_time, interval_of_time, "
                                                              "time_averaged_interval_of_time, steady_state)");
      }
      CheckKeys(table, keys, what + " of kind " + kind);
      auto required = [&](const char* name, const std::string& meaning) {
        const toml::node* n = table.get(name);
        if (n == nullptr) throw ModelError(r.pos, what + " has no " + name + " (" + meaning + ")");
        return ReadCode(*n, std::string("the ") + name + " of " + what);
      };
      if (r.kind == RewardKind::InstantOfTime) {
        const toml::node* t = table.get("times");
        if (t == nullptr) throw ModelError(r.pos, what + " has no times (its list of time points)");
        const toml::array* list = t->as_array();
        if (list == nullptr || list->empty())
          throw ModelError(PosOf(*t), "times must be a non-empty list of time points");
        for (const toml::node& item : *list) r.times.push_back(ReadCode(item, "a time point"));
      } else if (r.kind == RewardKind::SteadyState) {
        r.transient = required("transient", "the length of the initial transient");
        r.batch = required("batch", "the length of a batch");
      } else {
        r.start = required("start", "the start of the window");
        r.stop = required("stop", "the end of the window");
      }
      if (const toml::node* n = table.get("rate")) r.rate = ReadCode(*n, "the rate reward");
      if (const toml::node* n = table.get("impulse")) {
        for (const auto& [act, amount] : InFileOrder(AsTable(*n, "impulse"))) {
          ImpulseDef impulse;
          impulse.activity = std::string(act->str());
          impulse.pos = PosOf(*act);
          if (model_.FindActivity(impulse.activity) == nullptr)
            throw ModelError(impulse.pos, "impulse of " + what + " names unknown activity '" + impulse.activity + "'");
          impulse.value = ReadCode(*amount, "an impulse reward");
          r.impulses.push_back(impulse);
        }
      }
      if (!r.rate.present && r.impulses.empty())
        throw ModelError(r.pos, what + " has neither a rate reward nor an impulse reward");
      r.index = index;
      index += r.NumTimePoints();
      model_.rewards.push_back(r);
    }
    if (model_.rewards.empty()) throw ModelError(PosOf(*node), "the model has no reward variable");
  }

  // Every name is a C++ identifier that is no keyword or framework name, and no two
  // elements (or the classes generated from them) share a name.
  void CheckNames() {
    std::map<std::string, std::string> taken;   // name -> what it names
    auto claim = [&](const std::string& name, SourcePos pos, const std::string& what) {
      CheckIdentifier(name, pos, what);
      auto found = taken.find(name);
      if (found != taken.end())
        throw ModelError(pos, "duplicate name '" + name + "': already the name of " + found->second);
      taken[name] = what + " '" + name + "'";
    };
    for (const Global& g : model_.globals) claim(g.name, g.pos, "global");
    for (const PlaceDef& p : model_.places) claim(p.name, p.pos, "place");
    for (const ActivityDef& a : model_.activities) {
      claim(a.name, a.pos, "activity");
      for (size_t c = 0; c < a.cases.size(); c++)
        claim(a.name + "_Case" + std::to_string(c + 1), a.pos, "a case activity of '" + a.name + "'");
      claim(a.name + "Group", a.pos, "the group of activity '" + a.name + "'");
    }
    if (taken.count(model_.name) != 0)
      throw ModelError({1, 1}, "the model name '" + model_.name + "' is also the name of " + taken[model_.name]);
    std::set<std::string> rewards;
    for (const RewardDef& r : model_.rewards) {
      // A variable's name is only a name in the result files' description, so it need
      // not avoid the names of C++ and the framework; it is kept to identifier form.
      std::string problem = NameProblem(r.name);
      if (!problem.empty() && problem.find("is not a C++ identifier") != std::string::npos)
        throw ModelError(r.pos, "the reward variable name '" + r.name + "' " + problem);
      if (!rewards.insert(r.name).second) throw ModelError(r.pos, "duplicate reward variable '" + r.name + "'");
    }
  }

  std::string text_;
  std::vector<std::string> lines_;
  Model model_;
};

}  // namespace

Model ReadModelText(const std::string& text, const std::string& path) { return Reader(text, path).Read(); }

Model ReadModelFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ModelError({0, 0}, "cannot read the model file");
  std::ostringstream text;
  text << in.rdbuf();
  return ReadModelText(text.str(), path);
}
