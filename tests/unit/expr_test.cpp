// Values: folding and tree-building rules, flags, equality, copying.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "test_context.h"
#include "lang/expr.h"
#include "lang/sym.h"

namespace {

struct Front : TestContext {
  Front() { sym_init(as); }
  // The numbers of the messages written since the last call.
  Symbol *sym(const char *name) { return sym_lookup(as, name); }
  Value ref(const char *name) { return expr_symbol(as, sym(name)); }
  Value psect_rel(Symbol *p, int64_t offs) {
    Value v;
    v.v_rtype = RT_PSECT;
    v.v_sym = p;
    v.v_offs = offs;
    return v;
  }
  Value bin(Value l, unsigned op, const Value &r) {
    expr_binary(as, op, l, r);
    return l;
  }
  Value un(unsigned op, Value v) {
    expr_unary(as, op, v);
    return v;
  }
};

using V = std::vector<int>;

TEST(Expr, AbsoluteBinary) {
  struct Case {
    unsigned op;
    int64_t l, r, want;
  };
  const Case cases[] = {
      {OPR_ADD, 1, 2, 3},        {OPR_SUB, 1, 2, -1},
      {OPR_MUL, -3, 7, -21},     {OPR_DIV, -7, 2, -3},
      {OPR_MOD, -7, 2, -1},      {OPR_SHL, 1, 65, 2},   // shift count taken mod 64
      {OPR_SHR, -16, 2, -4},     {OPR_SHR, 256, 64, 256},
      {OPR_AND, 0xF0F, 0xFF, 0xF}, {OPR_OR, 0xF00, 0xF, 0xF0F},
      {OPR_XOR, 0xFF, 0x0F, 0xF0}, {OPR_EQ, 4, 4, 1},
      {OPR_NE, 4, 4, 0},         {OPR_LT, 1, 2, 1},
      {OPR_LT, -1, 0, 1},        {OPR_GT, -1, 0, 0},     // signed
      {OPR_GE, 0, 0, 1},         {OPR_LE, 1, 0, 0},
      {OPR_ROL, 5, 3, 5},        {OPR_ROR, 5, 3, 5},     // no rotation defined: left stays
      {OPR_DIV, INT64_MIN, -1, INT64_MIN}, {OPR_MOD, INT64_MIN, -1, 0},
      {OPR_MUL, INT64_MAX, 2, -2}, {OPR_ADD, INT64_MAX, 1, INT64_MIN},
  };
  Front f;
  for (const auto &c : cases) {
    Value v = f.bin(expr_abs(c.l), c.op, expr_abs(c.r));
    EXPECT_EQ(v.v_rtype, RT_ABS) << c.op;
    EXPECT_EQ(v.v_offs, c.want) << c.op << " " << c.l << " " << c.r;
  }
  EXPECT_EQ(f.message_numbers(), V{});
}

TEST(Expr, DivideByZero) {
  Front f;
  EXPECT_EQ(f.bin(expr_abs(7), OPR_DIV, expr_abs(0)).v_offs, 7);
  EXPECT_EQ(f.message_numbers(), V{743});
  EXPECT_EQ(f.bin(expr_abs(7), OPR_MOD, expr_abs(0)).v_offs, 7);
  EXPECT_EQ(f.message_numbers(), V{743});

  // A divisor that folds to zero only later: reported once, the dividend stays, no failure.
  Value q = f.bin(expr_abs(10), OPR_DIV, f.ref("z"));
  Value r = f.bin(expr_abs(10), OPR_MOD, f.ref("z"));
  EXPECT_EQ(q.v_rtype, RT_DIV);
  sym_define_equ(f.as, f.sym("z"), expr_abs(0));
  expr_fold(f.as, q);
  expr_fold(f.as, r);
  EXPECT_EQ(q.v_rtype, RT_ABS);
  EXPECT_EQ(q.v_offs, 10);
  EXPECT_EQ(r.v_offs, 10);
  EXPECT_EQ(f.message_numbers(), (V{743, 743}));
  expr_fold(f.as, q);
  EXPECT_EQ(f.message_numbers(), V{});
}

TEST(Expr, AbsoluteUnary) {
  struct Case {
    unsigned op;
    int64_t in, want;
  };
  const Case cases[] = {
      {OPR_NEG, 5, -5},
      {OPR_NOT, 0, -1},
      {OPR_LOW, 0x1234, 0x34},
      {OPR_HIGH, 0x1234, 0x12},
      {OPR_HIGH, -1, 0xFF},
      {OPR_HIGHWORD, 0x12345678, 0x1234},
      {OPR_PLUS, -9, -9},
      {OPR_FLOAT24, 0xBF800000, 0xBF8000},  // -1.0
      {OPR_NORMALIZE32, 0x007FFFFF, 0},     // exponent zero
      {OPR_NORMALIZE32, 0x3F800000, 0x3F800000},
      {OPR_NEG, INT64_MIN, INT64_MIN},
  };
  Front f;
  for (const auto &c : cases) {
    Value v = f.un(c.op, expr_abs(c.in));
    EXPECT_EQ(v.v_rtype, RT_ABS) << c.op;
    EXPECT_EQ(v.v_offs, c.want) << c.op << " " << c.in;
  }
  EXPECT_EQ(f.message_numbers(), V{});
}

TEST(Expr, Float24Format) {
  struct Case {
    uint32_t in, want;
  };
  const Case cases[] = {
      {0x3F800000, 0x3F8000},  // 1.0
      {0x3F80007F, 0x3F8000},  // rounds down
      {0x3F800080, 0x3F8001},  // rounds up
      {0x3FFFFF80, 0x400000},  // rounding carries into the exponent
      {0xBFFFFF80, 0xC00000},
      {0x7FFFFFFF, 0x7FFFFF},  // carry out of exponent 255
      {0xFFFFFFFF, 0xFFFFFF},
      {0x0000007F, 0},         // nothing above the rounding bits
      {0x80000000, 0},         // negative zero
      {0x40490FDB, 0x404910},  // pi
  };
  for (const auto &c : cases) EXPECT_EQ(expr_float24(c.in), c.want) << std::hex << c.in;
}

TEST(Expr, FloatingConstants) {
  EXPECT_EQ(expr_float(1.0).v_offs, 0x3F800000);
  EXPECT_EQ(expr_float(1.0, true).v_offs, 0xBF800000);
  EXPECT_EQ(expr_float(0.1).v_offs, 0x3DCCCCCD);  // rounded to nearest
  EXPECT_EQ(expr_float(1e300).v_offs, 0x7F800000);
  EXPECT_EQ(expr_float(1e300, true).v_offs, 0xFF800000);
  EXPECT_EQ(expr_float(3.4028235e38).v_offs, 0x7F7FFFFF);
}

TEST(Expr, CharacterConstants) {
  Front f;
  EXPECT_EQ(expr_char(f.as, "a").v_offs, 97);
  EXPECT_EQ(expr_char(f.as, "\xFF").v_offs, -1);  // a signed byte
  EXPECT_EQ(f.message_numbers(), V{});
  EXPECT_EQ(expr_char(f.as, "ab").v_offs, 97);
  EXPECT_EQ(expr_char(f.as, "").v_offs, 0);
  EXPECT_EQ(f.message_numbers(), (V{875, 875}));
}

TEST(Expr, AddAndSubtractKeepTheBase) {
  Front f;
  Symbol *lab = f.sym("lab");
  for (Value v : {f.bin(expr_abs(3), OPR_ADD, f.ref("lab")), f.bin(f.ref("lab"), OPR_ADD, expr_abs(3))}) {
    EXPECT_EQ(v.v_rtype, RT_SYM);
    EXPECT_EQ(v.v_sym, lab);
    EXPECT_EQ(v.v_offs, 3);
  }
  Value d = f.bin(f.ref("lab"), OPR_SUB, expr_abs(2));
  EXPECT_EQ(d.v_rtype, RT_SYM);
  EXPECT_EQ(d.v_offs, -2);

  Value same = f.bin(f.bin(f.ref("lab"), OPR_ADD, expr_abs(5)), OPR_SUB, f.ref("lab"));
  EXPECT_EQ(same.v_rtype, RT_ABS);
  EXPECT_EQ(same.v_offs, 5);

  Value two = f.bin(f.ref("lab"), OPR_SUB, f.ref("other"));
  ASSERT_EQ(two.v_rtype, RT_SUB);
  EXPECT_EQ(two.v_left()->v_sym, lab);
  EXPECT_EQ(two.v_right()->v_sym, f.sym("other"));

  Value sum = f.bin(f.ref("lab"), OPR_ADD, f.ref("other"));
  EXPECT_EQ(sum.v_rtype, RT_ADD);
  EXPECT_EQ(f.message_numbers(), V{});
}

TEST(Expr, LabelDifferences) {
  Front f;
  Symbol *p = sym_lookup(f.as, "text", SF_PSECT);
  Symbol *q = sym_lookup(f.as, "data", SF_PSECT);
  Value a = f.bin(f.psect_rel(p, 10), OPR_SUB, f.psect_rel(p, 4));
  EXPECT_EQ(a.v_rtype, RT_ABS);
  EXPECT_EQ(a.v_offs, 6);
  Value b = f.bin(f.psect_rel(p, 10), OPR_SUB, f.psect_rel(q, 4));
  EXPECT_EQ(b.v_rtype, RT_SUB);

  // Two labels stay a tree until emission makes them psect-relative; then it folds when both
  // lie in one psect, and stays a tree across two psects.
  Value one = f.bin(f.ref("l1"), OPR_SUB, f.ref("l2"));
  Value cross = f.bin(f.ref("l1"), OPR_SUB, f.ref("l3"));
  expr_fold(f.as, one);
  EXPECT_EQ(one.v_rtype, RT_SUB);
  *one.v_left() = f.psect_rel(p, 0x20);
  *one.v_right() = f.psect_rel(p, 0x08);
  *cross.v_left() = f.psect_rel(p, 0x20);
  *cross.v_right() = f.psect_rel(q, 0x08);
  expr_fold(f.as, one);
  expr_fold(f.as, cross);
  EXPECT_EQ(one.v_rtype, RT_ABS);
  EXPECT_EQ(one.v_offs, 0x18);
  EXPECT_EQ(cross.v_rtype, RT_SUB);

  // A node minus a constant folds to the left operand with the offsets combined.
  Value n = f.bin(f.ref("l1"), OPR_SUB, f.ref("k"));
  expr_binary(f.as, OPR_ADD, n, expr_abs(1));
  sym_define_equ(f.as, f.sym("k"), expr_abs(3));
  expr_fold(f.as, n);
  EXPECT_EQ(n.v_rtype, RT_SYM);
  EXPECT_EQ(n.v_sym, f.sym("l1"));
  EXPECT_EQ(n.v_offs, -2);
}

TEST(Expr, RelocatableUnary) {
  Front f;
  Symbol *lab = f.sym("lab");
  Value h = f.un(OPR_HIGH, f.bin(f.ref("lab"), OPR_ADD, expr_abs(4)));
  ASSERT_EQ(h.v_rtype, RT_HIGH);
  EXPECT_EQ(h.v_offs, 0);
  EXPECT_EQ(h.v_left()->v_sym, lab);
  EXPECT_EQ(h.v_left()->v_offs, 4);
  expr_fold(f.as, h);
  EXPECT_EQ(h.v_rtype, RT_HIGH);

  Value hw = f.un(OPR_HIGHWORD, f.ref("lab"));
  ASSERT_EQ(hw.v_rtype, RT_SHR);
  EXPECT_EQ(hw.v_right()->v_rtype, RT_ABS);
  EXPECT_EQ(hw.v_right()->v_offs, 16);

  Value s = f.un(OPR_SEG, f.bin(f.ref("lab"), OPR_ADD, expr_abs(4)));
  EXPECT_EQ(s.v_rtype, RT_SEG | RT_SYM);
  EXPECT_EQ(s.v_sym, lab);
  EXPECT_EQ(s.v_offs, 0);
  Symbol *p = sym_lookup(f.as, "text", SF_PSECT);
  EXPECT_EQ(f.un(OPR_SEG, f.psect_rel(p, 9)).v_rtype, RT_SEG | RT_PSECT);

  EXPECT_EQ(f.un(OPR_NEG, f.ref("lab")).v_rtype, RT_NEG);
  EXPECT_EQ(f.un(OPR_NOT, f.ref("lab")).v_rtype, RT_NOT);
  EXPECT_EQ(f.un(OPR_LOW, f.ref("lab")).v_rtype, RT_LOW);
  EXPECT_EQ(f.message_numbers(), V{});

  Value fl = f.un(OPR_FLOAT24, f.ref("lab"));
  Value nm = f.un(OPR_NORMALIZE32, f.ref("lab"));
  EXPECT_EQ(fl.v_rtype, RT_SYM);
  EXPECT_EQ(nm.v_rtype, RT_SYM);
  EXPECT_EQ(f.message_numbers(), (V{786, 1494}));
}

// seg of a value without a base gives a kind no later stage takes; nothing may fail on it.
TEST(Expr, SegOfOtherKinds) {
  Front f;
  Value a = f.un(OPR_SEG, expr_abs(5));
  EXPECT_EQ(a.v_rtype, RT_SEG);
  EXPECT_EQ(a.v_offs, 0);
  Value n = f.un(OPR_SEG, f.bin(f.ref("x"), OPR_SUB, f.ref("y")));
  EXPECT_EQ(n.v_rtype, RT_SEG | RT_SUB);
  Value d = f.un(OPR_SEG, expr_dot(f.as.sym.default_psect));
  EXPECT_EQ(d.v_rtype, RT_SEG | RT_DOT);
  for (Value *v : {&a, &n, &d}) {
    expr_fold(f.as, *v);
    Value c;
    copyexpr(f.as, c, *v);
    EXPECT_EQ(c.v_rtype, v->v_rtype);
    EXPECT_FALSE(expr_equal(f.as, *v, c));
    expr_binary(f.as, OPR_ADD, *v, expr_abs(1));
    expr_unary(f.as, OPR_HIGH, *v);
  }
  EXPECT_NE(f.err.str().find("can't handle \"v_rtype\" of 128 in copyexpr"), std::string::npos);
  auto m = f.message_numbers();
  EXPECT_EQ(std::count(m.begin(), m.end(), 787), 3);
}

TEST(Expr, OperatorsWithoutNodeKinds) {
  Front f;
  for (unsigned op : {OPR_EQ, OPR_NE, OPR_LT, OPR_GE, OPR_ROL, OPR_ROR}) {
    Value v = f.bin(f.ref("lab"), op, expr_abs(1));
    EXPECT_EQ(v.v_rtype, RT_SYM);
    Value w = f.bin(expr_abs(1), op, f.ref("lab"));
    EXPECT_EQ(w.v_rtype, RT_ABS);
    EXPECT_EQ(w.v_offs, 1);
  }
  auto m = f.message_numbers();
  EXPECT_EQ(m, V(12, 846));

  // Other operators build nodes over copies; the node's own offset starts at 0.
  Value mul = f.bin(f.bin(f.ref("lab"), OPR_ADD, expr_abs(3)), OPR_MUL, expr_abs(2));
  ASSERT_EQ(mul.v_rtype, RT_MUL);
  EXPECT_EQ(mul.v_offs, 0);
  EXPECT_EQ(mul.v_left()->v_offs, 3);
  EXPECT_EQ(mul.v_right()->v_offs, 2);
}

TEST(Expr, AccessFlag) {
  Front f;
  Value c3 = expr_abs(3);
  c3.v_flags = VF_ACCESS;
  Value clab = f.ref("lab");
  clab.v_flags = VF_ACCESS;

  EXPECT_EQ(f.bin(c3, OPR_ADD, f.ref("lab")).v_flags, VF_ACCESS);    // absolute left: both
  EXPECT_EQ(f.bin(f.ref("lab"), OPR_ADD, c3).v_flags, 0);            // absolute right: not added
  EXPECT_EQ(f.bin(f.ref("lab"), OPR_MUL, c3).v_flags, 0);
  EXPECT_EQ(f.bin(f.ref("lab"), OPR_MUL, clab).v_flags, VF_ACCESS);  // relocatable right: added
  EXPECT_EQ(f.bin(expr_abs(1), OPR_SUB, clab).v_flags, VF_ACCESS);
  EXPECT_EQ(f.un(OPR_HIGH, clab).v_flags, VF_ACCESS);

  Symbol *common = sym_lookup(f.as, "cdata", SF_PSECT);
  common->s_flags |= PSF_COMMON;
  EXPECT_EQ(expr_dot(common).v_flags, VF_ACCESS);
  EXPECT_EQ(expr_dot(f.as.sym.default_psect).v_flags, 0);

  // A folded leaf keeps its own flags.
  Value v = clab;
  sym_define_equ(f.as, f.sym("lab"), expr_abs(0x60));
  expr_fold(f.as, v);
  EXPECT_EQ(v.v_rtype, RT_ABS);
  EXPECT_EQ(v.v_offs, 0x60);
  EXPECT_EQ(v.v_flags, VF_ACCESS);
}

TEST(Expr, SymbolUses) {
  Front f;
  Symbol *x = f.sym("x");
  sym_define_set(f.as, x, expr_abs(1));
  Value first = f.ref("x");
  sym_define_set(f.as, x, expr_abs(2));
  Value second = f.ref("x");
  EXPECT_EQ(first.v_rtype, RT_ABS);
  EXPECT_EQ(first.v_offs, 1);
  EXPECT_EQ(second.v_offs, 2);
  EXPECT_EQ(x->s_refcnt, 2);

  // Uses share an EQU tree; folding a use leaves the symbol's value as written.
  Symbol *e = f.sym("e");
  sym_define_equ(f.as, e, f.bin(f.ref("y"), OPR_MUL, expr_abs(2)));
  Value use = f.ref("e");
  sym_define_set(f.as, f.sym("y"), expr_abs(5));
  expr_fold(f.as, use);
  EXPECT_EQ(use.v_rtype, RT_ABS);
  EXPECT_EQ(use.v_offs, 10);
  ASSERT_EQ(e->s_value.v_rtype, RT_MUL);
  EXPECT_EQ(e->s_value.v_left()->v_rtype, RT_SYM);

  // A reference made before the definition folds to the value later, with its offset.
  Value early = f.bin(f.ref("later"), OPR_ADD, expr_abs(3));
  expr_fold(f.as, early);
  EXPECT_EQ(early.v_rtype, RT_SYM);
  sym_define_equ(f.as, f.sym("later"), expr_abs(5));
  expr_fold(f.as, early);
  EXPECT_EQ(early.v_rtype, RT_ABS);
  EXPECT_EQ(early.v_offs, 8);

  // A label (self-relative) and a psect-relative symbol stay symbol references.
  Symbol *lab = f.sym("lab");
  sym_define_label(f.as, lab, nullptr);
  Value l = f.ref("lab");
  expr_fold(f.as, l);
  EXPECT_EQ(l.v_rtype, RT_SYM);
  lab->s_value = f.psect_rel(f.as.sym.default_psect, 4);
  expr_fold(f.as, l);
  EXPECT_EQ(l.v_rtype, RT_SYM);

  // Nodes fold from the leaves: (n * 2) + 1 with n = 4.
  Value node = f.bin(f.bin(f.ref("n"), OPR_MUL, expr_abs(2)), OPR_ADD, expr_abs(1));
  Value neg = f.un(OPR_NEG, f.ref("n"));
  sym_define_equ(f.as, f.sym("n"), expr_abs(4));
  expr_fold(f.as, node);
  expr_fold(f.as, neg);
  EXPECT_EQ(node.v_rtype, RT_ABS);
  EXPECT_EQ(node.v_offs, 9);
  EXPECT_EQ(neg.v_offs, -4);
  EXPECT_EQ(f.message_numbers(), V{});
}

TEST(Expr, Defined) {
  Front f;
  Value d = expr_defined(f.as.strings.intern("foo"));
  sym_lookup(f.as, "foo", SF_PSECT);  // a psect is no ordinary symbol
  expr_fold(f.as, d);
  EXPECT_EQ(d.v_rtype, RT_DEFINED);
  f.sym("foo");
  expr_fold(f.as, d);
  EXPECT_EQ(d.v_rtype, RT_ABS);
  EXPECT_EQ(d.v_offs, 1);
}

TEST(Expr, Equality) {
  Front f;
  Symbol *p = f.as.sym.default_psect;
  struct Case {
    const char *name;
    Value a, b;
    bool want;
  };
  Value fa, fb, sa, sb;
  fa.v_rtype = fb.v_rtype = RT_FLOAT;
  fa.v_float = fb.v_float = 2.5;
  sa.v_rtype = sb.v_rtype = RT_STRING;
  sa.v_str = "abc";
  sb.v_str = f.as.strings.intern("abc");
  Case cases[] = {
      {"absolute", expr_abs(4), f.bin(expr_abs(2), OPR_MUL, expr_abs(2)), true},
      {"absolute differs", expr_abs(4), expr_abs(5), false},
      {"same symbol", f.ref("a"), f.ref("a"), true},
      {"other offset", f.ref("a"), f.bin(f.ref("a"), OPR_ADD, expr_abs(1)), false},
      {"other symbol", f.ref("a"), f.ref("b"), false},
      {"nodes", f.bin(f.ref("a"), OPR_SUB, f.ref("b")), f.bin(f.ref("a"), OPR_SUB, f.ref("b")), true},
      {"nodes differ right", f.bin(f.ref("a"), OPR_SUB, f.ref("b")), f.bin(f.ref("a"), OPR_SUB, f.ref("c")), false},
      {"node kinds", f.bin(f.ref("a"), OPR_SUB, f.ref("b")), f.bin(f.ref("a"), OPR_ADD, f.ref("b")), false},
      {"unary", f.un(OPR_LOW, f.ref("a")), f.un(OPR_LOW, f.ref("a")), true},
      {"float", fa, fb, true},
      {"string", sa, sb, true},
      {"psect leaves never", f.psect_rel(p, 1), f.psect_rel(p, 1), false},
      {"dot never", expr_dot(p), expr_dot(p), false},
  };
  for (auto &c : cases) EXPECT_EQ(expr_equal(f.as, c.a, c.b), c.want) << c.name;
}

TEST(Expr, CopyIsDeep) {
  Front f;
  Value v = f.un(OPR_LOW, f.bin(f.bin(f.ref("a"), OPR_SUB, f.ref("b")), OPR_MUL, f.bin(f.ref("c"), OPR_SUB, f.ref("d"))));
  Value c;
  copyexpr(f.as, c, v);
  EXPECT_TRUE(expr_equal(f.as, v, c));
  // New operand records everywhere, the same symbols at the leaves.
  ASSERT_EQ(c.v_left()->v_rtype, RT_MUL);
  EXPECT_NE(c.v_left(), v.v_left());
  EXPECT_NE(c.v_left()->v_right(), v.v_left()->v_right());
  EXPECT_NE(c.v_left()->v_left()->v_left(), v.v_left()->v_left()->v_left());
  EXPECT_EQ(c.v_left()->v_left()->v_left()->v_sym, f.sym("a"));
  EXPECT_EQ(c.v_left()->v_right()->v_right()->v_sym, f.sym("d"));
  // Copying onto itself keeps the value.
  copyexpr(f.as, c, c);
  EXPECT_TRUE(expr_equal(f.as, v, c));
  EXPECT_EQ(f.message_numbers(), V{});
}

// A very long left-associated chain: every walk must stay off the call stack.
TEST(Expr, LongChainsDoNotRecurse) {
  Front f;
  Value v = f.ref("s0");
  for (int i = 1; i < 200000; ++i) expr_binary(f.as, i % 2 ? OPR_ADD : OPR_SUB, v, f.ref(i % 3 ? "s1" : "s2"));
  Value c;
  copyexpr(f.as, c, v);
  EXPECT_TRUE(expr_equal(f.as, v, c));
  sym_define_equ(f.as, f.sym("s0"), expr_abs(1));
  sym_define_equ(f.as, f.sym("s1"), expr_abs(2));
  sym_define_equ(f.as, f.sym("s2"), expr_abs(3));
  expr_fold(f.as, v);
  EXPECT_EQ(v.v_rtype, RT_ABS);
}

// Random operator sequences over every kind of leaf, extreme numbers included: nothing may
// fail (the sanitizer build checks for overflow and bad shifts), and a copy always stays equal.
TEST(Expr, RandomSequencesAreSafe) {
  Front f;
  msg_set_error_limit(f.as.msg, 1 << 30);
  Symbol *p = sym_lookup(f.as, "text", SF_PSECT);
  sym_define_equ(f.as, f.sym("zero"), expr_abs(0));
  sym_define_set(f.as, f.sym("big"), expr_abs(INT64_MIN));
  const unsigned ops[] = {OPR_ADD, OPR_SUB, OPR_MUL, OPR_DIV, OPR_MOD, OPR_SHL, OPR_SHR, OPR_AND, OPR_OR,
                          OPR_XOR, OPR_EQ,  OPR_NE,  OPR_LT,  OPR_GT,  OPR_LE,  OPR_GE,  OPR_ROL, OPR_ROR};
  const unsigned unary[] = {OPR_NEG, OPR_NOT, OPR_LOW, OPR_HIGH, OPR_HIGHWORD, OPR_SEG, OPR_FLOAT24,
                            OPR_NORMALIZE32, OPR_PLUS};
  const int64_t nums[] = {0, 1, -1, 63, 64, INT64_MIN, INT64_MAX, 0x7F800000, 0xFFFFFFFF};
  uint64_t seed = 12345;
  auto next = [&seed](uint64_t n) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return (seed >> 33) % n;
  };
  auto leaf = [&]() {
    switch (next(6)) {
      case 0: return expr_abs(nums[next(9)]);
      case 1: return f.ref(next(2) ? "zero" : "big");
      case 2: return f.ref(next(2) ? "u1" : "u2");
      case 3: return f.psect_rel(p, nums[next(9)]);
      case 4: return expr_dot(p);
      default: return expr_defined(f.as.strings.intern("u1"));
    }
  };
  for (int round = 0; round < 300; ++round) {
    Value v = leaf();
    for (int i = 0; i < 20; ++i) {
      if (next(4) == 0) expr_unary(f.as, unary[next(9)], v);
      else expr_binary(f.as, ops[next(18)], v, leaf());
    }
    Value c;
    copyexpr(f.as, c, v);
    expr_fold(f.as, v);
    expr_fold(f.as, c);
    if (v.v_rtype == RT_ABS) {
      EXPECT_TRUE(expr_equal(f.as, v, c));
    }
  }
  f.message_numbers();
}

}  // namespace
