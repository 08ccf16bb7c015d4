// Chip-info reader: file location, line syntax, section selection, key validation and the
// ZEL18 families' post-processing into the device record.
#include "device/chipinfo.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include "device/chip.h"
#include "driver/assembly.h"
#include "host/kvinstdir.h"
#include "host/os.h"
#include "support/ascii.h"

namespace {

constexpr size_t npos = std::string_view::npos;

bool iends_with(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && iequal(s.substr(s.size() - tail.size()), tail);
}

bool is_blank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\f' || ch == '\v'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// A hexadecimal number, "0x" allowed, that fits 32 bits.
bool parse_hex(std::string_view s, uint32_t &out) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  if (s.empty()) return false;
  uint64_t v = 0;
  for (char ch : s) {
    char u = ascii_upper(ch);
    int d = ch >= '0' && ch <= '9' ? ch - '0' : u >= 'A' && u <= 'F' ? u - 'A' + 10 : -1;
    if (d < 0) return false;
    v = v * 16 + static_cast<unsigned>(d);
    if (v > UINT32_MAX) return false;
  }
  out = static_cast<uint32_t>(v);
  return true;
}

// A decimal number that fits 32 bits.
bool parse_dec(std::string_view s, uint32_t &out) {
  if (s.empty()) return false;
  uint64_t v = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return false;
    v = v * 10 + static_cast<unsigned>(ch - '0');
    if (v > UINT32_MAX) return false;
  }
  out = static_cast<uint32_t>(v);
  return true;
}

// Calls f(lo, hi) for each range of "lo-hi[,lo-hi...]"; false on a syntax error or lo > hi.
template <class F>
bool for_each_range(std::string_view s, F f) {
  if (s.empty()) return false;
  for (;;) {
    size_t comma = s.find(',');
    std::string_view item = s.substr(0, comma);
    size_t dash = item.find('-');
    uint32_t lo, hi;
    if (dash == npos || !parse_hex(item.substr(0, dash), lo) || !parse_hex(item.substr(dash + 1), hi) || lo > hi)
      return false;
    f(lo, hi);
    if (comma == npos) return true;
    s.remove_prefix(comma + 1);
  }
}

size_t range_count(std::string_view s) {
  size_t n = 0;
  for_each_range(s, [&](uint32_t, uint32_t) { ++n; });
  return n;
}

// A comma-separated value whose fields follow a pattern: 'x' hexadecimal, 'u' decimal,
// 'n' a nonempty name.
struct Fields {
  size_t count = 0;      // fields present
  bool ok = false;       // count matches and every field is well formed
  uint32_t num[6] = {};  // numeric fields
  std::string_view text[6];
};

Fields split_fields(std::string_view v, std::string_view pattern) {
  Fields f;
  if (v.empty()) {
    f.ok = pattern.empty();
    return f;
  }
  bool good = true;
  for (;;) {
    size_t comma = v.find(',');
    std::string_view item = v.substr(0, comma);
    if (f.count < pattern.size() && f.count < std::size(f.num)) {
      uint32_t &n = f.num[f.count];
      char p = pattern[f.count];
      f.text[f.count] = item;
      good = good && (p == 'x' ? parse_hex(item, n) : p == 'u' ? parse_dec(item, n) : !item.empty());
    }
    ++f.count;
    if (comma == npos) break;
    v.remove_prefix(comma + 1);
  }
  f.ok = good && f.count == pattern.size();
  return f;
}

const char *field_pattern(int key) {
  switch (key) {
  case CK_FLASH_EW: return "xx";
  case CK_INTSTAT: return "xuu";
  case CK_IVTBASE: return "xxxxxx";
  case CK_IVTENABLE: return "xx";
  case CK_INTSRC: return "nu";
  case CK_SFR: return "nx";
  default: return nullptr;
  }
}

bool is_progspec(int key) {
  return key == CK_CFGPROG || key == CK_USERIDPROG || key == CK_CONFIGPROG || key == CK_IDLOCPROG;
}

