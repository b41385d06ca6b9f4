#include "RewardEmitter.h"

#include <cctype>
#include <set>
#include <vector>

#include "Dependencies.h"
#include "EmitSupport.h"
#include "Format.h"

namespace {

std::string Guard(const std::string& name) {
  std::string guard = name + "_H";
  for (char& c : guard) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return guard;
}

const char* WorkerBase(RewardKind kind) {
  switch (kind) {
    case RewardKind::InstantOfTime: return "InstantOfTime";
    case RewardKind::IntervalOfTime: return "IntervalOfTime";
    case RewardKind::TimeAveragedIntervalOfTime: return "TimeAveragedIntervalOfTime";
    case RewardKind::SteadyState: return "SteadyState";
  }
  return "SteadyState";
}

const char* ImpulseBase(RewardKind kind) {
  switch (kind) {
    case RewardKind::IntervalOfTime: return "IntervalOfTimeImpulse";
    case RewardKind::TimeAveragedIntervalOfTime: return "TimeAveragedIntervalOfTimeImpulse";
    default: return "SteadyStateImpulse";
  }
}

const char* RewardTypeEnum(RewardKind kind) {
  switch (kind) {
    case RewardKind::InstantOfTime: return "INSTANT_OF_TIME";
    case RewardKind::IntervalOfTime: return "INTERVAL_OF_TIME";
    case RewardKind::TimeAveragedIntervalOfTime: return "TIMEAVE_INTERVAL_OF_TIME";
    case RewardKind::SteadyState: return "STEADY_STATE";
  }
  return "STEADY_STATE";
}

// The places a piece of reward code names, in the model's place order.
std::vector<std::string> PlacesIn(const Model& model, const Code& code) {
  std::vector<std::string> ids = IdentifiersIn(code.text);
  std::set<std::string> named(ids.begin(), ids.end());
  std::vector<std::string> places;
  for (const PlaceDef& p : model.places)
    if (named.count(p.name) != 0) places.push_back(p.name);
  return places;
}

// The body of a reward function: the places the code names as locals, then its value.
// The code is written in the model file (model), and reads the places of target.
void RewardBody(CodeWriter& out, const Model& model, const Model& target, const Code& code) {
  std::string san = SanClass(target);
  std::vector<std::string> places = PlacesIn(target, code);
  if (!places.empty()) out << "  " << san << "* model = static_cast<" << san << "*>(" << target.name << ");\n";
  for (const std::string& p : places) out << "  [[maybe_unused]] Place* " << p << " = model->" << p << ";\n";
  Expression(out, model, code, "  return static_cast<double>", ";\n");
}

// The engine's names of the activities an impulse is earned by: the activity, or each of
// its cases.
std::vector<std::string> EarningActivities(const Model& model, const std::string& name) {
  const ActivityDef* a = model.FindActivity(name);
  if (a == nullptr || a->cases.empty()) return {name};
  std::vector<std::string> names;
  for (size_t c = 0; c < a->cases.size(); c++) names.push_back(CaseName(*a, c));
  return names;
}

// A rate reward's worker holds one model pointer per submodel it reads, which the reward
// model points at the instances of one combination. On one submodel the pointer is named
// after it and the reward function reaches its places by their names; over several, each
// pointer is <Sub>_Tavrin_Instance, and the function reaches a submodel's places through a
// pointer of its class named after it (First->queue).
void EmitWorker(const Model& model, const RewardDef& r, const std::string& cls, GeneratedFiles& files) {
  const bool several = !r.readSubmodels.empty();
  std::vector<const Model*> targets;
  std::vector<std::string> members;
  if (several) {
    for (const std::string& sub : r.readSubmodels) {
      targets.push_back(model.FindSubmodel(sub));
      members.push_back(sub + "_Tavrin_Instance");
    }
  } else {
    targets.push_back(&RewardTarget(model, r));
    members.push_back(targets[0]->name);
  }
  std::string dir = RewardDir(model);
  CodeWriter h(dir + "/" + cls + ".h");
  h << GeneratedBanner(model) << "#ifndef " << Guard(cls) << "\n#define " << Guard(cls) << "\n\n";
  h << "#include \"rewards/" << WorkerBase(r.kind) << ".h\"\n\nclass BaseModelClass;\n\n";
  h << "// " << cls << ": the rate reward of variable " << r.name;
  if (several) {
    h << " on one combination of instances of";
    for (const std::string& sub : r.readSubmodels) h << " " << sub;
    h << ".\n";
  } else {
    h << " on one instance of the model.\n";
  }
  h << "class " << cls << " : public " << WorkerBase(r.kind) << " {\n public:\n";
  h << "  " << cls << "();\n  ~" << cls << "() override;   // frees the TheModelPtr array\n";
  h << "  double Reward_Function() override;\n\n";
  for (size_t i = 0; i < members.size(); i++) {
    h << "  BaseModelClass* " << members[i] << ";   // not owned: the ";
    if (several)
      h << "instance of " << targets[i]->name << " this worker reads\n";
    else
      h << "model instance this worker reads\n";
  }
  h << "};\n\n#endif\n";
  files.Add(dir + "/" + cls + ".h", h.Text());

  CodeWriter c(dir + "/" + cls + ".cpp");
  c << GeneratedBanner(model) << "#include \"" << dir << "/" << cls << ".h\"\n\n";
  for (const Model* target : targets) c << "#include \"" << SanHeader(*target) << "\"\n";
  c << "\n" << cls << "::" << cls << "()";
  for (size_t i = 0; i < members.size(); i++) c << (i == 0 ? " : " : ", ") << members[i] << "(nullptr)";
  c << " {\n  NumModels = " << static_cast<int>(members.size()) << ";\n"
    << "  TheModelPtr = new BaseModelClass**[NumModels];\n";
  for (size_t i = 0; i < members.size(); i++)
    c << "  TheModelPtr[" << static_cast<int>(i) << "] = &" << members[i] << ";\n";
  c << "}\n\n" << cls << "::~" << cls << "() { delete[] TheModelPtr; }\n\n";
  c << "double " << cls << "::Reward_Function() {\n";
  if (several) {
    for (size_t i = 0; i < targets.size(); i++) {
      std::string san = SanClass(*targets[i]);
      c << "  [[maybe_unused]] " << san << "* " << targets[i]->name << " = static_cast<" << san << "*>("
        << members[i] << ");\n";
    }
    Expression(c, model, r.rate, "  return static_cast<double>", ";\n");
  } else {
    RewardBody(c, model, *targets[0], r.rate);
  }
  c << "}\n";
  files.Add(dir + "/" + cls + ".cpp", c.Text());
}

void EmitImpulse(const Model& model, const RewardDef& r, const ImpulseDef& impulse, const std::string& cls,
                 GeneratedFiles& files) {
  const Model& target = RewardTarget(model, r);
  std::string dir = RewardDir(model);
  CodeWriter h(dir + "/" + cls + ".h");
  h << GeneratedBanner(model) << "#ifndef " << Guard(cls) << "\n#define " << Guard(cls) << "\n\n";
  h << "#include \"rewards/" << ImpulseBase(r.kind) << ".h\"\n\nclass BaseModelClass;\n\n";
  h << "// " << cls << ": the impulse of variable " << r.name << " earned by each firing of " << impulse.activity
    << ". The node owns the prototype, which makes the workers.\n";
  h << "class " << cls << " : public " << ImpulseBase(r.kind) << " {\n public:\n";
  h << "  " << cls << "();\n  ~" << cls << "() override;   // frees the TheModelPtr array\n";
  h << "  double Impulse_Function() override;\n  ImpulseNodeClass** CreateImpulseWorkerList(int count) override;\n\n";
  h << "  BaseModelClass* " << target.name << ";   // not owned: the model instance holding the activity\n";
  h << "};\n\n#endif\n";
  files.Add(dir + "/" + cls + ".h", h.Text());

  CodeWriter c(dir + "/" + cls + ".cpp");
  c << GeneratedBanner(model) << "#include \"" << dir << "/" << cls << ".h\"\n\n#include \"" << SanHeader(target) << "\"\n\n";
  c << cls << "::" << cls << "() : " << target.name << "(nullptr) {\n  NumberOfModelDependencies = 1;\n"
    << "  TheModelPtr = new BaseModelClass**[NumberOfModelDependencies];\n  TheModelPtr[0] = &" << target.name
    << ";\n}\n\n";
  c << cls << "::~" << cls << "() { delete[] TheModelPtr; }\n\n";
  c << "double " << cls << "::Impulse_Function() {\n";
  RewardBody(c, model, target, impulse.value);
  c << "}\n\n";
  c << "ImpulseNodeClass** " << cls << "::CreateImpulseWorkerList(int count) {\n"
    << "  ImpulseNodeClass** workers = new ImpulseNodeClass*[count];\n"
    << "  for (int w = 0; w < count; w++) workers[w] = new " << cls << "();\n  return workers;\n}\n";
  files.Add(dir + "/" + cls + ".cpp", c.Text());
}

void EmitNode(const Model& model, const RewardDef& r, int pv, GeneratedFiles& files) {
  std::string dir = RewardDir(model);
  std::string cls = RewardPrefix(model) + "PV" + std::to_string(pv);
  const Model& target = RewardTarget(model, r);
  std::string member = "The" + TopClass(model);
  CodeWriter h(dir + "/" + cls + ".h");
  h << GeneratedBanner(model) << "#ifndef " << Guard(cls) << "\n#define " << Guard(cls) << "\n\n";
  h << "#include \"rewards/PerformanceVariableNode.h\"\n\nclass BaseModelClass;\n\n";
  h << "// " << cls << ": variable " << r.name << " (" << KindName(r.kind) << ").\n";
  h << "class " << cls << " : public PerformanceVariableNode {\n public:\n";
  h << "  explicit " << cls << "(int timeindex);\n  ~" << cls << "() override;\n"
    << "  void CreateWorkerList() override;\n\n";
  h << "  BaseModelClass* " << member << ";   // not owned: the measured model, the target of TheModelPtr\n";
  h << "};\n\n#endif\n";
  files.Add(dir + "/" + cls + ".h", h.Text());

  std::vector<std::pair<std::string, std::string>> impulses;   // (engine activity, impulse class)
  for (size_t j = 0; j < r.impulses.size(); j++) {
    std::string impulseClass = cls + "Impulse" + std::to_string(j);
    EmitImpulse(model, r, r.impulses[j], impulseClass, files);
    for (const std::string& act : EarningActivities(target, r.impulses[j].activity)) impulses.emplace_back(act, impulseClass);
  }
  if (r.rate.present) EmitWorker(model, r, cls + "Worker", files);

  CodeWriter c(dir + "/" + cls + ".cpp");
  c << GeneratedBanner(model) << "#include \"" << dir << "/" << cls << ".h\"\n\n";
  if (r.readSubmodels.empty()) {
    c << "#include \"" << SanHeader(target) << "\"\n";
  } else {
    for (const std::string& sub : r.readSubmodels) c << "#include \"" << SanHeader(*model.FindSubmodel(sub)) << "\"\n";
  }
  std::set<std::string> includes;
  for (const auto& [act, impulseClass] : impulses) includes.insert(impulseClass);
  for (const std::string& inc : includes) c << "#include \"" << dir << "/" << inc << ".h\"\n";
  if (r.rate.present) c << "#include \"" << dir << "/" << cls << "Worker.h\"\n";
  c << "\n" << cls << "::" << cls << "(int timeindex) : " << member << "(nullptr) {\n";
  c << "  TheModelPtr = &" << member << ";\n";
  if (r.kind == RewardKind::SteadyState) c << "  Type = steady_state;\n";
  int n = r.NumTimePoints();
  c << "  double startpts[" << n << "] = {\n";
  auto point = [&](const Code& code, const std::string& suffix) { Expression(c, model, code, "      static_cast<double>", suffix); };
  if (r.kind == RewardKind::InstantOfTime) {
    for (int t = 0; t < n; t++) point(r.times[t], t + 1 < n ? ",\n" : "");
  } else if (r.kind == RewardKind::SteadyState) {
    point(r.transient, "");
  } else {
    point(r.start, "");
  }
  c << "};\n  double stoppts[" << n << "] = {\n";
  if (r.kind == RewardKind::InstantOfTime) {
    for (int t = 0; t < n; t++) point(r.times[t], t + 1 < n ? ",\n" : "");
  } else if (r.kind == RewardKind::SteadyState) {
    point(r.transient, " +\n");
    point(r.batch, "");
  } else {
    point(r.stop, "");
  }
  c << "};\n";
  // A variable over several submodels depends on each in the list's order, which is the
  // order of its worker's model pointers.
  int models = r.rate.present ? 1 : 0;
  int variables = static_cast<int>(r.ratePlaces.size());
  if (!r.readSubmodels.empty()) {
    models = static_cast<int>(r.readSubmodels.size());
    variables = 0;
    for (const std::vector<std::string>& places : r.readPlaces) variables += static_cast<int>(places.size());
  }
  c << "  Initialize(" << QuotedString(r.name) << ", " << RewardTypeEnum(r.kind) << ", " << n
    << ", startpts, stoppts, timeindex, " << static_cast<int>(impulses.size()) << ", " << models << ", " << variables
    << ");\n";
  for (size_t i = 0; i < r.readSubmodels.size(); i++) {
    if (r.readPlaces[i].empty()) c << "  AddModelDependency(" << QuotedString(r.readSubmodels[i]) << ");\n";
    for (const std::string& p : r.readPlaces[i])
      c << "  AddVariableDependency(" << QuotedString(p) << ", " << QuotedString(r.readSubmodels[i]) << ");\n";
  }
  // The model's name stands for every instance of it; an instance's path for that one.
  const std::string& instances = r.instance.empty() ? target.name : r.instance;
  if (r.rate.present && r.ratePlaces.empty() && r.readSubmodels.empty())
    c << "  AddModelDependency(" << QuotedString(instances) << ");\n";
  for (const std::string& p : r.ratePlaces)
    c << "  AddVariableDependency(" << QuotedString(p) << ", " << QuotedString(instances) << ");\n";
  for (const auto& [act, impulseClass] : impulses)
    c << "  AddImpulse(" << QuotedString(act) << ", " << QuotedString(instances) << ", new " << impulseClass << "());\n";
  c << "}\n\n";
  c << cls << "::~" << cls << "() {\n"
    << "  for (int w = 0; w < NumberOfWorkers; w++) {\n"
    << "    if (WorkerList == nullptr || WorkerList[w] == nullptr) continue;\n"
    << "    delete[] WorkerList[w]->Name;\n    WorkerList[w]->Name = nullptr;\n"
    << "    delete WorkerList[w];\n    WorkerList[w] = nullptr;\n  }\n}\n\n";
  c << "void " << cls << "::CreateWorkerList() {";
  if (r.rate.present)
    c << "\n  for (int w = 0; w < NumberOfWorkers; w++) WorkerList[w] = new " << cls << "Worker();\n";
  c << "}\n";
  files.Add(dir + "/" + cls + ".cpp", c.Text());
}

}  // namespace

