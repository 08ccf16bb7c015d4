// The debug trace of --kvdebug=: a trace file and the internal consistency checks.
#pragma once

#include <ostream>
#include <string_view>

struct Assembly;

// Configures from "kvdebug=<item>,<item>...": "trace=<file>" copies the arguments and every
// message line to <file>; "assert=warn|error|fatal" turns the consistency checks on; "stmts"
// prints every psect's statement list after the IF pass.
void debug_configure(Assembly &as, std::string_view spec);

// Writes every psect's statements, one line each, in psect creation order:
//   psect "<name>"
//   <serial> <kind> sub=<hex> dest=<d> acc=<a> flags=<hex> [o1=<mode>:<value>] [o2=...]
//       [label=<name>] [tlab=<n>] [num=<n>] [text="<t>"] [data=<v>,...] [eol="<c>"] [hidden]
// then "order:" and the psects in output order (which checks the "with" chains).
void debug_dump_statements(Assembly &as, std::ostream &out);
