// Configuration data: loading, lookups, messages across registers, bad lines and the pragma form.
#include <gtest/gtest.h>

#include <sstream>

#include "driver/assembly.h"
#include "test_context.h"

namespace {

const char *DATA =
    "# test device\n"
    "CWORD:300001:2F:25:CONFIG1H,CFG1\n"
    "  CSETTING:E:FOSC,OSC:Oscillator selection\n"
    "  CVALUE:2:XT:XT oscillator\n"
    "  CVALUE:6:HS,HSOSC:HS oscillator\n"
    "  CVALUE:E:RC:RC oscillator: external\n"
    "  CSETTING:20:PLLEN:PLL enable\n"
    "  CVALUE:20:ON:enabled\n"
    "  CVALUE:0:OFF:disabled\n"
    "CWORD:300002:1FF:1FF:CONFIG2\n"
    "  CSETTING:100:WDTEN:Watchdog\n"
    "  CVALUE:100:ON:on\n"
    "  CVALUE:0:OFF:off\n"
    "CWORD:200000:FF:FF\n"
    "CMSG:FOSC=HS,WDTEN=OFF:2066\n";

struct Ctx : TestContext {
  Ctx(const char *text = DATA) {
    cfg_load_text(as, text, "dev.cfgdata");
  }
};

TEST(CfgData, ModelAndLookups) {
  Ctx c;
  EXPECT_EQ(c.take(), "");
  ASSERT_EQ(cfg_reg_count(c.as), 3u);
  ConfigRegister *r = cfg_find_reg_by_name(c.as, "cfg1");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r, cfg_find_reg_by_addr(c.as, 0x300001));
  EXPECT_EQ(r->value, 0x25u);
  EXPECT_EQ(r->state, CFG_UNSPECIFIED);
  EXPECT_EQ(cfg_reg_name(*r), "CONFIG1H");
  ConfigSetting *s = cfg_find_setting(c.as, "OSC");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->reg, r);
  EXPECT_EQ(s->description, "Oscillator selection");
  EXPECT_EQ(cfg_find_value(*s, "hsosc"), cfg_find_value(*s, "HS"));
  EXPECT_EQ(cfg_find_value(*s, "RC")->description, "RC oscillator: external");  // the rest of the line
  ConfigRegister *id = cfg_find_reg_by_addr(c.as, 0x200000);
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(cfg_reg_name(*id), "");  // nameless
  cfg_sort_regs(c.as);
  EXPECT_EQ(c.as.cfg.order.front(), id);
  EXPECT_EQ(c.as.cfg.msgs.size(), 1u);
}

TEST(CfgData, DisabledFindsNothing) {
  Ctx c;
  cfg_disable(c.as);
  EXPECT_EQ(cfg_find_reg_by_name(c.as, "CONFIG1H"), nullptr);
  EXPECT_EQ(cfg_find_setting(c.as, "FOSC"), nullptr);
  EXPECT_EQ(cfg_find_reg_by_addr(c.as, 0x300001), nullptr);
}

TEST(CfgData, MessagesAcrossRegisters) {
  Ctx c;
  c.as.cfg.ignore_cmsgs = false;
  ConfigSetting *fosc = cfg_find_setting(c.as, "FOSC");
  ConfigSetting *wdt = cfg_find_setting(c.as, "WDTEN");
  cfg_apply_value(c.as, *fosc, *cfg_find_value(*fosc, "HS"));
  cfg_apply_value(c.as, *wdt, *cfg_find_value(*wdt, "OFF"));
  cfg_emit_msgs(c.as, *fosc->reg);
  EXPECT_EQ(c.take(), "");
  cfg_emit_msgs(c.as, *wdt->reg);
  EXPECT_EQ(c.take(), "FOSC=HS,WDTEN=OFF\n");
  cfg_emit_msgs(c.as, *wdt->reg);
  EXPECT_EQ(c.take(), "");  // issued once
  // Switched off (the default), nothing is issued.
  Ctx d;
  cfg_emit_msgs(d.as, *cfg_find_reg_by_name(d.as, "CONFIG2"));
  EXPECT_EQ(d.take(), "");
}

