// The sort of the host's lists: in place, ascending and stable. An element moves only in front of
// elements whose key is strictly greater, so equal keys keep their order. This is the order an
// insertion sort gives, made by a merge sort: the lists of a whole project's uses run to tens of
// thousands of entries, which an insertion sort would take quadratic time over.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace grx::helpfuncs {

// greater(a, b) answers whether a's key is strictly greater than b's.
template <class T, class Greater>
void StableInsertionSort(std::vector<T>& items, Greater&& greater) {
  std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) { return greater(b, a); });
}

} // namespace grx::helpfuncs
