// The value printer: a value record as assembler source text that reads back to the same value.
#pragma once

#include <string>

struct Assembly;
struct Value;

// Appends the text of v to out. Constants are decimal, or "$%llX" when hexadecimal output is
// selected (-H). With register_names, an absolute value that is the address of a core SFR is
// printed as the register's name.
//
// All binary operators share one precedence and associate to the left, so only a right operand
// that is itself an operation (or a leaf with an offset) is put in parentheses; unary operators
// always enclose their operand.
void valprint(Assembly &as, std::string &out, const Value &v, bool register_names = false);
