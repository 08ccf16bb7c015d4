// Macro processor (being built): definitions are not read yet, so their bodies parse as lines.
#include "input/macro.h"

#include "driver/assembly.h"

void macro_init(Assembly &as) { static_cast<void>(as); }
void macro_define(Assembly &as, Symbol *m) { static_cast<void>(as), static_cast<void>(m); }
void macro_define_rept(Assembly &as, int64_t count) { static_cast<void>(as), static_cast<void>(count); }
void macro_define_irp(Assembly &as) { static_cast<void>(as); }
void macro_define_irpc(Assembly &as) { static_cast<void>(as); }
void macro_local_outside(Assembly &as) {
  msg_report(as.msg, MSG_OUTSIDE_MACRO, "LOCAL");
  lex_skip_line(as);
}
