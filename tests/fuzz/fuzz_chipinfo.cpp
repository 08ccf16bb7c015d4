// Fuzz target: chip-info text read for a device, then the device queries and SFR binding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "device/chipinfo.h"
#include "driver/assembly.h"
#include "../unit/test_context.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string_view text(reinterpret_cast<const char *>(data), size);
  TestContext t;
  Assembly &as = t.as;
  try {
    auto chip = std::make_unique<ChipInfo>();
    if (chipinfo_parse(as, text, "fuzz.ini", "ZEL18A44", *chip)) {
      as.dev.chip = std::move(chip);
      sfr_init(as);
      chip_widen(*as.dev.chip);
      chip_in_config(as, 0x300000);
      chip_in_access_bank(as, 0x60);
      chip_in_sfr_area(as, 0xF80);
    }
  } catch (const AsmExit &) {
  }
  return 0;
}
