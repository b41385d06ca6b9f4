#include "ModelReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "Dependencies.h"
#include "Format.h"
#include "ModelError.h"
#include "NameRules.h"
#include "StudyReader.h"
#include "TomlPrecheck.h"
#include "TomlSupport.h"
#include "framework/composed/RepModel.h"
#include "platform/FileContents.h"

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

// A number as a message shows it: 10, 2.5.
std::string Shown(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return std::to_string(static_cast<long long>(value));
  return FormatDouble(value);
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The value of a code piece that is a number written as such (5, 2.5, "10"); none for
// any other code.
std::optional<double> LiteralNumber(const Code& code) {
  std::string text = Trimmed(code.text);
  if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '+' ||
                        text[0] == '.'))
    return std::nullopt;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A model file is read whole. Only a regular file is: a device or a pipe could be read
// without end, and a directory has no text.
std::string ReadWholeFile(const std::string& path, std::string& error) {
  std::error_code code;
  std::filesystem::file_status status = std::filesystem::status(path, code);
  if (!code && std::filesystem::is_directory(status)) {
    error = "it is a directory";
    return "";
  }
  if (!code && !std::filesystem::is_regular_file(status)) {
    error = "it is not a regular file";
    return "";
  }
  std::string text, reason;
  if (!ReadFileContents(path, text, reason)) error = reason.substr(reason.rfind(": ") + 2);
  return text;
}

// The files being read, outermost first, and every file read so far, by canonical path:
// an include of a file on the stack is a cycle; one read before is skipped.
struct IncludeState {
  std::vector<std::string> stack;
  std::set<std::string> done;
  std::vector<std::string> read;   // the included files, as named for reading
  std::map<std::string, std::pair<std::string, SourcePos>> submodelAt;   // name -> file, place
};

std::string CanonicalPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

class Reader {
 public:
  Reader(const std::string& text, const std::string& path) : text_(text) { model_.file = path; }

  Model Read() {
    toml::table root = Parse();
    if (root.empty()) throw ModelError({1, 1}, "empty model: the file defines nothing");
    CheckKeys(root, {"model", "description", "globals", "places", "activity", "reward", "study", "experiment",
                     "include", "submodel", "composition"},
              "the model file");
    ReadHeader(root);
    ReadGlobals(root);
    bool composed = root.get("composition") != nullptr || root.get("submodel") != nullptr ||
                    root.get("include") != nullptr;
    if (composed) {
      for (const char* key : {"places", "activity"}) {
        if (const toml::node* n = root.get(key))
          throw ModelError(PosOf(*n), std::string("a composed model keeps its ") + key +
                                          " in submodels ([submodel.NAME." + (key[0] == 'p' ? "places" : "activity.NAME") +
                                          "])");
      }
      IncludeState includes;
      includes.stack.push_back(CanonicalPath(model_.file));
      includes.done.insert(includes.stack.back());
      ReadSubmodelsAndIncludes(root, includes, model_.submodels, model_.globals);
      model_.includedFiles = includes.read;
      ReadComposition(root);
    } else {
      ReadPlaces(root);
      ReadActivities(root, false);
    }
    ReadRewards(root);
    if (!composed) CheckNames();
    CheckRewardNames();
    ReadStudy(root, model_);
    for (const Experiment& e : model_.experiments) {
      for (const RewardDef& r : model_.rewards) CheckWindow(r, &e);
      for (const PlaceDef& p : model_.places) CheckMarking(std::string(), p, &e);
      for (const Model& sub : model_.submodels)
        for (const PlaceDef& p : sub.places) CheckMarking(sub.file == model_.file ? std::string() : sub.file, p, &e);
    }
    if (composed) {
      WarnOfJoinedMarkings();
      CheckCounts();
      CheckRewardInstances();
      DeriveRewardPlaces();
    } else {
      DeriveDependencies(model_);
    }
    return model_;
  }

  // An included file: its submodels (and those of the files it includes) are appended to
  // submodels, with the globals of the model they belong to.
  void ReadIncluded(IncludeState& includes, std::vector<Model>& submodels, const std::vector<Global>& globals) {
    toml::table root = Parse();
    CheckKeys(root, {"description", "include", "submodel"}, "an included file");
    ReadSubmodelsAndIncludes(root, includes, submodels, globals);
  }

