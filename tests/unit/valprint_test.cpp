// Value printer and statement text: each printed value is read back by the parser and must give
// the same tree; the dump's listing mode hands on lines and statements in order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "input/macro.h"
#include "isa/ops.h"
#include "lang/parser.h"
#include "output/emasm.h"
#include "output/valprint.h"
#include "test_context.h"

namespace {

struct TextRun : TestContext {
  explicit TextRun(const std::string &src, bool hex = false) {
    as.opt.hex_constants = hex;
    as.opt.listing = true;  // statements are made for the listing (not under NOLIST)
    parse_text(src);
  }
  Statement *last() { return as.sym.cur_psect->s_stmts->tail.op_prev; }
  // The value of the single item of the last DW statement.
  const Value &item() { return last()->op_list->value; }
  std::string print(const Value &v, bool names = false) {
    std::string s;
    valprint(as, s, v, names);
    return s;
  }
};

// Same shape: kinds, offsets, flags, bases and operands, without folding.
bool same_tree(const Value &a, const Value &b) {
  if (a.v_rtype != b.v_rtype || a.v_offs != b.v_offs || a.v_flags != b.v_flags) return false;
  uint8_t k = a.v_rtype & 0x7F;
  if (k == RT_STRING || k == RT_DEFINED) {
    if (!a.v_str != !b.v_str || (a.v_str && std::string(a.v_str) != b.v_str)) return false;
  } else if (expr_is_binary(k)) {
    if (!a.v_right != !b.v_right || (a.v_right && !same_tree(*a.v_right, *b.v_right))) return false;
  } else if (a.v_sym || b.v_sym) {
    if (!a.v_sym || !b.v_sym || std::string(a.v_sym->s_name) != b.v_sym->s_name) return false;
  }
  if (!a.v_left != !b.v_left) return false;
  return !a.v_left || same_tree(*a.v_left, *b.v_left);
}

struct Case {
  const char *expr;  // as written in the source
  const char *text;  // as printed
};

void check(const Case &c, bool hex) {
  TextRun r(std::string("\tdw\t") + c.expr + "\n", hex);
  ASSERT_EQ(r.take(), "") << c.expr;
  std::string text = r.print(r.item());
  EXPECT_EQ(text, c.text) << c.expr;
  TextRun back("\tdw\t" + text + "\n", hex);
  EXPECT_EQ(back.take(), "") << text;
  EXPECT_TRUE(same_tree(r.item(), back.item())) << c.expr << " printed as " << text;
}

TEST(ValPrint, OperatorsAndGrouping) {
  const Case cases[] = {
      {"p+q+r", "p+q+r"},
      {"p-(q-r)", "p-(q-r)"},                  // a right operand that is an operation
      {"(p+q)*(r+s)", "p+q*(r+s)"},            // left operands never need parentheses
      {"p*(q+1)", "p*(q+1)"},                  // a right leaf with an offset
      {"p-q-r-s", "p-q-r-s"},
      {"p/(q/(r/s))", "p/(q/(r/s))"},
      {"p mod q", "p mod q"},
      {"p-(q mod r)", "p-(q mod r)"},
      {"p shl 2 shr 1", "p<<2>>1"},
      {"p and q|r^1", "p&q|r^1"},
      {"p & (q|r)", "p&(q|r)"},
      {"highword(p)", "p>>16"},
  };
  for (const auto &c : cases) check(c, false);
}

TEST(ValPrint, UnaryOperatorsEncloseTheirOperand) {
  const Case cases[] = {
      {"low(p+q)", "low(p+q)"},
      {"high p", "high(p)"},
      {"high(p)+1", "high(p)+1"},
      {"q-(high(p)+1)", "q-(high(p)+1)"},
      {"q*low(p)", "q*low(p)"},
      {"-(p-q)", "-(p-q)"},
      {"~p", "~(p)"},
      {"not (p*q)", "~(p*q)"},
      {"low(high(p+1))", "low(high(p+1))"},
      {"seg p", "seg(p)"},
      {"seg(p)+2", "seg(p)+2"},
      {"q-seg(p)", "q-seg(p)"},
  };
  for (const auto &c : cases) check(c, false);
}

TEST(ValPrint, ConstantsAndOffsets) {
  const Case cases[] = {
      {"-5", "-5"},
      {"p+5", "p+5"},
      {"p-5", "p-5"},
      {"5+p", "p+5"},                          // folded into the offset
      {"5-p", "5-p"},
      {"p*-3", "p*(-3)"},
      {"-3*p", "-3*p"},
      {"p-9223372036854775808", "p-9223372036854775808"},
      {"-9223372036854775807-1", "-9223372036854775808"},
      {"$+4", "$+4"},
      {"1f", "1f"},
      {"2b", "2b"},
      {"c:p", "c:p"},
      {"c:p+1", "c:p+1"},
      {"q-(c:p+1)", "q-(c:p+1)"},
      {"c:(p-q)", "c:(p-q)"},
      {"c:p-q", "c:p-q"},                      // the flag comes with the left operand
      {"defined \"nothere\"", "defined \"nothere\""},
  };
  for (const auto &c : cases) check(c, false);
}

TEST(ValPrint, HexadecimalConstants) {
  const Case cases[] = {
      {"255", "$FF"},
      {"-1", "$FFFFFFFFFFFFFFFF"},
      {"p+255", "p+$FF"},
      {"p-16", "p-$10"},
      {"p*(q+10)", "p*(q+$A)"},
      {"p*-3", "p*$FFFFFFFFFFFFFFFD"},
      {"3f", "3f"},                            // label numbers stay decimal
  };
  for (const auto &c : cases) check(c, true);
}

TEST(ValPrint, CoreRegistersByNameOnlyWhenAsked) {
  TextRun r("\tdw\t0xFF3\n");
  EXPECT_EQ(r.print(r.item(), true), "wreg");
  EXPECT_EQ(r.print(r.item(), false), "4083");
  TextRun h("\tdw\t0xFD8\n", true);
  EXPECT_EQ(h.print(h.item(), true), "status");
  TextRun n("\tdw\t0xFD8+x\n");
  EXPECT_EQ(n.print(n.item(), true), "x+4056");  // relocatable: no register
}

TEST(ValPrint, BrokenTreesGiveAMessageNotACrash) {
  TextRun r("\tnop\n");
  Value node;
  node.v_rtype = RT_ADD;  // no operands
  EXPECT_EQ(r.print(node), "0+0");
  Value odd;
  odd.v_rtype = 99;
  r.take();
  EXPECT_EQ(r.print(odd), "0");
  EXPECT_NE(r.take().find("can't be printed"), std::string::npos);
}

TEST(EmasmListing, LinesAndStatementsInOrder) {
  TextRun r("; head\n"
        "\tpsect\tcode,class=CODE\n"
        "lab:\tmovlw\t1\t; load\n"
        "\tbra\tlab\n"
        "\tmessg\t\"hi\"\n"
        "\tglobal\tx ; about x\n");
  std::vector<std::string> lines;
  std::vector<std::string> events;
  emasm_dump(
      r.as, true, [&](std::string_view l) { lines.emplace_back(l); events.push_back("line"); },
      [&](const Statement &n) { events.push_back("stmt " + std::to_string(n.op_type)); });
  // Listing mode prints no FILE or LINE directives; the SFR equates close the dump.
  std::vector<std::string> want = {
      "\tprocessor\tZEL18A44",
      "\tpsect\tcode,global,class=CODE",
      "",        // the psect's leading comments, opened by their "\n" entry
      "; head",
      "",
      "\tpsect\tcode",
      "lab:",
      "\tmovlw\t1\t; load",
      "\tbra\tlab",
      "\tmessg \"hi\"\t; about x",  // the comment of a line without a node goes to the last one
      "tosu\tequ\t0xFFF",
  };
  ASSERT_EQ(lines.size(), 10u + 37u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 11), want);
  EXPECT_EQ(lines.back(), "status\tequ\t0xFD8");
  // Each statement is announced before its own line reaches the sink.
  size_t first_stmt = 0;
  while (first_stmt < events.size() && events[first_stmt] == "line") ++first_stmt;
  EXPECT_EQ(first_stmt, 6u);  // processor, psect, "", "; head", "", "\tpsect\tcode"
  EXPECT_EQ(events[first_stmt], "stmt " + std::to_string(NAME));
  EXPECT_EQ(events[first_stmt + 1], "line");
  EXPECT_EQ(events[first_stmt + 2], "stmt " + std::to_string(MOVLW));
}

