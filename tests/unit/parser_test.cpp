// Parser: message sequences for the grammar's edge cases, and bad input that must end in
// numbered messages without a crash or a hang.
#include <gtest/gtest.h>

#include <random>

#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "input/macro.h"
#include "isa/ops.h"
#include "lang/parser.h"
#include "test_context.h"

namespace {

struct ParseRun : TestContext {
  explicit ParseRun(const std::string &src, bool xinst = false) {
    parse_text(src, "ZEL18A44", xinst ? std::vector<std::string>{"--xinst"} : std::vector<std::string>{});
  }
  // The statements of the current psect as "KIND" words, for order checks.
  std::vector<uint32_t> kinds() {
    std::vector<uint32_t> k;
    for (Statement *n = as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next) k.push_back(n->op_type);
    return k;
  }
  Statement *last() { return as.sym.cur_psect->s_stmts->tail.op_prev; }
};

TEST(Parser, MessagesOfTheGrammar) {
  struct Case {
    const char *src;
    std::vector<int> msgs;
  } cases[] = {
      {" org 1 + 2 * 3\n", {}},
      {" df 3\n", {876}},
      {" nul\n", {876}},
      {" org lab\nlab:\n", {855}},
      {" org\n", {876}},
      {" org 1 2\n", {876}},
      // no second 876 until three tokens have been shifted
      {" org 1 2\n )\n nop\n nop (\n", {876, 876}},
      {" asmopt pop\n", {1507}},
      {" debug_source pop\n", {1523}},
      {" addwf 5,2\n", {876}},
      {" addwf 5,w,b\n addwf 5,b,f\n addwf 5,0,1\n addwf 5,f,w\n", {876}},
      {" movwf [1]\n", {2064}},
      {" lfsr 4,1\n", {1225}},
      {" lfsr -1,1\n", {1225}},
      {" movffl 1,2\n", {849}},
      {" bankisel 1\n pagesel 1\n", {2085}},
      {" call x,2\n", {876}},
      {" movwf c:5,b\n", {1224}},
      {" psect p,reloc=2\n psect p,reloc=4\n psect p,reloc=2\n", {867}},
      {" psect p,local,global\n", {857}},
      {" psect p,class=X\n psect p,class=Y\n", {873}},
      {" psect p,size=-1\n", {864}},
      {" psect p,group=x\n", {847}},
      {" psect n,note,optim=jump\n", {1519}},
      {" list c=40,n=10\n", {860, 835}},
      {" list r=hex\n", {2069}},
      {" list x=1\n", {876}},
      {" fnsize fn,-1,2\n", {853}},
      {" processor ZEL18X47\n", {2070}},
      {" opt nocond\n", {2068}},
      {" ds x\n align 0\n", {854, 856}},
      {" x equ 1\n x equ 2\n", {845}},
      {"lab: end\n", {876}},
      {" end\n nop 1\n", {}},  // nothing is read after the END line
  };
  for (const Case &c : cases) {
    ParseRun r(c.src);
    EXPECT_EQ(r.message_numbers(), c.msgs) << c.src;
  }
}

TEST(Parser, LabelNodeComesFirstAndCommentsAttach) {
  ParseRun r("l1: l2: nop ; n\n global g ; g\n");
  EXPECT_EQ(r.kinds(), (std::vector<uint32_t>{NAME, NAME, NOP}));
  EXPECT_STREQ(stmt_eolcomment(r.last()), "; g");
}

TEST(Parser, OperandForms) {
  struct Case {
    const char *src;
    uint32_t kind, subop, dest, access, flags;
  } cases[] = {
      {" addwf 5\n", ADDWF, 0x2400, F, BANKED, 0},
      {" addwf 5,w\n", ADDWF, 0x2400, W, BANKED, 0},
      {" addwf 5,0,0\n", ADDWF, 0x2400, W, ACCESS, 0},
      {" addwf [3],w\n", ADDWF, 0x2400, W, ACCESS, NF_INDEXED},
      {" movwf 0xF80\n", MOVWF, 0x6E00, 0, ACCESS, 0},
      {" bcf 3,c,2\n", BCF, 0x9000, 0, ACCESS, 0},
      {" call 0,f\n", CALL, 0xED00, 0, 0, 0},
      {" retfie 1\n", RETURN, 0x0011, 0, 0, 0},
      {" lfsr 2,0x100\n", LFSR, 0xEE20, 0, 0, 0},
      {" tblrd +*\n", TBLRD, 0x000B, 0, 0, 0},
      {" movff 1,c,2\n", MOVFF, 0xC000, 0, 0, 0},
  };
  for (const Case &c : cases) {
    ParseRun r(c.src, true);
    EXPECT_TRUE(r.message_numbers().empty()) << c.src;
    Statement *n = r.last();
    EXPECT_EQ(n->op_type, c.kind) << c.src;
    EXPECT_EQ(n->op_subop, c.subop) << c.src;
    EXPECT_EQ(n->op_dest, c.dest) << c.src;
    EXPECT_EQ(n->op_access, c.access) << c.src;
    EXPECT_EQ(n->op_flags & NF_INDEXED, c.flags) << c.src;
  }
}

TEST(Parser, OperatorsShareOnePrecedenceLeftToRight) {
  ParseRun r(" org 1 + 2 * 3\n org 8 - 2 - 1\n");
  EXPECT_EQ(r.last()->op_num, 5u);
  EXPECT_EQ(r.last()->op_prev->op_num, 9u);
}

TEST(Parser, PsectFlags) {
  ParseRun r(" psect ps1,optim=inline:jump\n psect ps2,optim=remove\n psect ps3\n");
  Symbol *a = sym_lookup(r.as, "ps1", SF_PSECT), *b = sym_lookup(r.as, "ps2", SF_PSECT);
  EXPECT_EQ(a->s_psect.p_inline, 1);
  EXPECT_EQ(a->s_psect.p_keep, 1);
  EXPECT_EQ(a->s_psect.p_optim, 0x29u);
  EXPECT_EQ(b->s_psect.p_keep, 0);
  EXPECT_TRUE(r.as.sym.cur_psect->s_flags & PSF_GLOBAL);
  EXPECT_EQ(sym_find(r.as, "ps1"), nullptr);  // the psect name made no ordinary symbol
}

// Bad input: only numbered messages, and the parse ends.
TEST(Parser, BadInputEndsInNumberedMessages) {
  std::mt19937 rng(7);
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<char>(rng() & 0xFF));
  static const char *toks[] = {"nop", "movwf", "addwf", "w", "f", "b", "c", ",", ":", "(", ")", "[", "]", "#",
                               "$", "+", "-", "*", "&", "~", "=", "x", "1", "0x10", "\"s\"", "'a'", ";c", "psect",
                               "org", "db", "equ", "set", "if", "list", "opt", "asmopt", "config", "line", "file",
                               "dabs", "fnconf", "radix", "global", "1.5", "1f", "defined", "low", "class=",
                               "reloc=", "optim=", "with=", "\n", "\n"};
  std::string soup;
  for (int i = 0; i < 20000; ++i) soup += std::string(toks[rng() % std::size(toks)]) + " ";
  std::string deep = " org " + std::string(20000, '(') + "1" + std::string(20000, ')') + "\n";
  std::string labels;
  for (int i = 0; i < 100000; ++i) labels += "l" + std::to_string(i) + ": ";
  for (const std::string &src : {bytes, soup, deep, labels + "\n"}) {
    ParseRun r(src);
    std::string e = r.take();
    std::istringstream in(e);
    for (std::string line; std::getline(in, line);)
      EXPECT_EQ(message_numbers_in(line).size(), 1u) << line;
  }
  ParseRun d(deep);
  EXPECT_NE(d.take().find("(877) memory exhausted"), std::string::npos);
}

}  // namespace
