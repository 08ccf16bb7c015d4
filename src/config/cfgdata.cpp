// Configuration data: file loading, the register/setting/value model and the rules by which
// registers and settings receive their values.
#include "config/cfgdata.h"

#include <algorithm>
#include <bit>
#include <fstream>
#include <sstream>

#include "driver/assembly.h"
#include "support/ascii.h"

namespace {

constexpr size_t CFG_LINE_MAX = 1023;

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool parse_hex(std::string_view s, uint32_t &out) {
  s = trim(s);
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  out = v;
  return true;
}

bool parse_dec(std::string_view s, unsigned &out) {
  s = trim(s);
  if (s.empty() || s.size() > 6) return false;
  unsigned v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  out = v;
  return true;
}

// Splits at a separator: the first n - 1 fields, then the rest of the line as the last.
std::vector<std::string_view> fields(std::string_view s, size_t n) {
  std::vector<std::string_view> f;
  while (f.size() + 1 < n) {
    size_t k = s.find(':');
    if (k == std::string_view::npos) break;
    f.push_back(s.substr(0, k));
    s.remove_prefix(k + 1);
  }
  f.push_back(s);
  return f;
}

std::vector<std::string> names_of(std::string_view list) {
  std::vector<std::string> v;
  while (true) {
    size_t k = list.find(',');
    std::string_view n = trim(list.substr(0, k));
    if (!n.empty()) v.emplace_back(n);
    if (k == std::string_view::npos) break;
    list.remove_prefix(k + 1);
  }
  return v;
}

std::string hex(uint32_t v) { return fmt_str("0x%lX", static_cast<unsigned long>(v)); }

void reset(CfgData &c) {
  c.loaded = false;
  c.order.clear();
  c.regs.clear();
  c.reg_by_addr.clear();
  c.reg_by_name.clear();
  c.msgs.clear();
}

// Reads the records of one file; settings and values attach to the latest register and setting.
struct Loader {
  Assembly &as;
  const std::string &file;
  unsigned lineno = 0;
  ConfigRegister *reg = nullptr;
  ConfigSetting *set = nullptr;

  // A message at the current line of the file.
  template <class... A>
  void report(unsigned num, const A &...a) {
    msg_report_at(as.msg, {as.strings.intern(file), static_cast<long>(lineno)}, num, a...);
  }
  void syntax_error() { report(MSG_CFGDATA_SYNTAX); }

  // One line without its surrounding blanks.
  void record(std::string_view line) {
    if (line.empty() || line[0] == '#') return;
    size_t colon = line.find(':');
    std::string_view rec = colon == std::string_view::npos ? line : trim(line.substr(0, colon));
    std::string_view rest = colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
    bool ok = rec == "CWORD"      ? cword(rest)
              : rec == "CSETTING" ? csetting(rest)
              : rec == "CVALUE"   ? cvalue(rest)
              : rec == "CMSG"     ? cmsg(rest)
                                  : false;
    if (!ok) syntax_error();
  }

  // address : mask : default [: names]
  bool cword(std::string_view rest) {
    auto f = fields(rest, 4);
    auto r = std::make_unique<ConfigRegister>();
    if (f.size() < 3 || !parse_hex(f[0], r->address) || !parse_hex(f[1], r->mask) || !parse_hex(f[2], r->defvalue))
      return false;
    if (f.size() == 4) r->names = names_of(f[3]);
    r->value = r->defvalue;
    reg = r.get();
    set = nullptr;
    CfgData &c = as.cfg;
    c.order.push_back(reg);
    c.reg_by_addr.emplace(reg->address, reg);
    for (const auto &n : reg->names) c.reg_by_name.emplace(ascii_upper_text(n), reg);
    c.regs.push_back(std::move(r));
    return true;
  }

  // mask : names : description
  bool csetting(std::string_view rest) {
    auto f = fields(rest, 3);
    auto s = std::make_unique<ConfigSetting>();
    if (!reg || f.size() < 3 || !parse_hex(f[0], s->mask)) return false;
    s->names = names_of(f[1]);
    s->description = std::string(trim(f[2]));
    s->reg = reg;
    set = s.get();
    for (const auto &n : set->names) reg->setting_by_name.emplace(ascii_upper_text(n), set);
    reg->settings.push_back(std::move(s));
    return true;
  }

  // value : names : description
  bool cvalue(std::string_view rest) {
    auto f = fields(rest, 3);
    auto v = std::make_unique<ConfigValue>();
    if (!set || f.size() < 3 || !parse_hex(f[0], v->bits)) return false;
    v->names = names_of(f[1]);
    v->description = std::string(trim(f[2]));
    v->setting = set;
    for (const auto &n : v->names) set->value_by_name.emplace(ascii_upper_text(n), v.get());
    set->values.push_back(std::move(v));
    return true;
  }