 private:
  toml::table Parse() {
    PrecheckTomlText(text_);
    try {
      return toml::parse(text_, model_.file);
    } catch (const toml::parse_error& error) {
      throw ModelError(PosOf(error.source()), std::string(error.description()));
    }
  }

  // [submodel.NAME] tables, each an atomic model (places and activities), then the files of
  // `include`, relative to this file's folder.
  void ReadSubmodelsAndIncludes(const toml::table& root, IncludeState& includes, std::vector<Model>& submodels,
                                const std::vector<Global>& globals) {
    if (const toml::node* node = root.get("submodel")) {
      for (const auto& [key, value] : InFileOrder(AsTable(*node, "submodel"))) {
        std::string name(key->str());
        auto earlier = includes.submodelAt.find(name);
        if (earlier != includes.submodelAt.end())
          throw ModelError(PosOf(*key), "duplicate submodel '" + name + "': already defined at " +
                                            earlier->second.first + ":" + std::to_string(earlier->second.second.line));
        includes.submodelAt[name] = {model_.file, PosOf(*key)};
        submodels.push_back(ReadSubmodel(name, PosOf(*key), AsTable(*value, "submodel '" + name + "'"), globals));
      }
    }
    const toml::node* node = root.get("include");
    if (node == nullptr) return;
    const toml::array* list = node->as_array();
    if (list == nullptr) throw ModelError(PosOf(*node), "include must be a list of model file names");
    for (const toml::node& item : *list) {
      std::string name = ReadString(item, "an entry of include");
      std::filesystem::path path(name);
      if (path.is_relative()) path = std::filesystem::path(model_.file).parent_path() / path;
      std::string canonical = CanonicalPath(path.string());
      for (const std::string& open : includes.stack)
        if (open == canonical)
          throw ModelError(PosOf(item), "include cycle: '" + name + "' is already being read (it includes this file)");
      if (includes.done.count(canonical) != 0) continue;
      std::string error;
      std::string text = ReadWholeFile(path.string(), error);
      if (!error.empty())
        throw ModelError(PosOf(item), "cannot read the included file '" + path.string() + "': " + error);
      includes.stack.push_back(canonical);
      includes.done.insert(canonical);
      includes.read.push_back(path.string());
      try {
        Reader(text, path.string()).ReadIncluded(includes, submodels, globals);
      } catch (const ModelError& error) {
        if (!error.File.empty()) throw;
        throw ModelError(path.string(), error.Pos, error.what());
      }
      includes.stack.pop_back();
    }
  }

  // One atomic submodel, read as an atomic model file's places and activities are.
  Model ReadSubmodel(const std::string& name, SourcePos pos, const toml::table& table,
                     const std::vector<Global>& globals) {
    CheckKeys(table, {"description", "places", "activity"}, "submodel '" + name + "'");
    std::vector<Global> ownGlobals = globals;   // globals may be the outer model's own list
    Model outer = std::move(model_);
    model_ = Model();
    model_.file = outer.file;
    model_.name = name;
    model_.pos = pos;
    model_.globals = ownGlobals;
    CheckIdentifier(name, pos, "submodel");
    if (const toml::node* d = table.get("description")) model_.description = ReadString(*d, "description");
    ReadPlaces(table);
    ReadActivities(table, true);
    CheckNames();
    DeriveDependencies(model_);
    Model sub = std::move(model_);
    model_ = std::move(outer);
    return sub;
  }

  // The names a node's parent can join or share: an atomic child's places, a composed
  // child's shared variables. Empty when name is neither.
  bool Shareable(const std::string& child, const std::string& place) const {
    if (const Model* sub = model_.FindSubmodel(child)) return sub->IsPlace(place);
    if (const CompositionNode* node = model_.FindNode(child)) {
      std::vector<std::string> names = node->SharedNames();
      return std::find(names.begin(), names.end(), place) != names.end();
    }
    return false;
  }

  std::string ShareableList(const std::string& child) const {
    std::vector<std::string> names;
    if (const Model* sub = model_.FindSubmodel(child)) {
      for (const PlaceDef& p : sub->places) names.push_back(p.name);
    } else if (const CompositionNode* node = model_.FindNode(child)) {
      names = node->SharedNames();
    }
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
    return list.empty() ? "none" : list;
  }