void EmitRewardModel(const Model& model, GeneratedFiles& files) {
  std::string dir = RewardDir(model);
  std::string cls = RewardPrefix(model) + "PVModel";
  for (size_t i = 0; i < model.rewards.size(); i++) EmitNode(model, model.rewards[i], static_cast<int>(i), files);

  CodeWriter h(dir + "/" + cls + ".h");
  h << GeneratedBanner(model) << "#ifndef " << Guard(cls) << "\n#define " << Guard(cls) << "\n\n";
  h << "#include \"rewards/PVModel.h\"\n\n";
  h << "// " << cls << ": the reward model of " << model.name << ":";
  for (const RewardDef& r : model.rewards) h << " " << r.name;
  h << ".\nclass " << cls << " : public PVModel {\n public:\n";
  h << "  explicit " << cls << "(bool expandTimeArrays);\n  ~" << cls << "() override;\n"
    << "  PerformanceVariableNode* createPVNode(int pvindex, int timeindex) override;\n};\n\n#endif\n";
  files.Add(dir + "/" + cls + ".h", h.Text());

  CodeWriter c(dir + "/" + cls + ".cpp");
  c << GeneratedBanner(model) << "#include \"" << dir << "/" << cls << ".h\"\n\n";
  c << "#include \"" << TopHeader(model) << "\"\n";
  for (size_t i = 0; i < model.rewards.size(); i++)
    c << "#include \"" << dir << "/" << RewardPrefix(model) << "PV" << static_cast<int>(i) << ".h\"\n";
  c << "\n" << cls << "::" << cls << "(bool expandTimeArrays) {\n  TheModel = new " << TopClass(model) << "();\n"
    << "  DefineName(" << QuotedString(cls) << ");\n  CreatePVList(" << static_cast<int>(model.rewards.size())
    << ", expandTimeArrays);\n  Initialize();\n}\n\n";
  c << cls << "::~" << cls << "() {}\n\n";
  c << "PerformanceVariableNode* " << cls << "::createPVNode(int pvindex, int timeindex) {\n  switch (pvindex) {\n";
  for (size_t i = 0; i < model.rewards.size(); i++)
    c << "    case " << static_cast<int>(i) << ":\n      return new " << RewardPrefix(model) << "PV" << static_cast<int>(i)
      << "(timeindex);\n";
  c << "    default:\n      return nullptr;\n  }\n}\n";
  files.Add(dir + "/" + cls + ".cpp", c.Text());
}
