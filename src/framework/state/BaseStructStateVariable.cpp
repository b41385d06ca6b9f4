#include "framework/state/BaseStructStateVariable.h"

#include <cassert>
#include <iostream>
#include <new>

#include "framework/BaseActionClass.h"
#include "framework/Errors.h"

namespace {

// The fixed state-vector size of a scalar kind, or 0 for the kinds that take their
// field's own size.
int scalarBytes(ArrayType t) {
  switch (t) {
    case ArrayType_SHORT: return 2;
    case ArrayType_INT: return 4;
    case ArrayType_CHAR: return 1;
    case ArrayType_DOUBLE: return 8;
    case ArrayType_FLOAT: return 4;
    default: return 0;
  }
}

}  // namespace

BaseStructStateVariable::BaseStructStateVariable() : calculatedStateSize(0) {}

BaseStructStateVariable::BaseStructStateVariable(const char* name, const char* prefix)
    : BaseStateVariableClass(name, prefix), calculatedStateSize(-1) {}

BaseStructStateVariable::BaseStructStateVariable(const char* name, const char* prefix,
                                                 const ArrayType* types, int n)
    : BaseStructStateVariable(name, prefix) {
  makeArrays(types, n);
}

void BaseStructStateVariable::makeArrays(const ArrayType* types, int n) {
  for (int i = 0; i < n; i++) fields.push_back(field(types[i], nullptr));
  calculatedStateSize = -1;
}

BaseStructStateVariable::fieldType BaseStructStateVariable::field(ArrayType t,
                                                                   BaseStateVariableClass* sv) {
  return fieldType{sv, t};
}

ArrayType BaseStructStateVariable::getType(int i) const {
  TAVRIN_ASSERT(i >= 0 && i < getSize());
  return fields[i].type;
}

// The declared type decides how far the layout advances. A scalar field whose own size
// differs would write over its neighbour or past the end of the record, so that is a
// broken model, as is a field that was never given its variable.
int BaseStructStateVariable::fieldBytes(const fieldType& f) {
  TAVRIN_ASSERT(f.field != nullptr);
  int bytes = scalarBytes(f.type);
  if (bytes == 0) return f.field->StateSize();
  TAVRIN_ASSERT(f.field->StateSize() == bytes);
  return bytes;
}

int BaseStructStateVariable::StateSize() {
  if (calculatedStateSize < 0) {
    int size = 0;
    for (const fieldType& f : fields) size += fieldBytes(f);
    calculatedStateSize = size;
  }
  return calculatedStateSize;
}

void BaseStructStateVariable::CurrentState(void* p) {
  char* at = static_cast<char*>(p);
  for (const fieldType& f : fields) {
    int bytes = fieldBytes(f);
    f.field->CurrentState(at);
    at += bytes;
  }
}

void BaseStructStateVariable::SetState(void* p) {
  char* at = static_cast<char*>(p);
  for (const fieldType& f : fields) {
    int bytes = fieldBytes(f);
    f.field->SetState(at);
    at += bytes;
  }
}

void BaseStructStateVariable::printState(std::ostream* s) {
  *s << StateVariableName << " = {" << std::endl;
  for (const fieldType& f : fields) {
    *s << ".";
    f.field->printState(s);
  }
  *s << "}" << std::endl;
}

void BaseStructStateVariable::share(BaseStateVariableClass* other) {
  BaseStructStateVariable* record = dynamic_cast<BaseStructStateVariable*>(other);
  assert(record != nullptr);
  ShareWith(record);
}

void BaseStructStateVariable::ShareWith(BaseStructStateVariable* other) {
  if (other == this) return;
  assert(other->fields.size() >= fields.size());
  for (std::size_t i = 0; i < fields.size(); i++) fields[i].field->share(other->fields[i].field);
  if (other->SVAffectingActions != SVAffectingActions) {
    SVAffectingActions->append(other->SVAffectingActions);
    SVEnabledActions->append(other->SVEnabledActions);
    // A variable shared before no longer owns its lists: they belong to its leader.
    if (other->Stored) {
      delete other->SVAffectingActions;
      delete other->SVEnabledActions;
    }
    other->SVAffectingActions = SVAffectingActions;
    other->SVEnabledActions = SVEnabledActions;
  }
  other->Shared = true;
  other->Stored = false;
  for (int i = 0; i < SVAffectingActions->getNumItems(); i++)
    SVAffectingActions->getItem(i)->replaceAffectedSV(other, this);
  for (int i = 0; i < SVEnabledActions->getNumItems(); i++)
    SVEnabledActions->getItem(i)->replaceEnablingSV(other, this);
}

void BaseStructStateVariable::appendAffectingAction(BaseActionClass* a) {
  for (const fieldType& f : fields) f.field->appendAffectingAction(a);
  BaseStateVariableClass::appendAffectingAction(a);
}

void BaseStructStateVariable::appendEnabledAction(BaseActionClass* a) {
  BaseStateVariableClass::appendEnabledAction(a);
  for (const fieldType& f : fields) f.field->appendEnabledAction(a);
}

void BaseStructStateVariable::addSelfAsEnablingSVToAction(BaseActionClass* a) {
  for (const fieldType& f : fields) f.field->addSelfAsEnablingSVToAction(a);
}

void BaseStructStateVariable::addSelfAsAffectedSVToAction(BaseActionClass* a) {
  for (const fieldType& f : fields) f.field->addSelfAsAffectedSVToAction(a);
}

void BaseStructStateVariable::removeSelfFromEnablingSVOfAction(BaseActionClass* a) {
  for (const fieldType& f : fields) f.field->removeSelfFromEnablingSVOfAction(a);
}

void BaseStructStateVariable::removeSelfFromAffectedSVOfAction(BaseActionClass* a) {
  for (const fieldType& f : fields) f.field->removeSelfFromAffectedSVOfAction(a);
}

bool BaseStructStateVariable::isLeafNode() { return fields.empty(); }

int BaseStructStateVariable::getNumLeafNodes() {
  int leaves = 0;
  for (const fieldType& f : fields) leaves += f.field->getNumLeafNodes();
  return leaves == 0 ? 1 : leaves;
}

// A record without fields is a leaf, and a leaf's list holds the leaf itself, in line
// with getNumLeafNodes.
List<BaseStateVariableClass>* BaseStructStateVariable::getLeafNodes() {
  if (fields.empty()) return BaseStateVariableClass::getLeafNodes();
  List<BaseStateVariableClass>* leaves = new (std::nothrow) List<BaseStateVariableClass>(10);
  if (leaves == nullptr) MemoryAllocationError();
  for (const fieldType& f : fields) {
    List<BaseStateVariableClass>* fieldLeaves = f.field->getLeafNodes();
    assert(fieldLeaves != nullptr);
    leaves->append(fieldLeaves);
    delete fieldLeaves;
  }
  return leaves;
}
