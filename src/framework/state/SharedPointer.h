#ifndef TAVRIN_FRAMEWORK_STATE_SHAREDPOINTER_H
#define TAVRIN_FRAMEWORK_STATE_SHAREDPOINTER_H

class BaseStateVariableClass;

// SharedPointer: one element of a shareable variable's pointer chain. It designates a
// pointer that must always point at the variable's current value storage, so that
// sharing can move the value without its readers noticing.
template <class T>
class SharedPointer {
 public:
  SharedPointer() : TheSharedPointer(nullptr), Owner(nullptr), Next(nullptr) {}
  SharedPointer(const SharedPointer&) = delete;
  SharedPointer& operator=(const SharedPointer&) = delete;

  void setPointer(T** p) { TheSharedPointer = p; }
  T** getPointer() const { return TheSharedPointer; }
  void setNeighbor(SharedPointer* next) { Next = next; }
  SharedPointer* getNeighbor() const { return Next; }
  void setOwner(BaseStateVariableClass* owner) { Owner = owner; }
  BaseStateVariableClass* getOwner() const { return Owner; }

  void changePointer(T* p) { *TheSharedPointer = p; }

 private:
  T** TheSharedPointer;           // not owned: a pointer field of a variable or a model
  BaseStateVariableClass* Owner;  // not owned: the variable whose own value pointer this is, or null
  SharedPointer* Next;            // not owned: the chain's holder frees every element
};

#endif
