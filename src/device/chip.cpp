// The device record: key names, architecture codes, derived memory layout and the queries.
#include "device/chip.h"

#include <algorithm>

#include "driver/assembly.h"
#include "support/ascii.h"

namespace {

constexpr const char *KEY_NAMES[] = {
    "SFRFILE",    "MODULE",      "JARS",      "MANUFACTURER", "COMPILER",    "DEBUGGER",   "DEFAULTMEM",
    "DEFAULTREG", "ARCHCLASS",   "MAKE",      "ALIAS",        "RAMSIZE",     "ROMSIZE",    "BANKS",
    "DATABANK",   "SPAREBIT",    "OSCCAL",    "OSCCON",       "FLASH_READ",  "FLASH_WRITE", "FLASH_ERASE",
    "STACKDEPTH", "PAGESIZE",    "BANKSIZE",  "LINEARBASE",   "PCBITS",      "EEADRBITS",  "BANKSELBITS",
    "BSRBITS",    "RAMBANK",     "COMMON",    "DBT1RAM",      "DBT1ROM",     "DBT2RAM",    "DBT2ROM",
    "DBT3RAM",    "DBT3ROM",     "FULLDBTROM", "FULLDBTRAM",  "FLASHDATA",   "VOLSFRS",    "EEPROM",
    "CONFIG",     "IDLOC",       "GPRBANKS",  "SFRBANKS",     "EXTMEM",      "CFGMEM",     "USERIDMEM",
    "DEVIDMEM",   "SFRCOMMON",   "PROCID",    "START",        "LIB",         "ERRATA",     "FAMILY",
    "FLASH_EW",   "PLIB",        "IVTBASE",   "INTSTAT",      "INTSRC",      "IVTENABLE",  "SFR",
    "SFRFLD",     "PROGMEM",     "FLASHTYPE", "OSCHOW",       "EEPROMINT",   "CFGPROG",    "CONFIGPROG",
    "USERIDPROG", "IDLOCPROG",
};
static_assert(std::size(KEY_NAMES) == CK_COUNT && CK_COUNT == 72, "one name per chip-info key");
static_assert(CK_FIRST_RANGE - CK_FIRST_NUMERIC == 18 && CK_FIRST_OTHER - CK_FIRST_RANGE == 22);

struct ArchName {
  const char *name;
  int code;
};
constexpr ArchName ARCH_NAMES[] = {
    {"ZEL12", ARCH_ZEL12}, {"ZEL12E", ARCH_ZEL12E}, {"ZEL12IE", ARCH_ZEL12IE}, {"ZEL14", ARCH_ZEL14},
    {"ZEL14E", ARCH_ZEL14E}, {"ZEL14EX", ARCH_ZEL14EX}, {"ZEL18", ARCH_ZEL18}, {"ZEL18X", ARCH_ZEL18X},
    {"ZEL18V", ARCH_ZEL18V}, {"ZEL18XV", ARCH_ZEL18XV}, {"ANY", ARCH_ANY},
};

// Name order with case ignored.
bool iless(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(ascii_upper(a[i])), y = static_cast<unsigned char>(ascii_upper(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

// The record, or 814 and null when no device is loaded.
const ChipInfo *loaded(Assembly &as) {
  if (!as.dev.chip) {
    msg_report(as.msg, MSG_NO_PROCESSOR);
    return nullptr;
  }
  return as.dev.chip.get();
}

// Widest memory of each ZEL18 family, used by --maxizel.
struct FamilyMax {
  int arch;
  unsigned pc_bits;    // program space 2^(pc_bits + 1) bytes
  unsigned bsr_bits;   // data space 256 * 2^bsr_bits bytes, SFR area on top
  unsigned eeadr_bits; // EEPROM size 2^eeadr_bits bytes
};
constexpr FamilyMax FAMILY_MAX[] = {
    {ARCH_ZEL18, 0x14, 4, 10},
    {ARCH_ZEL18V, 0x14, 4, 10},
    {ARCH_ZEL18X, 0x14, 6, 10},
    {ARCH_ZEL18XV, 0x14, 6, 10},
};

}  // namespace

const char *chip_key_name(int key) { return key >= 0 && key < CK_COUNT ? KEY_NAMES[key] : nullptr; }

int chip_key_lookup(std::string_view name) {
  for (int k = 0; k < CK_COUNT; ++k)
    if (iequal(name, KEY_NAMES[k])) return k;
  return -1;
}

int chip_arch_lookup(std::string_view text) {
  for (const ArchName &a : ARCH_NAMES)
    if (iequal(text, a.name)) return a.code;
  return ARCH_NONE;
}

const ChipSfr *chip_find_sfr(const ChipInfo &c, std::string_view name) {
  auto it = std::lower_bound(c.sfr_order.begin(), c.sfr_order.end(), name,
                             [&](uint32_t i, std::string_view n) { return iless(c.sfrs[i].name, n); });
  return it != c.sfr_order.end() && iequal(c.sfrs[*it].name, name) ? &c.sfrs[*it] : nullptr;
}

std::vector<uint32_t> chip_index_sfrs(ChipInfo &c) {
  std::vector<uint32_t> &order = c.sfr_order;
  order.resize(c.sfrs.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  auto less = [&](uint32_t a, uint32_t b) { return iless(c.sfrs[a].name, c.sfrs[b].name); };
  std::stable_sort(order.begin(), order.end(), less);
  // Equal names are adjacent in file order: the first of each run stays.
  std::vector<uint32_t> repeats;
  size_t kept = 0;
  for (uint32_t i : order) {
    if (kept && !less(order[kept - 1], i)) repeats.push_back(i);
    else order[kept++] = i;
  }
  order.resize(kept);
  std::sort(repeats.begin(), repeats.end());
  return repeats;
}

void chip_derive_gpr_banks(ChipInfo &c) {
  RangeList banks, reserved;
  uint32_t top = static_cast<uint32_t>(std::min<uint64_t>((uint64_t{256} << c.bsr_bits) - 1, UINT32_MAX));
  range_add(banks, 0, top, 256, false);
  // Reserved ranges are clipped to the banks, so a wide range in the file costs nothing.
  auto reserve = [&](uint32_t lo, uint32_t hi) {
    if (lo <= top) range_add(reserved, lo, std::min(hi, top), 256, false);
  };
  if (c.access_ram.present) reserve(c.access_ram.lo, c.access_ram.hi);
  if (c.access_sfr.present) reserve(c.access_sfr.lo, c.access_sfr.hi);
  for (const Range &r : c.sfr_banks.r) reserve(r.lo, r.hi);
  c.gpr_banks = range_difference(banks, reserved);
}

void chip_widen(ChipInfo &c) {
  for (const FamilyMax &f : FAMILY_MAX) {
    if (f.arch != c.arch) continue;
    c.pc_bits = std::max(c.pc_bits, f.pc_bits);
    uint64_t limit = uint64_t{1} << (c.pc_bits + 1);
    if (c.extmem.present && c.extmem.lo < c.extmem.hi) limit = std::max<uint64_t>(limit, c.extmem.hi);
    c.rom_high = std::max(c.rom_high, limit);
    c.bsr_bits = std::max(c.bsr_bits, f.bsr_bits);
    c.ram_size = 256u << c.bsr_bits;
    chip_derive_gpr_banks(c);
    if (c.eeprom.present && c.eeadr_bits < f.eeadr_bits) {
      uint64_t hi = uint64_t{c.eeprom.lo} + (uint64_t{1} << f.eeadr_bits) - 1;
      if (hi <= UINT32_MAX) {
        c.eeadr_bits = f.eeadr_bits;
        c.eeprom.hi = static_cast<uint32_t>(hi);
      }
    }
    c.widened = true;
  }
}

const ChipInfo *chip_info(Assembly &as) { return loaded(as); }

int chip_arch(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c ? c->arch : 0;
}

bool chip_has_arch(Assembly &as, int mask) {
  const ChipInfo *c = loaded(as);
  return c && (c->arch & mask) != 0;
}

const char *chip_name(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c ? c->c_name : nullptr;
}

const char *chip_arch_name(Assembly &as, int code) {
  if (!loaded(as)) return nullptr;
  for (const ArchName &a : ARCH_NAMES)
    if (a.code == code) return a.name;
  return nullptr;
}

uint32_t chip_extmem_base(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c && c->extmem.present && c->extmem.lo < c->extmem.hi ? c->extmem.lo : 0;
}

bool chip_in_userid(Assembly &as, uint64_t addr) {
  const ChipInfo *c = loaded(as);
  return c && c->useridmem.contains(addr);
}

uint32_t chip_userid_base(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c && c->useridmem.present ? c->useridmem.lo : 0;
}

bool chip_in_config(Assembly &as, uint64_t addr) {
  const ChipInfo *c = loaded(as);
  return c && c->cfgmem.contains(addr);
}

uint32_t chip_config_base(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c && c->cfgmem.present ? c->cfgmem.lo : 0;
}

bool chip_in_access_sfr(Assembly &as, uint64_t addr) {
  const ChipInfo *c = loaded(as);
  return c && chip_arch_is_zel18(c->arch) && c->access_sfr.contains(addr);
}

bool chip_in_access_bank(Assembly &as, uint64_t addr) {
  const ChipInfo *c = loaded(as);
  return c && chip_arch_is_zel18(c->arch) && (c->access_ram.contains(addr) || c->access_sfr.contains(addr));
}

bool chip_access_sfr_offset(Assembly &as, uint64_t addr) {
  const ChipInfo *c = loaded(as);
  if (!c || !chip_arch_is_zel18(c->arch) || !c->access_sfr.present) return false;
  return (c->access_sfr.lo & 0xFFu) <= addr && addr <= (c->access_sfr.hi & 0xFFu);
}

bool chip_in_sfr_area(Assembly &as, uint64_t addr) {
  const ChipInfo *c = loaded(as);
  return c && (range_contains(c->sfr_banks, addr) || c->access_sfr.contains(addr));
}

ProgSpec chip_cfgprog(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c ? c->cfgprog : ProgSpec{};
}

ProgSpec chip_useridprog(Assembly &as) {
  const ChipInfo *c = loaded(as);
  return c ? c->useridprog : ProgSpec{};
}

std::optional<uint32_t> chip_sfr_addr(Assembly &as, std::string_view name) {
  const ChipInfo *c = loaded(as);
  const ChipSfr *r = c ? chip_find_sfr(*c, name) : nullptr;
  if (!r) return std::nullopt;
  return r->addr;
}
