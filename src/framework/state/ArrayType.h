#ifndef TAVRIN_FRAMEWORK_STATE_ARRAYTYPE_H
#define TAVRIN_FRAMEWORK_STATE_ARRAYTYPE_H

// ArrayType: the kind of one field of a structured state variable. The five scalar kinds
// take a fixed number of bytes in the state vector; the others take their field's own size.
enum ArrayType {
  ArrayType_SHORT = 0,      // 2 bytes
  ArrayType_INT = 1,        // 4 bytes
  ArrayType_CHAR = 2,       // 1 byte
  ArrayType_DOUBLE = 3,     // 8 bytes
  ArrayType_FLOAT = 4,      // 4 bytes
  ArrayType_ARRAY = 5,
  ArrayType_STRUCT = 6,
  ArrayType_UNORDERED = 7,
  ArrayType_EMPTY = 8
};

#endif
