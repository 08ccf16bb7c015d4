// The device record of the selected device and the queries the assembler puts to it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "device/lists.h"
#include "device/sfrs.h"
#include "host/os.h"

struct Assembly;

// Architecture codes. The ZEL18 families have codes from 128 to 1024, the mid-range ones 1 to 64;
// bit 0x100 marks the extended-address variants.
enum ChipArch : int {
  ARCH_NONE = 0,
  ARCH_ZEL12 = 1,
  ARCH_ZEL12E = 2,
  ARCH_ZEL12IE = 4,
  ARCH_ZEL14 = 8,
  ARCH_ZEL14E = 16,
  ARCH_ZEL14EX = 32,
  ARCH_ZEL18 = 128,
  ARCH_ZEL18X = 256,
  ARCH_ZEL18V = 512,
  ARCH_ZEL18XV = 768,
  ARCH_ANY = -1,
  ARCH_EXTENDED_ADDRESS = 0x100,
};

// The recognised chip-info keys, in the file format's order.
enum ChipKey : int {
  CK_SFRFILE, CK_MODULE, CK_JARS, CK_MANUFACTURER, CK_COMPILER, CK_DEBUGGER, CK_DEFAULTMEM,
  CK_DEFAULTREG, CK_ARCHCLASS, CK_MAKE, CK_ALIAS,
  // numeric keys: one hexadecimal number
  CK_RAMSIZE, CK_ROMSIZE, CK_BANKS, CK_DATABANK, CK_SPAREBIT, CK_OSCCAL, CK_OSCCON, CK_FLASH_READ,
  CK_FLASH_WRITE, CK_FLASH_ERASE, CK_STACKDEPTH, CK_PAGESIZE, CK_BANKSIZE, CK_LINEARBASE, CK_PCBITS,
  CK_EEADRBITS, CK_BANKSELBITS, CK_BSRBITS,
  // range keys: lo-hi[,lo-hi...]
  CK_RAMBANK, CK_COMMON, CK_DBT1RAM, CK_DBT1ROM, CK_DBT2RAM, CK_DBT2ROM, CK_DBT3RAM, CK_DBT3ROM,
  CK_FULLDBTROM, CK_FULLDBTRAM, CK_FLASHDATA, CK_VOLSFRS, CK_EEPROM, CK_CONFIG, CK_IDLOC, CK_GPRBANKS,
  CK_SFRBANKS, CK_EXTMEM, CK_CFGMEM, CK_USERIDMEM, CK_DEVIDMEM, CK_SFRCOMMON,
  // keys with forms of their own, or plain text
  CK_PROCID, CK_START, CK_LIB, CK_ERRATA, CK_FAMILY, CK_FLASH_EW, CK_PLIB, CK_IVTBASE, CK_INTSTAT,
  CK_INTSRC, CK_IVTENABLE, CK_SFR, CK_SFRFLD, CK_PROGMEM, CK_FLASHTYPE, CK_OSCHOW, CK_EEPROMINT,
  CK_CFGPROG, CK_CONFIGPROG, CK_USERIDPROG, CK_IDLOCPROG,
  CK_COUNT,
  CK_FIRST_NUMERIC = CK_RAMSIZE,
  CK_FIRST_RANGE = CK_RAMBANK,
  CK_FIRST_OTHER = CK_PROCID,
};

// The key's name as written in files (upper case); null for an invalid key.
const char *chip_key_name(int key);
// The key of a name, case ignored; -1 if the name is not a recognised key.
int chip_key_lookup(std::string_view name);

// One address range of the device record; present is false when the key was absent.
struct ChipRange {
  bool present = false;
  uint32_t lo = 0;
  uint32_t hi = 0;
  uint32_t size() const { return present ? hi - lo + 1 : 0; }
  bool contains(uint64_t a) const { return present && lo <= a && a <= hi; }
};

// How configuration or user-ID registers are programmed together.
struct ProgSpec {
  bool defined = false;   // the key is present
  unsigned numcregs = 0;  // registers programmed together as one unit
  unsigned delta = 0;     // bytes per register
  unsigned alignment = 0; // bytes per programming unit
};

// A special function register of the device.
struct ChipSfr {
  const char *name;  // as written in the file (interned)
  uint32_t addr;
  long line;         // where it was defined
};

// The interrupt vector table description, for devices that have one.
struct ChipInterrupts {
  bool present = false;
  uint32_t stat_addr = 0;        // INTSTAT: status register address,
  unsigned stat_bit = 0;         //   first bit,
  unsigned stat_width = 0;       //   and width of the status field
  std::array<uint32_t, 6> ivtbase{};  // IVTBASE: the six address values
  uint32_t enable_addr = 0;      // IVTENABLE: address and mask of the enabling bit
  uint32_t enable_mask = 0;
  struct Source {
    const char *name;  // interrupt source (interned)
    unsigned vector;   // its vector number
  };
  std::vector<Source> sources;  // INTSRC, in file order
};