  void ReadComposition(const toml::table& root) {
    const toml::node* node = root.get("composition");
    if (node == nullptr && model_.submodels.empty())
      throw ModelError({1, 1}, "the model has no [composition] and no submodels: its included files define none");
    if (node == nullptr)
      throw ModelError({1, 1}, "the model has submodels but no [composition] that puts them together");
    for (const auto& [key, value] : InFileOrder(AsTable(*node, "[composition]"))) {
      CompositionNode n;
      n.name = std::string(key->str());
      n.pos = PosOf(*key);
      std::string what = "composition node '" + n.name + "'";
      const toml::table& table = AsTable(*value, what);
      const toml::node* rep = table.get("replicate");
      const toml::node* join = table.get("join");
      if ((rep == nullptr) == (join == nullptr))
        throw ModelError(n.pos, what + " needs either replicate = \"CHILD\" or join = [\"CHILD\", ...]");
      CheckIdentifier(n.name, n.pos, "composition node");
      if (rep != nullptr) {
        n.replicate = true;
        CheckKeys(table, {"replicate", "count", "shared"}, what);
        n.child = ReadString(*rep, "replicate");
        n.childPos = PosOf(*rep);
        const toml::node* count = table.get("count");
        if (count == nullptr) throw ModelError(n.pos, what + " has no count (a global's name or a whole number)");
        n.countPos = PosOf(*count);
        if (const auto* i = count->as_integer()) {
          if (i->get() < 1 || i->get() > RepModel::MaxCopies)
            throw ModelError(n.countPos, "count must be a whole number from 1 to " + std::to_string(RepModel::MaxCopies));
          n.count = std::to_string(i->get());
        } else if (const auto* s = count->as_string()) {
          n.count = s->get();
          n.countIsGlobal = true;
        } else {
          throw ModelError(n.countPos, "count must be a global's name or a whole number");
        }
        if (const toml::node* shared = table.get("shared")) {
          const toml::array* list = shared->as_array();
          if (list == nullptr) throw ModelError(PosOf(*shared), "shared must be a list of the child's place names");
          for (const toml::node& item : *list) {
            std::string place = ReadString(item, "an entry of shared");
            if (std::find(n.sharedPlaces.begin(), n.sharedPlaces.end(), place) != n.sharedPlaces.end())
              throw ModelError(PosOf(item), "place '" + place + "' is listed twice in shared");
            n.sharedPlaces.push_back(place);
            n.sharedPos.push_back(PosOf(item));
          }
        }
      } else {
        CheckKeys(table, {"join", "shared"}, what);
        const toml::array* list = join->as_array();
        if (list == nullptr || list->size() < 2)
          throw ModelError(PosOf(*join), "join must be a list of two or more children");
        for (const toml::node& item : *list) {
          std::string child = ReadString(item, "a child of a join");
          if (std::find(n.children.begin(), n.children.end(), child) != n.children.end())
            throw ModelError(PosOf(item), "'" + child + "' is a child of " + what +
                                              " twice (replicate it to have several copies)");
          n.children.push_back(child);
          n.childrenPos.push_back(PosOf(item));
        }
        if (const toml::node* shared = table.get("shared")) {
          for (const auto& [var, places] : InFileOrder(AsTable(*shared, "shared"))) {
            JoinShared js;
            js.name = std::string(var->str());
            js.pos = PosOf(*var);
            CheckIdentifier(js.name, js.pos, "shared variable");
            for (const auto& [child, place] : InFileOrder(AsTable(*places, "shared variable '" + js.name + "'"))) {
              js.places.push_back({std::string(child->str()), ReadString(*place, "a joined place"), PosOf(*child)});
            }
            n.shared.push_back(js);
          }
        }
      }
      model_.nodes.push_back(n);
    }
    if (model_.nodes.empty()) throw ModelError(PosOf(*node), "[composition] has no node");
    CheckComposition();
  }

