#ifndef TAVRIN_FRAMEWORK_STATE_BYTECOPY_H
#define TAVRIN_FRAMEWORK_STATE_BYTECOPY_H

#include <cstring>
#include <type_traits>

// Byte copies between values and a model's state vector. The state vector packs values
// without padding, so an address may have any alignment: only memcpy may touch it.
// Values keep the machine's native byte order.

template <class T>
void readMemory2(const void* from, T* into) {
  static_assert(std::is_trivially_copyable<T>::value, "state values are plain bytes");
  std::memcpy(into, from, sizeof(T));
}

template <class T>
void writeMemory(void* to, const T& value) {
  static_assert(std::is_trivially_copyable<T>::value, "state values are plain bytes");
  std::memcpy(to, &value, sizeof(T));
}

template <class T>
void readArray(const void* from, T* into, int n) {
  static_assert(std::is_trivially_copyable<T>::value, "state values are plain bytes");
  std::memcpy(into, from, sizeof(T) * static_cast<std::size_t>(n));
}

template <class T>
void writeArray(void* to, const T* values, int n) {
  static_assert(std::is_trivially_copyable<T>::value, "state values are plain bytes");
  std::memcpy(to, values, sizeof(T) * static_cast<std::size_t>(n));
}

#endif
