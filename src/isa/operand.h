// Instruction operands: the operand syntax of every instruction form, the availability and
// extended-set checks, FSR numbers, and the choice between banked and access-bank addressing.
#pragma once

#include <cstdint>

#include "input/lexutil.h"
#include "lang/expr.h"

struct Assembly;
struct Keyword;
struct Statement;

// What operand reading needs from the grammar: the tokens of the current line, expressions and
// the statement node. expect() and fail() end the line with a syntax error (876, the rest of
// the line discarded); report_syntax_error() reports 876 and reading goes on.
class OperandReader {
 public:
  virtual uint16_t peek() = 0;
  virtual Token shift() = 0;
  virtual bool accept(uint16_t kind) = 0;
  virtual Token expect(uint16_t kind) = 0;
  // An expression, folded.
  virtual Value value() = 0;
  // An expression whose first token, a prefix word (kind, kw), was already shifted; folded.
  virtual Value value_after_prefix(uint16_t kind, const Keyword *kw) = 0;
  virtual void report_syntax_error() = 0;
  [[noreturn]] virtual void fail() = 0;
  // A new statement of `kind` appended to the current psect's list.
  virtual Statement *node(uint32_t kind) = 0;

 protected:
  ~OperandReader() = default;
};

// Reads the operands of instruction `kind` (keyword row kw, its token already shifted) and
// appends its statement, with the operand checks. The end of the line is left to the grammar.
void operand_read(Assembly &as, OperandReader &in, uint16_t kind, const Keyword *kw);

