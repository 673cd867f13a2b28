// Settings of several values, on either backend: the values are read in order into a record of
// their own and given out only when every read succeeded (the first failure is returned), and
// written in order, stopping at the first failure (the values before it stay written). `read`
// and `write` take one path or feature name and one value (read: its address).
#pragma once

#include <cstddef>
#include <tuple>
#include <utility>

#include "interface/types.h"

namespace several {

template <typename Reader, std::size_t... I, typename... T>
u32 ReadEach(Reader& read, const char* const* names, std::index_sequence<I...>, T*... outputs) {
  std::tuple<T...> values{};
  u32 result = rc::kOk;
  (void)(((result = read(names[I], &std::get<I>(values))) == rc::kOk) && ...);
  if (result != rc::kOk) return result;
  ((*outputs = std::get<I>(values)), ...);
  return rc::kOk;
}

template <typename Reader, std::size_t N, typename... T>
u32 Read(Reader read, const char* const (&names)[N], T*... outputs) {
  static_assert(sizeof...(T) == N, "one output per name");
  return ReadEach(read, names, std::index_sequence_for<T...>{}, outputs...);
}

template <typename Writer, std::size_t N, typename... T>
u32 Write(Writer write, const char* const (&names)[N], T... values) {
  static_assert(sizeof...(T) == N, "one value per name");
  u32 result = rc::kOk;
  std::size_t i = 0;
  (void)(((result = write(names[i++], values)) == rc::kOk) && ...);
  return result;
}

}  // namespace several