// "%u,%u,%u", all nonzero, and one unit's registers fit its alignment.
bool parse_progspec(std::string_view v, ProgSpec &p) {
  Fields f = split_fields(v, "uuu");
  if (!f.ok || !f.num[0] || !f.num[1] || !f.num[2]) return false;
  if (uint64_t{f.num[0]} * f.num[1] > f.num[2]) return false;
  p = ProgSpec{true, f.num[0], f.num[1], f.num[2]};
  return true;
}

enum class Scope { GLOBAL, SKIP, SECTION };

struct ChipValue {
  std::string text;  // the value as written
  long line = 0;     // its line in the chip-info file
};
using ChipKeyTable = std::array<std::vector<ChipValue>, CK_COUNT>;

struct Loader {
  Assembly &as;
  const char *file;
  std::string_view device;
  ChipInfo &c;
  ChipKeyTable keys;             // the section's keys: value texts in file order
  ChipKeyTable global_keys;      // keys before the first section

  long line = 0;                 // current line, from 1
  long section_line = 0;         // header line of the selected section
  int arch[2] = {};              // ARCH code: global, section
  std::set<std::string> unknown; // unknown keys already reported
  bool content = false;          // any line that is not blank or a comment
  bool selected = false;
  size_t fallback_pos = npos;    // first line after the first header whose name ends with the device
  long fallback_line = 0;
  std::string_view fallback_name;

  Loader(Assembly &a, const char *f, std::string_view d, ChipInfo &ci) : as(a), file(f), device(d), c(ci) {}

  void syntax() { msg_report(as.msg, MSG_CHIPINFO_SYNTAX, file, line); }

