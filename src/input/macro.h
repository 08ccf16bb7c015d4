// Macros and repetition: MACRO, REPT, IRP and IRPC definitions read as text with substitution
// marks, and their expansion pushed back into the reader.
#pragma once

#include <cstdint>

struct Assembly;
struct Symbol;

// Installs the reader hooks (expansion, end of body, substitution marks) for a run.
void macro_init(Assembly &as);

// After "NAME macro": reads the formal parameters and the body of macro m (the parser has
// checked the name and made it a macro).
void macro_define(Assembly &as, Symbol *m);
// After "rept expression" (count already checked: 799 and 1 for a bad one), "irp" and "irpc":
// reads the definition and expands it at once.
void macro_define_rept(Assembly &as, int64_t count);
void macro_define_irp(Assembly &as);
void macro_define_irpc(Assembly &as);
// LOCAL outside a definition: 1298, the line is discarded.
void macro_local_outside(Assembly &as);
