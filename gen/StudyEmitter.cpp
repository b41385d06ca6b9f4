#include "StudyEmitter.h"

#include <cctype>

#include "EmitSupport.h"
#include "Format.h"

void EmitStudy(const Model& model, GeneratedFiles& files) {
  std::string cls = StudyClass(model);
  std::string dir = StudyDir(model);
  std::string guard = cls + "_H";
  for (char& ch : guard) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  int numExps = static_cast<int>(model.experiments.size());

  CodeWriter h(dir + "/" + cls + ".h");
  h << GeneratedBanner(model) << "#ifndef " << guard << "\n#define " << guard << "\n\n";
  h << "#include \"study/BaseStudyClass.h\"\n\n";
  h << "// " << cls << ": the study of " << model.name << ", " << numExps << " experiment"
    << (numExps == 1 ? "" : "s") << ":\n";
  for (int e = 0; e < numExps; e++) h << "//   " << e << " " << model.experiments[e].name << "\n";
  h << "class " << cls << " : public BaseStudyClass {\n public:\n";
  h << "  " << cls << "();\n  ~" << cls << "() override;   // deletes ThePVModel\n";
  h << "  PVModel* GetPVModel(bool expandTimeArrays) override;\n  void SetGVs(int expNum) override;\n"
    << "  void PrintGlobalValues(int expNum) override;\n  void* GetGVValue(char* TheGVName) override;\n"
    << "  void OverrideGVValue(char* TheGVName, void* TheGVValue) override;\n};\n\n#endif\n";
  files.Add(dir + "/" + cls + ".h", h.Text());

  CodeWriter c(dir + "/" + cls + ".cpp");
  c << GeneratedBanner(model) << "#include \"" << dir << "/" << cls << ".h\"\n\n";
  c << "#include <cstdlib>\n#include <cstring>\n#include <iostream>\n\n";
  c << "#include \"" << TopHeader(model) << "\"\n#include \"" << RewardDir(model) << "/" << RewardPrefix(model)
    << "PVModel.h\"\n\n";
  for (const Global& g : model.globals) c << TypeName(g.type) << " " << g.name << ";\n";
  c << "\nnamespace {\n\n";
  c << "const unsigned int kNumExperiments = " << numExps << ";\n";
  for (size_t g = 0; g < model.globals.size(); g++) {
    const Global& global = model.globals[g];
    c << "const " << TypeName(global.type) << " " << global.name << "Values[kNumExperiments] = {";
    for (int e = 0; e < numExps; e++) c << (e == 0 ? "" : ", ") << CppLiteral(model.experiments[e].values[g]);
    c << "};\n";
  }
  if (!model.globals.empty()) {
    c << "\nconst char* const kNames[] = {";
    for (size_t g = 0; g < model.globals.size(); g++) c << (g == 0 ? "" : ", ") << QuotedString(model.globals[g].name);
    c << "};\nconst char* const kTypes[] = {";
    for (size_t g = 0; g < model.globals.size(); g++) c << (g == 0 ? "" : ", ") << QuotedString(TypeName(model.globals[g].type));
    c << "};\n";
  }
  if (!model.globals.empty())
    c << "\n// The base class releases names and types with the C allocator.\n"
      << "char* CopyText(const char* text) {\n"
      << "  char* copy = static_cast<char*>(std::malloc(std::strlen(text) + 1));\n"
      << "  std::strcpy(copy, text);\n  return copy;\n}\n";
  c << "\n}  // namespace\n\n";

  c << cls << "::" << cls << "() {\n  NumGVs = " << static_cast<int>(model.globals.size())
    << ";\n  NumExps = kNumExperiments;\n";
  c << "  GVNames = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));\n"
    << "  GVTypes = static_cast<char**>(std::calloc(NumGVs, sizeof(char*)));\n";
  if (!model.globals.empty())
    c << "  for (unsigned int i = 0; i < NumGVs; i++) {\n    GVNames[i] = CopyText(kNames[i]);\n"
      << "    GVTypes[i] = CopyText(kTypes[i]);\n  }\n";
  c << "  SetDefaultTavrinRoot(\"c:/Tavrin-2.5/\");\n}\n\n";
  c << cls << "::~" << cls << "() { delete ThePVModel; }\n\n";
  c << "PVModel* " << cls << "::GetPVModel(bool expandTimeArrays) {\n  delete ThePVModel;\n  ThePVModel = nullptr;\n"
    << "  ThePVModel = new " << RewardPrefix(model) << "PVModel(expandTimeArrays);\n  return ThePVModel;\n}\n\n";
  c << "// A run of an experiment the study does not have would leave the globals unset, so it\n"
    << "// ends here with a message instead of running on zeros.\n";
  c << "void " << cls << "::SetGVs(int expNum) {\n"
    << "  if (expNum < 0 || static_cast<unsigned int>(expNum) >= NumExps) {\n"
    << "    std::cerr << \"!! " << cls << "::SetGVs: Experiment \" << expNum\n"
    << "              << \" does not exist; the study has experiments 0 to \" << NumExps - 1 << \".\"\n"
    << "              << std::endl;\n    std::exit(1);\n  }\n";
  for (const Global& g : model.globals) c << "  " << g.name << " = " << g.name << "Values[expNum];\n";
  c << "}\n\n";
  c << "void " << cls << "::PrintGlobalValues(int expNum) {\n";
  if (model.globals.empty()) {
    c << "  (void)expNum;\n  std::cout << \"There are no global variables.\" << std::endl;\n}\n\n";
  } else {
    c << "  SetGVs(expNum);\n  std::cout << \"The Global Variable values for experiment \" << GetExpName(expNum) << \" are:\"\n"
      << "            << std::endl;\n";
    for (const Global& g : model.globals) {
      std::string value = g.name;
      if (g.type == GlobalType::Char) value = "static_cast<int>(" + g.name + ")";
      c << "  std::cout << \"" << g.name << "\\t" << TypeName(g.type) << "\\t\" << " << value << " << std::endl;\n";
    }
    c << "}\n\n";
  }
  c << "void* " << cls << "::GetGVValue(char* TheGVName) {\n";
  for (const Global& g : model.globals)
    c << "  if (std::strcmp(\"" << g.name << "\", TheGVName) == 0) return &" << g.name << ";\n";
  c << "  std::cerr << \"!! " << cls << "::GetGVValue: Global Variable \" << TheGVName\n"
    << "            << \" does not exist.\" << std::endl;\n  return nullptr;\n}\n\n";
  c << "void " << cls << "::OverrideGVValue(char* TheGVName, void* TheGVValue) {\n";
  for (const Global& g : model.globals)
    c << "  if (std::strcmp(\"" << g.name << "\", TheGVName) == 0) {\n    " << g.name << " = *static_cast<"
      << TypeName(g.type) << "*>(TheGVValue);\n    return;\n  }\n";
  if (model.globals.empty()) c << "  (void)TheGVValue;\n";
  c << "  std::cerr << \"!! " << cls << "::OverrideGVValue: Global Variable \" << TheGVName\n"
    << "            << \" does not exist.\" << std::endl;\n}\n\n";
  c << "BaseStudyClass* GenerateStudy() {\n  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new " << cls
    << "();\n  return GlobalStudyPtr;\n}\n\n";
  c << "void DestructStudy() {\n  delete GlobalStudyPtr;\n  GlobalStudyPtr = nullptr;\n}\n";
  files.Add(dir + "/" + cls + ".cpp", c.Text());
}

