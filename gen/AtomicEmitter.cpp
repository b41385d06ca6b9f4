#include "AtomicEmitter.h"

#include <map>

#include "EmitSupport.h"
#include "Format.h"

namespace {

// One activity as the engine sees it: a whole activity, or one case of one.
struct Unit {
  const ActivityDef* activity;
  int caseIndex;   // -1: the activity has no cases
  std::string name;
  int groupId;
};

std::vector<Unit> Units(const Model& model) {
  std::vector<Unit> units;
  int group = 0;
  for (const ActivityDef& a : model.activities) {
    if (a.cases.empty()) {
      units.push_back({&a, -1, a.name, group});
    } else {
      for (size_t c = 0; c < a.cases.size(); c++) units.push_back({&a, static_cast<int>(c), CaseName(a, c), group});
    }
    group++;
  }
  return units;
}

std::string DistributionEnum(const ActivityDef& a) {
  if (a.instantaneous) return "Instantaneous";
  static const std::map<std::string, std::string> kNames = {
      {"exponential", "Exponential"},   {"deterministic", "Deterministic"},
      {"geometric", "Geometric"},       {"weibull", "Weibull"},
      {"conditional_weibull", "ConditionalWeibull"}, {"normal", "Normal"},
      {"lognormal", "Lognormal"},       {"erlang", "Erlang"},
      {"triangular", "Triangular"},     {"gamma", "Gamma"},
      {"beta", "Beta"},                 {"uniform", "Uniform"},
      {"binomial", "Binomial"},         {"negative_binomial", "NegativeBinomial"},
      {"hyperexponential", "HyperExponential"}, {"hypoexponential", "HypoExponential"},
      {"pareto", "Pareto"}};
  return kNames.at(a.distribution);
}

int PlaceIndex(const Model& model, const std::string& name) {
  for (size_t p = 0; p < model.places.size(); p++)
    if (model.places[p].name == name) return static_cast<int>(p);
  return -1;
}

void EmitHeader(const Model& model, const std::vector<Unit>& units, GeneratedFiles& files) {
  std::string san = SanClass(model);
  CodeWriter out(SanHeader(model));
  std::string guard = san + "_H";
  for (char& c : guard) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  out << GeneratedBanner(model) << "#ifndef " << guard << "\n#define " << guard << "\n\n";
  out << "#include \"framework/PostselectGroup.h\"\n"
         "#include \"framework/PreselectGroup.h\"\n"
         "#include \"framework/san/Activity.h\"\n"
         "#include \"framework/san/Place.h\"\n"
         "#include \"framework/san/SANModel.h\"\n\n";
  if (!model.globals.empty()) {
    out << "// The model's global variables, given their values by the study of each experiment.\n";
    for (const Global& g : model.globals) out << "extern " << TypeName(g.type) << " " << g.name << ";\n";
    out << "\n";
  }
  out << "// " << san << ": the atomic model \"" << model.name << "\"";
  out << (model.description.empty() ? std::string(".") : ": " + model.description) << "\n";
  out << "class " << san << " : public SANModel {\n public:\n";
  for (const Unit& u : units) {
    out << "  class " << u.name << "Activity : public Activity {\n   public:\n";
    out << "    " << u.name << "Activity();\n";
    out << "    ~" << u.name << "Activity() override;\n\n";
    for (const char* op : {"void LinkVariables()", "bool Enabled()", "BaseActionClass* Fire()", "double Weight()",
                           "int Rank()", "double Rate()", "double SampleDistribution()",
                           "double* ReturnDistributionParameters()", "bool ReactivationPredicate()",
                           "bool ReactivationFunction()"})
      out << "    " << op << " override;\n";
    out << "\n";
    for (const std::string& p : u.activity->linkedPlaces)
      out << "    Place* " << p << ";\n    short* " << p << "_Tavrin_Mark;\n";
    out << "  };\n\n";
  }
  out << "  " << san << "();\n";
  out << "  ~" << san << "() override;   // deletes the places; activities and groups are members\n\n";
  out << "  void assignPlacesToActivitiesInst();\n  void assignPlacesToActivitiesTimed();\n"
         "  void CustomInitialization();\n\n";
  for (const PlaceDef& p : model.places) out << "  Place* " << p.name << ";   // owned\n";
  for (const Unit& u : units) out << "  " << u.name << "Activity " << u.name << ";\n";
  out << "  // A group per activity; only those of activities with cases are handed to the engine.\n";
  out << "  PreselectGroup ImmediateGroup;\n";
  for (const ActivityDef& a : model.activities) out << "  PostselectGroup " << a.name << "Group;\n";
  out << "};\n\n#endif\n";
  files.Add(SanHeader(model), out.Text());
}

void EmitActivity(const Model& model, const Unit& u, CodeWriter& out) {
  const ActivityDef& a = *u.activity;
  std::string cls = SanClass(model) + "::" + u.name + "Activity";
  size_t numParams = a.instantaneous ? 0 : a.parameters.size();

  out << "\n// Activity " << u.name;
  if (u.caseIndex >= 0) out << ": case " << (u.caseIndex + 1) << " of " << a.name;
  out << "\n" << cls << "::" << u.name << "Activity()";
  std::string init;
  for (const std::string& p : a.linkedPlaces) init += std::string(init.empty() ? "" : ", ") + p + "(nullptr), " + p + "_Tavrin_Mark(nullptr)";
  if (!init.empty()) out << "\n    : " << init;
  out << " {\n";
  if (numParams > 0) out << "  TheDistributionParameters = new double[" << static_cast<int>(numParams) << "];\n";
  out << "  ActivityInitialize(" << QuotedString(u.name) << ", " << u.groupId << ", " << DistributionEnum(a) << ", "
      << a.policy << ", " << static_cast<int>(a.affectedPlaces.size()) << ", "
      << static_cast<int>(a.enablingPlaces.size()) << ", " << (a.reactivationPredicate.present ? "true" : "false")
      << ");\n}\n\n";
  out << cls << "::~" << u.name << "Activity() { delete[] TheDistributionParameters; }\n\n";

  out << "void " << cls << "::LinkVariables() {\n";
  for (const std::string& p : a.linkedPlaces) out << "  " << p << "->Register(&" << p << "_Tavrin_Mark);\n";
  out << "}\n\n";

  out << "bool " << cls << "::Enabled() {\n  OldEnabled = NewEnabled;\n  NewEnabled = ";
  bool any = false;
  for (const Arc& arc : a.input) {
    out << (any ? " && " : "") << "(*" << arc.place << "_Tavrin_Mark >= " << arc.multiplicity << ")";
    any = true;
  }
  if (a.enabled.present) {
    Expression(out, model, a.enabled, any ? " && static_cast<bool>" : "static_cast<bool>", "");
    any = true;
  }
  if (!any) out << "true";
  out << ";\n  return NewEnabled;\n}\n\n";

  // Input arcs, then the firing function, then the output arcs; a case adds its own
  // firing function and output arcs after the activity's.
  out << "BaseActionClass* " << cls << "::Fire() {\n";
  for (const Arc& arc : a.input) out << "  (*" << arc.place << "_Tavrin_Mark) -= " << arc.multiplicity << ";\n";
  auto body = [&](const Code& fire, const std::vector<Arc>& outputs) {
    if (fire.present) {
      out << "  {\n";
      out.Piece(model.file, fire.pos.line, fire.text);
      out << "  }\n";
    }
    for (const Arc& arc : outputs) out << "  (*" << arc.place << "_Tavrin_Mark) += " << arc.multiplicity << ";\n";
  };
  body(a.fire, a.output);
  if (u.caseIndex >= 0) body(a.cases[u.caseIndex].fire, a.cases[u.caseIndex].output);
  // A short marking that overflows wraps below 0, as does one that gave more than it held.
  for (const std::string& p : a.affectedPlaces)
    out << "  if (*" << p << "_Tavrin_Mark < 0) MarkingOutOfRange(" << p << ", *" << p << "_Tavrin_Mark);\n";
  out << "  return this;\n}\n\n";

  out << "double " << cls << "::Weight() {";
  if (u.caseIndex >= 0) {
    out << "\n";
    Expression(out, model, a.cases[u.caseIndex].probability, "  return static_cast<double>", ";\n");
  } else if (a.weight.present) {
    out << "\n";
    Expression(out, model, a.weight, "  return static_cast<double>", ";\n");
  } else {
    out << " return 1.0; ";
  }
  out << "}\n\n";
  out << "int " << cls << "::Rank() {";
  if (a.rank.present) {
    out << "\n";
    Expression(out, model, a.rank, "  return static_cast<int>", ";\n");
  } else {
    out << " return 1; ";
  }
  out << "}\n\n";

  out << "double " << cls << "::Rate() {";
  if (a.distribution == "exponential") {
    out << "\n";
    Expression(out, model, a.parameters[0], "  return static_cast<double>", ";\n");
  } else if (a.distribution == "deterministic") {
    out << "\n";
    Expression(out, model, a.parameters[0], "  return 1.0 / static_cast<double>", ";\n");
  } else {
    out << " return 0.0; ";
  }
  out << "}\n\n";

  out << "double " << cls << "::SampleDistribution() {";
  if (a.instantaneous) {
    out << " return 0.0; }\n\n";
  } else if (a.distribution == "hyperexponential" || a.distribution == "hypoexponential") {
    out << "\n  const double parameters[] = {\n";
    for (const Code& p : a.parameters) Expression(out, model, p, "    static_cast<double>", ",\n");
    out << "  };\n  return TheDistribution->" << DistributionEnum(a) << "("
        << static_cast<int>(a.distribution == "hyperexponential" ? numParams / 2 : numParams) << ", parameters);\n}\n\n";
  } else {
    out << "\n  return TheDistribution->" << DistributionEnum(a) << "(\n";
    for (size_t i = 0; i < numParams; i++)
      Expression(out, model, a.parameters[i], "      static_cast<double>", i + 1 < numParams ? ",\n" : "");
    out << ");\n}\n\n";
  }

  out << "double* " << cls << "::ReturnDistributionParameters() {\n";
  for (size_t i = 0; i < numParams; i++)
    Expression(out, model, a.parameters[i], "  TheDistributionParameters[" + std::to_string(i) + "] = static_cast<double>", ";\n");
  out << "  return TheDistributionParameters;\n}\n\n";

  out << "bool " << cls << "::ReactivationPredicate() {";
  if (a.reactivationPredicate.present) {
    out << "\n";
    Expression(out, model, a.reactivationPredicate, "  return static_cast<bool>", ";\n");
  } else {
    out << " return false; ";
  }
  out << "}\n\n";
  out << "bool " << cls << "::ReactivationFunction() {";
  if (a.reactivationFunction.present) {
    out << "\n";
    Expression(out, model, a.reactivationFunction, "  return static_cast<bool>", ";\n");
  } else {
    out << " return false; ";
  }
  out << "}\n";
}

void EmitSource(const Model& model, const std::vector<Unit>& units, GeneratedFiles& files) {
  std::string san = SanClass(model);
  std::string path = "Atomic/" + model.name + "/" + san + ".cpp";
  CodeWriter out(path);
  out << GeneratedBanner(model) << "#include \"" << SanHeader(model) << "\"\n\n";
  out << "#include \"random/UserDistributions.h\"\n\n";

  out << san << "::" << san << "()";
  std::string init;
  for (const PlaceDef& p : model.places) init += std::string(init.empty() ? "" : ", ") + p.name + "(nullptr)";
  if (!init.empty()) out << " : " << init;
  out << " {\n";
  for (const PlaceDef& p : model.places)
    // A marking written as a global's value is checked when the model is built: an
    // override may give what the study could not.
    Expression(out, model, p.initial,
               "  " + p.name + " = new Place(" + QuotedString(p.name) + ", Place::InitialMarking(",
               ", " + QuotedString(p.name) + "));\n");
  out << "\n";
  for (const ActivityDef& a : model.activities) {
    if (a.cases.empty()) continue;
    out << "  " << a.name << "Group.initialize(" << static_cast<int>(a.cases.size()) << ", "
        << QuotedString(a.name + "Group") << ");\n";
    for (size_t c = 0; c < a.cases.size(); c++) out << "  " << a.name << "Group.appendGroup(&" << CaseName(a, c) << ");\n";
  }
  int group = 0;
  for (const ActivityDef& a : model.activities) {
    if (!a.cases.empty()) out << "  " << a.name << "Group.setGroupID(" << group << ");\n";
    group++;
  }
  out << "\n";
  std::string places, activities, groups;
  for (const PlaceDef& p : model.places) places += (places.empty() ? "" : ", ") + p.name;
  for (const Unit& u : units) activities += (activities.empty() ? "&" : ", &") + u.name;
  for (const ActivityDef& a : model.activities)
    groups += (groups.empty() ? "&" : ", &") + (a.cases.empty() ? a.name : a.name + "Group");
  if (!model.places.empty()) out << "  BaseStateVariableClass* places[] = {" << places << "};\n";
  out << "  Activity* activities[] = {" << activities << "};\n";
  out << "  BaseGroupClass* groups[] = {" << groups << "};\n";
  out << "  initializeSANModelNow(" << QuotedString(model.name) << ", " << static_cast<int>(model.places.size())
      << ", " << (model.places.empty() ? "nullptr" : "places") << ", 0, nullptr, " << static_cast<int>(units.size())
      << ", activities, " << static_cast<int>(model.activities.size()) << ", groups);\n\n";
  out << "  assignPlacesToActivitiesInst();\n  assignPlacesToActivitiesTimed();\n\n";
  out << "  // The places each activity's firing can change, then those its enabling reads.\n";
  for (const Unit& u : units)
    for (const std::string& p : u.activity->affectedPlaces) out << "  AddAffectArc(" << p << ", &" << u.name << ");\n";
  for (const Unit& u : units)
    for (const std::string& p : u.activity->enablingPlaces) out << "  AddEnableArc(" << p << ", &" << u.name << ");\n";
  out << "\n";
  for (const Unit& u : units) out << "  " << u.name << ".LinkVariables();\n";
  out << "\n  CustomInitialization();\n}\n\n";

  out << san << "::~" << san << "() {";
  for (const PlaceDef& p : model.places) out << " delete " << p.name << ";";
  out << " }\n\n";
  for (bool instantaneous : {true, false}) {
    out << "void " << san << "::assignPlacesToActivities" << (instantaneous ? "Inst" : "Timed") << "() {\n";
    for (const Unit& u : units) {
      if (u.activity->instantaneous != instantaneous) continue;
      for (const std::string& p : u.activity->linkedPlaces)
        out << "  " << u.name << "." << p << " = static_cast<Place*>(LocalStateVariables[" << PlaceIndex(model, p)
            << "]);\n";
    }
    out << "}\n\n";
  }
  out << "void " << san << "::CustomInitialization() {}\n";
  for (const Unit& u : units) EmitActivity(model, u, out);
  files.Add(path, out.Text());
}

}  // namespace

void EmitAtomicModel(const Model& model, GeneratedFiles& files) {
  std::vector<Unit> units = Units(model);
  EmitHeader(model, units, files);
  EmitSource(model, units, files);
}