  // Reads lines from pos until end of text, or until the selected section ends.
  void scan(std::string_view text, size_t pos, Scope scope) {
    while (pos < text.size()) {
      size_t nl = text.find('\n', pos);
      size_t end = nl == npos ? text.size() : nl;
      std::string_view s = text.substr(pos, end - pos);
      pos = nl == npos ? text.size() : nl + 1;
      ++line;
      if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
      if (s.size() > CHIPINFO_LINE_MAX) msg_report(as.msg, MSG_CHIPINFO_ERROR, "line too long", file, line);
      while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
      if (s.empty() || s[0] == '#') continue;
      content = true;
      if (scope != Scope::SKIP) {
        for (char ch : s)
          if ((static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\r') || ch == 0x7F) return syntax();
      }
      if (s[0] == '[') {
        if (scope == Scope::SECTION) return;  // the selected section ends here
        size_t close = s.find(']');
        std::string_view name = close == npos ? std::string_view{} : trim(s.substr(1, close - 1));
        if (name.empty()) return syntax();
        scope = Scope::SKIP;
        if (iequal(name, device)) {
          select(name);
          scope = Scope::SECTION;
        } else if (fallback_pos == npos && name.size() > device.size() && iends_with(name, device)) {
          fallback_pos = pos;
          fallback_line = line;
          fallback_name = name;
        }
        continue;
      }
      if (scope != Scope::SKIP) key_line(s, scope == Scope::GLOBAL);
    }
  }

  void select(std::string_view name) {
    selected = true;
    section_line = line;
    c.c_name = as.strings.intern(name);
  }

  // KEY = VALUE: the key ends at "=", blank (and ":" before the first section); the value is
  // the next token, ending at ":", "=" or blank.
  void key_line(std::string_view s, bool global) {
    auto key_end = [global](char ch) { return ch == '=' || ch == ' ' || ch == '\t' || (global && ch == ':'); };
    auto val_delim = [](char ch) { return ch == ':' || ch == '=' || ch == ' ' || ch == '\t'; };
    size_t i = 0;
    while (i < s.size() && !key_end(s[i])) ++i;
    std::string_view key = s.substr(0, i);
    if (key.empty()) return syntax();
    while (i < s.size() && val_delim(s[i])) ++i;
    size_t b = i;
    while (i < s.size() && !val_delim(s[i])) ++i;
    std::string_view value = s.substr(b, i - b);
    while (i < s.size() && val_delim(s[i])) ++i;
    bool extra = i < s.size();

    if (iequal(key, "ARCH")) return arch_line(value, extra, global);
    int k = chip_key_lookup(key);
    if (k < 0) {
      if (unknown.insert(ascii_upper_text(key)).second)
        msg_report(as.msg, MSG_CHIPINFO_UNKNOWN_ATTR, key, file, line);
      return;
    }
    if (!check_value(k, value, extra)) return;
    std::vector<ChipValue> &list = (global ? global_keys : keys)[k];
    if (is_progspec(k) && !list.empty()) {
      msg_report(as.msg, MSG_CHIPINFO_DUP_SPEC, key, file, line);
      return;
    }
    list.push_back(ChipValue{std::string(value), line});
  }

  void arch_line(std::string_view value, bool extra, bool global) {
    int code = chip_arch_lookup(value);
    if (code == ARCH_NONE) {
      msg_report(as.msg, MSG_CHIPINFO_UNKNOWN_ARCH, file, line);
      return;
    }
    if (extra) {
      msg_report(as.msg, MSG_CHIPINFO_EXTRA_ARG, "", "ARCH", file, line);
      return;
    }
    int &slot = arch[global ? 0 : 1];
    if (slot != ARCH_NONE) {
      msg_report(as.msg, MSG_CHIPINFO_DUP_ARCH, file, line);  // the first one stays
      return;
    }
    slot = code;
  }

  // Validates a value by its key's form; false (after the message) when it is bad.
  bool check_value(int k, std::string_view v, bool extra) {
    const char *name = chip_key_name(k);
    if (k >= CK_FIRST_NUMERIC && k < CK_FIRST_RANGE) {
      uint32_t n;
      if (!parse_hex(v, n)) return msg_report(as.msg, MSG_CHIPINFO_BAD_VALUE, name, file, line), false;
    } else if (k >= CK_FIRST_RANGE && k < CK_FIRST_OTHER) {
      if (!for_each_range(v, [](uint32_t, uint32_t) {}))
        return msg_report(as.msg, MSG_CHIPINFO_BAD_RANGE, name, file, line), false;
    } else if (k == CK_PLIB) {
      uint32_t n;
      if (!parse_dec(v, n)) return msg_report(as.msg, MSG_CHIPINFO_BAD_VALUE, name, file, line), false;
    } else if (is_progspec(k)) {
      ProgSpec p;
      if (!parse_progspec(v, p)) return msg_report(as.msg, MSG_CHIPINFO_SYNTAX, file, line), false;
    } else if (k == CK_SFR) {
      if (!split_fields(v, field_pattern(k)).ok)
        return msg_report(as.msg, MSG_CHIPINFO_BAD_VALUE, name, file, line), false;
    } else if (const char *pattern = field_pattern(k)) {
      Fields f = split_fields(v, pattern);
      // A wrong count of values, too few or too many, is 1016 like a malformed one.
      size_t want = std::char_traits<char>::length(pattern);
      if (!f.ok) {
        size_t wrong = f.count < want ? want - f.count : f.count > want ? f.count - want : 1;
        return msg_report(as.msg, MSG_CHIPINFO_MISSING_ARG, wrong > 1 ? "s" : "", name, file, line), false;
      }
    } else {
      return true;  // plain text: other tools' keys, kept as written
    }
    if (extra) return msg_report(as.msg, MSG_CHIPINFO_EXTRA_ARG, "", name, file, line), false;
    return true;
  }

  // ---- after the section: the record ----

  const std::vector<ChipValue> &values(int k) const { return keys[k].empty() ? global_keys[k] : keys[k]; }
  const ChipValue *first(int k) const {
    const auto &v = values(k);
    return v.empty() ? nullptr : &v.front();
  }
  std::string text(int k) const {
    const ChipValue *v = first(k);
    return v ? v->text : std::string();
  }
  uint32_t number(int k) const {
    uint32_t n = 0;
    if (const ChipValue *v = first(k)) parse_hex(v->text, n);
    return n;
  }
  // The first range of a single-range key.
  ChipRange single(int k) const {
    ChipRange r;
    if (const ChipValue *v = first(k)) {
      for_each_range(v->text, [&](uint32_t lo, uint32_t hi) {
        if (!r.present) r = ChipRange{true, lo, hi};
      });
    }
    return r;
  }
  void list(int k, RangeList &out, uint32_t chunk, bool join) const {
    for (const ChipValue &v : values(k))
      for_each_range(v.text, [&](uint32_t lo, uint32_t hi) { range_add(out, lo, hi, chunk, join); });
  }
  void fail_at(const char *what, long at) { msg_report(as.msg, MSG_CHIPINFO_ERROR, what, file, at); }

  void finish() {
    int code = arch[1] != ARCH_NONE ? arch[1] : arch[0];
    if (code == ARCH_NONE) msg_report(as.msg, MSG_CHIPINFO_MISSING_ARCH, file, section_line);
    c.arch = code;
    c.c_file = file;
    c.alias = text(CK_ALIAS);
    c.make = text(CK_MAKE);
    c.procid = text(CK_PROCID);
    c.errata = text(CK_ERRATA);
    c.family = text(CK_FAMILY);
    if (const ChipValue *v = first(CK_PLIB)) {
      uint32_t n = 0;
      parse_dec(v->text, n);
      c.plib = n != 0;
    }
    c.ram_size = number(CK_RAMSIZE);
    uint32_t romsize = number(CK_ROMSIZE);
    c.rom_high = romsize ? romsize - 1 : 0;
    c.stack_depth = number(CK_STACKDEPTH);
    if (c.stack_depth == 0) c.stack_depth = 31;
    c.pc_bits = number(CK_PCBITS);
    c.eeadr_bits = number(CK_EEADRBITS);
    c.bsr_bits = number(CK_BSRBITS);
    c.cfgmem = single(CK_CFGMEM);
    c.useridmem = single(CK_USERIDMEM);
    c.devidmem = single(CK_DEVIDMEM);
    c.eeprom = single(CK_EEPROM);
    c.extmem = single(CK_EXTMEM);
    if (const ChipValue *v = first(CK_FLASH_EW)) {
      Fields f = split_fields(v->text, "xx");
      c.has_flash_ew = true;
      c.flash_erase = f.num[0];
      c.flash_write = f.num[1];
    }
    if (const ChipValue *v = first(CK_CFGPROG)) parse_progspec(v->text, c.cfgprog);
    if (const ChipValue *v = first(CK_USERIDPROG)) parse_progspec(v->text, c.useridprog);
    sfrs();
    interrupts();
    if (chip_arch_is_zel18(code)) zel18();
  }

  void sfrs() {
    const auto &v = values(CK_SFR);
    c.sfrs.reserve(v.size());
    for (const ChipValue &e : v) {
      Fields f = split_fields(e.text, "nx");
      c.sfrs.push_back(ChipSfr{as.strings.intern(f.text[0]), f.num[1], e.line});
    }
    for (uint32_t i : chip_index_sfrs(c))
      fail_at(fmt_str("SFR %s defined twice", c.sfrs[i].name).c_str(), c.sfrs[i].line);
  }

  // A device with any interrupt key has a vector table and must describe it whole.
  void interrupts() {
    static constexpr int KEYS[] = {CK_INTSTAT, CK_IVTBASE, CK_IVTENABLE, CK_INTSRC};
    bool any = false;
    for (int k : KEYS) any = any || !values(k).empty();
    if (!any) return;
    for (int k : KEYS) {
      const auto &v = values(k);
      if (v.empty()) msg_report(as.msg, MSG_CHIPINFO_MISSING_SPEC, chip_key_name(k), file, section_line);
      if (k != CK_INTSRC && v.size() > 1) duplicate(k, v);
    }
    if (!first(CK_INTSTAT) || !first(CK_IVTBASE) || !first(CK_IVTENABLE) || !first(CK_INTSRC)) return;
    ChipInterrupts &it = c.interrupts;
    it.present = true;
    Fields st = split_fields(first(CK_INTSTAT)->text, "xuu");
    it.stat_addr = st.num[0];
    it.stat_bit = st.num[1];
    it.stat_width = st.num[2];
    Fields base = split_fields(first(CK_IVTBASE)->text, "xxxxxx");
    for (size_t i = 0; i < it.ivtbase.size(); ++i) it.ivtbase[i] = base.num[i];
    Fields en = split_fields(first(CK_IVTENABLE)->text, "xx");
    it.enable_addr = en.num[0];
    it.enable_mask = en.num[1];
    for (const ChipValue &e : values(CK_INTSRC)) {
      Fields f = split_fields(e.text, "nu");
      it.sources.push_back(ChipInterrupts::Source{as.strings.intern(f.text[0]), f.num[1]});
    }
  }

  void duplicate(int k, const std::vector<ChipValue> &v) {
    const char *name = chip_key_name(k);
    msg_report(as.msg, MSG_CHIPINFO_DUP_SPEC, name, file, v[1].line);
    msg_report(as.msg, MSG_CHIPINFO_SPEC_COUNT, name, "s", static_cast<unsigned>(v.size()), 1u, file, v[1].line);
  }

  // The ZEL18 families: presence rules, the single-range keys, the derived layout.
  void zel18() {
    static constexpr int REQUIRED[] = {CK_RAMSIZE, CK_ROMSIZE, CK_COMMON,  CK_SFRCOMMON, CK_GPRBANKS,
                                       CK_SFRBANKS, CK_CFGMEM, CK_PCBITS, CK_BSRBITS};
    static constexpr int OPTIONAL[] = {CK_USERIDMEM, CK_DEVIDMEM, CK_EEPROM, CK_EXTMEM, CK_EEADRBITS};
    for (int k : REQUIRED) {
      const auto &v = values(k);
      if (v.empty()) msg_report(as.msg, MSG_CHIPINFO_MISSING_SPEC, chip_key_name(k), file, section_line);
      if (v.size() > 1) duplicate(k, v);
    }
    for (int k : OPTIONAL)
      if (values(k).size() > 1) duplicate(k, values(k));
    if (!values(CK_EEPROM).empty() && values(CK_EEADRBITS).empty())
      msg_report(as.msg, MSG_CHIPINFO_MISSING_SPEC, "EEADRBITS", file, section_line);

    auto too_many = [&](int k, const char *what) {
      if (const ChipValue *v = first(k); v && range_count(v->text) > 1) fail_at(what, v->line);
    };
    too_many(CK_COMMON, "Too many COMMON RAM ranges defined");
    too_many(CK_SFRCOMMON, "Too many SFRCOMMON RAM ranges defined");
    for (int k : {CK_CFGMEM, CK_USERIDMEM, CK_DEVIDMEM, CK_EEPROM, CK_EXTMEM}) {
      const ChipValue *v = first(k);
      size_t n = v ? range_count(v->text) : 0;
      if (n > 1) msg_report(as.msg, MSG_CHIPINFO_EXTRA_ARG, n > 2 ? "s" : "", chip_key_name(k), file, v->line);
    }
    auto too_wide = [&](int k, unsigned bits, unsigned max) {
      if (bits > max) fail_at(fmt_str("%s out of range", chip_key_name(k)).c_str(), first(k) ? first(k)->line : line);
    };
    too_wide(CK_PCBITS, c.pc_bits, 31);
    too_wide(CK_BSRBITS, c.bsr_bits, 16);
    too_wide(CK_EEADRBITS, c.eeadr_bits, 31);

    c.access_ram = single(CK_COMMON);
    c.access_sfr = single(CK_SFRCOMMON);
    // GPRBANKS only has to be present: the banks are derived below and replace it.
    list(CK_SFRBANKS, c.sfr_banks, 0, true);
    list(CK_VOLSFRS, c.volatile_sfrs, 0, true);
    list(CK_DBT2RAM, c.dbt2ram, 0, true);
    list(CK_DBT2ROM, c.dbt2rom, 0, true);
    list(CK_FULLDBTRAM, c.fulldbtram, 0, true);
    list(CK_FULLDBTROM, c.fulldbtrom, 0, true);

    // Derived values.
    c.rom_high = c.extmem.present && c.extmem.lo < c.extmem.hi ? c.extmem.hi : uint64_t{1} << (c.pc_bits + 1);
    if (c.eeprom.present) {
      uint64_t hi = uint64_t{c.eeprom.lo} + (uint64_t{1} << c.eeadr_bits) - 1;
      if (hi > UINT32_MAX) too_wide(CK_EEADRBITS, 1, 0);
      c.eeprom.hi = static_cast<uint32_t>(hi);
    }
    c.ram_size = 256u << c.bsr_bits;
    chip_derive_gpr_banks(c);
  }

  // Whole text: global keys, the matching section (or the fallback), then the record.
  bool run(std::string_view text) {
    if (device.empty()) return false;
    scan(text, 0, Scope::GLOBAL);
    if (!content) msg_report(as.msg, MSG_CHIPINFO_EMPTY);
    if (!selected && fallback_pos != npos) {
      line = fallback_line;
      select(fallback_name);
      scan(text, fallback_pos, Scope::SECTION);
    }
    if (!selected) return false;
    finish();
    return true;
  }
};

}  // namespace

std::optional<std::string> chipinfo_locate(Assembly &as, std::string_view device) {
  // A name with a path separator can't name a device file: only the combined file applies.
  if (!device.empty() && device.find_first_of("/\\") == npos) {
    std::string d(device), l = ascii_lower_text(device);
    for (const std::string &name : {"ini/" + d + ".ini", "ini/" + l + ".ini", d + ".ini", l + ".ini"}) {
      auto p = reg_mkpath(as.host, RI_DAT, name);
      if (!p) return std::nullopt;
      if (os_file_exists(*p)) return p;
    }
  }
  std::string_view rest = device;
  if (rest.size() >= 3 && iequal(rest.substr(0, 3), "ZEL")) rest.remove_prefix(3);
  const char *combined = rest.substr(0, 2) == "18" ? "quillon-18.ini" : "quillon.ini";
  return reg_mkpath(as.host, RI_DAT, combined);
}

bool chipinfo_parse(Assembly &as, std::string_view text, const char *file, std::string_view device, ChipInfo &c) {
  Loader l(as, file, device, c);
  return l.run(text);
}

namespace {

// A copy of a record made in another run: its names interned again in this run's table.
std::unique_ptr<ChipInfo> copy_record(Assembly &as, const ChipInfo &from) {
  auto c = std::make_unique<ChipInfo>(from);
  auto again = [&](const char *&s) {
    if (s) s = as.strings.intern(s);
  };
  again(c->c_name);
  again(c->c_file);
  for (ChipSfr &r : c->sfrs) again(r.name);
  for (ChipInterrupts::Source &r : c->interrupts.sources) again(r.name);
  return c;
}

}  // namespace

void chipinfo_load(Assembly &as, std::string_view device, const std::string &path) {
  if (as.dev.preloaded) {
    for (const PreloadedChip &p : *as.dev.preloaded) {
      if (p.chip && p.device == device && p.path == path) {
        as.drv.inputs.push_back(p.id);
        as.dev.chip = copy_record(as, *p.chip);
        return;
      }
    }
  }
  std::string file = path;
  if (file.empty()) {
    auto p = chipinfo_locate(as, device);
    if (!p) {
      msg_report(as.msg, MSG_DEVICE_NOT_RECOGNIZED);
      return;
    }
    file = std::move(*p);
  }
  std::string text;
  FileId id;
  if (!os_read_text(file, text, CHIPINFO_LINE_MAX, DATA_FILE_MAX, id)) {
    msg_report(as.msg, MSG_CANT_OPEN_FILE_FATAL, "chip info", file);
    return;
  }
  as.drv.inputs.push_back(id);
  auto c = std::make_unique<ChipInfo>();
  const char *name = as.strings.intern(file);
  if (!chipinfo_parse(as, text, name, device, *c)) {
    msg_report(as.msg, MSG_CHIP_NOT_PRESENT, device, file);
    return;
  }
  as.dev.chip = std::move(c);
}
