// Memory range lists: sorted, non-overlapping address ranges with chunked insertion,
// membership, difference and release.
#pragma once

#include <cstdint>
#include <vector>

struct Range {
  uint32_t lo;  // first address
  uint32_t hi;  // last address, lo <= hi
};

// Ranges in ascending order of lo; no two overlap. Touching ranges stay separate unless
// they were added with joining. An empty list holds no range.
struct RangeList {
  std::vector<Range> r;
};

// Inserts [lo, hi], cut at every multiple of chunk (0: whole). Overlapping ranges are merged;
// with join, touching ones too. False, and nothing inserted, when lo > hi.
bool range_add(RangeList &list, uint32_t lo, uint32_t hi, uint32_t chunk, bool join);

// Whether some range of the list holds the address.
bool range_contains(const RangeList &list, uint64_t addr);

// The addresses of a that are not in b, as a new list; touching pieces stay separate.
RangeList range_difference(const RangeList &a, const RangeList &b);

// Frees every range.
void range_release(RangeList &list);
