// The run context the benchmark programs share: messages go to a string, the reader is set up
// on one source file, and with a device name its chip info and SFRs are loaded first.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "driver/assembly.h"
#include "driver/run.h"
#include "input/lexutil.h"
#include "input/macro.h"
#include "lang/sym.h"

// Prepares `as` to read `source`; false (the messages printed) when the device does not load.
// error_limit 0 keeps the default limit.
inline bool bench_context(Assembly &as, std::ostringstream &err, const char *source, const char *device = nullptr,
                          const char *chipinfo = nullptr, int error_limit = 1 << 30) {
  as.io.err = &err;
  as.msg.err = &err;
  msg_init(as.msg, nullptr);
  if (error_limit) msg_set_error_limit(as.msg, error_limit);
  run_set_message_hook(as);
  if (device) {
    as.opt.device_name = device;
    try {
      chipinfo_load(as, as.opt.device_name, chipinfo ? chipinfo : "");
      sfr_init(as);
    } catch (const AsmExit &) {
      std::fputs(err.str().c_str(), stderr);
      return false;
    }
  }
  sym_init(as);
  as.opt.source_files = {source};
  lex_init(as);
  macro_init(as);
  return true;
}