struct ChipInfo {
  const char *c_name = nullptr;   // section name (interned)
  const char *c_file = nullptr;   // chip-info file path (interned)
  std::string alias, make;        // ALIAS, MAKE
  int arch = ARCH_NONE;           // architecture code
  uint32_t ram_size = 0;          // RAMSIZE; for the ZEL18 families 256 * 2^BSRBITS
  uint64_t rom_high = 0;          // ROMSIZE - 1; for the ZEL18 families the program-address limit
  unsigned stack_depth = 31;      // STACKDEPTH, 31 when absent or 0
  unsigned pc_bits = 0;           // PCBITS
  unsigned eeadr_bits = 0;        // EEADRBITS
  unsigned bsr_bits = 0;          // BSRBITS
  ChipRange access_ram;           // COMMON
  ChipRange access_sfr;           // SFRCOMMON
  RangeList gpr_banks;            // derived from the bank layout; replaces GPRBANKS
  RangeList sfr_banks;            // SFRBANKS, touching ranges joined
  RangeList volatile_sfrs;        // VOLSFRS
  ChipRange eeprom;               // EEPROM, high end from EEADRBITS
  ChipRange extmem;               // EXTMEM
  ChipRange cfgmem;               // CFGMEM
  ChipRange useridmem;            // USERIDMEM
  ChipRange devidmem;             // DEVIDMEM
  RangeList dbt2ram, dbt2rom, fulldbtram, fulldbtrom;  // debugger reservations
  std::string procid;             // PROCID
  std::string errata;             // ERRATA: default errata list
  std::string family;             // FAMILY
  bool plib = false;              // PLIB nonzero
  bool has_flash_ew = false;      // FLASH_EW present
  uint32_t flash_erase = 0;       // FLASH_EW: erase size,
  uint32_t flash_write = 0;       //   write size
  ProgSpec cfgprog;               // CFGPROG
  ProgSpec useridprog;            // USERIDPROG
  std::vector<ChipSfr> sfrs;      // SFR entries in file order
  std::vector<uint32_t> sfr_order;  // indices into sfrs by name (case ignored), the first of equal names
  ChipInterrupts interrupts;      // INTSRC, INTSTAT, IVTBASE, IVTENABLE
  bool widened = false;           // --maxizel was applied
};

// A device record that a program running many assemblies in one process (a fuzzer) has
// loaded once, with what chipinfo_load was asked and the file's identity. The record, and the
// texts its interned names point to, must outlive the runs that use it.
struct PreloadedChip {
  std::string device, path;
  FileId id;
  const ChipInfo *chip = nullptr;
};

// Device state of one run: the loaded record and the core SFR table bound to it.
struct DeviceState {
  std::unique_ptr<ChipInfo> chip;  // null until a device is loaded
  SfrState sfr;
  // Loading a device and file found here copies that record instead of reading the file.
  const std::vector<PreloadedChip> *preloaded = nullptr;
};

// Whether a code belongs to the ZEL18 families or to the mid-range families.
constexpr bool chip_arch_is_zel18(int code) { return code >= 128 && code <= 1024; }
constexpr bool chip_arch_is_midrange(int code) { return code >= 1 && code <= 64; }

// The code of an ARCH value (case ignored); ARCH_NONE if unknown.
int chip_arch_lookup(std::string_view text);

// --maxizel: widens a ZEL18-family record to the largest memory its family can address.
// Program memory becomes the whole 2 MiB program space (PCBITS 0x14, limit 0x200000, or the
// external memory's end if higher); data memory every bank below the SFR area (BSRBITS 4 for
// ZEL18 and ZEL18V, 6 for ZEL18X and ZEL18XV), with the GPR banks derived again; an EEPROM
// grows to 1 KiB (EEADRBITS 0xA). Nothing shrinks; devices without EEPROM get none; other
// families are left as they are.
void chip_widen(ChipInfo &c);

// Recomputes the GPR banks: all banks of the BSR width minus the access and SFR areas.
void chip_derive_gpr_banks(ChipInfo &c);

// The queries below report 814 and answer 0, false or nothing when no device is loaded.
const ChipInfo *chip_info(Assembly &as);  // the whole record
int chip_arch(Assembly &as);
bool chip_has_arch(Assembly &as, int mask);
const char *chip_name(Assembly &as);
const char *chip_arch_name(Assembly &as, int code);  // "ANY" for -1, null for unknown codes
uint32_t chip_extmem_base(Assembly &as);
bool chip_in_userid(Assembly &as, uint64_t addr);
uint32_t chip_userid_base(Assembly &as);
bool chip_in_config(Assembly &as, uint64_t addr);
uint32_t chip_config_base(Assembly &as);
bool chip_in_access_sfr(Assembly &as, uint64_t addr);
bool chip_in_access_bank(Assembly &as, uint64_t addr);
bool chip_access_sfr_offset(Assembly &as, uint64_t addr);
bool chip_in_sfr_area(Assembly &as, uint64_t addr);  // SFR banks or access SFRs
ProgSpec chip_cfgprog(Assembly &as);
ProgSpec chip_useridprog(Assembly &as);
// The device's SFR of that name (case ignored), or null; no device check.
const ChipSfr *chip_find_sfr(const ChipInfo &c, std::string_view name);
// Makes sfr_order from sfrs; returns the entries whose name an earlier entry has, in file order.
std::vector<uint32_t> chip_index_sfrs(ChipInfo &c);
// The address of the device's SFR of that name (case ignored).
std::optional<uint32_t> chip_sfr_addr(Assembly &as, std::string_view name);