  void CheckComposition() {
    std::map<std::string, std::string> taken;
    for (const Global& g : model_.globals) taken[g.name] = "global '" + g.name + "'";
    for (const Model& sub : model_.submodels) {
      if (taken.count(sub.name) != 0)
        throw ModelError(sub.file == model_.file ? std::string() : sub.file, sub.pos,
                         "submodel '" + sub.name + "' has the name of " + taken[sub.name]);
      taken[sub.name] = "submodel '" + sub.name + "'";
    }
    if (taken.count(model_.name) != 0)
      throw ModelError({1, 1}, "the model name '" + model_.name + "' is also the name of " + taken[model_.name]);
    for (const CompositionNode& n : model_.nodes) {
      auto found = taken.find(n.name);
      if (found != taken.end()) throw ModelError(n.pos, "duplicate name '" + n.name + "': already the name of " + found->second);
      taken[n.name] = "composition node '" + n.name + "'";
    }
    // The generated classes are declared beside the globals.
    for (const Global& g : model_.globals) {
      for (const Model& sub : model_.submodels)
        if (g.name == sub.name + "SAN")
          throw ModelError(g.pos, "global '" + g.name + "' has the name of the class of submodel '" + sub.name + "'");
      for (const CompositionNode& n : model_.nodes)
        if (g.name == n.name + (n.replicate ? "Rep" : "Join"))
          throw ModelError(g.pos, "global '" + g.name + "' has the name of the class of node '" + n.name + "'");
    }
    auto known = [&](const std::string& child, SourcePos pos) {
      if (model_.FindSubmodel(child) == nullptr && model_.FindNode(child) == nullptr)
        throw ModelError(pos, "unknown submodel or node '" + child + "'");
    };
    // The tree first: every child exists and no node holds itself through its children.
    std::set<std::string> held;
    for (const CompositionNode& n : model_.nodes) {
      if (n.replicate) {
        known(n.child, n.childPos);
        held.insert(n.child);
      }
      for (size_t i = 0; i < n.children.size(); i++) {
        known(n.children[i], n.childrenPos[i]);
        held.insert(n.children[i]);
      }
    }
    std::vector<std::string> path;
    std::function<void(const CompositionNode&)> walk = [&](const CompositionNode& n) {
      path.push_back(n.name);
      std::vector<std::pair<std::string, SourcePos>> children;
      if (n.replicate) children.push_back({n.child, n.childPos});
      for (size_t i = 0; i < n.children.size(); i++) children.push_back({n.children[i], n.childrenPos[i]});
      for (const auto& [child, pos] : children) {
        if (std::find(path.begin(), path.end(), child) != path.end()) {
          std::string cycle;
          for (const std::string& p : path) cycle += p + " -> ";
          throw ModelError(pos, "composition cycle: " + cycle + child);
        }
        if (const CompositionNode* c = model_.FindNode(child)) walk(*c);
      }
      path.pop_back();
    };
    for (const CompositionNode& n : model_.nodes) walk(n);
    // Then what each node shares.
    for (const CompositionNode& n : model_.nodes) {
      if (n.replicate) {
        for (size_t i = 0; i < n.sharedPlaces.size(); i++)
          if (!Shareable(n.child, n.sharedPlaces[i]))
            throw ModelError(n.sharedPos[i], "'" + n.child + "' has no place '" + n.sharedPlaces[i] +
                                                 "' to share (it has: " + ShareableList(n.child) + ")");
        if (n.countIsGlobal) {
          const Global* global = nullptr;
          for (const Global& g : model_.globals)
            if (g.name == n.count) global = &g;
          if (global == nullptr) throw ModelError(n.countPos, "count names unknown global '" + n.count + "'");
          if (global->type != GlobalType::Int && global->type != GlobalType::Short && global->type != GlobalType::Long)
            throw ModelError(n.countPos, "count global '" + n.count + "' is a " + TypeName(global->type) +
                                             ": the number of copies must be an int, short or long");
        }
      } else {
        std::set<std::pair<std::string, std::string>> joined;
        std::set<std::string> names;
        for (const JoinShared& js : n.shared) {
          if (!names.insert(js.name).second) throw ModelError(js.pos, "duplicate shared variable '" + js.name + "'");
          if (js.places.size() < 2)
            throw ModelError(js.pos, "shared variable '" + js.name + "' must join places of two or more children");
          for (const JoinedPlace& jp : js.places) {
            if (std::find(n.children.begin(), n.children.end(), jp.child) == n.children.end())
              throw ModelError(jp.pos, "'" + jp.child + "' is not a child of join '" + n.name + "'");
            if (!Shareable(jp.child, jp.place))
              throw ModelError(jp.pos, "'" + jp.child + "' has no place '" + jp.place + "' to join (it has: " +
                                           ShareableList(jp.child) + ")");
            if (!joined.insert({jp.child, jp.place}).second)
              throw ModelError(jp.pos, "place '" + jp.place + "' of '" + jp.child + "' is joined twice");
          }
        }
      }
    }
    // Exactly one node is held by none.
    for (const CompositionNode& n : model_.nodes) {
      if (held.count(n.name) != 0) continue;
      if (!model_.root.empty())
        throw ModelError(n.pos, "two top nodes, '" + model_.root + "' and '" + n.name +
                                    "': every node but one must be the child of another");
      model_.root = n.name;
    }
    // A submodel no node holds is read and checked, and then not simulated: most likely
    // a node was meant to hold it.
    std::set<std::string> reached = ReachedSubmodels();
    for (const Model& sub : model_.submodels)
      if (reached.count(sub.name) == 0)
        model_.warnings.push_back({sub.file == model_.file ? std::string() : sub.file, sub.pos,
                                   "submodel '" + sub.name + "' is in no composition node, so it is not simulated"});
  }

