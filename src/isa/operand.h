// Instruction operands: availability and extended-set checks, FSR numbers, and the choice
// between banked and access-bank addressing.
#pragma once

#include <cstdint>

#include "lang/expr.h"

struct Assembly;
struct Keyword;
struct Statement;

// 849 when the device lacks the instruction (ADDFSR and CALLW pass in extended mode).
void operand_check_available(Assembly &as, const Keyword *kw);
// 2064 when the extended instruction set is off.
void operand_check_extended(Assembly &as);
// True when v is an absolute FSR number 0..3.
bool operand_fsr_ok(const Value &v);
// The RAM access for file operand v with the access given in the source (0, BANKED, ACCESS):
// the access-bank mark, the given access, then the address (1224, 1522).
uint32_t operand_select_access(Assembly &as, const Value &v, uint32_t given);
