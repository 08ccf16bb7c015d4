// CONFIG directives: names, switches, and the forms that program registers and settings.
#include <gtest/gtest.h>

#include <sstream>

#include "config/config.h"
#include "device/chipinfo.h"
#include "driver/assembly.h"
#include "test_context.h"

namespace {

const char *DATA =
    "CWORD:300001:2F:25:CONFIG1H\n"
    "CSETTING:E:FOSC:Oscillator\n"
    "CVALUE:2:XT:XT\n"
    "CVALUE:6:HS:HS\n"
    "CSETTING:20:PLLEN:PLL\n"
    "CVALUE:20:ON:on\n"
    "CVALUE:0:OFF:off\n"
    "CWORD:300002:FF:FF:CONFIG2L\n"
    "CWORD:200000:FF:FF:IDLOC0\n";

struct Ctx : TestContext {
  Ctx() {
    chipinfo_load(as, "ZEL18A44", std::string(ASZEL18_SOURCE_DIR) + "/data/quillon-18.ini");
    cfg_load_text(as, DATA, "t.cfgdata");
  }
};

TEST(Config, ClassifyMarksMemory) {
  Ctx c;
  EXPECT_EQ(cfg_classify(c.as, "config1h"), CFG_REG);
  EXPECT_TRUE(c.as.cfg.config_touched);
  EXPECT_FALSE(c.as.cfg.idloc_touched);
  EXPECT_EQ(cfg_classify(c.as, "IDLOC0"), CFG_REG);
  EXPECT_TRUE(c.as.cfg.idloc_touched);
  EXPECT_EQ(cfg_classify(c.as, "PLLEN"), CFG_SETTING);
  EXPECT_EQ(cfg_classify(c.as, "Default_Configs"), CFG_SWITCH);
  EXPECT_EQ(cfg_classify(c.as, "nothing"), CFG_UNKNOWN);
  EXPECT_EQ(c.take(), "");
}

TEST(Config, NamedSettingsAndSwitches) {
  Ctx c;
  cfg_prog_with_name(c.as, "FOSC", "HS");
  ConfigRegister *r = cfg_find_reg_by_name(c.as, "CONFIG1H");
  EXPECT_TRUE(r->programmed);
  EXPECT_EQ(r->state, CFG_NAMED);
  EXPECT_EQ(r->value, 0x27u);
  cfg_prog_with_name(c.as, "FOSC", "LP");
  cfg_prog_with_name(c.as, "CONFIG2L", "X");
  cfg_prog_with_name(c.as, "pad_punits", "maybe");
  EXPECT_EQ(c.take(),
            "(1363) unknown configuration setting/register (FOSC = LP) used\n"
            "(1363) unknown configuration setting/register (CONFIG2L = X) used\n"
            "(1361) syntax error in configuration argument\n");
  cfg_prog_with_name(c.as, "pad_punits", "ON");
  cfg_prog_with_name(c.as, "default_configs", "always");
  cfg_prog_with_name(c.as, "ignore_cmsgs", "off");
  EXPECT_TRUE(c.as.cfg.sw.pad_punits);
  EXPECT_EQ(c.as.cfg.sw.default_configs, CFG_ALWAYS);
  EXPECT_FALSE(c.as.cfg.ignore_cmsgs);
  cfg_prog_with_value(c.as, "default_idlocs", 0);
  EXPECT_EQ(c.as.cfg.sw.default_idlocs, CFG_OFF);
  cfg_prog_with_value(c.as, "default_idlocs", 7);
  EXPECT_EQ(c.as.cfg.sw.default_idlocs, CFG_ALWAYS);
  EXPECT_EQ(c.take(), "");
}

TEST(Config, Literals) {
  Ctx c;
  cfg_prog_with_value(c.as, "CONFIG1H", 0x06);
  ConfigRegister *r = cfg_find_reg_by_name(c.as, "CONFIG1H");
  EXPECT_EQ(r->state, CFG_NAMED);  // a register with settings goes on through its settings
  EXPECT_EQ(r->value, 0x06u);
  EXPECT_EQ(cfg_value_name(*cfg_find_setting(c.as, "FOSC")->chosen), "HS");
  cfg_prog_with_value(c.as, "CONFIG2L", 0x12);
  EXPECT_EQ(cfg_find_reg_by_name(c.as, "CONFIG2L")->state, CFG_LITERAL);
  // The register literal chose PLLEN's value OFF: a literal for PLLEN now conflicts.
  cfg_prog_with_value(c.as, "PLLEN", 1);
  cfg_prog_with_value(c.as, "NOSUCH", 0x1F);
  EXPECT_EQ(c.take(),
            "(1389) attempt to reprogram configuration setting \"PLLEN\" with 0x1 (is OFF)\n"
            "(1363) unknown configuration setting/register (PLLEN = 0x1) used\n"
            "(1363) unknown configuration setting/register (NOSUCH = 0x1F) used\n");
  Ctx d;
  cfg_prog_with_value(d.as, "PLLEN", 0);
  EXPECT_EQ(cfg_find_reg_by_name(d.as, "CONFIG1H")->value, 0x05u);
  cfg_prog_with_value(d.as, "PLLEN", 1);
  EXPECT_EQ(d.take(),
            "(1389) attempt to reprogram configuration setting \"PLLEN\" with 0x1 (is 0x0)\n"
            "(1363) unknown configuration setting/register (PLLEN = 0x1) used\n");
}

TEST(Config, StringForm) {
  Ctx c;
  cfg_prog_from_string(c.as, "\"FOSC=HS, PLLEN = 1\"");
  ConfigRegister *r = cfg_find_reg_by_name(c.as, "CONFIG1H");
  EXPECT_EQ(r->value, 0x27u);
  cfg_prog_from_string(c.as, "CONFIG2L=0x3F");
  EXPECT_EQ(cfg_find_reg_by_name(c.as, "CONFIG2L")->value, 0x3Fu);
  cfg_prog_from_string(c.as, "CONFIG2L=high");
  cfg_prog_from_string(c.as, "FOSC=");
  cfg_prog_from_string(c.as, "  ");
  cfg_prog_from_string(c.as, "WHAT=1");
  cfg_prog_from_string(c.as, "pad_punits=on,default_configs=0");
  EXPECT_EQ(c.take(),
            "(1363) unknown configuration setting/register (CONFIG2L = high) used\n"
            "(1361) syntax error in configuration argument\n"
            "(1361) syntax error in configuration argument\n"
            "(1363) unknown configuration setting/register (WHAT = 1) used\n");
  EXPECT_TRUE(c.as.cfg.sw.pad_punits);
  EXPECT_EQ(c.as.cfg.sw.default_configs, CFG_OFF);
}

}  // namespace
