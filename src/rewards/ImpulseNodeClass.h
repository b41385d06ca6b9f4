#ifndef TAVRIN_REWARDS_IMPULSENODECLASS_H
#define TAVRIN_REWARDS_IMPULSENODECLASS_H

class BaseModelClass;

// ImpulseNodeClass: an impulse reward earned when a given action fires. Generated code
// supplies one prototype per impulse; the prototype makes the impulse workers, one per
// combination of submodel instances, which the node owns.
class ImpulseNodeClass {
 public:
  ImpulseNodeClass();
  virtual ~ImpulseNodeClass() = 0;   // frees Name; TheModelPtr is the generated class's
  ImpulseNodeClass(const ImpulseNodeClass&) = delete;
  ImpulseNodeClass& operator=(const ImpulseNodeClass&) = delete;

  virtual void completeAccumulation(double finish_time) = 0;
  virtual double Impulse_Function() = 0;
  virtual void Accumulate(double next_time, double last_event_time) = 0;
  virtual void CurrentImpulse() = 0;
  virtual void Reset() = 0;   // the base body clears Impulse and ImpulseSqr
  virtual ImpulseNodeClass** CreateImpulseWorkerList(int count) = 0;   // new[] of count

  void DefineName(const char* name);   // replaces Name with a copy

  static double min(double a, double b) { return a < b ? a : b; }
  static double max(double a, double b) { return a > b ? a : b; }

  // NumberOfModelDependencies entries, each the address of a model member.
  BaseModelClass*** TheModelPtr;
  BaseModelClass* ContainingModel;   // not owned: the instance holding the earning action
  char* Name;                        // owned
  int Trace;
  int WorkerNumber;
  int ImpulseNumber;
  int NumberOfModelDependencies;
  int id;
  double Impulse;
  double ImpulseSqr;
  double ImpulseFraction;
  double Start;
  double Stop;
};

#endif
