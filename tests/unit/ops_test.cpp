// The instruction and keyword table: name lookups, availability, lookups by statement.
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

TEST(Ops, NameLookup) {
  struct Case {
    const char *word;
    KwTable table;
    uint16_t kind, value;
    uint32_t avail;
  };
  const Case cases[] = {
      {"movlw", KT_MAIN, MOVLW, 0x0E00, AV_ALL},
      {"MOVLW", KT_MAIN, MOVLW, 0x0E00, AV_ALL},
      {"MoVfFl", KT_MAIN, MOVFFL, 0x0060, AV_X},
      {"nop2", KT_MAIN, NOP, 0xFFFF, AV_ALL},
      {"clrw", KT_MAIN, NOP, 0x6AF3, AV_ALL},
      {"bn", KT_MAIN, BCC, 0xE600, AV_ALL},
      {"fcall", KT_MAIN, CALL, 0xEC00, AV_ALL},
      {"ljmp", KT_MAIN, GOTO, 0xEF00, AV_ALL},
      {"banksel", KT_MAIN, BANKSEL, 0, AV_ALL},
      {"tblrdpostinc", KT_MAIN, TBLRD, 0x0009, AV_ALL},
      {"debug_source", KT_MAIN, K_DEBUG_SOURCE, 0, 0},
      {"__badrom", KT_MAIN, K_BADRAM, 1, 0},
      {"__MAXRAM", KT_MAIN, K_MAXRAM, 0, 0},
      {"highword", KT_MAIN, K_UNARY, OPR_HIGHWORD, 0},
      {"seg", KT_MAIN, K_UNARY, OPR_SEG, 0},
      {"mod", KT_MAIN, K_DIVOP, OPR_MOD, 0},
      {"ROL", KT_MAIN, K_SHIFT, OPR_ROL, 0},
      {"=", KT_MAIN, K_RELOP, OPR_EQ, 0},
      {"<>", KT_MAIN, K_RELOP, OPR_NE, 0},
      {"<=", KT_MAIN, K_RELOP, OPR_LE, 0},
      {"ge", KT_MAIN, K_RELOP, OPR_GE, 0},
      {"and", KT_MAIN, K_BITOP, OPR_AND, 0},
      {"|", KT_MAIN, K_BITOP, OPR_OR, 0},
      {"oct", KT_MAIN, K_RADIXVAL, 8, 0},
      {"F", KT_MAIN, F, 0, 0},
      {"b", KT_MAIN, BANKED, 0, 0},
      {"a", KT_MAIN, ACCESS, 0, 0},
      {"ddw", KT_MAIN, DATA, 4, 0},
      {"df", KT_MAIN, K_DF, 4, 0},
      {"warn", KT_MAIN, MESSG, 2, 0},
      {"include", KT_MAIN, INCLUDE, 1, 0},
      {"nocond", KT_MAIN, K_COND, 0, 0},
      {"subtitle", KT_MAIN, K_SUBTITLE, 1, 0},
      {"config", KT_MAIN, K_CONFIG, 0, 0},
      {"stack", KT_OPT, K_CALLSTACK, 1, 0},
      {"ASMOPT_POP", KT_OPT, K_ASMOPT_PUSH, 0, 0},
      {"x", KT_LIST, K_LISTOPT, 'x', 0},
      {"off", KT_LIST, K_ONOFF, 0, 0},
      {"asm", KT_DEBUGSRC, K_DBGSRC, 2, 0},
      {"pop", KT_ASMOPT, K_PUSHPOP, 0, 0},
      {"CodeCov", KT_PSECT_FLAGS, K_PSECTFLAG, PFW_CODECOV, 0},
      {"with", KT_PSECT_FLAGS, K_PSECTFLAG, PFW_WITH, 0},
  };
  for (const auto &c : cases) {
    const Keyword *k = ops_find(c.word, c.table);
    ASSERT_NE(k, nullptr) << c.word;
    EXPECT_EQ(k->kind, c.kind) << c.word;
    EXPECT_EQ(k->value, c.value) << c.word;
    EXPECT_EQ(k->avail, c.avail) << c.word;
  }
}

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
  EXPECT_EQ(ops_rows(KT_MAIN).size(), 203u);
  EXPECT_STREQ(ops_rows(KT_MAIN)[0].name, "addwf");
  EXPECT_STREQ(ops_rows(KT_MAIN)[99].name, "banksel");
}

