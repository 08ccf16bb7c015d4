// CONFIG directives: names are classified against the configuration data and the switches,
// then registers, settings and switches take the values the source gives them.
#include "config/config.h"

#include <cstdlib>
#include <vector>

#include "config/cfgdata.h"
#include "driver/assembly.h"

namespace {

struct SwitchDef {
  const char *name;
  CfgSwitchKind kind;
};
constexpr SwitchDef SWITCHES[] = {
    {"ignore_cmsgs", CFG_SW_ONOFF},      {"apply_mask", CFG_SW_ONOFF},        {"pad_punits", CFG_SW_ONOFF},
    {"default_idlocs", CFG_SW_TRISTATE}, {"default_configs", CFG_SW_TRISTATE},
};

bool iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

int find_switch(std::string_view name) {
  for (size_t i = 0; i < std::size(SWITCHES); ++i)
    if (iequal(name, SWITCHES[i].name)) return static_cast<int>(i);
  return -1;
}

// The storage of switch i: an on/off flag or a tristate.
void set_switch(CfgSwitches &sw, int i, int v) {
  switch (i) {
  case 0: sw.ignore_cmsgs = v != 0; break;
  case 1: sw.apply_mask = v != 0; break;
  case 2: sw.pad_punits = v != 0; break;
  case 3: sw.default_idlocs = v; break;
  case 4: sw.default_configs = v; break;
  default: break;
  }
}

void touch(Assembly &as, const ConfigRegister &r) {
  if (chip_in_config(as, r.address)) as.cfg.config_touched = true;
  if (chip_in_userid(as, r.address)) as.cfg.idloc_touched = true;
}

// A number in C syntax: decimal, 0x hexadecimal or 0 octal, nothing after it.
bool c_number(std::string_view t, uint64_t &out) {
  if (t.empty() || t.size() > 64) return false;
  std::string s(t);
  if (!std::isdigit(static_cast<unsigned char>(s[0]))) return false;
  char *end = nullptr;
  errno = 0;
  unsigned long long v = std::strtoull(s.c_str(), &end, 0);
  if (errno || !end || *end) return false;
  out = v;
  return true;
}

std::string hex64(uint64_t v) { return fmt_str("0x%llX", static_cast<unsigned long long>(v)); }

}  // namespace

CfgClass cfg_classify(Assembly &as, std::string_view name) {
  as.cfg.ignore_cmsgs = as.cfg.sw.ignore_cmsgs;
  if (ConfigRegister *r = cfg_find_reg_by_name(as, name)) {
    touch(as, *r);
    return CFG_REG;
  }
  if (ConfigSetting *s = cfg_find_setting(as, name)) {
    touch(as, *s->reg);
    return CFG_SETTING;
  }
  if (find_switch(name) >= 0) return CFG_SWITCH;
  return CFG_UNKNOWN;
}

void cfg_prog_with_name(Assembly &as, std::string_view name, std::string_view word) {
  switch (cfg_classify(as, name)) {
  case CFG_SETTING: {
    ConfigSetting *s = cfg_find_setting(as, name);
    ConfigValue *v = cfg_find_value(*s, word);
    if (!v) {
      msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, name, word);
      return;
    }
    s->usedname = std::string(name);
    if (cfg_apply_value(as, *s, *v)) {
      s->reg->programmed = true;
      s->reg->state = CFG_NAMED;
    }
    return;
  }
  case CFG_SWITCH: {
    int i = find_switch(name);
    int v = -1;
    if (SWITCHES[i].kind == CFG_SW_ONOFF) {
      if (iequal(word, "on")) v = 1;
      else if (iequal(word, "off")) v = 0;
    } else {
      if (iequal(word, "always")) v = CFG_ALWAYS;
      else if (iequal(word, "off")) v = CFG_OFF;
      else if (iequal(word, "auto")) v = CFG_AUTO;
    }
    if (v < 0) msg_report(as.msg, MSG_CONFIG_SYNTAX);
    else set_switch(as.cfg.sw, i, v);
    as.cfg.ignore_cmsgs = as.cfg.sw.ignore_cmsgs;
    return;
  }
  default:
    msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, name, word);
    return;
  }
}

void cfg_prog_with_value(Assembly &as, std::string_view name, uint64_t value) {
  switch (cfg_classify(as, name)) {
  case CFG_REG: {
    ConfigRegister *r = cfg_find_reg_by_name(as, name);
    r->usedname = std::string(name);
    cfg_apply_reg_literal(as, *r, static_cast<uint32_t>(value));
    r->programmed = true;
    if (!r->settings.empty()) {
      r->state = CFG_NAMED;
      r->value = (r->value & r->mask) | (r->defvalue & ~r->mask);
    }
    return;
  }
  case CFG_SETTING: {
    ConfigSetting *s = cfg_find_setting(as, name);
    s->usedname = std::string(name);
    if (cfg_apply_setting_literal(as, *s, static_cast<uint32_t>(value))) {
      s->reg->programmed = true;
      s->reg->state = CFG_NAMED;
    } else {
      msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, name, hex64(value));
    }
    return;
  }
  case CFG_SWITCH: {
    int i = find_switch(name);
    if (SWITCHES[i].kind == CFG_SW_ONOFF) set_switch(as.cfg.sw, i, value != 0);
    else set_switch(as.cfg.sw, i, value != 0 ? CFG_ALWAYS : CFG_OFF);
    as.cfg.ignore_cmsgs = as.cfg.sw.ignore_cmsgs;
    return;
  }
  default:
    msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, name, hex64(value));
    return;
  }
}

void cfg_prog_from_string(Assembly &as, std::string_view text) {
  std::vector<std::string> tokens;
  std::string cur;
  for (char c : text) {
    if (c == '"' || c == ' ' || c == ',' || c == '\r' || c == '\t' || c == '(' || c == ')') {
      if (!cur.empty()) tokens.push_back(std::move(cur));
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) tokens.push_back(std::move(cur));
  if (tokens.empty()) {
    msg_report(as.msg, MSG_CONFIG_SYNTAX);
    return;
  }
  cfg_parse_pragma(as, tokens, [&as](const std::string &n, const std::string &t) {
    uint64_t num = 0;
    bool is_num = c_number(t, num);
    switch (cfg_classify(as, n)) {
    case CFG_REG:
      if (is_num) cfg_prog_with_value(as, n, num);
      else msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, n, t);
      break;
    case CFG_SETTING: {
      ConfigSetting *s = cfg_find_setting(as, n);
      if (cfg_find_value(*s, t)) cfg_prog_with_name(as, n, t);
      else if (is_num) cfg_prog_with_value(as, n, num);
      else msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, n, t);
      break;
    }
    case CFG_SWITCH:
      if (is_num) cfg_prog_with_value(as, n, num);
      else cfg_prog_with_name(as, n, t);
      break;
    default:
      msg_report(as.msg, MSG_CONFIG_UNKNOWN_SETTING, n, t);
      break;
    }
  });
}
