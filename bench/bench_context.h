// The run context the benchmark programs share: the run's stages set it up on one source file
// as the program does, with the messages going to a string.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

#include "driver/assembly.h"
#include "driver/run.h"

// Sets `as` up to read `source` for the device (its chip info and SFRs loaded) and opens the
// reader; false, with the messages printed, when a fatal message ends the setup. error_limit 0
// keeps the default limit.
inline bool bench_context(Assembly &as, std::ostringstream &err, const char *source, const char *device = "ZEL18A44",
                          int error_limit = 1 << 30) {
  as.io.err = &err;
  as.msg.err = &err;
  try {
    run_start(as);
    run_setup(as, {"aszel18", std::string("-C") + ASZEL18_CHIPINFO, std::string("-mcpu=") + device, source});
    if (error_limit) msg_set_error_limit(as.msg, error_limit);
    run_open_input(as);
  } catch (const AsmExit &) {
    std::fputs(err.str().c_str(), stderr);
    return false;
  }
  return true;
}
