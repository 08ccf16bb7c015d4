// The symbol table: hashing and bucket order, namespaces, psects, generated and command-line
// symbols, chain maintenance, sorting, and what a definition stores (the definition rules and
// their messages are a parser case).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "test_context.h"
#include "isa/ops.h"
#include "lang/list.h"
#include "lang/sym.h"

namespace {

struct Front : TestContext {
  Front() { sym_init(as); }
  Symbol *sym(const char *name) { return sym_lookup(as, name); }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    sym_for_each(as.sym, [&](Symbol *s) { out.push_back(s->s_name); });
    return out;
  }
};

using V = std::vector<int>;

TEST(Sym, BucketHash) {
  struct Case {
    std::string name;
    uint32_t bucket;
  };
  const Case cases[] = {
      {"", 0},
      {"a", 97},
      {"ab", 2 * 97 + 98},
      {"__NORTEX__", 32664},
      // 32-bit wrap-around: only the last 32 bytes count.
      {std::string(40, 'x'), 24669},
      {"y" + std::string(40, 'x'), 24669},
      {"abcdefghijklmnopqrstuvwxyz0123456789ABCDEF", 9898},
      {"\xff", 255},  // bytes are unsigned
  };
  for (const auto &c : cases) EXPECT_EQ(sym_bucket(c.name), c.bucket) << c.name;
}

TEST(Sym, Initialise) {
  Front f;
  EXPECT_EQ(f.names(), (std::vector<std::string>{"", "__NORTEX__"}));  // buckets 0 and 32664
  Symbol *n = sym_find(f.as, "__NORTEX__");
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(n->s_flags, SF_SET);
  EXPECT_EQ(n->s_value.v_rtype, RT_ABS);
  EXPECT_EQ(n->s_value.v_offs, 1);
  EXPECT_EQ(n->s_serial, 1u);
  EXPECT_STREQ(n->s_file, "(command line)");

  Symbol *p = f.as.sym.default_psect;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(f.as.sym.cur_psect, p);
  EXPECT_STREQ(p->s_name, "");
  EXPECT_EQ(p->s_flags, SF_PSECT | PSF_ABS | PSF_OVRLD | PSF_GLOBAL);
  EXPECT_EQ(p->s_serial, 2u);
  EXPECT_EQ(p->s_pindex, 0u);
  EXPECT_EQ(f.as.sym.count, 2u);
  EXPECT_EQ(f.message_numbers(), V{});
}

// Iteration follows the buckets in order and each chain from its newest record.
TEST(Sym, BucketOrder) {
  Front f;
  const std::string x40(40, 'x'), yx40 = "y" + x40;
  for (const char *n : {"b", "ab", "a"}) f.sym(n);
  f.sym(x40.c_str());
  f.sym(yx40.c_str());
  std::vector<std::string> want = {"", "a", "b", "ab", yx40, x40, "__NORTEX__"};
  EXPECT_EQ(f.names(), want);
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
  EXPECT_EQ(code->s_flags, SF_CLASS);
  EXPECT_EQ(code->s_stmts, nullptr);

  // A new ordinary symbol is undefined and relative to itself.
  EXPECT_EQ(abc->s_flags, SF_UNDEF);
  EXPECT_EQ(abc->s_value.v_rtype, RT_SYM);
  EXPECT_EQ(abc->s_value.v_sym, abc);
  EXPECT_EQ(abc->s_value.v_offs, 0);
  EXPECT_GT(pabc->s_serial, abc->s_serial);

  // A class with further bits never matches: a new psect each time.
  Symbol *pa1 = sym_lookup(f.as, "pa_nodes", SF_PSECT | PSF_GLOBAL);
  Symbol *pa2 = sym_lookup(f.as, "pa_nodes", SF_PSECT | PSF_GLOBAL);
  EXPECT_NE(pa1, pa2);
  EXPECT_EQ(pa1->s_flags, SF_PSECT | PSF_GLOBAL);
  EXPECT_EQ(sym_lookup(f.as, "pa_nodes", SF_PSECT), pa2);  // the newest, as the chain has it
  EXPECT_EQ(f.as.sym.count, 9u);
  EXPECT_EQ(f.as.sym.longest_name, 10u);  // "__NORTEX__"
}

TEST(Sym, Psects) {
  Front f;
  Symbol *text = sym_lookup(f.as, "text", SF_PSECT);
  Symbol *data = sym_lookup(f.as, "data", SF_PSECT);
  EXPECT_EQ(text->s_pindex, 1u);
  EXPECT_EQ(data->s_pindex, 2u);
  for (Symbol *p : {f.as.sym.default_psect, text, data}) {
    StatementList *l = p->s_stmts;
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->psect, p);
    EXPECT_EQ(l->head.op_next, &l->tail);
    EXPECT_EQ(l->tail.op_prev, &l->head);
    EXPECT_EQ(l->head.op_psect, p);
    EXPECT_EQ(l->head.op_type, 0u);
    EXPECT_EQ(l->tail.op_type, 0u);
    EXPECT_TRUE(sym_lists(p).s_pcomments.empty());
  }
  ASSERT_EQ(f.as.list.lists.size(), 3u);
  EXPECT_EQ(f.as.list.lists[1], text->s_stmts);
  EXPECT_EQ(f.as.list.lists[2], data->s_stmts);

  // Making an ordinary symbol a psect; doing it twice changes nothing.
  Symbol *s = f.sym("late");
  sym_make_psect(f.as, s);
  StatementList *l = s->s_stmts;
  sym_make_psect(f.as, s);
  EXPECT_EQ(s->s_stmts, l);
  EXPECT_EQ(s->s_pindex, 3u);
  EXPECT_EQ(f.as.list.lists.size(), 4u);
  EXPECT_EQ(sym_find(f.as, "late"), nullptr);  // no longer an ordinary symbol
  EXPECT_EQ(sym_lookup(f.as, "late", SF_PSECT), s);
}

