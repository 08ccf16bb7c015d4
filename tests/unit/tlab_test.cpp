// Temporary labels: forward and backward resolution from the walk's position, address units,
// the undefined-label value and the phase check of a repeated walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "isa/ops.h"
#include "lang/list.h"
#include "lang/sym.h"
#include "lang/tlab.h"
#include "test_context.h"

namespace {

struct Fix : TestContext {
  Symbol *code = nullptr;
  std::vector<Statement *> labels;  // in walk order
  Fix() {
    open_text("");
    code = sym_lookup(as, "code", SF_PSECT);
    as.sym.cur_psect = code;
  }
  // Temporary labels with these numbers at 0, 10, 20, ... bytes.
  void make(std::initializer_list<uint64_t> numbers) {
    for (uint64_t num : numbers) {
      Statement *n = list_new_statement(as);
      n->op_type = TLABEL;
      n->op_tlab = num;
      n->op_addr = static_cast<uint32_t>(10 * labels.size());
      list_add_statement(as, n);
      labels.push_back(n);
    }
  }
  // Defines the first k labels of the walk.
  void walk(size_t k) {
    for (size_t i = 0; i < k; ++i) tlab_define(as, labels[i]->op_tlab, labels[i]);
  }
};

TEST(Tlab, ResolveFromTheWalkPosition) {
  struct Case {
    size_t passed;  // definitions passed in the second walk
    int64_t number;
    bool forward;
    int64_t offs;   // -1: undefined
  };
  // Labels 1, 2, 1, 3 at 0, 10, 20, 30.
  const Case cases[] = {
      {0, 1, true, 0},   {0, 1, false, -1}, {0, 3, true, 30},
      {1, 1, true, 20},  {1, 1, false, 0},  {1, 2, true, 10}, {1, 2, false, -1},
      {3, 1, false, 20}, {3, 2, false, 10}, {3, 1, true, -1}, {3, 3, true, 30},
      {4, 3, false, 30}, {4, 3, true, -1},  {2, 7, true, -1}, {2, -1, false, -1},
  };
  for (const Case &c : cases) {
    Fix f;
    f.make({1, 2, 1, 3});
    f.walk(4);
    tlab_reset(f.as.tlab);
    f.walk(c.passed);
    Value v = tlab_resolve(f.as, c.number, c.forward);
    std::string what = std::to_string(c.number) + (c.forward ? "f" : "b") + " after " + std::to_string(c.passed);
    if (c.offs < 0) {
      EXPECT_EQ(v.v_rtype, RT_ABS) << what;
      EXPECT_EQ(v.v_offs, 0xFFFF) << what;
      EXPECT_EQ(f.message_numbers(), std::vector<int>{803}) << what;
    } else {
      EXPECT_EQ(v.v_rtype, RT_PSECT) << what;
      EXPECT_EQ(v.v_sym, f.code) << what;
      EXPECT_EQ(v.v_offs, c.offs) << what;
      EXPECT_EQ(f.message_numbers(), std::vector<int>{}) << what;
    }
  }
}

TEST(Tlab, EmptyTableAndAddressUnits) {
  Fix f;
  Value v = tlab_resolve(f.as, 1, false);
  EXPECT_EQ(v.v_offs, 0xFFFF);
  EXPECT_EQ(f.message_numbers(), std::vector<int>{803});

  f.code->s_psect.p_delta = 2;  // word-addressed psect
  f.make({5, 5});
  f.walk(2);
  EXPECT_EQ(tlab_resolve(f.as, 5, false).v_offs, 5);  // byte offset 10 / 2
  tlab_reset(f.as.tlab);
  EXPECT_EQ(tlab_resolve(f.as, 5, true).v_offs, 0);
}

TEST(Tlab, PhaseCheckOnRepeatedWalk) {
  Fix f;
  f.make({1, 2});
  f.walk(2);
  tlab_reset(f.as.tlab);
  f.walk(2);  // the same again
  EXPECT_EQ(f.message_numbers(), std::vector<int>{});
  tlab_reset(f.as.tlab);
  tlab_define(f.as, 2, f.labels[0]);  // another number
  tlab_define(f.as, 2, f.labels[0]);  // another node
  EXPECT_EQ(f.message_numbers(), (std::vector<int>{840, 840}));
  tlab_define(f.as, 9, f.labels[1]);  // past the end: a new entry
  EXPECT_EQ(f.as.tlab.entries.size(), 3u);
  EXPECT_EQ(f.message_numbers(), std::vector<int>{});
}

}  // namespace