TEST(EmasmStatement, PositionDirectivesOnlyInAssemblyOutputMode) {
  TextRun r("\tfile\t\"m.c\"\n\tline\t7\n\tnop\n\tclrw\n\tline\t9\n\tnop\n");
  std::string text;
  EmasmPos pos;
  for (Statement *n = r.as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next)
    emasm_statement_text(r.as, *n, false, pos, text);
  EXPECT_EQ(text, "\tfile\t\"m.c\"\n\tline\t7\n\tnop\n\tclrw\n\tline\t9\n\tnop\n");
  std::string listed;
  EmasmPos lpos;
  for (Statement *n = r.as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next)
    emasm_statement_text(r.as, *n, true, lpos, listed);
  EXPECT_EQ(listed, "\tnop\n\tclrw\n\tnop\n");
}

}  // namespace

namespace {

TEST(ValPrint, EquNamesReadBeforeTheirEquPrintTheValue) {
  // The text defines every EQU at its top, where a use takes a copy of the value.
  TextRun r("\tdw\tfoo*2\n\tdw\t2*foo\n\tdw\tlow(foo)\n\tdw\tbar+1\n\tdw\tsetsym\n\tdw\tlat*2\n"
        "foo\tequ\tp+q\nbar\tequ\tbaz\nbaz\tequ\t7\nsetsym\tset\t4\nlat\tequ\t9\n");
  ASSERT_EQ(r.take(), "");
  std::vector<std::string> got;
  for (Statement *n = r.as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next)
    if (n->op_type == DATA) got.push_back(r.print(n->op_list->value));
  // A SET symbol read before its SET folds to its last value, as in the object file.
  EXPECT_EQ(got, (std::vector<std::string>{"p+q*2", "2*(p+q)", "low(p+q)", "8", "4", "18"}));
}

}  // namespace