TEST(Sym, GeneratedLabels) {
  Front f;
  Symbol *l1 = sym_new_label(f.as);
  Symbol *l2 = sym_new_label(f.as);
  EXPECT_STREQ(l1->s_name, "L1");
  EXPECT_STREQ(l2->s_name, "L2");
  EXPECT_EQ(l2->s_lnum, 2u);
  EXPECT_EQ(l1->s_value.v_rtype, RT_SYM);
  EXPECT_EQ(l1->s_value.v_sym, l1);
  EXPECT_EQ(l2->s_serial, l1->s_serial + 1);
  EXPECT_EQ(sym_find(f.as, "L1"), nullptr);  // never in the table
  EXPECT_EQ(f.as.sym.count, 2u);
  Symbol *user = f.sym("L1");
  EXPECT_NE(user, l1);
  EXPECT_EQ(sym_find(f.as, "L1"), user);

  // The name uses the low 16 bits of the counter.
  f.as.sym.label_counter = 0xFFFF;
  Symbol *wrapped = sym_new_label(f.as);
  EXPECT_STREQ(wrapped->s_name, "L0");
  EXPECT_EQ(wrapped->s_lnum, 0u);
}

TEST(Sym, CommandLineSymbols) {
  Front f;
  Symbol *s = sym_define_cmdline(f.as, "isa$xinst", 0);
  EXPECT_EQ(s->s_flags, SF_SET | SF_GLOBAL);
  EXPECT_EQ(s->s_refcnt, 1u);
  EXPECT_EQ(s->s_value.v_rtype, RT_ABS);
  EXPECT_EQ(sym_find(f.as, "isa$xinst"), s);
  EXPECT_EQ(f.as.sym.count, 2u);  // not counted
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
    EXPECT_EQ(s->s_flags, SF_SET | SF_GLOBAL);
  }
}

TEST(Sym, UnlinkRelinkCopyFree) {
  Front f;
  Symbol *s = f.sym("old");
  Symbol *other = f.sym("new");
  sym_unlink(f.as, s);
  EXPECT_EQ(sym_find(f.as, "old"), nullptr);
  s->s_name = f.as.strings.intern("new");
  sym_relink(f.as, s);
  EXPECT_EQ(sym_find(f.as, "new"), s);  // at the head, before the older "new"
  EXPECT_EQ(s->s_hnext, other);

  Symbol *c = sym_copy(f.as, s);
  EXPECT_NE(c, s);
  EXPECT_EQ(c->s_hnext, nullptr);
  EXPECT_EQ(c->s_serial, s->s_serial);
  EXPECT_EQ(c->s_name, s->s_name);

  uint32_t n = f.as.sym.count;
  sym_free(f.as, s);  // still chained: taken out first
  EXPECT_EQ(f.as.sym.count, n - 1);
  EXPECT_EQ(sym_find(f.as, "new"), other);
  sym_unlink(f.as, other);
  sym_free(f.as, other);
  EXPECT_EQ(sym_find(f.as, "new"), nullptr);
  EXPECT_EQ(f.sym("new")->s_flags, SF_UNDEF);
}

TEST(Sym, SortAll) {
  Front f;
  for (const char *n : {"b", "ab", "a", "B", "_z"}) f.sym(n);
  sym_lookup(f.as, "a", SF_PSECT);
  sym_sort_all(f.as);
  std::vector<std::string> got;
  for (Symbol *s : sym_sorted(f.as)) got.push_back(s->s_name);
  std::vector<std::string> want = {"", "B", "__NORTEX__", "_z", "a", "a", "ab", "b"};
  EXPECT_EQ(got, want);
  EXPECT_EQ(f.names(), want);
  // Finding still works; the ordinary "a", not the psect.
  Symbol *a = sym_find(f.as, "a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->s_flags & SF_PSECT, 0u);
  EXPECT_EQ(sym_find(f.as, "zz"), nullptr);
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

TEST(Sym, DefinitionDetails) {
  Front f;
  Symbol *s = f.sym("lab");
  Symbol *text = sym_lookup(f.as, "text", SF_PSECT);
  f.as.sym.cur_psect = text;
  Statement node;
  sym_define_label(f.as, s, &node);
  EXPECT_EQ(s->s_defnode, &node);
  EXPECT_EQ(s->s_defpsect, text);
  EXPECT_EQ(s->s_refcnt, 1u);
  sym_define_label(f.as, s, &node);
  EXPECT_NE(f.err.str().find("symbol \"lab\" defined more than once"), std::string::npos);

  Symbol *g = f.sym("g");
  sym_declare(f.as, g, K_GLOBAL);
  EXPECT_EQ(g->s_refcnt, REFCNT_DECLARED);

  Symbol *m = f.sym("m");
  EXPECT_TRUE(sym_define_macro(f.as, m));
  EXPECT_FALSE(sym_define_macro(f.as, m));

  // EQU stores the value given; the latest value stays after a refused redefinition.
  Symbol *e = f.sym("e");
  sym_define_equ(f.as, e, expr_abs(1));
  sym_define_equ(f.as, e, expr_abs(2));
  EXPECT_EQ(e->s_value.v_offs, 2);
}

}  // namespace