TEST(Ops, Availability) {
  const unsigned ZEL18 = 128, ZEL18X = 256, ZEL18V = 512, ZEL18XV = 768;
  for (const char *w : {"movffl", "callw", "addfsr", "subfsr"}) {
    uint32_t av = ops_find(w)->avail;
    EXPECT_EQ(av & ZEL18, 0u) << w;
    EXPECT_EQ(av & ZEL18V, 0u) << w;
    EXPECT_NE(av & ZEL18X, 0u) << w;
    EXPECT_NE(av & ZEL18XV, 0u) << w;
  }
  int extended_only = 0;
  for (const Keyword &r : ops_rows().first(100)) {
    if (r.avail == AV_X) ++extended_only;
    else EXPECT_EQ(r.avail, AV_ALL) << r.name;
  }
  EXPECT_EQ(extended_only, 4);
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

  EXPECT_EQ(ops_flags_read(q.m, NOP, 0x0007), F_C | F_DC);  // daw
  EXPECT_EQ(ops_flags_written(q.m, NOP, 0x0007), F_C);
  EXPECT_EQ(ops_flags_written(q.m, NOP, 0x00FF), F_C | F_DC | F_Z | F_OV | F_N);  // reset
  EXPECT_EQ(ops_flags_read(q.m, ADDWF, 0x2000), F_C);  // addwfc
  EXPECT_EQ(ops_flags_read(q.m, BCC, 0xE500), F_OV);
  EXPECT_EQ(ops_flags_written(q.m, CLRF, 0x6800), 0u);  // setf
}

TEST(Ops, UnknownStatementIsReported) {
  Quiet q;
  EXPECT_EQ(ops_mnemonic(q.m, MOVLW, 0x1234), nullptr);
  EXPECT_EQ(q.err.str(), "Can't find op (op = " + std::to_string(MOVLW) + ", subop == 1234)\n");
  EXPECT_EQ(ops_flags_written(q.m, CALL, 0xED00), 0u);  // the caller clears the fast bit
  EXPECT_EQ(ops_flags_read(q.m, 999, 0), 0u);
  EXPECT_EQ(ops_row_of(q.m, OP_NONE, 0), nullptr);
  EXPECT_EQ(q.m.errors, 0u);  // a diagnostic text, not a counted error

  // With the consistency checks on, the failed lookup is also an internal error.
  q.m.check_msg = MSG_ASSERT_ERROR;
  q.err.str("");
  EXPECT_EQ(ops_mnemonic(q.m, GOTO, 0x1234), nullptr);
  EXPECT_NE(q.err.str().find("(1502) assertion failure: op found (ops.cpp:"), std::string::npos) << q.err.str();
  EXPECT_EQ(q.m.errors, 1u);
}

// The facts that depend on more than the row: the destination and access of a statement, the
// bracketed form, the fast flag, and the conservative answer for an opcode without a row.
TEST(Ops, StatementFacts) {
  struct Case {
    uint8_t kind;
    uint16_t subop;
    uint8_t dest, access;
    uint16_t flags;
    uint32_t set, clear;
  };
  const Case cases[] = {
      {ADDWF, 0x2400, W, BANKED, 0, FX_READS_W | FX_READS_F | FX_WRITES_W | FX_READS_BSR,
       FX_WRITES_F | FX_WRITES_DEST},
      {ADDWF, 0x2400, F, ACCESS, 0, FX_WRITES_F, FX_WRITES_W | FX_READS_BSR | FX_MEMORY},
      {MOVF, 0x5000, F, ACCESS, NF_INDEXED, FX_READS_FSR | FX_MEMORY | FX_WRITES_F, FX_WRITES_W},
      {CALL, 0xED00, 0, 0, 0, FX_CALL | FX_READS_W | FX_READS_BSR, FX_WRITES_W},  // fast call
      {CALL, 0xEC00, 0, 0, 0, FX_CALL, FX_READS_W},
      {RETURN, 0x0013, 0, 0, 0, FX_RETURN | FX_WRITES_W | FX_WRITES_BSR, FX_READS_W},  // return f
      {RETURN, 0x0010, 0, 0, 0, FX_RETURN, FX_WRITES_W},
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
  EXPECT_EQ(ops_facts(BCC, 0xE100).reads, F_Z);  // bnz
  EXPECT_EQ(ops_facts(NAME, 0).does, 0u);
  EXPECT_EQ(ops_facts(DATA, 2).does, 0u);
}

}  // namespace