  // The submodels the tree reaches from its top node.
  std::set<std::string> ReachedSubmodels() const {
    std::set<std::string> reached;
    std::function<void(const std::string&)> visit = [&](const std::string& name) {
      if (model_.FindSubmodel(name) != nullptr) {
        reached.insert(name);
        return;
      }
      const CompositionNode* n = model_.FindNode(name);
      if (n == nullptr) return;
      if (n->replicate) visit(n->child);
      for (const std::string& c : n->children) visit(c);
    };
    visit(model_.root);
    return reached;
  }

  // The place a name a node's parent can join stands for, and so whose initial marking it
  // starts with: an atomic child's place, a replicate's child's place, or the place written
  // first in a join's shared variable, followed down to a submodel.
  const PlaceDef* MarkedPlace(const std::string& child, const std::string& place) const {
    if (const Model* sub = model_.FindSubmodel(child)) {
      for (const PlaceDef& p : sub->places)
        if (p.name == place) return &p;
      return nullptr;
    }
    const CompositionNode* node = model_.FindNode(child);
    if (node == nullptr) return nullptr;
    if (node->replicate) return MarkedPlace(node->child, place);
    for (const JoinShared& js : node->shared)
      if (js.name == place) return MarkedPlace(js.places[0].child, js.places[0].place);
    return nullptr;
  }

  // Two initial markings are the same when written alike, or when the generator knows
  // both and they are equal in every experiment.
  bool SameMarking(const Code& a, const Code& b) const {
    if (Trimmed(a.text) == Trimmed(b.text)) return true;
    for (const Experiment& e : model_.experiments) {
      std::optional<double> x = ValueIn(a, &e), y = ValueIn(b, &e);
      if (!x || !y || *x != *y) return false;
    }
    return !model_.experiments.empty();
  }

  // A joined variable starts with the marking of the place written first; the markings
  // of the others are not used, which the modeller should know when they differ. A place
  // marked 0 brings no tokens of its own (the way a model says which child holds the
  // tokens), so it is no difference worth a warning.
  void WarnOfJoinedMarkings() {
    Code zero;
    zero.text = "0";
    for (const CompositionNode& n : model_.nodes) {
      for (const JoinShared& js : n.shared) {
        const PlaceDef* first = MarkedPlace(js.places[0].child, js.places[0].place);
        if (first == nullptr) continue;
        std::string others;
        for (size_t k = 1; k < js.places.size(); k++) {
          const PlaceDef* p = MarkedPlace(js.places[k].child, js.places[k].place);
          if (p == nullptr || SameMarking(first->initial, p->initial) || SameMarking(zero, p->initial)) continue;
          others += (others.empty() ? "" : ", ") + js.places[k].child + "." + js.places[k].place + " (" +
                    Trimmed(p->initial.text) + ")";
        }
        if (others.empty()) continue;
        model_.warnings.push_back(
            {std::string(), js.pos,
             "join '" + n.name + "' shares variable '" + js.name + "' between places of different initial markings: " +
                 "it starts with the marking of " + js.places[0].child + "." + js.places[0].place + " (" +
                 Trimmed(first->initial.text) + "), written first; the marking of " + others + " is not used"});
      }
    }
  }

