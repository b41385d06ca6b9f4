#ifndef TAVRIN_FRAMEWORK_STATE_BASESTRUCTSTATEVARIABLE_H
#define TAVRIN_FRAMEWORK_STATE_BASESTRUCTSTATEVARIABLE_H

#include <iosfwd>
#include <vector>

#include "framework/BaseStateVariableClass.h"
#include "framework/state/ArrayType.h"

// BaseStructStateVariable: the common base of records and arrays whose elements are state
// variables. It lays its fields out one after another in the state vector, shares them
// field by field, and lets actions see the leaf scalars inside it.
class BaseStructStateVariable : public BaseStateVariableClass {
 public:
  struct fieldType {
    BaseStateVariableClass* field;  // not owned: the concrete record or array owns it
    ArrayType type;
  };

  BaseStructStateVariable();
  BaseStructStateVariable(const char* name, const char* prefix);
  // The base field() supplies no element variables, so fields made here stay empty
  // until the concrete class fills them in.
  BaseStructStateVariable(const char* name, const char* prefix, const ArrayType* types, int n);

  int StateSize() override;
  void SetState(void* p) override;
  void CurrentState(void* p) override;
  using BaseStateVariableClass::printState;
  void printState(std::ostream* s) override;
  void share(BaseStateVariableClass* other) override;
  void appendAffectingAction(BaseActionClass* a) override;
  void addSelfAsEnablingSVToAction(BaseActionClass* a) override;
  void addSelfAsAffectedSVToAction(BaseActionClass* a) override;
  void removeSelfFromEnablingSVOfAction(BaseActionClass* a) override;
  void removeSelfFromAffectedSVOfAction(BaseActionClass* a) override;
  List<BaseStateVariableClass>* getLeafNodes() override;  // the caller deletes the list
  int getNumLeafNodes() override;
  bool isLeafNode() override;
  void appendEnabledAction(BaseActionClass* a) override;
  virtual void ShareWith(BaseStructStateVariable* other);
  // Supplies the element variable of a field of type t; a concrete class that builds its
  // fields through makeArrays replaces it.
  virtual fieldType field(ArrayType t, BaseStateVariableClass* sv);

  void makeArrays(const ArrayType* types, int n);
  int getSize() const { return static_cast<int>(fields.size()); }
  ArrayType getType(int i) const;

 protected:
  int calculatedStateSize;        // -1 until computed; reset after the fields change
  std::vector<fieldType> fields;  // in layout order

 private:
  int fieldBytes(const fieldType& f);
};

#endif
