// Parser: statement order, psect flags, and bad input that must end in numbered messages
// without a crash or a hang.
#include <gtest/gtest.h>

#include <random>

#include "isa/ops.h"
#include "test_context.h"

namespace {

struct ParseRun : TestContext {
  explicit ParseRun(const std::string &src) { parse_text(src); }
  // The statements of the current psect as "KIND" words, for order checks.
  std::vector<uint32_t> kinds() {
    std::vector<uint32_t> k;
    for (Statement *n = as.sym.cur_psect->s_stmts->head.op_next; n->op_type; n = n->op_next) k.push_back(n->op_type);
    return k;
  }
  Statement *last() { return as.sym.cur_psect->s_stmts->tail.op_prev; }
};

TEST(Parser, LabelNodeComesFirstAndCommentsAttach) {
  ParseRun r("l1: l2: nop ; n\n global g ; g\n");
  EXPECT_EQ(r.kinds(), (std::vector<uint32_t>{NAME, NAME, NOP}));
  EXPECT_STREQ(stmt_eolcomment(r.last()), "; g");
}

TEST(Parser, PsectFlags) {
  ParseRun r(" psect ps1,optim=inline:jump\n psect ps2,optim=remove\n psect ps3\n");
  Symbol *a = sym_lookup(r.as, "ps1", SF_PSECT), *b = sym_lookup(r.as, "ps2", SF_PSECT);
  EXPECT_EQ(a->s_psect.p_inline, 1);
  EXPECT_EQ(a->s_psect.p_keep, 1);
  EXPECT_EQ(a->s_psect.p_optim, PO_GIVEN | PO_INLINE | PO_JUMP);
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
}

}  // namespace
