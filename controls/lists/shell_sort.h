#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lists {

// The order in which a Shell sort with the 3h + 1 gaps that do not exceed n - 1 leaves n
// records: element k of the result is the index of the record that ends at position k.
// `less(a, b)` compares the keys of records a and b; a record moves past another only when that
// one's key is strictly greater, so records with equal keys keep their order within a pass
// (the sort as a whole is not stable). Indices are moved instead of the records, which gives
// the same order as moving the records themselves.
template <typename Less>
std::vector<int32_t> ShellSortOrder(size_t n, Less less) {
  std::vector<int32_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = static_cast<int32_t>(i);
  if (n < 2) return order;
  std::vector<size_t> gaps;
  for (size_t h = 1; h <= n - 1; h = 3 * h + 1) gaps.push_back(h);
  for (auto gap = gaps.rbegin(); gap != gaps.rend(); ++gap) {
    const size_t h = *gap;
    for (size_t i = h; i < n; ++i) {
      const int32_t taken = order[i];
      size_t j = i;
      while (j >= h && less(taken, order[j - h])) {
        order[j] = order[j - h];
        j -= h;
      }
      order[j] = taken;
    }
  }
  return order;
}

}  // namespace lists
