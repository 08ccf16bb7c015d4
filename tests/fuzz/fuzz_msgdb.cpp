// Fuzz target: message database text, and message texts used as formats.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "driver/alert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view text(reinterpret_cast<const char *>(data), size);
  std::ostringstream err;
  MsgState m;
  m.err = &err;
  msg_init(m, nullptr);
  MessageTable t = msg_parse_db(m, text, "fuzz_msgs.txt");
  // Every parsed text is raised as a message format with a mix of arguments.
  long line = 7;
  msg_set_position(m, "f.as", &line, nullptr, nullptr);
  msg_set_error_limit(m, 1 << 30);
  msg_set_warning_level(m, -100);
  for (const auto &[num, rec] : t.recs) {
    std::string s = fmt_str(rec.text, 1, "two", 3.5, 4ULL, -5LL, 'c');
    try {
      msg_report_typed(m, num, rec.type == MT_FATAL ? "E" : "W", rec.text, "x", 2, 0xFFFFFFFFFFFFULL);
    } catch (const AsmExit &) {
    }
  }
  return 0;
}
