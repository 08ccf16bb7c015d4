// The macro processor through the lexer's token stream: a small driver starts definitions on
// the directive tokens as the parser does, and prints the expanded token lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/run.h"
#include "input/macro.h"
#include "isa/ops.h"
#include "lang/expr.h"
#include "test_context.h"

namespace {

struct MacroRun {
  TestContext t;
  Assembly &as = t.as;
  std::vector<bool> listed;  // listing flag at each printed line

  std::string token() {
    const Token &k = as.lex.tok;
    switch (k.kind) {
    case TK_NAME: return k.sym->s_name;
    case TK_WORD: return "'" + std::string(k.text) + "'";
    case TK_COMMENT: return std::string(k.text);
    case TK_NUMBER: return std::to_string(k.num);
    case TK_COMMA: return ",";
    case TK_COLON: return ":";
    case TK_PLUS: return "+";
    case K_BITOP: return k.value == OPR_AND ? "&" : "bitop";
    case K_RELOP: return k.value == OPR_LT ? "<" : k.value == OPR_GT ? ">" : "relop";
    default: return k.kw ? k.kw->name : "?" + std::to_string(k.kind);
    }
  }

  // Token lines of the source, empty lines left out; directives act at the start of a line.
  std::string run(std::string text) {
    t.open_text(std::move(text));
    as.msg.warn_threshold = -9;
    std::string out, line;
    bool first = true;
    for (uint16_t k; (k = lex_next_token(as)) != TK_EOF;) {
      if (k == TK_EOL) {
        if (!line.empty()) {
          out += line + "\n";
          listed.push_back(as.lex.list_on);
        }
        line.clear();
        first = true;
        continue;
      }
      bool at_start = first;
      first = false;
      if (at_start && k == TK_NAME) {
        Symbol *s = as.lex.tok.sym;
        if (lex_next_token(as) == K_MACRO) {
          sym_define_macro(as, s);  // 858 when refused; the body is read all the same
          macro_define(as, s);
          continue;
        }
        lex_unget_token(as, as.lex.tok);
        as.lex.tok.kind = TK_NAME;
        as.lex.tok.sym = s;
      }
      if (at_start && k == K_REPT) {
        bool neg = lex_next_token(as) == TK_MINUS;
        if (neg) lex_next_token(as);
        macro_define_rept(as, neg ? -as.lex.tok.num : as.lex.tok.num);
        continue;
      }
      if (at_start && (k == K_IRP || k == K_IRPC || k == K_LOCAL)) {
        k == K_IRP ? macro_define_irp(as) : k == K_IRPC ? macro_define_irpc(as) : macro_local_outside(as);
        first = true;  // the line was discarded or ends after the definition
        continue;
      }
      if (!line.empty()) line += ' ';
      line += token();
      if (k == TK_COMMENT) lex_skip_line(as), first = true, out += line + "\n", line.clear();
    }
    return out + line;
  }
};

struct Case {
  const char *name, *src, *tokens;
  std::vector<int> msgs;
};

const Case CASES[] = {
    {"missing argument is empty", "m macro a,b\n movlw a\n movwf b\n endm\n m 1\n", "movlw 1\nmovwf\n", {}},
    {"@ forms raise the count", "m macro\n db @0,@1,@2\n endm\n m 1,2,3,4\n", "db 1 , 2 , 3\n", {}},
    {"@9 is index 10, a line feed", "m macro\n db @9,@0\n endm\n m 0,1,2,3,4,5,6,7,8,nine\n nop\n",
     "db nine , 0\nnop\n", {}},
    {"brackets and !", "m macro a\n db a\n endm\n m <1,2>\n m !,3\n m <1<2>>\n", "db 1 , 2\ndb , 3\ndb 1 < 2 >\n", {}},
    {"empty middle argument", "m macro a,b,c\n db a,b,c\n endm\n m 1,,3 ; x\n", "db 1 , , 3\n", {}},
    {"blanks and comments end arguments", "m macro a,b\n db a+b\n endm\n m  1 , <2 > ;c\n", "db 1 + 2\n", {}},
    {"LOCAL numbering", "m macro\n local l,k\n l: goto k\n endm\n m\n m\n", "??0000 : goto ??0001\n??0002 : goto ??0003\n", {}},
    {"REPT 0 and REPT -1", "rept 0\n clrw\n endm\n rept -1\n nop\n endm\n rept 2\n daw\n endm\n", "nop\ndaw\ndaw\n", {799}},
    {"IRPC and quotes", "irpc c,ab\n db \"c\",'c'\n endm\n", "db 'c' , 'a'\ndb 'c' , 'b'\n", {}},
    {"IRP ends at an empty item", "irp x,1,,2\n db x\n endm\n irp y,<1,<2>>,3\n db y\n endm\n",
     "db 1\ndb 1 , < 2 >\ndb 3\n", {}},
    {"IRP without items", "irp x\n db x\n endm\n irpc c\n db c\n endm\n nop\n", "nop\n", {}},
    {"comments", "m macro a\n nop ;; gone a\n nop ; kept a\n endm\n m 1\n", "nop\nnop ; kept a\n", {}},
    {"& joins, && is one &", "m macro p\n x&p equ 1&&2\n @ endm\n m 3\n", "x3 equ 1 & 2\n", {}},
    {"nested definitions take outer arguments", "o macro p\n i macro q\n db p,q,x&q\n endm\n endm\n o 5\n i 6\n",
     "db 5 , 6 , x6\n", {}},
    {"arguments of inner calls", "ma macro x\n db x\n endm\n mb macro y\n ma y+1\n endm\n mb 7\n", "db 7 + 1\n", {}},
    {"LOCAL of a nested REPT", "m macro\n rept 2\n local l\n l: nop\n endm\n endm\n m\n", "??0000 : nop\n??0001 : nop\n", {}},
    {"PSECT keeps local", "m macro\n psect text,local\n endm\n m\n", "psect text , local\n", {}},
    {"text before ENDM", "m macro\n nop\n lbl: endm junk\n m\n", "nop\nlbl :\n", {}},
    {"label and operand calls", "m macro\n 5\n endm\n e macro\n endm\n lbl: m\n movlw m\n e\n nop\n",
     "lbl : 5\nmovlw 5\nnop\n", {}},
    {"end of input in a definition", "m macro\n nop\n", "", {791}},
    {"redefinition", "m macro\n nop\n endm\n m macro\n nop\n endm\n m macro\n clrw\n endm\n m\n", "clrw\n", {858, 858, 1260}},
    {"redefinition during its own expansion", "m macro\n nop\n m macro\n clrw\n endm\n endm\n m\n m\n", "nop\nclrw\n",
     {858, 1260}},
    {"macro name as EQU", "m macro\n endm\n m equ 1\n", "m equ 1\n", {843}},
    {"ENDM and EXITM reach the parser", " local x\n endm\n exitm\n nop\n", "endm\nexitm\nnop\n", {1298}},
    {"EXITM is copied into the body", "m macro\n exitm\n nop\n endm\n m\n", "exitm\nnop\n", {}},
    {"LOCAL errors", "m macro a\n local a, 1x, l\n db l\n endm\n m\n", "db ??0000\n", {798, 797}},
    {"bad parameter", "m macro a,1\n db a\n endm\n m 2\n", "db 2\n", {876}},
    {"unterminated argument", "m macro a\n db a\n endm\n m <1,2\n", "db 1 , 2\n", {793}},
    {"mark bytes in a source file", "db 1\x7f\x05,2\n db 3\x7f\n", "db 1 , 2\ndb 3\n", {}},
    {"mark bytes in a source body", "m macro a\n db a\x7f\x01 2\x7f\n endm\n m 1\n", "db 1 2\n", {}},
    {"binary recursion stops", "r macro\n r\n r\n endm\n r\n nop\n r\n", "nop\n", {769, 769}},
};

TEST(Macro, Expansions) {
  for (const Case &c : CASES) {
    MacroRun r;
    EXPECT_EQ(r.run(c.src), c.tokens) << c.name;
    EXPECT_EQ(r.t.message_numbers(), c.msgs) << c.name;
  }
}

TEST(Macro, RecursionUnderFalseIfReachesTheLimit) {
  MacroRun r;
  std::string out = r.run("r macro\n if 0\n r\n endif\n endm\n r\n nop\n");
  std::string expect;
  for (unsigned i = 0; i < MACRO_FRAMES; ++i) expect += "if 0\n";
  for (unsigned i = 0; i < MACRO_FRAMES; ++i) expect += "endif\n";
  EXPECT_EQ(out, expect + "nop\n");
  EXPECT_EQ(r.t.message_numbers(), std::vector<int>{769});
  EXPECT_EQ(r.as.mac.depth, 0u);
}

TEST(Macro, ListingFlagFollowsListExpansions) {
  for (bool expand : {false, true}) {
    MacroRun r;
    r.as.opt.list_expansions = expand;
    r.as.opt.listing = true;
    EXPECT_EQ(r.run("m macro\n nop\n endm\n m\n rept 1\n clrw\n endm\n daw\n"), "nop\nclrw\ndaw\n");
    EXPECT_EQ(r.listed, (std::vector<bool>{expand, expand, true}));
  }
}

// 127 parameters and 127 LOCAL names fit the mark indexes; further names draw one error each
// list and are left as plain names.
TEST(Macro, ParameterAndLocalLimits) {
  std::string params, args, locals;
  for (int i = 0; i < 130; ++i) {
    params += (i ? ",p" : "p") + std::to_string(i);
    args += (i ? "," : "") + std::to_string(i);
    locals += (i ? ",l" : "l") + std::to_string(i);
  }
  MacroRun r;
  EXPECT_EQ(r.run("m macro " + params + "\n db p0,p126,p127\n endm\n m " + args + "\n"), "db 0 , 126 , p127\n");
  EXPECT_EQ(r.t.message_numbers(), std::vector<int>{876});
  MacroRun q;
  EXPECT_EQ(q.run("m macro\n local " + locals + "\n db l0,l126,l127\n endm\n m\n m\n"),
            "db ??0000 , ??0126 , l127\ndb ??0127 , ??0253 , l127\n");
  EXPECT_EQ(q.t.message_numbers(), std::vector<int>{797});
}

// A definition begun by substituted text inside an expansion reads on past the end of that
// expansion's body into the lines after the call.
TEST(Macro, DefinitionOutlivesItsExpansion) {
  MacroRun r;
  EXPECT_EQ(r.run("o macro a\n a\n endm\n o <rept 2>\n nop\n endm\n o <m macro x>\n db x\n endm\n m 5\n daw\n"),
            "nop\nnop\ndb 5\ndaw\n");
  EXPECT_TRUE(r.t.message_numbers().empty());
  EXPECT_EQ(r.as.mac.depth, 0u);
}

TEST(Macro, LargeInputs) {
  MacroRun r;
  std::string body;
  for (int i = 0; i < 20000; ++i) body += " nop ; " + std::string(40, 'c') + "\n";  // about 1 MB
  std::string arg(100000, 'x');
  std::string out = r.run("m macro a\n" + body + " db a\n endm\n m " + arg + "\n");
  EXPECT_EQ(out.size(), 20000 * (3 + 1 + 42 + 1) + 3 + TOKEN_MAX + 1);
  EXPECT_EQ(r.t.message_numbers(), std::vector<int>{844});  // the name is cut
}

}  // namespace
