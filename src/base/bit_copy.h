#pragma once

#include <cstring>
#include <type_traits>

// The bytes of a value read as another type of the same size: what std::bit_cast does, written
// with memcpy so that every standard library the programs are built with has it. Compilers turn
// the copy into a plain register move.
template <class To, class From>
To bit_copy(const From& from) {
  static_assert(sizeof(To) == sizeof(From), "both types have the same size");
  static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>, "plain bytes only");
  To to;
  std::memcpy(&to, &from, sizeof(To));
  return to;
}