  // setting=value[,setting=value...] : number. A pair that does not resolve is reported on its
  // own; the message is kept only when all resolve.
  bool cmsg(std::string_view rest) {
    auto f = fields(rest, 2);
    ConfigMessage m;
    std::vector<std::string> words;
    if (f.size() != 2 || !parse_dec(f[1], m.msgno) || !split_pairs(f[0], words)) return false;
    m.text = std::string(trim(f[0]));
    bool resolved = true;
    for (size_t i = 0; i < words.size(); i += 2) resolved = resolve_pair(words[i], words[i + 1], m) && resolved;
    if (resolved && m.msgno != 0) as.cfg.msgs.push_back(std::move(m));
    return true;
  }

  // The names of a CMSG list, setting and value alternating; false when they do not pair up.
  static bool split_pairs(std::string_view list, std::vector<std::string> &words) {
    for (const auto &item : names_of(list)) {
      size_t eq = item.find('=');
      if (eq == std::string::npos) {
        words.push_back(std::string(trim(item)));
      } else {
        words.push_back(std::string(trim(std::string_view(item).substr(0, eq))));
        words.push_back(std::string(trim(std::string_view(item).substr(eq + 1))));
      }
    }
    return !words.empty() && words.size() % 2 == 0;
  }

  bool resolve_pair(const std::string &setting, const std::string &value, ConfigMessage &m) {
    ConfigSetting *s = cfg_find_setting(as, setting);
    if (!s) {
      report(MSG_CMSG_NO_SETTING, setting);
      return false;
    }
    ConfigValue *v = cfg_find_value(*s, value);
    if (!v) {
      report(MSG_CMSG_NO_VALUE, value);
      return false;
    }
    m.pairs.emplace_back(s, v);
    return true;
  }
};

}  // namespace

void cfg_disable(Assembly &as) {
  reset(as.cfg);
  as.cfg.disabled = true;
}

void cfg_load_data(Assembly &as, const std::string &path) {
  reset(as.cfg);
  as.cfg.path = path;
  as.cfg.disabled = false;
  std::string text;
  FileId id;
  if (!os_read_text(path, text, CFG_LINE_MAX, DATA_FILE_MAX, id)) {
    msg_report(as.msg, MSG_CANT_OPEN_FILE_FATAL, "configuration registers data", path);
    return;
  }
  as.drv.inputs.push_back(id);
  cfg_load_text(as, text, path);
}

void cfg_load_text(Assembly &as, std::string_view text, const std::string &file) {
  as.cfg.loaded = true;
  Loader ld{as, file};
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    ++ld.lineno;
    if (line.size() > CFG_LINE_MAX) {
      ld.syntax_error();
      continue;
    }
    ld.record(trim(line));
  }
}

size_t cfg_reg_count(const Assembly &as) { return as.cfg.order.size(); }

void cfg_sort_regs(Assembly &as) {
  std::stable_sort(as.cfg.order.begin(), as.cfg.order.end(),
                   [](const ConfigRegister *a, const ConfigRegister *b) { return a->address < b->address; });
}

ConfigRegister *cfg_find_reg_by_name(Assembly &as, std::string_view name) {
  if (as.cfg.disabled || !as.cfg.loaded) return nullptr;
  auto it = as.cfg.reg_by_name.find(ascii_upper_text(name));
  return it == as.cfg.reg_by_name.end() ? nullptr : it->second;
}

ConfigRegister *cfg_find_reg_by_addr(Assembly &as, uint32_t addr) {
  if (as.cfg.disabled || !as.cfg.loaded) return nullptr;
  auto it = as.cfg.reg_by_addr.find(addr);
  return it == as.cfg.reg_by_addr.end() ? nullptr : it->second;
}

ConfigSetting *cfg_find_setting(Assembly &as, std::string_view name) {
  if (as.cfg.disabled || !as.cfg.loaded) return nullptr;
  std::string key = ascii_upper_text(name);
  for (ConfigRegister *r : as.cfg.order) {
    auto it = r->setting_by_name.find(key);
    if (it != r->setting_by_name.end()) return it->second;
  }
  return nullptr;
}

ConfigValue *cfg_find_value(const ConfigSetting &s, std::string_view name) {
  auto it = s.value_by_name.find(ascii_upper_text(name));
  return it == s.value_by_name.end() ? nullptr : it->second;
}

uint32_t cfg_setting_field(const ConfigSetting &s, uint32_t regvalue) {
  if (s.mask == 0) return 0;
  return (regvalue & s.mask) >> std::countr_zero(s.mask);
}

const std::string &cfg_reg_name(const ConfigRegister &r) {
  static const std::string none;
  if (!r.usedname.empty()) return r.usedname;
  return r.names.empty() ? none : r.names[0];
}