void EmitStudyDescription(const Model& model, GeneratedFiles& files) {
  std::string j = "{\n";
  j += "  \"model\": " + QuotedString(model.name) + ",\n";
  j += "  \"globals\": [";
  for (size_t g = 0; g < model.globals.size(); g++)
    j += std::string(g == 0 ? " " : ", ") + "{ \"name\": " + QuotedString(model.globals[g].name) +
         ", \"type\": " + QuotedString(TypeName(model.globals[g].type)) + " }";
  j += model.globals.empty() ? "],\n" : " ],\n";
  j += "  \"experiments\": [\n";
  for (size_t e = 0; e < model.experiments.size(); e++) {
    const Experiment& ex = model.experiments[e];
    j += "    { \"index\": " + std::to_string(e) + ", \"name\": " + QuotedString(ex.name) + ", \"values\": {";
    for (size_t g = 0; g < model.globals.size(); g++)
      j += std::string(g == 0 ? " " : ", ") + QuotedString(model.globals[g].name) + ": " + JsonLiteral(ex.values[g]);
    j += model.globals.empty() ? "} }" : " } }";
    j += e + 1 < model.experiments.size() ? ",\n" : "\n";
  }
  j += "  ],\n  \"rewards\": [\n";
  for (size_t i = 0; i < model.rewards.size(); i++) {
    const RewardDef& r = model.rewards[i];
    j += "    { \"index\": " + std::to_string(r.index) + ", \"name\": " + QuotedString(r.name) + ", \"kind\": " +
         QuotedString(KindName(r.kind));
    switch (r.kind) {
      case RewardKind::SteadyState:
        j += ", \"transient\": " + QuotedString(r.transient.text) + ", \"batch\": " + QuotedString(r.batch.text);
        break;
      case RewardKind::InstantOfTime: {
        j += ", \"times\": [";
        for (size_t t = 0; t < r.times.size(); t++) j += (t == 0 ? "" : ", ") + QuotedString(r.times[t].text);
        j += "]";
        break;
      }
      default:
        j += ", \"start\": " + QuotedString(r.start.text) + ", \"stop\": " + QuotedString(r.stop.text);
    }
    j += " }";
    j += i + 1 < model.rewards.size() ? ",\n" : "\n";
  }
  j += "  ]\n}\n";
  files.Add(model.name + ".study.json", j);
}