  // Every experiment gives every count global at least one copy, and no more than a
  // count written as a number may give.
  void CheckCounts() {
    for (const CompositionNode& n : model_.nodes) {
      if (!n.countIsGlobal) continue;
      for (size_t g = 0; g < model_.globals.size(); g++) {
        if (model_.globals[g].name != n.count) continue;
        for (const Experiment& e : model_.experiments) {
          if (e.values[g].whole < 1)
            throw ModelError(n.countPos, "count '" + n.count + "' is " + std::to_string(e.values[g].whole) +
                                             " in experiment '" + e.name + "': a replicate needs at least one copy");
          if (e.values[g].whole > RepModel::MaxCopies)
            throw ModelError(n.countPos, "count '" + n.count + "' is " + std::to_string(e.values[g].whole) +
                                             " in experiment '" + e.name + "': a replicate makes at most " +
                                             std::to_string(RepModel::MaxCopies) + " copies");
        }
      }
    }
  }

  // The number of copies a replicate makes in an experiment.
  long CopiesIn(const CompositionNode& n, const Experiment& e) const {
    if (!n.countIsGlobal) return std::stol(n.count);
    for (size_t g = 0; g < model_.globals.size(); g++)
      if (model_.globals[g].name == n.count) return static_cast<long>(e.values[g].whole);
    return 0;
  }

  // A reward on one instance names it by its path, as the traces print it: the top node,
  // then below each node the child on the way, written Child[i] for copy i of a replicate.
  // The path must lead to an instance of the reward's submodel, and the copy must exist in
  // every experiment: the simulator would otherwise find no instance and observe nothing.
  void CheckRewardInstances() const {
    for (const RewardDef& r : model_.rewards) {
      if (r.instance.empty()) continue;
      auto refuse = [&](const std::string& why) {
        throw ModelError(r.instancePos, "instance '" + r.instance + "' of reward variable '" + r.name + "': " + why);
      };
      std::vector<std::string> parts(1);
      for (char c : r.instance) {
        if (c == '.')
          parts.emplace_back();
        else
          parts.back() += c;
      }
      if (parts[0] != model_.root)
        refuse("a path begins with the top node, '" + model_.root + "'");
      std::string at = model_.root;   // the node or submodel the path has reached
      for (size_t k = 1; k < parts.size(); k++) {
        const CompositionNode* node = model_.FindNode(at);
        if (node == nullptr) refuse("submodel '" + at + "' has no instances below it");
        const std::string& part = parts[k];
        if (!node->replicate) {
          if (std::find(node->children.begin(), node->children.end(), part) == node->children.end())
            refuse("'" + part + "' is not a child of join '" + node->name + "'");
          at = part;
          continue;
        }
        std::string prefix = node->child + "[";
        bool digits = part.size() > prefix.size() + 1 && part.compare(0, prefix.size(), prefix) == 0 &&
                      part.back() == ']' && part.size() - prefix.size() - 1 <= 9;
        for (size_t c = prefix.size(); digits && c + 1 < part.size(); c++)
          digits = part[c] >= '0' && part[c] <= '9';
        if (digits && part[prefix.size()] == '0' && part.size() > prefix.size() + 2) digits = false;   // 01
        if (!digits)
          refuse("below replicate '" + node->name + "' comes a copy of '" + node->child + "', written " + node->child +
                 "[i] with i from 0, no leading zeros");
        long copy = std::stol(part.substr(prefix.size()));
        for (const Experiment& e : model_.experiments) {
          long copies = CopiesIn(*node, e);
          if (copy >= copies)
            refuse("experiment '" + e.name + "' has " + std::to_string(copies) + (copies == 1 ? " copy of '" : " copies of '") + node->child +
                   "', numbered from 0");
        }
        at = node->child;
      }
      if (at != r.submodel)
        refuse((model_.FindNode(at) != nullptr ? "it is composition node '" : "it is an instance of submodel '") + at +
               "', not an instance of submodel '" + r.submodel + "'");
    }
  }

