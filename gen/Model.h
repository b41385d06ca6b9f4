#ifndef TAVRIN_GEN_MODEL_H
#define TAVRIN_GEN_MODEL_H

#include <string>
#include <vector>

// The model a model file describes, checked and complete: what the emitters turn into the
// generated form. Every element keeps where it was written, for messages and #line.

struct SourcePos {
  int line = 0;
  int column = 0;
};

// A piece of C++ from the model file (an expression or statements) and where its text
// starts. Numbers written as TOML numbers become code too.
struct Code {
  std::string text;
  SourcePos pos;
  bool present = false;
};

enum class GlobalType { Double, Int, Short, Char, Float, Long, Bool };

// The C++ name of a global variable type, as the study lists it ("double", "int", ...).
const char* TypeName(GlobalType type);
// The letter of the simulator's -O option for the type.
char TypeLetter(GlobalType type);

struct Global {
  std::string name;
  GlobalType type = GlobalType::Double;
  SourcePos pos;
};

struct PlaceDef {
  std::string name;
  Code initial;   // a number or an expression of globals
  SourcePos pos;
};

struct Arc {
  std::string place;
  int multiplicity = 1;
  SourcePos pos;
};

// One case of an activity: its probability and what it does besides the input arcs.
struct Case {
  Code probability;
  std::vector<Arc> output;
  Code fire;
  SourcePos pos;
};

struct ActivityDef {
  std::string name;
  SourcePos pos;
  bool instantaneous = false;
  std::string distribution;   // the name in the model file, e.g. "exponential"
  std::vector<Code> parameters;
  std::vector<Arc> input;
  std::vector<Arc> output;
  Code enabled;   // enabling predicate (input gate)
  Code fire;      // firing function (output gate)
  std::vector<Case> cases;   // empty: one outcome
  Code reactivationPredicate;
  Code reactivationFunction;
  Code rank;
  Code weight;
  std::string policy = "RaceEnabled";
  std::vector<std::string> reads;    // added by the modeller to the derived lists
  std::vector<std::string> changes;

  // Derived by the generator (Dependencies.h), in first-mention order.
  std::vector<std::string> enablingPlaces;   // places whose change can change the enabling
  std::vector<std::string> affectedPlaces;   // places a firing can change
  std::vector<std::string> linkedPlaces;     // every place the activity's code can touch
};

enum class RewardKind { InstantOfTime, IntervalOfTime, TimeAveragedIntervalOfTime, SteadyState };

const char* KindName(RewardKind kind);   // as in the study description: "steady_state", ...

struct ImpulseDef {
  std::string activity;
  Code value;
  SourcePos pos;
};

struct RewardDef {
  std::string name;
  SourcePos pos;
  RewardKind kind = RewardKind::SteadyState;
  std::vector<Code> times;   // instant of time
  Code start, stop;          // interval and time-averaged interval of time
  Code transient, batch;     // steady state
  Code rate;
  std::vector<ImpulseDef> impulses;
  std::string submodel;   // composed models: the atomic submodel whose places and activities it reads
  SourcePos submodelPos;
  std::string instance;   // composed models: one instance of the submodel, by its path; empty for all
  SourcePos instancePos;
  // Composed models: a rate reward over several submodels (submodel = a list), whose code
  // reaches each one's places through a pointer named after it. The submodels in file
  // order (the first is also `submodel`), and, derived, the places of each that the code
  // names. Empty for a variable on one submodel.
  std::vector<std::string> readSubmodels;
  std::vector<std::vector<std::string>> readPlaces;
  int index = 0;   // first index of the variable in the result files
  std::vector<std::string> ratePlaces;   // derived: places the rate reward reads

  int NumTimePoints() const { return kind == RewardKind::InstantOfTime ? static_cast<int>(times.size()) : 1; }
};

// A value of a global variable in one experiment.
struct Value {
  GlobalType type = GlobalType::Double;
  double real = 0.0;     // Double, Float
  long long whole = 0;   // Int, Short, Char, Long, Bool (0 or 1)
};

struct Experiment {
  std::string name;
  std::vector<Value> values;   // one per global, in the globals' order
};

// One shared variable of a join: its name and the place it joins in each child (the child's
// name, then an atomic child's place or a composed child's shared variable), in file order.
struct JoinedPlace {
  std::string child;
  std::string place;
  SourcePos pos;
};

struct JoinShared {
  std::string name;
  SourcePos pos;
  std::vector<JoinedPlace> places;
};

// A node of the composition tree: a replicate (copies of one child) or a join (several
// children), its children named by submodel or node name.
struct CompositionNode {
  std::string name;
  SourcePos pos;
  bool replicate = false;
  // Replicate: the child, the number of copies (a global's name or a whole number) and the
  // child's places common to every copy.
  std::string child;
  SourcePos childPos;
  std::string count;   // a global's name, or the number's text
  bool countIsGlobal = false;
  SourcePos countPos;
  std::vector<std::string> sharedPlaces;
  std::vector<SourcePos> sharedPos;
  // Join: the children and the shared variables.
  std::vector<std::string> children;
  std::vector<SourcePos> childrenPos;
  std::vector<JoinShared> shared;

  // The names under which an enclosing node can join this node's variables.
  std::vector<std::string> SharedNames() const;
};

// Something the generator accepts but the modeller may not mean, at its place: printed as
// FILE:LINE:COLUMN: warning: message, and generation goes on.
struct ModelWarning {
  std::string file;   // empty: the model file
  SourcePos pos;
  std::string message;
};

struct Model {
  std::string file;   // the model file as named on the command line
  std::string name;
  SourcePos pos;   // a submodel: where its name is written (in file)
  std::string description;
  std::vector<Global> globals;
  std::vector<PlaceDef> places;
  std::vector<ActivityDef> activities;
  std::vector<RewardDef> rewards;
  std::vector<Experiment> experiments;

  // A composed model: its atomic submodels (each a Model of its own, with places and
  // activities, the globals copied, the file it was written in) and the composition tree;
  // such a model has no places or activities of its own.
  std::vector<Model> submodels;
  std::vector<CompositionNode> nodes;
  std::string root;   // the node no other node holds
  std::vector<std::string> includedFiles;   // every file read besides the model file, in reading order
  std::vector<ModelWarning> warnings;   // in file order of what they are about

  bool Composed() const { return !nodes.empty(); }
  const Model* FindSubmodel(const std::string& name) const;
  const CompositionNode* FindNode(const std::string& name) const;
  bool IsPlace(const std::string& name) const;
  const ActivityDef* FindActivity(const std::string& name) const;
  int NumResultVariables() const;   // reward variables after time points are spread out
};

#endif
