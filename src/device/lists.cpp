// Memory range lists.
#include "device/lists.h"

#include <algorithm>

namespace {

// Inserts one piece, merging it with every range it overlaps (or touches, with join).
void insert_piece(std::vector<Range> &v, uint32_t lo, uint32_t hi, bool join) {
  // The ranges are sorted by lo and disjoint, so their hi values are sorted too:
  // the first range that may merge is the first whose hi reaches lo (or lo - 1 with join).
  uint64_t from = join && lo > 0 ? uint64_t{lo} - 1 : lo;
  auto first = std::lower_bound(v.begin(), v.end(), from, [](const Range &x, uint64_t a) { return x.hi < a; });
  uint64_t to = join ? uint64_t{hi} + 1 : hi;
  auto last = first;
  while (last != v.end() && last->lo <= to) ++last;
  if (first == last) {
    v.insert(first, Range{lo, hi});
    return;
  }
  Range m{std::min(lo, first->lo), std::max(hi, (last - 1)->hi)};
  *first = m;
  v.erase(first + 1, last);
}

}  // namespace

bool range_add(RangeList &list, uint32_t lo, uint32_t hi, uint32_t chunk, bool join) {
  if (lo > hi) return false;
  if (chunk == 0) {
    insert_piece(list.r, lo, hi, join);
    return true;
  }
  uint64_t a = lo;
  while (a <= hi) {
    uint64_t end = (a / chunk + 1) * chunk - 1;
    uint64_t b = std::min<uint64_t>(end, hi);
    insert_piece(list.r, static_cast<uint32_t>(a), static_cast<uint32_t>(b), join);
    a = b + 1;
  }
  return true;
}

bool range_contains(const RangeList &list, uint64_t addr) {
  auto it = std::lower_bound(list.r.begin(), list.r.end(), addr,
                             [](const Range &x, uint64_t a) { return x.hi < a; });
  return it != list.r.end() && it->lo <= addr;
}

RangeList range_difference(const RangeList &a, const RangeList &b) {
  RangeList out;
  size_t j = 0;
  for (const Range &x : a.r) {
    uint64_t lo = x.lo;  // start of the part of x not yet handled
    while (j < b.r.size() && b.r[j].hi < lo) ++j;
    // b's ranges from j on may cut x; a range of b reaching past x may cut the next x too.
    for (size_t k = j; k < b.r.size() && b.r[k].lo <= x.hi && lo <= x.hi; ++k) {
      if (b.r[k].lo > lo) out.r.push_back(Range{static_cast<uint32_t>(lo), b.r[k].lo - 1});
      lo = uint64_t{b.r[k].hi} + 1;
    }
    if (lo <= x.hi) out.r.push_back(Range{static_cast<uint32_t>(lo), x.hi});
  }
  return out;
}

void range_release(RangeList &list) {
  list.r.clear();
  list.r.shrink_to_fit();
}
