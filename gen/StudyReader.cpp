#include "StudyReader.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>

#include "Format.h"
#include "ModelError.h"
#include "TomlSupport.h"

namespace {

// A number from a range, as its shortest text reads back, so that 0.5 + 0.2 lands on 0.7.
double Tidy(double value) { return std::strtod(FormatDouble(value).c_str(), nullptr); }

// One value of a global, checked against the global's type.
Value ReadValue(const toml::node& node, const Global& global) {
  Value v;
  v.type = global.type;
  std::string where = "a value of global '" + global.name + "' (" + TypeName(global.type) + ")";
  switch (global.type) {
    case GlobalType::Double:
    case GlobalType::Float: {
      if (const auto* i = node.as_integer()) {
        v.real = static_cast<double>(i->get());
      } else if (const auto* f = node.as_floating_point()) {
        v.real = f->get();
      } else {
        throw ModelError(PosOf(node), where + " must be a number");
      }
      if (!std::isfinite(v.real)) throw ModelError(PosOf(node), where + " must be finite");
      if (global.type == GlobalType::Float && std::fabs(v.real) > 3.4028234663852886e38)
        throw ModelError(PosOf(node), where + " is out of the range of a float");
      return v;
    }
    case GlobalType::Bool: {
      const auto* b = node.as_boolean();
      if (b == nullptr) throw ModelError(PosOf(node), where + " must be true or false");
      v.whole = b->get() ? 1 : 0;
      return v;
    }
    default: break;
  }
  long long low = INT_MIN, high = INT_MAX;
  if (global.type == GlobalType::Short) low = SHRT_MIN, high = SHRT_MAX;
  if (global.type == GlobalType::Char) low = -128, high = 127;
  // The simulator's override of a long reads 32 bits, so a long holds what 32 bits hold.
  if (global.type == GlobalType::Char && node.as_string() != nullptr) {
    const std::string& text = node.as_string()->get();
    if (text.size() != 1 || static_cast<unsigned char>(text[0]) > 127)
      throw ModelError(PosOf(node), where + " must be a single ASCII character or a number");
    v.whole = text[0];
    return v;
  }
  const auto* i = node.as_integer();
  if (i == nullptr) throw ModelError(PosOf(node), where + " must be a whole number");
  if (i->get() < low || i->get() > high)
    throw ModelError(PosOf(node), where + " is out of range (" + std::to_string(low) + " to " +
                                      std::to_string(high) + ")");
  v.whole = i->get();
  return v;
}

// The values a [study] entry stands for: one value, a list, or a range.
std::vector<Value> ReadValues(const toml::node& node, const Global& global) {
  std::vector<Value> values;
  if (const toml::array* list = node.as_array()) {
    if (list->empty()) throw ModelError(PosOf(node), "the list of values of global '" + global.name + "' is empty");
    for (const toml::node& item : *list) values.push_back(ReadValue(item, global));
    return values;
  }
  const toml::table* range = node.as_table();
  if (range == nullptr) {
    values.push_back(ReadValue(node, global));
    return values;
  }
  std::string what = "the range of global '" + global.name + "'";
  CheckKeys(*range, {"from", "to", "step", "factor"}, what);
  const toml::node* from = range->get("from");
  const toml::node* to = range->get("to");
  const toml::node* step = range->get("step");
  const toml::node* factor = range->get("factor");
  if (from == nullptr || to == nullptr || (step == nullptr) == (factor == nullptr))
    throw ModelError(PosOf(node), what + " needs from, to and one of step or factor");
  if (global.type == GlobalType::Bool) throw ModelError(PosOf(node), what + ": a bool has no range");
  Global asDouble = global;
  asDouble.type = GlobalType::Double;
  double first = ReadValue(*from, asDouble).real;
  double last = ReadValue(*to, asDouble).real;
  bool whole = global.type != GlobalType::Double && global.type != GlobalType::Float;
  auto make = [&](double x, const toml::node& at) {
    Value v;
    v.type = global.type;
    if (whole) {
      if (x != std::floor(x)) throw ModelError(PosOf(at), what + " reaches " + FormatDouble(x) + ", not a whole number");
      toml::value<int64_t> asInteger(static_cast<int64_t>(x));
      return ReadValue(asInteger, global);
    }
    v.real = x;
    return v;
  };
  const int kMaxValues = 100000;
  if (step != nullptr) {
    double s = ReadValue(*step, asDouble).real;
    if (!(s > 0)) throw ModelError(PosOf(*step), what + ": step must be positive");
    if (last < first) throw ModelError(PosOf(*to), what + ": to is below from");
    double count = std::floor((last - first) / s + 1e-9);
    if (count >= kMaxValues) throw ModelError(PosOf(node), what + " gives too many values");
    for (int k = 0; k <= static_cast<int>(count); k++) values.push_back(make(Tidy(first + k * s), *step));
  } else {
    double f = ReadValue(*factor, asDouble).real;
    if (!(f > 1) || !(first > 0)) throw ModelError(PosOf(*factor), what + ": factor must be above 1 and from positive");
    if (last < first) throw ModelError(PosOf(*to), what + ": to is below from");
    double x = first;
    for (int k = 0; x <= last * (1 + 1e-12); k++) {
      if (k >= kMaxValues) throw ModelError(PosOf(node), what + " gives too many values");
      values.push_back(make(x, *factor));
      x = Tidy(x * f);
    }
  }
  return values;
}

int GlobalIndex(const Model& model, const std::string& name) {
  for (size_t g = 0; g < model.globals.size(); g++)
    if (model.globals[g].name == name) return static_cast<int>(g);
  return -1;
}

}  // namespace

