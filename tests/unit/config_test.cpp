// CONFIG names: how a name is classified and which memory it marks (the programming forms and
// their messages are config cases).
#include <gtest/gtest.h>


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

}  // namespace
