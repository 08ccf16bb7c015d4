// Fuzz target: configuration data text, then CONFIG programming against it.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "config/config.h"
#include "driver/assembly.h"
#include "../unit/test_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view text(reinterpret_cast<const char *>(data), size);
  TestContext t;
  Assembly &as = t.as;
  msg_set_error_limit(as.msg, 1 << 30);
  try {
    cfg_load_text(as, text, "fuzz.cfgdata");
    as.cfg.ignore_cmsgs = false;
    // Program every register and setting once by literal and once by its first value.
    for (ConfigRegister *r : as.cfg.order) {
      cfg_apply_reg_literal(as, *r, r->defvalue ^ 0x5A);
      for (auto &s : r->settings) {
        if (!s->values.empty()) cfg_apply_value(as, *s, *s->values.front());
        cfg_apply_setting_literal(as, *s, 3);
      }
      cfg_emit_msgs(as, *r);
    }
    cfg_sort_regs(as);
  } catch (const AsmExit &) {
  }
  return 0;
}