void ReadStudy(const toml::table& root, Model& model) {
  const toml::table* study = nullptr;
  SourcePos studyPos{1, 1};
  if (const toml::node* node = root.get("study")) {
    study = &AsTable(*node, "[study]");
    studyPos = PosOf(*node);
  }
  // The [study] values, by global, in the order written there.
  std::vector<int> order;
  std::map<int, std::vector<Value>> values;
  std::map<int, SourcePos> valuePos;
  if (study != nullptr) {
    for (const auto& [key, node] : InFileOrder(*study)) {
      int g = GlobalIndex(model, std::string(key->str()));
      if (g < 0) throw ModelError(PosOf(*key), "[study] gives a value to unknown global '" + std::string(key->str()) + "'");
      values[g] = ReadValues(*node, model.globals[g]);
      valuePos[g] = PosOf(*node);
      order.push_back(g);
    }
  }

  const toml::node* explicitNode = root.get("experiment");
  if (explicitNode != nullptr) {
    const toml::array* list = explicitNode->as_array();
    if (list == nullptr || list->empty())
      throw ModelError(PosOf(*explicitNode), "experiment must be a list of experiments ([[experiment]])");
    for (int g : order)
      if (values[g].size() != 1)
        throw ModelError(valuePos[g], "with [[experiment]] entries, [study] gives each global one value "
                                      "shared by every experiment; global '" + model.globals[g].name + "' has " +
                                      std::to_string(values[g].size()) + " values");
    for (const toml::node& item : *list) {
      const toml::table& table = AsTable(item, "an experiment");
      Experiment e;
      const toml::node* name = table.get("name");
      if (name == nullptr || name->as_string() == nullptr || name->as_string()->get().empty())
        throw ModelError(PosOf(item), "an experiment needs a name (name = \"...\")");
      e.name = name->as_string()->get();
      for (const Experiment& other : model.experiments)
        if (other.name == e.name) throw ModelError(PosOf(*name), "duplicate experiment name '" + e.name + "'");
      std::map<int, Value> given;
      for (const auto& [key, node] : InFileOrder(table)) {
        if (key->str() == "name") continue;
        int g = GlobalIndex(model, std::string(key->str()));
        if (g < 0) throw ModelError(PosOf(*key), "experiment '" + e.name + "' gives a value to unknown global '" +
                                                     std::string(key->str()) + "'");
        given[g] = ReadValue(*node, model.globals[g]);
      }
      for (size_t g = 0; g < model.globals.size(); g++) {
        int gi = static_cast<int>(g);
        if (given.count(gi) != 0) {
          e.values.push_back(given[gi]);
        } else if (values.count(gi) != 0) {
          e.values.push_back(values[gi][0]);
        } else {
          throw ModelError(PosOf(item), "global '" + model.globals[g].name + "' has no value in experiment '" +
                                            e.name + "'");
        }
      }
      model.experiments.push_back(e);
    }
    return;
  }

  for (size_t g = 0; g < model.globals.size(); g++)
    if (values.count(static_cast<int>(g)) == 0)
      throw ModelError(study != nullptr ? studyPos : model.globals[g].pos,
                       "global '" + model.globals[g].name + "' has no value in the study ([study] " +
                           model.globals[g].name + " = ...)");
  // Cartesian product, the first global written varying slowest.
  std::vector<size_t> at(order.size(), 0);
  while (true) {
    Experiment e;
    e.values.resize(model.globals.size());
    for (size_t k = 0; k < order.size(); k++) {
      int g = order[k];
      e.values[g] = values[g][at[k]];
      if (values[g].size() > 1) {
        if (!e.name.empty()) e.name += ",";
        e.name += model.globals[g].name + "=" + DisplayValue(e.values[g]);
      }
    }
    if (e.name.empty()) e.name = "base";
    model.experiments.push_back(e);
    size_t k = order.size();
    while (k > 0) {
      k--;
      if (++at[k] < values[order[k]].size()) break;
      at[k] = 0;
      if (k == 0) return;
    }
    if (order.empty()) return;
  }
}
