// CONFIG directives: names are classified against the configuration data and the switches,
// then registers, settings and switches take the values the source gives them.
#include "config/config.h"

#include <bit>
#include <cstdlib>
#include <vector>

#include "config/cfgdata.h"
#include "driver/assembly.h"
#include "isa/ops.h"
#include "support/ascii.h"

namespace {

struct SwitchDef {
  const char *name;
  CfgSwitchKind kind;
};
constexpr SwitchDef SWITCHES[] = {
    {"ignore_cmsgs", CFG_SW_ONOFF},      {"apply_mask", CFG_SW_ONOFF},        {"pad_punits", CFG_SW_ONOFF},
    {"default_idlocs", CFG_SW_TRISTATE}, {"default_configs", CFG_SW_TRISTATE},
};

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
    v->usedname = std::string(word);
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

// ---------------------------------------------------------------- config and idloc psects

namespace {

// The registers of one programming unit: numcregs addresses spaced delta apart from a base
// aligned to alignment.
struct Unit {
  unsigned numcregs = 0, delta = 0, alignment = 0;
};

Unit punit_geometry(Assembly &as, const ConfigRegister &r, bool idloc) {
  ProgSpec ps = idloc ? chip_useridprog(as) : chip_cfgprog(as);
  if (ps.defined && ps.numcregs && ps.delta && ps.alignment) return {ps.numcregs, ps.delta, ps.alignment};
  if (idloc) return r.mask < 256 ? Unit{1, 1, 1} : Unit{1, 2, 2};
  return {2, 1, 2};
}

// The "config" or "idloc" psect, made absolute, overlaid, global and noexec on first use.
Symbol *config_psect(Assembly &as, bool idloc) {
  Symbol *p = sym_lookup(as, idloc ? "idloc" : "config", SF_PSECT);
  if (!(p->s_flags & PSF_ABS)) {
    p->s_flags |= PSF_ABS | PSF_OVRLD | PSF_GLOBAL;
    PsectPart &pp = p->s_psect;
    pp.p_noexec = 1;
    pp.p_space = idloc ? 5 : 4;
    pp.p_delta = 1;
    pp.p_class = sym_lookup(as, idloc ? "IDLOC" : "CONFIG", SF_CLASS);
  }
  return p;
}

// A generated node: it has no source position of its own.
Statement *append_node(Assembly &as, Symbol *psect, uint32_t kind) {
  Statement *n = list_new_statement(as);
  n->op_type = kind;
  list_set_place(as.list, n, StmtPlace{});
  n->op_asmline = n->op_srcline = 0;
  list_append(as, psect->s_stmts->tail.op_prev, n);
  return n;
}

// ORG to the register's address and one data item holding its value.
void put_register(Assembly &as, Symbol *psect, uint32_t addr, uint32_t value, unsigned size) {
  Statement *org = append_node(as, psect, ORG);
  org->op_num = addr;
  org->op_opnd1.o_mode = OM_VALUE;
  org->op_opnd1.o_value = expr_abs(addr);
  Statement *data = append_node(as, psect, DATA);
  data->op_subop = static_cast<uint16_t>(size);
  DataItem *item = list_new_data_item(as);
  item->value = expr_abs(value);
  data->op_list = item;
}

void setting_comments(Assembly &as, const ConfigRegister &r) {
  for (const auto &s : r.settings) {
    list_add_summary(as, fmt_str(";\t%s", s->description));
    const std::string &name = cfg_setting_name(*s);
    if (s->state == CFG_LITERAL) {
      list_add_summary(as, fmt_str(";\t%s = 0x%lX, user specified literal", name,
                                   static_cast<unsigned long>(s->literal)));
    } else if (s->state == CFG_NAMED && s->chosen) {
      list_add_summary(as, fmt_str(";\t%s = %s, %s", name, cfg_value_name(*s->chosen), s->chosen->description));
    } else {
      unsigned long v = s->mask ? (r.value & s->mask) >> std::countr_zero(s->mask) : 0;
      list_add_summary(as, fmt_str(";\t%s = 0x%lX, unprogrammed default", name, v));
    }
  }
}

}  // namespace

void cfg_make_psects(Assembly &as) {
  CfgData &cd = as.cfg;
  if (cd.disabled || !cd.loaded) return;
  cfg_sort_regs(as);
  const std::vector<ConfigRegister *> &regs = cd.order;
  for (size_t i = 0; i < regs.size(); ++i) {
    ConfigRegister &first = *regs[i];
    if (first.consumed) continue;
    bool idloc = chip_in_userid(as, first.address);
    if (!idloc && !chip_in_config(as, first.address)) {
      msg_check_failed(as.msg, "address in configuration or user-ID memory", __FILE__, __LINE__);
      first.consumed = true;
      continue;
    }
    Unit u = punit_geometry(as, first, idloc);
    uint64_t base = first.address - first.address % u.alignment;
    uint64_t off = first.address - base;
    if (off % u.delta || off / u.delta >= u.numcregs) {
      // No unit of the device's geometry holds this register: it is written as a unit of its
      // own, so that its value is not lost and no address of the aligned unit is written twice.
      u.numcregs = 1;
      base = first.address;
    }
    int mode = idloc ? cd.sw.default_idlocs : cd.sw.default_configs;
    bool defaults = mode == CFG_ALWAYS || (mode == CFG_AUTO && (idloc ? cd.idloc_touched : cd.config_touched));

    // The unit's registers, by position; any programmed one makes the whole unit written.
    bool any_programmed = false;
    for (unsigned k = 0; k < u.numcregs; ++k) {
      ConfigRegister *c = cfg_find_reg_by_addr(as, static_cast<uint32_t>(base + uint64_t{k} * u.delta));
      if (c && c->programmed) any_programmed = true;
    }
    for (unsigned k = 0; k < u.numcregs; ++k) {
      uint64_t a = base + uint64_t{k} * u.delta;
      if (!any_programmed && !defaults) {
        if (ConfigRegister *c = cfg_find_reg_by_addr(as, static_cast<uint32_t>(a))) c->consumed = true;
        continue;
      }
      ConfigRegister *c = cfg_find_reg_by_addr(as, static_cast<uint32_t>(a));
      if (c && c->consumed) continue;  // already written with an earlier unit
      if (!c) {
        if (cd.sw.pad_punits) {
          list_add_summary(as, "; Padding undefined space");
          put_register(as, config_psect(as, idloc), static_cast<uint32_t>(a), 0xFF, 1);
        }
        continue;
      }
      c->consumed = true;
      const std::string &name = cfg_reg_name(*c);
      list_add_summary(as, fmt_str(";Config register %s%s@ 0x%lX", name, name.empty() ? "" : " ",
                                   static_cast<unsigned long>(a)));
      bool write = true;
      if (c->state == CFG_LITERAL) {
        list_add_summary(as, ";\tusing specified literal value");
      } else if (c->state == CFG_NAMED) {
        setting_comments(as, *c);
      } else {
        if (!c->settings.empty()) msg_report(as.msg, MSG_CONFIG_DEFAULT_USED, static_cast<unsigned>(a));
        if (!defaults && !cd.sw.pad_punits) {
          list_add_summary(as, ";\tunspecified, skipping");
          write = false;
        } else {
          list_add_summary(as, ";\tunspecified, using default values");
          setting_comments(as, *c);
        }
      }
      cfg_emit_msgs(as, *c);
      if (write) put_register(as, config_psect(as, idloc), static_cast<uint32_t>(a), c->value, c->mask > 0xFF ? 2 : 1);
    }
  }
}