  // submodel = a list: a rate reward over several submodels, which the generated code
  // reaches each through a pointer of its name. Impulses belong to one submodel's
  // activities, and an instance path to one submodel, so neither goes with a list.
  template <typename ReadOne>
  void ReadSubmodelList(RewardDef& r, const toml::array& list, const toml::table& table, const std::string& what,
                        const ReadOne& readSubmodel) {
    if (list.size() < 2)
      throw ModelError(r.submodelPos, "a list of submodels names two or more; name one submodel as a string");
    for (const toml::node& item : list) {
      std::string name = readSubmodel(item);
      if (std::find(r.readSubmodels.begin(), r.readSubmodels.end(), name) != r.readSubmodels.end())
        throw ModelError(PosOf(item), "submodel '" + name + "' is listed twice");
      r.readSubmodels.push_back(name);
    }
    r.submodel = r.readSubmodels[0];
    if (const toml::node* n = table.get("impulse"))
      throw ModelError(PosOf(*n), what + " reads several submodels, so it has a rate reward only (an impulse "
                                         "reward names the activities of one submodel)");
    if (const toml::node* n = table.get("instance"))
      throw ModelError(PosOf(*n), what + " reads several submodels: an instance path names one submodel's instance");
    if (table.get("rate") == nullptr) throw ModelError(r.pos, what + " reads several submodels and has no rate reward");
  }

  // A composed model's rewards read the places of their submodel, or of each of theirs.
  void DeriveRewardPlaces() {
    auto placesRead = [&](const RewardDef& r, const std::string& submodel) {
      Model probe;
      probe.places = model_.FindSubmodel(submodel)->places;
      probe.rewards.push_back(r);
      DeriveDependencies(probe);
      return probe.rewards[0].ratePlaces;
    };
    for (RewardDef& r : model_.rewards) {
      if (r.readSubmodels.empty()) {
        r.ratePlaces = placesRead(r, r.submodel);
        continue;
      }
      for (const std::string& submodel : r.readSubmodels) r.readPlaces.push_back(placesRead(r, submodel));
    }
  }

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
    CheckIdentifier(model_.name, PosOf(*name), "model");
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
      CheckMarking(std::string(), p, nullptr);
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
        throw ModelError(arc.pos, what + " name unknown place '" + arc.place + "'");
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