TEST(CfgData, BadLines) {
  Ctx c(
      "CSETTING:1:A:no register yet\n"
      "CWORD:30000G:FF:FF:X\n"
      "CWORD:300000:FF\n"
      "CWORD:300001:FF:FF:R\n"
      "CSETTING:3:S:s\n"
      "CVALUE:1:V:v\n"
      "BOGUS:1\n"
      "CMSG:S=V,S:2066\n"
      "CMSG:S=W:2066\n"
      "CMSG:T=V:2066\n"
      "CMSG:S=V:0\n"
      "CMSG:S=V:x\n");
  EXPECT_EQ(c.take(),
            "dev.cfgdata: 1: (2119) syntax error in configuration data file\n"
            "dev.cfgdata: 2: (2119) syntax error in configuration data file\n"
            "dev.cfgdata: 3: (2119) syntax error in configuration data file\n"
            "dev.cfgdata: 7: (2119) syntax error in configuration data file\n"
            "dev.cfgdata: 8: (2119) syntax error in configuration data file\n"
            "dev.cfgdata: 9: (2121) CMSG record references undefined CVALUE (W)\n"
            "dev.cfgdata: 10: (2120) CMSG record references undefined CSETTING (T)\n"
            "dev.cfgdata: 12: (2119) syntax error in configuration data file\n");
  EXPECT_EQ(c.as.msg.errors, 8u);
  EXPECT_EQ(cfg_reg_count(c.as), 1u);
  EXPECT_TRUE(c.as.cfg.msgs.empty());  // number 0 is not kept
  Ctx d(("CWORD:1:FF:FF:" + std::string(2000, 'N') + "\n\x01\xff garbage\n").c_str());
  EXPECT_EQ(d.as.msg.errors, 2u);
}

TEST(CfgData, Pragma) {
  Ctx c;
  std::vector<std::pair<std::string, std::string>> got;
  auto collect = [&](const std::string &n, const std::string &v) { got.emplace_back(n, v); };
  EXPECT_TRUE(cfg_parse_pragma(c.as, {"FOSC=HS", "WDTEN", "=", "OFF", "PLLEN=", "ON", "X", "=Y"}, collect));
  EXPECT_EQ(got, (std::vector<std::pair<std::string, std::string>>{
                     {"FOSC", "HS"}, {"WDTEN", "OFF"}, {"PLLEN", "ON"}, {"X", "Y"}}));
  got.clear();
  EXPECT_FALSE(cfg_parse_pragma(c.as, {}, collect));
  EXPECT_FALSE(cfg_parse_pragma(c.as, {"A=B", "C"}, collect));
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(c.take(),
            "(1361) syntax error in configuration argument\n"
            "(1361) syntax error in configuration argument\n");
}

}  // namespace

namespace {

// Every shipped configuration data file loads cleanly, and its registers lie in the
// configuration or user-ID memory of its device.
TEST(CfgData, ShippedFilesLoad) {
  const std::pair<const char *, uint32_t> devices[] = {
      {"zel18a10", 0x30000D}, {"zel18a22", 0x30000D}, {"zel18a44", 0x30000D},
      {"zel18v64", 0x30000D}, {"zel18x47", 0x300009}, {"zel18x100", 0x300009},
  };
  for (const auto &[dev, cfg_hi] : devices) {
    Ctx c("");
    cfg_load_data(c.as, std::string(ASZEL18_SOURCE_DIR) + "/data/" + dev + ".cfgdata");
    EXPECT_EQ(c.take(), "") << dev;
    EXPECT_GE(cfg_reg_count(c.as), 10u) << dev;
    EXPECT_EQ(c.as.cfg.msgs.size(), 2u) << dev;
    for (ConfigRegister *r : c.as.cfg.order) {
      bool cfg = r->address >= 0x300000 && r->address + (r->mask > 0xFF ? 1 : 0) <= cfg_hi;
      bool id = r->address >= 0x200000 && r->address <= 0x200007;
      EXPECT_TRUE(cfg || id) << dev << " " << std::hex << r->address;
      EXPECT_EQ(r->defvalue & ~r->mask, 0u) << dev << " " << std::hex << r->address;
      for (auto &s : r->settings) {
        EXPECT_EQ(s->mask & ~r->mask, 0u) << dev << " " << cfg_setting_name(*s);
        for (auto &v : s->values) EXPECT_EQ(v->bits & ~s->mask, 0u) << dev << " " << cfg_setting_name(*s);
      }
    }
  }
}

}  // namespace
