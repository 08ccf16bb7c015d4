// Sizing and encoding: data, ALIGN and ORG sizes, the fixed point on generated programs, and the
// messages that source text cannot reach (the branch forms are emission cases).
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "input/macro.h"
#include "isa/ops.h"
#include "lang/parser.h"
#include "output/emobj.h"
#include "test_context.h"

namespace {

struct EmitRun : TestContext {
  explicit EmitRun(const std::string &src, std::vector<std::string> options = {}) {
    parse_text(src, "ZEL18A44", std::move(options));
    run_finish_lists(as);
    take();
    emobj_size_all(as);
  }
  Symbol *psect(const char *name) { return sym_lookup(as, name, SF_PSECT); }
  std::vector<Statement *> stmts(const char *name) {
    std::vector<Statement *> v;
    for (Statement *n = psect(name)->s_stmts->head.op_next; n->op_type; n = n->op_next) v.push_back(n);
    return v;
  }
  // Byte sizes of the statements of a psect (labels left out), from consecutive offsets.
  std::vector<uint32_t> sizes(const char *name) {
    std::vector<uint32_t> v;
    Symbol *p = psect(name);
    auto all = stmts(name);
    for (size_t i = 0; i < all.size(); ++i) {
      if (all[i]->op_type == NAME || all[i]->op_type == TLABEL) continue;
      uint32_t next = i + 1 < all.size() ? all[i + 1]->op_addr : static_cast<uint32_t>(emobj_psect(as, p).size);
      v.push_back(next - all[i]->op_addr);
    }
    return v;
  }
  std::string object() {
    std::ostringstream o;
    emobj_write_object(as, o);
    return o.str();
  }
};

const char *CODE = "  psect code,class=CODE,reloc=2\n";

TEST(Emobj, DataAlignAndOrgSizes) {
  EmitRun r("  psect dat,delta=2\n  db 1,2,3\n  dw 1\n  psect cod\n  nop\n  align 16\n  nop\n  org 0x40\n  nop\n");
  EXPECT_EQ(r.sizes("dat"), (std::vector<uint32_t>{6, 2}));
  auto c = r.stmts("cod");
  EXPECT_EQ(c[2]->op_addr, 16u);
  EXPECT_EQ(c[4]->op_addr, 0x40u);
  EXPECT_EQ(emobj_psect(r.as, r.psect("cod")).size, 0x42u);
}

// Programs of branches over random distances: every form must hold its final distance, the
// layout must be consistent, and the passes must not grow with the program.
std::string random_program(std::mt19937 &rng, int n) {
  std::string s = CODE;
  std::uniform_int_distribution<int> pick(0, 9), label(0, n - 1), fill(0, 400);
  for (int i = 0; i < n; ++i) {
    s += "l" + std::to_string(i) + ":\n";
    switch (pick(rng)) {
      case 0: case 1: case 2: s += "  bz l" + std::to_string(label(rng)) + "\n"; break;
      case 3: s += "  goto l" + std::to_string(label(rng)) + "\n"; break;
      case 4: s += "  call l" + std::to_string(label(rng)) + "\n"; break;
      case 5: s += "  ds " + std::to_string(fill(rng) * 2) + "\n"; break;
      case 6: s += "  align 64\n"; break;
      default: s += "  nop\n"; break;
    }
  }
  return s;
}

TEST(Emobj, SizingReachesAFixedPoint) {
  std::mt19937 rng(18);
  unsigned most = 0;
  for (int n : {20, 200, 2000}) {
    for (int round = 0; round < 3; ++round) {
      EmitRun r(random_program(rng, n), {"-O"});
      most = std::max(most, r.as.emit.passes);
      std::string obj = r.object();
      EXPECT_EQ(r.message_numbers(), std::vector<int>{}) << "n=" << n;  // no 1223, no 840
      for (Statement *s : r.stmts("code")) {
        if (s->op_type != BCC && s->op_type != GOTO && s->op_type != CALL) continue;
        const Statement *t = s->op_opnd1.o_value.v_sym->s_defnode;
        int64_t d = static_cast<int64_t>(t->op_addr) - (static_cast<int64_t>(s->op_addr) + 2);
        unsigned form = r.as.emit.form[s->op_serial];
        bool ok = true;
        if (s->op_type == BCC && form == 2) ok = d >= -256 && d <= 255;
        if (s->op_type == BCC && form == 4) ok = d >= -2044 && d <= 2043;
        if (s->op_type != BCC && form == 2) ok = d >= -2048 && d <= 2047;
        EXPECT_TRUE(ok) << "form " << form << " for d=" << d;
      }
    }
  }
  EXPECT_LE(most, 6u);
  EXPECT_GE(most, 2u);
}

TEST(Emobj, MessagesOutsideTheSourceLanguage) {
  EmitRun r(std::string(CODE) + "  nop\n  nop\n");
  auto s = r.stmts("code");
  s[0]->op_type = 200;  // a kind no statement has
  emobj_size_psect(r.as, r.psect("code"));
  EXPECT_EQ(r.take(), "t.as: 2: (813) unknown operator (200) in size_psect()\n");
  s[1]->op_addr = 7;  // sizing and encoding disagree
  r.object();
  EXPECT_EQ(r.take(),
            "t.as: 2: (812) unknown operator (200) in emobj()\n"
            "t.as: 3: (840) phase error\n");

  TestContext none;  // no device: the identification is "none" with 814
  EXPECT_EQ(emobj_machine_ident(none.as), "none");
  EXPECT_EQ(none.message_numbers(), std::vector<int>{814});
}

// Extreme values end in messages (or nothing), never in undefined behaviour or a hang.
TEST(Emobj, ExtremeOperands) {
  const char *srcs[] = {
      "  goto l+0x7FFFFFFFFFFFFFFF\nl: nop\n",
      "  bz $-0x7FFFFFFFFFFFFFFF\n  bz $+0x7FFFFFFFFFFFFFFF\n",
      "  bra 0x8000000000000000\n  call 0x7FFFFFFFFFFFFFFF\n",
      "  org 0x7FFFFFFFFFFFFFFF\n  nop\n  org 0xFFFFFFFF\n  nop\n",
      "  ds 0x7FFFFFFFFFFFFFFF\n  ds 0x7FFFFFFFFFFFFFFF\n  nop\n",
      "  align 0x7FFFFFFFFFFFFFFF\n  nop\n  align 0x400000\n",
      "  movlw l-(0-0x7FFFFFFFFFFFFFFF)\nl:\n  movlw (l-0x8000000000000000)/-1\n",
      "x equ y\ny equ x\n  movlw x\n  goto x\n",
      "  dw 1/0,l/(l-l),l mod (l-l)\nl:\n",
      "  bra 1b\n  bra 1f\n  bz 2f\n2:\n",
      "  bsf 0x10,l\n  bsf [200],-1\nl:\n",
  };
  for (const char *src : srcs) {
    EmitRun r(std::string(CODE) + src, {"-O"});
    std::string obj = r.object();
    EXPECT_GT(obj.size(), 20u) << src;
    r.take();
  }
}

}  // namespace