  void ReadActivities(const toml::table& root, bool mayBeEmpty) {
    const toml::node* node = root.get("activity");
    if (node == nullptr && mayBeEmpty) return;
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
    if (model_.activities.empty() && !mayBeEmpty) throw ModelError(PosOf(*node), "empty model: it has no activity");
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
      if (model_.Composed()) {
        keys.push_back("submodel");
        keys.push_back("instance");
      }
      const Model* target = &model_;
      if (model_.Composed()) {
        const toml::node* sub = table.get("submodel");
        if (sub == nullptr)
          throw ModelError(r.pos, what + " has no submodel (the atomic submodel whose places and activities it reads)");
        r.submodelPos = PosOf(*sub);
        auto readSubmodel = [&](const toml::node& item) {
          std::string name = ReadString(item, "submodel");
          if (model_.FindNode(name) != nullptr)
            throw ModelError(PosOf(item), "'" + name + "' is a composition node: a reward variable reads "
                                                       "the places and activities of an atomic submodel");
          if (model_.FindSubmodel(name) == nullptr) throw ModelError(PosOf(item), "unknown submodel '" + name + "'");
          if (ReachedSubmodels().count(name) == 0)
            throw ModelError(PosOf(item), "submodel '" + name + "' is not part of the composition");
          return name;
        };
        if (const toml::array* list = sub->as_array()) {
          ReadSubmodelList(r, *list, table, what, readSubmodel);
        } else {
          r.submodel = readSubmodel(*sub);
        }
        target = model_.FindSubmodel(r.submodel);
        if (const toml::node* instance = table.get("instance")) {
          r.instance = ReadString(*instance, "instance");
          r.instancePos = PosOf(*instance);
        }
      }
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
          if (target->FindActivity(impulse.activity) == nullptr)
            throw ModelError(impulse.pos, "impulse of " + what + " names unknown activity '" + impulse.activity + "'" +
                                              (model_.Composed() ? " of submodel '" + r.submodel + "'" : ""));
          impulse.value = ReadCode(*amount, "an impulse reward");
          r.impulses.push_back(impulse);
        }
      }
      if (!r.rate.present && r.impulses.empty())
        throw ModelError(r.pos, what + " has neither a rate reward nor an impulse reward");
      CheckWindow(r, nullptr);
      r.index = index;
      index += r.NumTimePoints();
      model_.rewards.push_back(r);
    }
    if (model_.rewards.empty()) throw ModelError(PosOf(*node), "the model has no reward variable");
  }

  // The global a code piece is the name of, or -1 when it is any other code.
  int GlobalNamedBy(const Code& code) const {
    std::string text = Trimmed(code.text);
    for (size_t g = 0; g < model_.globals.size(); g++)
      if (model_.globals[g].name == text) return static_cast<int>(g);
    return -1;
  }

  // The value of a code piece where the generator knows it: a number, or a global's name
  // in experiment e (none without an experiment).
  std::optional<double> ValueIn(const Code& code, const Experiment* e) const {
    if (std::optional<double> number = LiteralNumber(code)) return number;
    int g = GlobalNamedBy(code);
    if (e == nullptr || g < 0) return std::nullopt;
    const Value& v = e->values[static_cast<size_t>(g)];
    return v.type == GlobalType::Double || v.type == GlobalType::Float ? v.real : static_cast<double>(v.whole);
  }

  // A value that breaks a rule: at its place, with the experiment and global it comes from
  // when it is a global's value.
  [[noreturn]] void RefuseValue(const std::string& file, const Code& code, const std::string& what, double value,
                                const Experiment* e, const std::string& rule) const {
    int g = GlobalNamedBy(code);
    if (e != nullptr && g >= 0)
      throw ModelError(file, code.pos, what + " (global '" + model_.globals[static_cast<size_t>(g)].name + "') is " +
                                           Shown(value) + " in experiment '" + e->name + "': it must be " + rule);
    throw ModelError(file, code.pos, what + " must be " + rule + ", not " + Shown(value));
  }

  // A place holds a short's count of tokens: an initial marking the generator knows (a
  // number, or a global's value in experiment e) is a whole number from 0 to 32767, which
  // the conversion to short keeps as it is.
  void CheckMarking(const std::string& file, const PlaceDef& p, const Experiment* e) const {
    std::optional<double> v = ValueIn(p.initial, e);
    if (v && !(*v >= 0 && *v <= 32767 && *v == std::floor(*v)))
      RefuseValue(file, p.initial, "the initial marking of place '" + p.name + "'", *v, e,
                  "a whole number from 0 to 32767");
  }

  // A reward variable's window, where its values are known: the numbers alone (e null), or
  // the numbers and globals' values of experiment e. A steady-state variable's batches
  // have a length; an interval starts at 0 or later and ends after it starts; a time point
  // is 0 or later (each is observed on its own, so their order does not matter).
  void CheckWindow(const RewardDef& r, const Experiment* e) const {
    std::string of = " of reward variable '" + r.name + "'";
    auto check = [&](const Code& code, const std::string& what, bool positive) {
      std::optional<double> v = ValueIn(code, e);
      if (v && (positive ? !(*v > 0) : !(*v >= 0)))
        RefuseValue(std::string(), code, what + of, *v, e, positive ? "above 0" : "0 or more");
    };
    if (r.kind == RewardKind::InstantOfTime) {
      for (const Code& t : r.times) check(t, "a time point", false);
    } else if (r.kind == RewardKind::SteadyState) {
      check(r.transient, "the transient", false);
      check(r.batch, "the batch", true);
    } else {
      check(r.start, "the start", false);
      check(r.stop, "the stop", true);
      std::optional<double> start = ValueIn(r.start, e), stop = ValueIn(r.stop, e);
      if (start && stop && !(*stop > *start)) {
        std::string at = e != nullptr && (GlobalNamedBy(r.start) >= 0 || GlobalNamedBy(r.stop) >= 0)
                             ? " in experiment '" + e->name + "'"
                             : "";
        throw ModelError(r.stop.pos, "the stop" + of + " must be after its start: the window" + at + " is [" +
                                         Shown(*start) + ", " + Shown(*stop) + "]");
      }
    }
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
      throw ModelError(model_.pos.line > 0 ? model_.pos : SourcePos{1, 1},
                       std::string(model_.pos.line > 0 ? "the submodel name '" : "the model name '") + model_.name +
                           "' is also the name of " + taken[model_.name]);
  }

  void CheckRewardNames() {
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
  std::string error;
  std::string text = ReadWholeFile(path, error);
  if (!error.empty()) throw ModelError({0, 0}, "cannot read the model file: " + error);
  return ReadModelText(text, path);
}
