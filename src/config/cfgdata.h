// Configuration data file: the device's configuration registers, their settings and values,
// and the messages tied to combinations of values.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct Assembly;
struct ConfigRegister;
struct ConfigSetting;

// Progress of a register or setting: how it last received its value.
enum CfgState : int { CFG_NAMED = 0, CFG_LITERAL = 1, CFG_UNSPECIFIED = 2 };

struct ConfigValue {
  uint32_t bits = 0;               // in register bit positions
  std::vector<std::string> names;  // aliases
  std::string description;
  ConfigSetting *setting = nullptr;
  std::string usedname;            // the name the source last used
};

struct ConfigSetting {
  uint32_t mask = 0;  // in register bit positions
  std::vector<std::string> names;
  std::string description;
  ConfigRegister *reg = nullptr;
  int state = CFG_UNSPECIFIED;
  uint32_t literal = 0;            // as written, right-aligned
  ConfigValue *chosen = nullptr;   // the value chosen by name (or matched by a register literal)
  std::vector<std::unique_ptr<ConfigValue>> values;             // file order
  std::unordered_map<std::string, ConfigValue *> value_by_name; // all aliases, upper case
  std::string usedname;            // the name the source last used
};

struct ConfigRegister {
  uint32_t address = 0;
  uint32_t mask = 0;      // implemented bits
  uint32_t defvalue = 0;  // unprogrammed value
  uint32_t value = 0;     // current value
  int state = CFG_UNSPECIFIED;
  bool programmed = false;
  bool consumed = false;  // taken into a programming unit
  std::vector<std::string> names;  // the first is the register's name
  std::vector<std::unique_ptr<ConfigSetting>> settings;           // file order
  std::unordered_map<std::string, ConfigSetting *> setting_by_name;
  std::string usedname;
};

struct ConfigMessage {
  std::vector<std::pair<ConfigSetting *, ConfigValue *>> pairs;
  std::string text;  // the pairs as written, "setting=value,..."
  unsigned msgno = 0;
  unsigned matched = 0;
  bool issued = false;
};

// The CONFIG switches.
enum CfgSwitchKind { CFG_SW_ONOFF, CFG_SW_TRISTATE };
enum CfgTristate { CFG_OFF = 0, CFG_AUTO = 1, CFG_ALWAYS = 2 };
struct CfgSwitches {
  bool ignore_cmsgs = true;
  bool apply_mask = true;  // stored only: the generated data do not depend on it
  bool pad_punits = false;
  int default_idlocs = CFG_OFF;
  int default_configs = CFG_AUTO;
};

struct CfgData {
  std::string path;        // the file named by --cfgdata=
  bool disabled = false;   // --cfgdata=disabled
  bool loaded = false;
  bool ignore_cmsgs = true;  // copy of the switch of the same name
  std::vector<ConfigRegister *> order;  // registers in their current order
  std::vector<std::unique_ptr<ConfigRegister>> regs;
  std::unordered_map<uint32_t, ConfigRegister *> reg_by_addr;
  std::unordered_map<std::string, ConfigRegister *> reg_by_name;  // all names, upper case
  std::vector<ConfigMessage> msgs;

  CfgSwitches sw;
  bool config_touched = false;  // a CONFIG named something in configuration memory
  bool idloc_touched = false;   // ... or in user-ID memory
};

// Forgets everything loaded, sets the path and loads the file (141 if it cannot be opened).
void cfg_load_data(Assembly &as, const std::string &path);
// Loads configuration data from text (the file's contents) under the given file name.
void cfg_load_text(Assembly &as, std::string_view text, const std::string &filename);
void cfg_disable(Assembly &as);

size_t cfg_reg_count(const Assembly &as);
void cfg_sort_regs(Assembly &as);
ConfigRegister *cfg_find_reg_by_name(Assembly &as, std::string_view name);
ConfigRegister *cfg_find_reg_by_addr(Assembly &as, uint32_t addr);
ConfigSetting *cfg_find_setting(Assembly &as, std::string_view name);
ConfigValue *cfg_find_value(const ConfigSetting &s, std::string_view name);
uint32_t cfg_setting_field(const ConfigSetting &s, uint32_t regvalue);
const std::string &cfg_reg_name(const ConfigRegister &r);
const std::string &cfg_setting_name(const ConfigSetting &s);
const std::string &cfg_value_name(const ConfigValue &v);

// Each returns false when the value was refused (1389); the message has been reported.
bool cfg_apply_value(Assembly &as, ConfigSetting &s, ConfigValue &v);
bool cfg_apply_setting_literal(Assembly &as, ConfigSetting &s, uint32_t literal);
bool cfg_apply_reg_literal(Assembly &as, ConfigRegister &r, uint32_t literal);

// Issues the configuration messages that this register completes (unless ignore_cmsgs).
void cfg_emit_msgs(Assembly &as, ConfigRegister &r);

// Splits a CONFIG argument's tokens into name/value pairs; false (and 1361) when malformed.
bool cfg_parse_pragma(Assembly &as, const std::vector<std::string> &tokens,
                      const std::function<void(const std::string &, const std::string &)> &pair);