namespace {

TEST(EmasmStatement, UnknownModesAndKindsAreReported) {
  TextRun r("\tmovlw\t1\n");
  Statement n = *r.last();
  n.op_opnd1.o_mode = 7;
  std::string text;
  EmasmPos pos;
  emasm_statement_text(r.as, n, false, pos, text);
  EXPECT_EQ(text, "\tmovlw\t\n");  // the operand is left out
  EXPECT_EQ(r.message_numbers(), (std::vector<int>{809}));
  Statement k = *r.last();
  k.op_type = OP_LAST_STATEMENT + 5;
  text.clear();
  emasm_statement_text(r.as, k, false, pos, text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(r.message_numbers(), (std::vector<int>{810}));
}

TEST(EmasmStatement, CommentsHiddenStatementsAndOmittedLabels) {
  TextRun r("; one\n; two\nonce:\tnop\t; on the nop\n\tif\t0\n; four\n\tclrw\n\tendif\n"
            "; three\nkept:\tbra\tkept\n");
  // One statement at a time: the comments of the unreferenced label go with it.
  std::string text;
  EmasmPos pos;
  for (Statement *n = r.as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next)
    emasm_statement_text(r.as, *n, false, pos, text);
  EXPECT_EQ(text, "\tnop\t; on the nop\n\tif\t0\n\n; four\n\tclrw\n\tendif\n\n; three\nkept:\n\tbra\tkept\n");
  // In the dump they go with the next statement that has text, like those of a hidden one.
  list_if_pass_all(r.as);
  std::vector<std::string> lines;
  emasm_dump(r.as, true, [&](std::string_view l) { lines.emplace_back(l); });
  lines.resize(lines.size() - 37);  // the SFR equates
  EXPECT_EQ(lines, (std::vector<std::string>{"\tprocessor\tZEL18A44", "", "; one", "; two", "\tnop\t; on the nop",
                                             "\tif\t0", "", "; four", "\tendif", "", "; three", "kept:",
                                             "\tbra\tkept"}));
}

}  // namespace

namespace {

TEST(ValPrint, FoldedSumsTakeTheParsersForm) {
  // seg(x)+later, later an EQU read afterwards: folding leaves an ADD node over an absolute
  // operand, which prints as the offset the parser makes of it. later+y*2 is (later+y)*2.
  TextRun r("\tdw\tseg(x)+later\n\tdw\tlater+y*2\nlater\tequ\t-8\n");
  ASSERT_EQ(r.take(), "");
  std::vector<std::string> got;
  for (Statement *n = r.as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next)
    if (n->op_type == DATA) got.push_back(r.print(n->op_list->value));
  EXPECT_EQ(got, (std::vector<std::string>{"seg(x)-8", "y-8*2"}));
}

}  // namespace
