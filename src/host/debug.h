// The debug trace of --kvdebug=: a trace file and the internal consistency checks.
#pragma once

#include <string_view>

struct Assembly;

// Configures from "kvdebug=<item>,<item>...": "trace=<file>" copies the arguments and every
// message line to <file>; "assert=warn|error|fatal" turns the consistency checks on.
void debug_configure(Assembly &as, std::string_view spec);
