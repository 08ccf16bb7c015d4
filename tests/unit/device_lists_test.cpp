// Range lists: chunked insertion, merging, membership and difference.
#include <gtest/gtest.h>

#include <string>

#include "device/lists.h"
#include "support/format.h"

namespace {

std::string show(const RangeList &l) {
  std::string s;
  for (const Range &r : l.r) s += fmt_str("%s%X-%X", s.empty() ? "" : ",", r.lo, r.hi);
  return s;
}

struct Add {
  uint32_t lo, hi, chunk;
  bool join;
};

TEST(RangeList, Add) {
  struct Case {
    const char *name;
    std::vector<Add> adds;
    const char *want;
  };
  const Case cases[] = {
      {"chunked at 256", {{0x000, 0x2FF, 256, false}}, "0-FF,100-1FF,200-2FF"},
      {"chunk start mid-page", {{0x0F0, 0x210, 256, false}}, "F0-FF,100-1FF,200-210"},
      {"chunk inside one page", {{0x110, 0x120, 256, false}}, "110-120"},
      {"chunked pieces join when asked", {{0x000, 0x2FF, 256, true}}, "0-2FF"},
      {"touching, joined", {{0x10, 0x1F, 0, true}, {0x20, 0x2F, 0, true}}, "10-2F"},
      {"touching, separate", {{0x10, 0x1F, 0, false}, {0x20, 0x2F, 0, false}}, "10-1F,20-2F"},
      {"touching below, joined", {{0x20, 0x2F, 0, true}, {0x10, 0x1F, 0, true}}, "10-2F"},
      {"kept sorted", {{0x50, 0x5F, 0, false}, {0x10, 0x1F, 0, false}, {0x30, 0x3F, 0, false}},
       "10-1F,30-3F,50-5F"},
      {"overlap absorbs every range reached",
       {{0, 5, 0, false}, {10, 15, 0, false}, {20, 25, 0, false}, {30, 35, 0, false}, {3, 22, 0, false}},
       "0-19,1E-23"},
      {"overlap merges even without join", {{0x10, 0x1F, 0, false}, {0x18, 0x27, 0, false}}, "10-27"},
      {"contained range changes nothing", {{0x10, 0x3F, 0, false}, {0x20, 0x2F, 0, false}}, "10-3F"},
      {"join bridges a gap of nothing", {{0, 4, 0, true}, {10, 14, 0, true}, {5, 9, 0, true}}, "0-E"},
      {"without join the bridge stays apart", {{0, 4, 0, false}, {10, 14, 0, false}, {5, 9, 0, false}},
       "0-4,5-9,A-E"},
      {"address zero, joined", {{1, 9, 0, true}, {0, 0, 0, true}}, "0-9"},
      {"top of the address space", {{0xFFFFFF00, 0xFFFFFFFF, 0x80, false}}, "FFFFFF00-FFFFFF7F,FFFFFF80-FFFFFFFF"},
      {"join at the top does not wrap", {{0xFFFFFFFF, 0xFFFFFFFF, 0, true}, {0, 0, 0, true}}, "0-0,FFFFFFFF-FFFFFFFF"},
  };
  for (const auto &c : cases) {
    RangeList l;
    for (const Add &a : c.adds) EXPECT_TRUE(range_add(l, a.lo, a.hi, a.chunk, a.join)) << c.name;
    EXPECT_EQ(show(l), c.want) << c.name;
  }
}

TEST(RangeList, ReversedRangeIsRefused) {
  RangeList l;
  range_add(l, 0x10, 0x1F, 0, false);
  EXPECT_FALSE(range_add(l, 0x30, 0x20, 0, false));
  EXPECT_EQ(show(l), "10-1F");
}

TEST(RangeList, Contains) {
  RangeList l;
  range_add(l, 0x00, 0x5F, 0, false);
  range_add(l, 0x80, 0xFF, 0, false);
  const std::pair<uint64_t, bool> cases[] = {{0x00, true}, {0x5F, true}, {0x60, false}, {0x7F, false},
                                             {0x80, true}, {0xFF, true}, {0x100, false}, {0x1000000FFull, false}};
  for (auto [addr, want] : cases) EXPECT_EQ(range_contains(l, addr), want) << std::hex << addr;
  EXPECT_FALSE(range_contains(RangeList{}, 0));
}

TEST(RangeList, Difference) {
  auto make = [](std::initializer_list<Range> rs, uint32_t chunk = 0) {
    RangeList l;
    for (const Range &r : rs) range_add(l, r.lo, r.hi, chunk, false);
    return l;
  };
  struct Case {
    const char *name;
    RangeList a, b;
    const char *want;
  };
  const Case cases[] = {
      {"banks minus access RAM and SFRs", make({{0x000, 0x1FF}}, 256), make({{0x000, 0x05F}, {0xF60, 0xFFF}}),
       "60-FF,100-1FF"},
      {"empty b copies a", make({{1, 2}, {5, 9}}), RangeList{}, "1-2,5-9"},
      {"empty a", RangeList{}, make({{1, 2}}), ""},
      {"b covers everything", make({{0x10, 0x1F}, {0x20, 0x2F}}), make({{0, 0xFF}}), ""},
      {"holes inside one range", make({{0, 0xFF}}), make({{0x10, 0x1F}, {0x40, 0x4F}}), "0-F,20-3F,50-FF"},
      {"b spans two ranges of a", make({{0, 0xF}, {0x20, 0x2F}}), make({{0x8, 0x27}}), "0-7,28-2F"},
      {"pieces that touch stay apart", make({{0, 0xFF}}, 0x80), make({{0x200, 0x2FF}}), "0-7F,80-FF"},
      {"b entirely before and after", make({{0x10, 0x1F}}), make({{0, 3}, {0x40, 0x50}}), "10-1F"},
      {"cut at the top of the address space", make({{0xFFFFFF00, 0xFFFFFFFF}}), make({{0xFFFFFFF0, 0xFFFFFFFF}}),
       "FFFFFF00-FFFFFFEF"},
  };
  for (const auto &c : cases) EXPECT_EQ(show(range_difference(c.a, c.b)), c.want) << c.name;
}

}  // namespace
