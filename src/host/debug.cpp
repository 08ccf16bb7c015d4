// Debug trace configuration.
#include "host/debug.h"

#include <fstream>

#include "driver/assembly.h"

void debug_configure(Assembly &as, std::string_view spec) {
  if (spec.substr(0, 8) == "kvdebug=") spec.remove_prefix(8);
  while (!spec.empty()) {
    size_t comma = spec.find(',');
    std::string_view item = spec.substr(0, comma);
    spec = comma == std::string_view::npos ? std::string_view() : spec.substr(comma + 1);
    if (item.substr(0, 6) == "trace=") {
      std::string name(item.substr(6));
      auto f = std::make_unique<std::ofstream>(name, std::ios::out | std::ios::trunc);
      if (!f->is_open()) {
        msg_report(as.msg, MSG_CANT_CREATE_FILE, "debug trace", name);
        continue;
      }
      as.drv.trace = std::move(f);
      as.msg.trace = as.drv.trace.get();
    } else if (item == "assert=warn") {
      as.msg.check_msg = MSG_ASSERT_WARNING;
    } else if (item == "assert=error") {
      as.msg.check_msg = MSG_ASSERT_ERROR;
    } else if (item == "assert=fatal") {
      as.msg.check_msg = MSG_ASSERT_FATAL;
    }
  }
  if (as.drv.trace) {
    std::ostream &t = *as.drv.trace;
    if (!as.drv.cmdfile.empty()) t << "command file: " << as.drv.cmdfile << "\n";
    t << "arguments:";
    for (size_t i = 1; i < as.drv.args.size(); ++i) t << " " << as.drv.args[i];
    t << "\n";
  }
}
