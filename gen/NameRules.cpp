#include "NameRules.h"

#include <cctype>
#include <set>

#include "ModelError.h"

namespace {

const std::set<std::string>& Keywords() {
  static const std::set<std::string> kKeywords = {
      "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break",
      "case", "catch", "char", "char8_t", "char16_t", "char32_t", "class", "compl", "concept",
      "const", "consteval", "constexpr", "constinit", "const_cast", "continue", "co_await",
      "co_return", "co_yield", "decltype", "default", "delete", "do", "double", "dynamic_cast",
      "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto",
      "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
      "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register",
      "reinterpret_cast", "requires", "return", "short", "signed", "sizeof", "static",
      "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local",
      "throw", "true", "try", "typedef", "typeid", "typename", "union", "unsigned", "using",
      "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq", "final", "override",
      "import", "module"};
  return kKeywords;
}

// Names the generated code already uses where the model's names live: framework classes
// and globals, members an activity inherits, enumerators, and C library functions the
// framework's headers bring in.
const std::set<std::string>& FrameworkNames() {
  static const std::set<std::string> kNames = {
      // classes and globals
      "Place", "Activity", "SANModel", "BaseModelClass", "BaseActionClass", "BaseGroupClass",
      "BaseStateVariableClass", "PreselectGroup", "PostselectGroup", "PVModel",
      "PerformanceVariableNode", "BaseStudyClass", "ImpulseNodeClass", "SteadyState",
      "InstantOfTime", "IntervalOfTime", "TimeAveragedIntervalOfTime", "SteadyStateImpulse",
      "IntervalOfTimeImpulse", "TimeAveragedIntervalOfTimeImpulse", "InstantOfTimeImpulse",
      "Distributions", "UserDistributions", "TheDistribution", "TheGenerator", "GlobalStudyPtr",
      "GenerateStudy", "DestructStudy", "GlobalDebugLevel", "List", "FastSet", "State", "main",
      "std", "ImmediateGroup", "model",
      // members of activities and groups
      "NewEnabled", "OldEnabled", "TheDistributionParameters", "ActionName", "GroupID",
      "ExecutionPolicy", "Disabled", "Reactivation", "Affects", "Fired", "DistributionType",
      "EventPointer", "FractionComplete", "TheModel", "ID", "phase", "Enabled", "Fire", "Weight",
      "Rank", "Rate", "SampleDistribution", "ReturnDistributionParameters",
      "ReactivationPredicate", "ReactivationFunction", "LinkVariables", "SelectedAction",
      "GroupArray", "ActionWeights", "HighestRank", "NumActions", "NumSelectableActions",
      "ArraySize", "Probability", "SelectAction", "EnablingChange", "MaxID",
      "AffectedStateVariables", "EnablingStateVariables", "TotalNumCollected", "AffectedNodes",
      // enumerators
      "Proprietary", "Exponential", "Deterministic", "Geometric", "Weibull", "Normal",
      "Lognormal", "Erlang", "Triangular", "Gamma", "Beta", "Uniform", "Binomial",
      "NegativeBinomial", "HyperExponential", "ConditionalWeibull", "HypoExponential", "Pareto",
      "Instantaneous", "RaceResampling", "RaceEnabled", "RaceAge", "INSTANT_OF_TIME",
      "INTERVAL_OF_TIME", "TIMEAVE_INTERVAL_OF_TIME", "STEADY_STATE", "UNDEFINED", "terminating",
      "steady_state", "acc_later", "acc_now", "acc_done", "acc_ignore",
      // C library names at global scope
      "abs", "fabs", "exp", "log", "log2", "log10", "pow", "sqrt", "cbrt", "sin", "cos", "tan",
      "floor", "ceil", "round", "trunc", "fmod", "min", "max", "time", "clock", "rand", "srand",
      "exit", "abort", "free", "malloc", "calloc", "realloc", "printf", "puts", "index", "rindex",
      "y0", "y1", "yn", "j0", "j1", "jn", "gamma", "lgamma", "tgamma", "erf", "div", "signal",
      "stdin", "stdout", "stderr", "errno", "assert", "NULL", "EOF"};
  return kNames;
}

}  // namespace

std::string NameProblem(const std::string& name) {
  if (name.empty()) return "is empty";
  if (!(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_'))
    return "is not a C++ identifier (it must start with a letter)";
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
      return "is not a C++ identifier (letters, digits and _ only)";
  if (name[0] == '_') return "starts with an underscore, which C++ reserves";
  if (name.find("__") != std::string::npos) return "contains two underscores in a row, which C++ reserves";
  if (Keywords().count(name) != 0) return "is a C++ keyword";
  if (FrameworkNames().count(name) != 0) return "is a name the simulator framework uses";
  if (name.find("_Tavrin_") != std::string::npos) return "contains _Tavrin_, kept for generated names";
  return "";
}

void CheckIdentifier(const std::string& name, SourcePos pos, const std::string& what) {
  std::string problem = NameProblem(name);
  if (!problem.empty()) throw ModelError(pos, "the " + what + " name '" + name + "' " + problem);
}
