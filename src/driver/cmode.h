// Compatibility operand rewriting for code from other tool suites (--cmode bits 2, 4, 8).
#pragma once

struct Assembly;

// In the optimizable psects, on statements whose end-of-line comment begins ";#": a MOVLB of a
// label address takes its high byte, a banked file-register operand takes the low byte of
// each label address in it.
void cmode_rewrite_operands(Assembly &as);
