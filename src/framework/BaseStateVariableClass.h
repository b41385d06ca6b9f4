#ifndef TAVRIN_FRAMEWORK_BASESTATEVARIABLECLASS_H
#define TAVRIN_FRAMEWORK_BASESTATEVARIABLECLASS_H

#include <iosfwd>
#include <string>

#include "framework/List.h"

class BaseActionClass;

// BaseStateVariableClass: one named piece of model state. It knows whether it takes part
// in sharing, and which actions change it (affecting) and read it for their enabling
// (enabled); the engine builds its connectivity from these two lists.
class BaseStateVariableClass {
 public:
  BaseStateVariableClass();
  // A null name or prefix is taken as the empty string.
  BaseStateVariableClass(const char* name, const char* prefix);
  virtual ~BaseStateVariableClass();
  BaseStateVariableClass(const BaseStateVariableClass&) = delete;
  BaseStateVariableClass& operator=(const BaseStateVariableClass&) = delete;

  virtual int StateSize() = 0;
  virtual void SetState(void* at) = 0;
  virtual void CurrentState(void* at) = 0;
  virtual void printState(std::ostream* s);
  virtual void printState();
  virtual void printStateVal(std::ostream* s);
  virtual void share(BaseStateVariableClass* other) = 0;
  virtual void appendAffectingAction(BaseActionClass* a);
  virtual void removeAffectingAction(BaseActionClass* a);
  virtual void replaceAffectingAction(BaseActionClass* oldAction, BaseActionClass* newAction);
  virtual void addSelfAsEnablingSVToAction(BaseActionClass* a);
  virtual void addSelfAsAffectedSVToAction(BaseActionClass* a);
  virtual void removeSelfFromEnablingSVOfAction(BaseActionClass* a);
  virtual void removeSelfFromAffectedSVOfAction(BaseActionClass* a);
  virtual List<BaseStateVariableClass>* getLeafNodes();  // the caller deletes the list
  virtual int getNumLeafNodes();
  virtual bool isLeafNode();
  virtual void appendEnabledAction(BaseActionClass* a);
  virtual void removeEnabledAction(BaseActionClass* a);
  virtual void replaceEnabledAction(BaseActionClass* oldAction, BaseActionClass* newAction);

  void SetName(const char* name);
  void SetPrefix(const char* prefix);
  const char* getName() const { return StateVariableName; }
  const char* getPrefix() const { return VariableNamePrefix; }
  // "prefix.name", or the bare name when the prefix is empty. The text stays valid until
  // the name or the prefix is set again, so trace writers may keep printing it.
  const char* getFullyQualifiedName() const { return FullyQualifiedName.c_str(); }

  bool getShared() const { return Shared; }
  void setShared(bool shared) { Shared = shared; }
  bool getStored() const { return Stored; }
  void setStored(bool stored) { Stored = stored; }
  bool getFunctionallyShared() const { return FunctionallyShared; }
  void setFunctionallyShared(bool functionallyShared) { FunctionallyShared = functionallyShared; }
  int getSharingCount() const { return SharingCount; }

  void copyAffectingActions(List<BaseActionClass>* actions);
  List<BaseActionClass>* getAffectingActions() const { return SVAffectingActions; }
  int getNumAffectingActions() const;
  BaseActionClass* getAffectingAction(int i) const;
  // Adopts the list without copying it; the old list is not freed (a sharing group
  // frees or keeps it, see SharableSV::Register).
  void setAffectingActions(List<BaseActionClass>* actions) { SVAffectingActions = actions; }
  void printAffectingActions() const;

  void copyEnabledActions(List<BaseActionClass>* actions);
  List<BaseActionClass>* getEnabledActions() const { return SVEnabledActions; }
  int getNumEnabledActions() const;
  BaseActionClass* getEnabledAction(int i) const;
  void setEnabledActions(List<BaseActionClass>* actions) { SVEnabledActions = actions; }
  void printEnabledActions() const;

 protected:
  char* StateVariableName;   // owned
  char* VariableNamePrefix;  // owned
  bool Shared;
  bool Stored;               // false once a leader holds the value and the two lists
  bool FunctionallyShared;
  int SharingCount;          // entries in the pointer chain of a shareable variable
  List<BaseActionClass>* SVAffectingActions;  // owned while Stored, else the leader's
  List<BaseActionClass>* SVEnabledActions;    // owned while Stored, else the leader's

 private:
  void updateFullyQualifiedName();

  std::string FullyQualifiedName;  // rebuilt whenever the name or the prefix changes
};

#endif
