// The symbol table where the assembler's outputs do not show it: the hash's wrap-around,
// namespaces, generated, command-line and inlined-function symbols and the symbol limit (bucket
// and sorted order show in every object and assembly text).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/assembly.h"
#include "test_context.h"
#include "lang/sym.h"

namespace {

struct Front : TestContext {
  Front() { sym_init(as); }
  Symbol *sym(const char *name) { return sym_lookup(as, name); }
};

using V = std::vector<int>;

TEST(Sym, BucketHash) {
  struct Case {
    std::string name;
    uint32_t bucket;
  };
  const Case cases[] = {
      {"", 0},
      {"ab", 2 * 97 + 98},
      // 32-bit wrap-around: only the last 32 bytes count.
      {std::string(40, 'x'), 24669},
      {"y" + std::string(40, 'x'), 24669},
      {"\xff", 255},  // bytes are unsigned
  };
  for (const auto &c : cases) EXPECT_EQ(sym_bucket(c.name), c.bucket) << c.name;
}

TEST(Sym, Namespaces) {
  Front f;
  Symbol *abc = f.sym("abc");
  Symbol *pabc = sym_lookup(f.as, "abc", SF_PSECT);
  Symbol *code = sym_lookup(f.as, "CODE", SF_CLASS);
  Symbol *scode = f.sym("CODE");
  EXPECT_NE(abc, pabc);
  EXPECT_NE(code, scode);
  EXPECT_NE(f.sym("Abc"), abc);  // case matters
  EXPECT_EQ(f.sym("abc"), abc);
  EXPECT_EQ(sym_lookup(f.as, "abc", SF_PSECT), pabc);
  EXPECT_EQ(sym_lookup(f.as, "CODE", SF_CLASS), code);
  EXPECT_EQ(sym_find(f.as, "abc"), abc);
  EXPECT_EQ(sym_find(f.as, "nothing"), nullptr);

  // A class with further bits never matches: a new psect each time.
  Symbol *pa1 = sym_lookup(f.as, "pa_nodes", SF_PSECT | PSF_GLOBAL);
  Symbol *pa2 = sym_lookup(f.as, "pa_nodes", SF_PSECT | PSF_GLOBAL);
  EXPECT_NE(pa1, pa2);
  EXPECT_EQ(pa1->s_flags, SF_PSECT | PSF_GLOBAL);
  EXPECT_EQ(sym_lookup(f.as, "pa_nodes", SF_PSECT), pa2);  // the newest, as the chain has it
}

TEST(Sym, GeneratedLabels) {
  Front f;
  Symbol *l1 = sym_new_label(f.as);
  Symbol *l2 = sym_new_label(f.as);
  EXPECT_STREQ(l1->s_name, "L1");
  EXPECT_STREQ(l2->s_name, "L2");
  EXPECT_EQ(sym_find(f.as, "L1"), nullptr);  // never in the table
  Symbol *user = f.sym("L1");
  EXPECT_NE(user, l1);
  EXPECT_EQ(sym_find(f.as, "L1"), user);

  // The name uses the low 16 bits of the counter.
  f.as.sym.label_counter = 0xFFFF;
  Symbol *wrapped = sym_new_label(f.as);
  EXPECT_STREQ(wrapped->s_name, "L0");
}

TEST(Sym, CommandLineSymbols) {
  Front f;
  Symbol *s = sym_define_cmdline(f.as, "isa$xinst", 0);
  // An existing ordinary symbol is returned as it is.
  Symbol *again = sym_define_cmdline(f.as, "isa$xinst", 7);
  EXPECT_EQ(again, s);
  EXPECT_EQ(s->s_value.v_offs, 0);
  Symbol *u = f.sym("used");
  EXPECT_EQ(sym_define_cmdline(f.as, "used", 3), u);
  EXPECT_EQ(u->s_flags, SF_UNDEF);
  EXPECT_EQ(f.message_numbers(), V{});
  f.as.msg.check_msg = MSG_ASSERT_WARNING;  // an internal error when the checks are on
  sym_define_cmdline(f.as, "used", 3);
  EXPECT_NE(f.err.str().find("assertion failure: pp == NULL"), std::string::npos);
}

TEST(Sym, InlinedFunctions) {
  Front f;
  Symbol *keep = sym_lookup(f.as, "keep_text", SF_PSECT);
  Symbol *plain = sym_lookup(f.as, "plain_text", SF_PSECT);
  keep->s_psect.p_keep = 1;
  sym_record_inlined(f.as, "_f", keep, 1);
  sym_record_inlined(f.as, "_g", plain, 1);
  sym_record_inlined(f.as, "_h", nullptr, 2);
  sym_record_inlined(f.as, "_g", plain, 5);  // a later record replaces the value
  sym_define_inlined(f.as);
  struct Case {
    const char *name;
    int64_t value;
  };
  for (auto c : {Case{"_inlined$_f", 3}, Case{"_inlined$_g", 5}, Case{"_inlined$_h", 2}}) {
    Symbol *s = sym_find(f.as, c.name);
    ASSERT_NE(s, nullptr) << c.name;
    EXPECT_EQ(s->s_value.v_offs, c.value) << c.name;
  }
}

TEST(Sym, TooManySymbols) {
  Front f;
  char name[16];
  for (uint32_t i = f.as.sym.count; i < SYM_BUCKETS - 1; ++i) {
    std::snprintf(name, sizeof name, "s%u", i);
    f.sym(name);
  }
  EXPECT_EQ(f.as.sym.count, SYM_BUCKETS - 1);
  EXPECT_EQ(f.message_numbers(), V{});
  EXPECT_THROW(f.sym("one_more"), AsmExit);
  EXPECT_EQ(f.message_numbers(), V{309});
}

// EQU stores the value given; the latest value stays after a refused redefinition.
TEST(Sym, EquRedefinitionKeepsTheLatestValue) {
  Front f;
  Symbol *e = f.sym("e");
  sym_define_equ(f.as, e, expr_abs(1));
  sym_define_equ(f.as, e, expr_abs(2));
  EXPECT_EQ(e->s_value.v_offs, 2);
}

}  // namespace
