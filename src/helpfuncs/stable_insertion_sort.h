// The insertion sort of the host's lists: in place, ascending and stable. An element moves only
// in front of elements whose key is strictly greater, so equal keys keep their order.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace grx::helpfuncs {

// greater(a, b) answers whether a's key is strictly greater than b's.
template <class T, class Greater>
void StableInsertionSort(std::vector<T>& items, Greater&& greater) {
  for (std::size_t j = 1; j < items.size(); ++j) {
    if (!greater(items[j - 1], items[j])) continue;
    T taken = std::move(items[j]);
    std::size_t k = 0;
    while (k < j && !greater(items[k], taken)) ++k;
    for (std::size_t i = j; i > k; --i) items[i] = std::move(items[i - 1]);
    items[k] = std::move(taken);
  }
}

} // namespace grx::helpfuncs
