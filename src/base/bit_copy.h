#pragma once

#include <cstring>
#include <type_traits>

// The bytes of a value read as another type of the same size: what std::bit_cast does, written
// with memcpy so that every standard library the programs are built with has it. Compilers turn
// the copy into a plain register move.
template <class To, class From>
  requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From> &&
           std::is_trivially_default_constructible_v<To>)
To bit_copy(const From& from) {
  To to;
  std::memcpy(&to, &from, sizeof(To));
  return to;
}
