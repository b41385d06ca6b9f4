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

// Names of the C and C++ libraries that the framework's headers make visible at global
// scope, where the generated code declares the globals (a global of such a name is
// redeclared as a different kind of entity) and where its classes use them (a member of
// such a name changes the meaning of the type in the class): the standard types and the
// C library's types and functions.
const std::set<std::string>& LibraryNames() {
  static const std::set<std::string> kNames = {
      // standard types
      "size_t", "ptrdiff_t", "max_align_t", "nullptr_t", "ssize_t", "int8_t", "int16_t",
      "int32_t", "int64_t", "uint8_t", "uint16_t", "uint32_t", "uint64_t", "int_least8_t",
      "int_least16_t", "int_least32_t", "int_least64_t", "uint_least8_t", "uint_least16_t",
      "uint_least32_t", "uint_least64_t", "int_fast8_t", "int_fast16_t", "int_fast32_t",
      "int_fast64_t", "uint_fast8_t", "uint_fast16_t", "uint_fast32_t", "uint_fast64_t",
      "intptr_t", "uintptr_t", "intmax_t", "uintmax_t", "wint_t", "wctype_t", "wctrans_t",
      "mbstate_t", "div_t", "ldiv_t", "lldiv_t", "FILE", "fpos_t", "va_list", "clock_t",
      "time_t", "tm", "timespec", "timeval", "locale_t", "lconv",
      // POSIX types of the C headers
      "off_t", "pid_t", "uid_t", "gid_t", "mode_t", "dev_t", "ino_t", "nlink_t", "id_t",
      "key_t", "clockid_t", "timer_t", "useconds_t", "suseconds_t", "blkcnt_t", "blksize_t",
      "fsblkcnt_t", "fsfilcnt_t", "caddr_t", "daddr_t", "loff_t", "quad_t", "u_quad_t",
      "u_char", "u_short", "u_int", "u_long", "u_int8_t", "u_int16_t", "u_int32_t",
      "u_int64_t", "uint", "ulong", "ushort", "sigset_t", "fd_set", "fd_mask", "pthread_t",
      "pthread_attr_t", "pthread_mutex_t", "pthread_cond_t", "pthread_key_t",
      "pthread_once_t", "sched_param", "itimerspec", "error_t", "cpu_set_t", "random_data",
      "drand48_data", "off64_t", "fpos64_t", "ino64_t", "blkcnt64_t",
      // C library functions (those of the framework list above aside)
      "atof", "atoi", "atol", "atoll", "strtod", "strtof", "strtold", "strtol", "strtoll",
      "strtoul", "strtoull", "aligned_alloc", "atexit", "at_quick_exit", "quick_exit",
      "getenv", "setenv", "unsetenv", "putenv", "system", "bsearch", "qsort", "labs", "llabs",
      "ldiv", "lldiv", "mblen", "mbtowc", "wctomb", "mbstowcs", "wcstombs", "random",
      "srandom", "drand48", "erand48", "lrand48", "nrand48", "mrand48", "jrand48", "srand48",
      "seed48", "lcong48", "initstate", "setstate", "mkstemp", "mktemp", "realpath", "alloca",
      "memcpy", "memmove", "memset", "memcmp", "memchr", "strcpy", "strncpy", "strcat",
      "strncat", "strcmp", "strncmp", "strcoll", "strxfrm", "strchr", "strrchr", "strspn",
      "strcspn", "strpbrk", "strstr", "strtok", "strerror", "strlen", "strdup", "strndup",
      "strnlen", "strsep", "stpcpy", "bzero", "bcopy", "bcmp", "ffs", "strcasecmp",
      "strncasecmp", "basename", "remove", "rename", "tmpfile", "tmpnam", "fclose", "fflush",
      "fopen", "freopen", "setbuf", "setvbuf", "fprintf", "fscanf", "scanf", "snprintf",
      "sprintf", "sscanf", "vfprintf", "vfscanf", "vprintf", "vscanf", "vsnprintf",
      "vsprintf", "vsscanf", "fgetc", "fgets", "fputc", "fputs", "getc", "getchar", "putc",
      "putchar", "ungetc", "fread", "fwrite", "fgetpos", "fseek", "fsetpos", "ftell",
      "rewind", "clearerr", "feof", "ferror", "perror", "fileno", "popen", "pclose",
      "getline", "getdelim", "dprintf", "difftime", "mktime", "asctime", "ctime", "gmtime",
      "localtime", "strftime", "timespec_get", "nanosleep", "tzset", "timegm", "isalnum",
      "isalpha", "isblank", "iscntrl", "isdigit", "isgraph", "islower", "isprint", "ispunct",
      "isspace", "isupper", "isxdigit", "tolower", "toupper", "isascii", "toascii", "select",
      "pselect", "setlocale", "localeconv"};
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
  if (LibraryNames().count(name) != 0) return "is a name of the C or C++ library that the generated code sees";
  if (name.find("_Tavrin_") != std::string::npos) return "contains _Tavrin_, kept for generated names";
  return "";
}

void CheckIdentifier(const std::string& name, SourcePos pos, const std::string& what) {
  std::string problem = NameProblem(name);
  if (!problem.empty()) throw ModelError(pos, "the " + what + " name '" + name + "' " + problem);
}
