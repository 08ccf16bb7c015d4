// Value printer and statement text where the assembly-text cases cannot reach: register names,
// broken trees, equates read before their definition, listing mode, unknown kinds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "isa/ops.h"
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

TEST(ValPrint, CoreRegistersByNameOnlyWhenAsked) {
  TextRun r("\tdw\t0xFF3\n");
  EXPECT_EQ(r.print(r.item(), true), "wreg");
  EXPECT_EQ(r.print(r.item(), false), "4083");
  TextRun h("\tdw\t0xFD8\n", true);
  EXPECT_EQ(h.print(h.item(), true), "status");
  TextRun n("\tdw\t0xFD8+x\n");
  EXPECT_EQ(n.print(n.item(), true), "x+4056");  // relocatable: no register
}

TEST(ValPrint, BrokenTreesPrintZeroNotACrash) {
  TextRun r("\tnop\n");
  Value node;
  node.v_rtype = RT_ADD;  // no operands
  EXPECT_EQ(r.print(node), "0+0");
  Value odd;
  odd.v_rtype = 99;
  EXPECT_EQ(r.print(odd), "0");
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
