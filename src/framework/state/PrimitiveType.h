#ifndef TAVRIN_FRAMEWORK_STATE_PRIMITIVETYPE_H
#define TAVRIN_FRAMEWORK_STATE_PRIMITIVETYPE_H

// PrimitiveType: a typed value of generated model code, used like the value itself.
template <class T>
class PrimitiveType {
 public:
  PrimitiveType() : mVar() {}
  PrimitiveType(T value) : mVar(value) {}  // implicit: generated code assigns plain values
  PrimitiveType& operator=(T value) {
    mVar = value;
    return *this;
  }
  operator T() const { return mVar; }

  T mVar;
};

#endif
