// The statement grammar: a recursive-descent parser over the lexer's tokens, one line at a time,
// with the directive actions and the syntax-error recovery of the line grammar.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/alert.h"
#include "input/lexutil.h"
#include "lang/expr.h"

struct Assembly;
struct Symbol;

// Parser stack limit: nesting beyond this many stack entries ends the parse with "memory
// exhausted". A label costs 3 entries (its line is still open), a parenthesis or prefix
// operator 5, so up to 3330 labels on one line and 1999 nested parentheses are accepted.
constexpr unsigned PARSE_STACK_LIMIT = 10000;

// One DABS directive.
struct DabsEntry {
  uint8_t space = 0;
  uint32_t address = 0;
  uint32_t size = 0;
  const char *name = "";  // interned; "" when none
};

// What the source declares for the outputs beside its statements: the parser writes it, the
// object writer, the assembly text and the listing read it.
struct Declarations {
  const char *fnconf[3] = {nullptr, nullptr, nullptr};  // FNCONF psect and prefixes
  uint16_t fnconf_number = 0;          // FNCONF's optional number
  std::vector<std::vector<const char *>> fnalign;  // FNALIGN groups
  std::vector<DabsEntry> dabs;         // DABS ranges in order
  bool have_start = false;             // END with an operand was seen
  Value start;                         // the start address
  MsgPos end_pos;                      // where the END line with the start address was read
  const char *title = nullptr;         // TITLE text
  const char *subtitle = nullptr;      // SUBTITLE text
};

struct ParserState {
  // Directive state.
  std::vector<uint8_t> asmopt_stack;   // saved ASMOPT flag bytes
  std::vector<uint32_t> dbgsrc_stack;  // saved DEBUG_SOURCE states
  bool line_follows = false;           // LINE "#": statements take the input line
  bool generated = false;              // LINE or FILE was used: compiler-generated input
  bool ended = false;                  // the END line was read

  // Parse machinery.
  Token look;                          // the lookahead token
  bool has_look = false;
  std::string comment;                 // text of a COMMENT lookahead (the line may be replaced)
  unsigned errflag = 0;                // tokens still to shift before another 876 is reported
  bool shifted = false;                // the last token taken counts as shifted at the next read
  unsigned depth = 0;                  // model of the parser stack depth
  bool stop = false;                   // parsing has ended (end of input in recovery, overflow)
};

// Runs the grammar over the whole input: returns after the END line or at the end of input.
// The reader (lex_init), the macro processor (macro_init) and the listing controls
// (lst_init_controls) are prepared by the caller. Fills as.decl.
void parse(Assembly &as);
