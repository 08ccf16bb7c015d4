// The reader and lexer: number forms and radix, names and keywords, strings, line handling,
// include files and bad input (macro texts are read by the macro cases end to end).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "input/lexutil.h"
#include "isa/ops.h"
#include "lang/sym.h"
#include "test_context.h"

namespace {

namespace fs = std::filesystem;

struct Lexer : TestContext {
  void open(std::string text, uint8_t ctx = LEX_NORMAL) {
    open_text(std::move(text));
    as.msg.warn_threshold = -9;  // show warning 337 (level -1)
    lex_set_context(as, ctx);
  }
  std::string token() {
    const Token &t = as.lex.tok;
    char buf[64];
    switch (t.kind) {
    case TK_EOF: return "EOF";
    case TK_EOL: return "EOL";
    case TK_COMMENT: return "CMT(" + std::string(t.text) + ")";
    case TK_NAME: return "SYM(" + std::string(t.sym->s_name) + ")";
    case TK_WORD: return "WORD(" + std::string(t.text) + ")";
    case TK_DEVICE: return "DEV(" + std::string(t.text) + ")";
    case TK_CFG_REG: return "REG(" + std::string(t.text) + ")";
    case TK_NUMBER: return "NUM(" + std::to_string(t.num) + ")";
    case TK_FLOAT: std::snprintf(buf, sizeof buf, "FLT(%g)", t.fnum); return buf;
    case TK_TLABF: return "TLF(" + std::to_string(t.num) + ")";
    case TK_TLABB: return "TLB(" + std::to_string(t.num) + ")";
    case TK_HASH: return "#";
    case TK_DOLLAR: return "$";
    case TK_LPAREN: return "(";
    case TK_RPAREN: return ")";
    case TK_LBRACK: return "[";
    case TK_RBRACK: return "]";
    case TK_COMMA: return ",";
    case TK_COLON: return ":";
    case TK_EQUALS: return "=";
    case TK_PLUS: return "+";
    case TK_MINUS: return "-";
    case TK_STAR: return "*";
    case TK_TILDE: return "~";
    default:
      if (t.kw) return "KW(" + std::string(t.kw->name) + ")";
      return "OP" + std::to_string(t.kind) + "/" + std::to_string(t.value);
    }
  }
  // The tokens up to the end of input, joined by ".", without the last line's EOL and the EOF.
  std::string tokens(size_t limit = 1000) {
    std::string out;
    while (limit-- && lex_next_token(as) != TK_EOF) {
      if (!out.empty()) out += ".";
      out += token();
    }
    if (out.size() >= 4 && out.ends_with(".EOL")) out.resize(out.size() - 4);
    else if (out == "EOL") out.clear();
    return out;
  }
};

struct Case {
  const char *name;
  const char *input;
  const char *expected;
  std::vector<int> msgs;
  uint8_t ctx = LEX_NORMAL;
  unsigned radix = 10;
  uint32_t cmode = 0;
};

void run_cases(const std::vector<Case> &cases) {
  for (const Case &c : cases) {
    Lexer lx;
    lx.as.opt.compat_mode = c.cmode;
    lx.open(std::string(c.input) + "\n", c.ctx);
    lex_set_radix(lx.as, c.radix);
    EXPECT_EQ(lx.tokens(), c.expected) << c.name << ": " << c.input;
    EXPECT_EQ(lx.message_numbers(), c.msgs) << c.name << ": " << c.input;
  }
}

TEST(Lexer, NumberForms) {
  run_cases({
      {"hex prefix", "0x1F 0X1f", "NUM(31).NUM(31)", {}},
      {"hex suffix", "1Fh 0ffh", "NUM(31).NUM(255)", {}},
      {"dollar and at", "$1F @1f", "NUM(31).NUM(31)", {}},
      {"binary suffix", "101B", "NUM(5)", {}},
      {"backward label", "101b", "TLB(101)", {}},
      {"forward label", "3f", "TLF(3)", {}},
      {"label then hex suffix", "1bh", "NUM(27)", {}},
      {"binary prefix", "0b101 0B11", "NUM(5).NUM(3)", {}},
      {"0b alone is a label", "0b", "TLB(0)", {}},
      {"octal", "17o 17q 17Q", "NUM(15).NUM(15).NUM(15)", {}},
      {"prefix without digits", "0x", "NUM(0)", {794}},
      {"octal digit", "18o", "NUM(0)", {223}},
      {"percent", "%101 %", "NUM(5)", {844}},
      {"floats", "1.5 1e3 1E+3 2e-1 3.", "FLT(1.5).FLT(1000).FLT(1000).FLT(0.2).FLT(3)", {}},
      {"E without digits", "12E", "NUM(0)", {223}},
      {"letter fixes integer", "1a.5", "NUM(0).NUM(5)", {223, 844}},
      {"integer context", "1e3", "NUM(0)", {223}, LEX_INTEGER},
      {"float context", "10 1F", "FLT(10).FLT(1)", {788}, LEX_FLOAT},
      {"current radix 16", "10 1e3", "NUM(16).FLT(1000)", {}, LEX_NORMAL, 16},
      {"current radix 8", "8", "NUM(0)", {223}, LEX_NORMAL, 8},
      {"dot in hex", "1.5h", "NUM(1)", {788}},
      {"64 bits", "0xFFFFFFFFFFFFFFFF 9223372036854775807", "NUM(-1).NUM(9223372036854775807)", {}},
      {"old forms off", "H'1F'", "SYM(H).WORD(1F)", {}},
      {"old forms", "B'101' D'10' H'1F' O'17' h'ff' .25", "NUM(5).NUM(10).NUM(31).NUM(15).NUM(255).NUM(25)", {},
       LEX_NORMAL, 10, 8},
      {"old character", "A'x' a'yz'", "WORD(x).WORD(yz)", {}, LEX_NORMAL, 10, 8},
      {"old form without quote", "H'1F", "NUM(0)", {876}, LEX_NORMAL, 10, 8},
      {"old form with suffix", "D'12h'", "NUM(0)", {876}, LEX_NORMAL, 10, 8},
      {"old form digit", "B'102'", "NUM(0)", {223}, LEX_NORMAL, 10, 8},
      {"dot without old forms", ".25", "NUM(25)", {844}},
  });
}

TEST(Lexer, HundredDigitsKeepsTheToken) {
  Lexer lx;
  lx.open(std::string(100, '7') + " 1\n");
  EXPECT_EQ(lex_next_token(lx.as), TK_NUMBER);
  EXPECT_EQ(lx.message_numbers(), std::vector<int>{2104});
  EXPECT_EQ(lx.tokens(), "NUM(1)");
}

TEST(Lexer, ImmediateMarkSavesTheRadix) {
  Lexer lx;
  lx.open("movlw #10 + 10 # 10\n10\n#\n");
  lex_set_radix(lx.as, 16);
  EXPECT_EQ(lx.tokens(), "KW(movlw).#.NUM(10).+.NUM(10).#.NUM(10).EOL.NUM(16).EOL.#");
  EXPECT_EQ(lex_radix(lx.as), 16u);  // restored at the end of the line and of the input
  Lexer l2;
  l2.open("# 10 ; c\n10");
  lex_set_radix(l2.as, 16);
  EXPECT_EQ(lex_next_token(l2.as), TK_HASH);
  lex_skip_line(l2.as);  // skipping the line restores it too
  EXPECT_EQ(l2.tokens(), "NUM(16)");
}

TEST(Lexer, Operators) {
  struct {
    const char *text;
    uint16_t kind, value;
  } ops[] = {  // where one character starts another operator
      {"<>", K_RELOP, OPR_NE}, {"<=", K_RELOP, OPR_LE},  {"<<", K_SHIFT, OPR_SHL}, {"<", K_RELOP, OPR_LT},
      {">=", K_RELOP, OPR_GE}, {">>", K_SHIFT, OPR_SHR}, {">", K_RELOP, OPR_GT},
  };
  for (const auto &o : ops) {
    Lexer lx;
    lx.open(std::string(o.text) + "1\n");
    EXPECT_EQ(lex_next_token(lx.as), o.kind) << o.text;
    EXPECT_EQ(lx.as.lex.tok.value, o.value) << o.text;
    EXPECT_EQ(lx.tokens(), "NUM(1)") << o.text;
  }
  run_cases({{"brackets", "([x]):,$", "(.[.SYM(x).].).:.,.$", {}}});
}

TEST(Lexer, KeywordsAndSymbols) {
  run_cases({
      {"case-insensitive", "MOVLW movlw MovLw", "KW(movlw).KW(movlw).KW(movlw)", {}},
      {"one underscore", "_x _movlw _ __badram", "SYM(_x).SYM(_movlw).SYM(_).KW(__badram)", {}},
      {"name characters", "a$b?c_d@e1 ?x", "SYM(a$b?c_d@e1).SYM(?x)", {}},
      {"at starts no name", "x @y", "SYM(x).$.SYM(y)", {}},
      {"plain", "movlw x ! 1", "WORD(movlw).WORD(x).WORD(!).NUM(1)", {}, LEX_PLAIN},
      {"device", "zel18a10, 18f452", "DEV(ZEL18A10).,.DEV(18F452)", {}, LEX_DEVICE},
      {"unknown character", "nop ` \x80 nop", "KW(nop).KW(nop)", {844, 844}},
  });

  struct KindCase {
    uint8_t ctx;
    bool psect;
    const char *word;
    uint16_t kind;
  };
  const KindCase kinds[] = {
      {LEX_LIST, false, "c", K_LISTOPT},      {LEX_LIST, false, "movlw", MOVLW},
      {LEX_OPT, false, "asmopt_on", K_ASMOPT_ON}, {LEX_NORMAL, false, "abs", TK_NAME},
      {LEX_NORMAL, true, "abs", K_PSECTFLAG}, {LEX_NORMAL, true, "_abs", TK_NAME},
      {LEX_PLAIN, true, "abs", TK_WORD},      {LEX_CONFIG, false, "movlw", TK_WORD},
  };
  for (const KindCase &k : kinds) {
    Lexer lx;
    lx.open(k.word, k.ctx);
    lex_set_psect_flags(lx.as, k.psect);
    EXPECT_EQ(lex_next_token(lx.as), k.kind) << k.word << " in context " << int(k.ctx);
  }
}

TEST(Lexer, SymbolsAreShared) {
  Lexer lx;
  lx.open("abc abc Abc");
  lex_next_token(lx.as);
  Symbol *a = lx.as.lex.tok.sym;
  lex_next_token(lx.as);
  EXPECT_EQ(lx.as.lex.tok.sym, a);
  lex_next_token(lx.as);
  EXPECT_NE(lx.as.lex.tok.sym, a);  // symbol names are case-sensitive
}

TEST(Lexer, Strings) {
  run_cases({
      {"both quotes", "'a\"b' \"c'd\"", "WORD(a\"b).WORD(c'd)", {}},
      {"unterminated", "\"abc", "WORD(abc)", {968}},
      {"escape off", "\"a\\\"bb\"", "WORD(a\\).SYM(bb).WORD()", {968}},
      {"escape on", "\"a\\\"b\" 'x\\'y'", "WORD(a\"b).WORD(x'y)", {}, LEX_STRING_ESC},
      {"high bytes kept", "\"\xe9\"", "WORD(\xe9)", {}},
      {"comment", "nop ; a \"b ;c", "KW(nop).CMT(; a \"b ;c)", {}},
      {"carriage return dropped", "nop ;c\r", "KW(nop).CMT(;c)", {}},
  });
}

TEST(Lexer, MarkerFlags) {
  struct {
    const char *line;
    bool vol, volsfr, hl;
  } cases[] = {
      {"movlw \";volsfr\"", false, true, false},
      {"nop ;# 12", false, false, true},
      {"nop ; volsfr", false, false, false},
  };
  for (const auto &c : cases) {
    Lexer lx;
    lx.open(std::string("nop\n") + c.line + "\n");
    lx.tokens();  // the flags of the last line remain
    EXPECT_EQ(lx.as.lex.m_volatile, c.vol) << c.line;
    EXPECT_EQ(lx.as.lex.m_volsfr, c.volsfr) << c.line;
    EXPECT_EQ(lx.as.lex.m_hl, c.hl) << c.line;
  }
}

TEST(Lexer, BadInput) {
  Lexer lx;
  std::string big = "db " + std::string(1 << 20, ' ') + "7\n";
  std::string name(10000, 'n');
  lx.open(std::string("nop\0nop\n", 8) + big + name + " 1\n\"" + std::string(2000, 's') + "\"\n");
  EXPECT_EQ(lx.tokens(), "KW(nop).KW(nop).EOL.KW(db).NUM(7).EOL.SYM(" + name.substr(0, TOKEN_MAX) +
                             ").NUM(1).EOL.WORD(" + std::string(TOKEN_MAX, 's') + ")");
  EXPECT_EQ(lx.message_numbers(), (std::vector<int>{2107, 2105, 2105}));
}

// Files on disk: include files, missing files, the final line feed.
class LexerFiles : public ::testing::Test {
 protected:
  fs::path dir;
  void SetUp() override {
    dir = fs::temp_directory_path() / ("lexer_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const char *name, const std::string &text) {
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  }
};

TEST_F(LexerFiles, IncludeFiles) {
  Lexer lx;
  std::string inc = file("inc.as", "aa\nbb");  // no final line feed
  std::string main = file("main.as", "x\ninclude\ny\n");
  std::string second = file("second.as", "z\n");
  lx.setup({main, second});
  run_open_input(lx.as);
  lx.as.msg.warn_threshold = -9;
  std::vector<std::string> where;
  for (uint16_t k; (k = lex_next_token(lx.as)) != TK_EOF;) {
    if (lx.as.lex.tok.kw && std::string_view(lx.as.lex.tok.kw->name) == "include") {
      lex_open_source(lx.as, inc);
      continue;
    }
    if (k == TK_NAME) where.push_back(std::string(lx.as.lex.tok.sym->s_name) + "@" + std::to_string(lex_line(lx.as)));
  }
  EXPECT_EQ(where, (std::vector<std::string>{"x@1", "aa@1", "bb@2", "y@3", "z@1"}));
  std::string errs = lx.err.str();
  EXPECT_NE(errs.find("inc.as: 2: (337) "), std::string::npos) << errs;
  EXPECT_EQ(lx.message_numbers(), std::vector<int>{337});
}

TEST_F(LexerFiles, MissingFiles) {
  Lexer lx;
  std::string main = file("main.as", "x\ny\n");
  lx.setup({main, (dir / "none.as").string(), main});
  run_open_input(lx.as);
  EXPECT_EQ(lex_next_token(lx.as), TK_NAME);
  lex_open_source(lx.as, (dir / "noinc.as").string());  // skipped; the includer goes on
  EXPECT_EQ(lx.tokens(), "SYM(y)");                       // the third file is never read
  std::string errs = lx.err.str();
  EXPECT_NE(errs.find("(140) can't open include file"), std::string::npos) << errs;
  EXPECT_NE(errs.find("(140) can't open  file"), std::string::npos) << errs;
  EXPECT_EQ(lex_next_token(lx.as), TK_EOF);
}

}  // namespace

namespace {

// The lexer's table of recent names follows the symbol table.
TEST(Lexer, RememberedNamesFollowTheSymbolTable) {
  Lexer lx;
  lx.open("abc abc abc abc abc\n");
  auto next_sym = [&] {
    lex_next_token(lx.as);
    return lx.as.lex.tok.sym;
  };
  Symbol *first = next_sym();
  EXPECT_EQ(next_sym(), first);
  sym_make_psect(lx.as, first);  // a record that became a psect is no longer the symbol
  first->s_flags |= SF_PSECT;
  Symbol *second = next_sym();
  EXPECT_NE(second, first);
  EXPECT_EQ(second->s_flags & SF_NAMESPACE, 0u);
}

}  // namespace
