// The instruction and keyword table: name lookups and lookups by statement.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "driver/alert.h"
#include "isa/ops.h"
#include "lang/expr.h"
#include "lang/list.h"

namespace {

struct Quiet {
  std::ostringstream err;
  MsgState m;
  Quiet() {
    m.err = &err;
    msg_init(m, nullptr);
  }
};

TEST(Ops, WordsThatAreNoKeywords) {
  const std::string long_name(10000, 'a');
  const char *const words[] = {"", "movlw2", "movl", "_movlw", "L1", "stack", "on", "\xC3\xA9", "config2"};
  for (const char *w : words) EXPECT_EQ(ops_find(w), nullptr) << w;
  EXPECT_EQ(ops_find(std::string_view("nop\0", 4)), nullptr);
  EXPECT_EQ(ops_find(long_name), nullptr);
  EXPECT_EQ(ops_find("config", KT_PSECT_FLAGS), nullptr);  // not a flag word
  EXPECT_EQ(ops_find("movlw", KT_LIST), nullptr);
}

// Every row is found by its own name in any case, and a word that occurs twice finds its first row.
TEST(Ops, EveryRowIsFoundByName) {
  for (int t = 0; t < KT_COUNT; ++t) {
    auto rows = ops_rows(static_cast<KwTable>(t));
    ASSERT_FALSE(rows.empty());
    for (const Keyword &r : rows) {
      std::string upper = r.name;
      for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      const Keyword *a = ops_find(r.name, static_cast<KwTable>(t));
      const Keyword *b = ops_find(upper, static_cast<KwTable>(t));
      ASSERT_NE(a, nullptr) << r.name;
      EXPECT_EQ(a, b) << r.name;
      EXPECT_STREQ(a->name, r.name);
      EXPECT_LE(a, &r) << r.name;
    }
  }
}

TEST(Ops, LookupByStatement) {
  Quiet q;
  struct Case {
    uint16_t kind;
    uint16_t subop;
    const char *name;
  };
  const Case cases[] = {
      {BCC, 0xE600, "bmi"},       // not "bn"
      {BCC, 0xE500, "bnv"},       // not "bnov"
      {CALL, 0xEC00, "call"},     // not "fcall"
      {GOTO, 0xEF00, "goto"},     // not "ljmp"
      {RETURN, 0x0011, "retfie"}, // fast bit set
      {RETURN, 0x0013, "return"},
      {LFSR, 0xEE20, "lfsr"},     // FSR 2
      {TBLRD, 0x000B, "tblrd"},   // mode bits are not part of the opcode
      {TBLRD, 0x000E, "tblwt"},
      {NOP, 0x6AF3, "clrw"},
      {NOP, 0x00FF, "reset"},
      {ADDFSR, 0xE900, "subfsr"},
      {DATA, 2, "dw"},
      {MESSG, 1, "error"},
  };
  for (const auto &c : cases) EXPECT_STREQ(ops_mnemonic(q.m, c.kind, c.subop), c.name) << c.name;
  EXPECT_EQ(q.err.str(), "");
}

TEST(Ops, UnknownStatementIsReported) {
  Quiet q;
  EXPECT_EQ(ops_mnemonic(q.m, MOVLW, 0x1234), nullptr);
  EXPECT_EQ(q.err.str(), "Can't find op (op = " + std::to_string(MOVLW) + ", subop == 1234)\n");
  EXPECT_EQ(ops_row_of(q.m, OP_NONE, 0), nullptr);
  EXPECT_EQ(q.m.errors, 0u);  // a diagnostic text, not a counted error

  // With the consistency checks on, the failed lookup is also an internal error.
  q.m.check_msg = MSG_ASSERT_ERROR;
  q.err.str("");
  EXPECT_EQ(ops_mnemonic(q.m, GOTO, 0x1234), nullptr);
  EXPECT_NE(q.err.str().find("(1502) assertion failure: op found (ops.cpp:"), std::string::npos) << q.err.str();
  EXPECT_EQ(q.m.errors, 1u);
}

// The facts that depend on more than the row and that no optimizer case shows: the bracketed
// form, and the conservative answer for an opcode without a row. (Dropping the destination, the
// banked access or the fast flag from the facts fails the optimizer cases and optcheck.)
TEST(Ops, StatementFacts) {
  struct Case {
    uint8_t kind;
    uint16_t subop;
    uint8_t dest, access;
    uint16_t flags;
    uint32_t set, clear;
  };
  const Case cases[] = {
      {MOVF, 0x5000, F, ACCESS, NF_INDEXED, FX_READS_FSR | FX_MEMORY | FX_WRITES_F, FX_WRITES_W},
      {MOVLW, 0x1234, 0, 0, 0, FX_UNKNOWN, 0},  // no such row: everything
  };
  for (const auto &c : cases) {
    Statement n;
    n.op_type = c.kind;
    n.op_subop = c.subop;
    n.op_dest = c.dest;
    n.op_access = c.access;
    n.op_flags = c.flags;
    InsnFacts f = ops_statement_facts(n);
    EXPECT_EQ(f.does & c.set, c.set) << c.kind << " " << std::hex << c.subop;
    EXPECT_EQ(f.does & c.clear, 0u) << c.kind << " " << std::hex << c.subop;
  }
  EXPECT_EQ(ops_facts(MOVLW, 0x1234).reads, F_ALL);
  EXPECT_EQ(ops_facts(NAME, 0).does, 0u);
  EXPECT_EQ(ops_facts(DATA, 2).does, 0u);
}

}  // namespace
