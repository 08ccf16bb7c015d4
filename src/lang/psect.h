// Psects: the flags of the PSECT directive, and the ordering of psects by "with" chains.
#pragma once

#include <cstdint>
#include <vector>

#include "lang/expr.h"

struct Assembly;
struct Symbol;

// Makes psect p current; the pending full-line comments go to it either way.
void psect_enter(Assembly &as, Symbol *p);
// Applies one flag (a PsectFlagWord) to psect p. v is the value of a valued flag (size, limit,
// reloc, delta, space, group); name the class or psect of "class=" / "with=".
void psect_flag(Assembly &as, Symbol *p, unsigned word, Value *v, Symbol *name);
// "optim=" items (PsectFlagWord values of inline, pa, jump, peep, remove, codecov).
void psect_optim(Assembly &as, Symbol *p, const std::vector<unsigned> &items);
// The checks after the last flag: local/global (857), note psects (1519).
void psect_finish(Assembly &as, Symbol *p);
// Every psect in output order: "with" chain depth first, then the newest first; 783 on a cycle.
std::vector<Symbol *> psect_order(Assembly &as);
