// Device facts for zel18sim, taken from the assembler's device record.
#include "device.h"

#include <sstream>

#include "device/chip.h"
#include "device/chipinfo.h"
#include "driver/assembly.h"

bool sim_load_device(const std::string &device, const std::string &chipinfo, const std::string &self_path,
                     SimDevice &dev, std::string &why) {
  Assembly as;
  std::ostringstream msgs;
  as.io.err = &msgs;
  as.msg.err = &msgs;
  as.host.self_path = self_path;
  msg_init(as.msg, nullptr);
  as.opt.device_name = device;
  try {
    chipinfo_load(as, device, chipinfo);
  } catch (const AsmExit &) {
  }
  const ChipInfo *c = as.dev.chip.get();
  if (!c || as.msg.errors || !chip_arch_is_zel18(c->arch)) {
    why = msgs.str();
    while (!why.empty() && why.back() == '\n') why.pop_back();
    if (why.empty()) why = "not a ZEL18 device";
    return false;
  }
  dev.name = c->c_name ? c->c_name : device;
  dev.extended = (c->arch & ARCH_EXTENDED_ADDRESS) != 0;
  dev.rom_size = static_cast<uint32_t>(c->rom_high + 1);
  dev.ram_size = c->ram_size;
  dev.bsr_bits = c->bsr_bits;
  dev.access_ram_end = c->access_ram.present ? c->access_ram.hi + 1 : 0x60;
  dev.sfr_page = c->access_sfr.present ? (c->access_sfr.hi & ~0xFFu) : (dev.extended ? 0x3F00 : 0xF00);
  dev.gpr_end = c->sfr_banks.r.empty() ? dev.sfr_page : c->sfr_banks.r.front().lo;
  dev.stack_depth = c->stack_depth ? c->stack_depth : 31;
  if (const ChipSfr *s = chip_find_sfr(*c, "INTCON"); s && s->addr < dev.ram_size) dev.intcon = s->addr;
  // The core registers must lie in data memory, and memories must be of a size this family has.
  if (dev.ram_size > 0x10000 || dev.sfr_page + 0x100 > dev.ram_size || dev.rom_size > 0x200000 || dev.rom_size < 2 ||
      dev.gpr_end > dev.ram_size) {
    why = "a memory layout the simulator does not know (RAMSIZE, SFRCOMMON, ROMSIZE)";
    return false;
  }
  return true;
}