const std::string &cfg_setting_name(const ConfigSetting &s) {
  static const std::string none;
  if (!s.usedname.empty()) return s.usedname;
  return s.names.empty() ? none : s.names[0];
}

const std::string &cfg_value_name(const ConfigValue &v) {
  static const std::string none;
  if (!v.usedname.empty()) return v.usedname;
  return v.names.empty() ? none : v.names[0];
}

bool cfg_apply_value(Assembly &as, ConfigSetting &s, ConfigValue &v) {
  switch (s.state) {
  case CFG_UNSPECIFIED:
    s.state = CFG_NAMED;
    s.chosen = &v;
    s.reg->value = (s.reg->value & ~s.mask) | v.bits;
    return true;
  case CFG_NAMED:
    if (s.chosen == &v) return true;
    msg_report(as.msg, MSG_CONFIG_REPROGRAM, "setting", cfg_setting_name(s), cfg_value_name(v),
               s.chosen ? cfg_value_name(*s.chosen) : std::string());
    return false;
  default:
    msg_report(as.msg, MSG_CONFIG_REPROGRAM, "setting", cfg_setting_name(s), cfg_value_name(v), hex(s.literal));
    return false;
  }
}

bool cfg_apply_setting_literal(Assembly &as, ConfigSetting &s, uint32_t literal) {
  switch (s.state) {
  case CFG_UNSPECIFIED: {
    s.state = CFG_LITERAL;
    s.literal = literal;
    unsigned shift = s.mask ? static_cast<unsigned>(std::countr_zero(s.mask)) : 0;
    uint32_t shifted = static_cast<uint32_t>(static_cast<uint64_t>(literal) << shift);
    s.reg->value = (s.reg->value & ~s.mask) | shifted;
    return true;
  }
  case CFG_LITERAL:
    if (s.literal == literal) return true;
    msg_report(as.msg, MSG_CONFIG_REPROGRAM, "setting", cfg_setting_name(s), hex(literal), hex(s.literal));
    return false;
  default:
    msg_report(as.msg, MSG_CONFIG_REPROGRAM, "setting", cfg_setting_name(s), hex(literal),
               s.chosen ? cfg_value_name(*s.chosen) : std::string());
    return false;
  }
}

bool cfg_apply_reg_literal(Assembly &as, ConfigRegister &r, uint32_t literal) {
  if (literal & ~r.mask) {
    msg_report(as.msg, MSG_CONFIG_TRUNCATED, cfg_reg_name(r), static_cast<unsigned long>(literal),
               static_cast<unsigned long>(r.mask));
    literal &= r.mask;
  }
  if (r.state == CFG_LITERAL && r.value != literal && r.settings.empty()) {
    msg_report(as.msg, MSG_CONFIG_REPROGRAM, "register", cfg_reg_name(r), hex(literal), hex(r.value));
    return false;
  }
  r.value = literal;
  r.state = CFG_LITERAL;
  for (auto &s : r.settings) {
    for (auto &v : s->values) {
      if (v->bits == (literal & s->mask)) {
        s->chosen = v.get();
        s->state = CFG_NAMED;
        break;
      }
    }
  }
  return true;
}

void cfg_emit_msgs(Assembly &as, ConfigRegister &r) {
  if (as.cfg.ignore_cmsgs) return;
  for (auto &m : as.cfg.msgs) {
    if (m.issued) continue;
    for (const auto &[s, v] : m.pairs)
      if (s->reg == &r && v->bits == (r.value & s->mask)) ++m.matched;
    if (m.matched == m.pairs.size()) {
      m.issued = true;
      msg_report(as.msg, m.msgno, m.text);
    }
  }
}

bool cfg_parse_pragma(Assembly &as, const std::vector<std::string> &tokens,
                      const std::function<void(const std::string &, const std::string &)> &pair) {
  std::vector<std::string> seq;
  for (const auto &t : tokens) {
    size_t eq = t.find('=');
    if (eq == std::string::npos || t == "=") {
      seq.push_back(t);
      continue;
    }
    if (eq > 0) seq.push_back(t.substr(0, eq));
    seq.push_back("=");
    if (eq + 1 < t.size()) seq.push_back(t.substr(eq + 1));
  }
  bool ok = !seq.empty() && seq.size() % 3 == 0;
  for (size_t i = 0; ok && i < seq.size(); i += 3)
    ok = seq[i] != "=" && seq[i + 1] == "=" && seq[i + 2] != "=";
  if (!ok) {
    msg_report(as.msg, MSG_CONFIG_SYNTAX);
    return false;
  }
  for (size_t i = 0; i < seq.size(); i += 3) pair(seq[i], seq[i + 2]);
  return true;
}
