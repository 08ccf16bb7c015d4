// The config and idloc psects: programming units, defaults, padding, comment lines and data.
#include <gtest/gtest.h>

#include <string>

#include "config/config.h"
#include "device/chipinfo.h"
#include "driver/assembly.h"
#include "isa/ops.h"
#include "test_context.h"

namespace {

// The device groups two configuration registers (one byte each) and eight user-ID bytes
// into one programming unit.
const char *CFG_TEXT =
    "CWORD:300000:0F:05:CFGA\n"
    "CSETTING:3:OSC:Oscillator\n"
    "CVALUE:0:LP:low power\n"
    "CVALUE:1:XT:crystal\n"
    "CVALUE:2:HS:high speed\n"
    "CSETTING:C:WDT:Watchdog\n"
    "CVALUE:0:OFF:disabled\n"
    "CVALUE:4:ON:enabled\n"
    "CWORD:300001:FF:FF:CFGB\n"
    "CWORD:300002:1FF:1AB:CFGW\n"
    "CSETTING:100:BIG:High bit\n"
    "CVALUE:100:ON:set\n"
    "CVALUE:0:OFF:clear\n"
    "CWORD:200000:FF:FF:IDLOC0\n"
    "CWORD:200002:FF:FF:IDLOC2\n"
    "CMSG:OSC=LP,WDT=ON:2080\n";

struct Ctx : TestContext {
  Ctx() {
    chipinfo_load(as, "ZEL18A44", std::string(ASZEL18_SOURCE_DIR) + "/data/quillon-18.ini");
    sym_init(as);
    cfg_load_text(as, CFG_TEXT, "t.cfgdata");
  }
  // The summary comments written so far.
  std::string summary() {
    out.str("");
    list_flush_summary(as, false);
    return out.str();
  }
  Symbol *psect(const char *name) {
    for (StatementList *l : as.list.lists)
      if (std::string(l->psect->s_name) == name) return l->psect;
    return nullptr;
  }
  // "org A" and "dbN V" lines for the statements of a psect.
  std::string data(const char *name) {
    Symbol *p = psect(name);
    if (!p) return "(none)";
    std::string s;
    for (Statement *n = p->s_stmts->head.op_next; n->op_type; n = n->op_next) {
      if (n->op_type == ORG) s += fmt_str("org %llX\n", static_cast<unsigned long long>(n->op_num));
      else if (n->op_type == DATA && n->op_list)
        s += fmt_str("db%u %llX\n", unsigned{n->op_subop}, static_cast<unsigned long long>(n->op_list->value.v_offs));
      else s += "?\n";
    }
    return s;
  }
};

TEST(ConfigPsects, NothingWithoutConfigDirectives) {
  Ctx c;
  cfg_make_psects(c.as);
  EXPECT_EQ(c.take(), "");
  EXPECT_EQ(c.summary(), "");
  EXPECT_EQ(c.data("config"), "(none)");
  EXPECT_EQ(c.data("idloc"), "(none)");

  Ctx d;
  cfg_prog_with_name(d.as, "OSC", "HS");
  cfg_disable(d.as);
  cfg_make_psects(d.as);
  EXPECT_EQ(d.data("config"), "(none)");
}

TEST(ConfigPsects, PaddingAndUserIdDefaults) {
  Ctx c;
  cfg_prog_with_name(c.as, "pad_punits", "on");
  cfg_prog_with_name(c.as, "default_idlocs", "always");
  cfg_prog_with_value(c.as, "CFGW", 0x1FF);
  cfg_make_psects(c.as);
  // The user-ID unit covers eight bytes from 0x200000; the holes are padded.
  EXPECT_EQ(c.data("idloc"),
            "org 200000\ndb1 FF\norg 200001\ndb1 FF\norg 200002\ndb1 FF\norg 200003\ndb1 FF\n"
            "org 200004\ndb1 FF\norg 200005\ndb1 FF\norg 200006\ndb1 FF\norg 200007\ndb1 FF\n");
  EXPECT_EQ(c.data("config"),
            "org 300000\ndb1 5\norg 300001\ndb1 FF\norg 300002\ndb2 1FF\norg 300003\ndb1 FF\n");
  std::string s = c.summary();
  EXPECT_EQ(s.substr(0, s.find("\n;Config register IDLOC2")),
            ";Config register IDLOC0 @ 0x200000\n"
            ";\tunspecified, using default values\n"
            "; Padding undefined space");
  EXPECT_NE(s.find(";Config register CFGW @ 0x300002\n;\tHigh bit\n;\tBIG = ON, set\n; Padding undefined space\n"),
            std::string::npos);
  Symbol *id = c.psect("idloc");
  ASSERT_NE(id, nullptr);
  ASSERT_NE(c.psect("config"), nullptr);
  EXPECT_EQ(id->s_psect.p_space, 5);
  ASSERT_NE(id->s_psect.p_class, nullptr);
  EXPECT_STREQ(id->s_psect.p_class->s_name, "IDLOC");
  // The first register visited is a user-ID one: its psect is made first.
  EXPECT_LT(id->s_pindex, c.psect("config")->s_pindex);
  EXPECT_EQ(c.message_numbers(), (std::vector<int>{1311}));  // CFGA, which has settings
}

TEST(ConfigPsects, ConfigurationMessages) {
  Ctx c;
  cfg_prog_with_name(c.as, "ignore_cmsgs", "off");
  cfg_prog_from_string(c.as, "OSC=LP,WDT=ON");
  cfg_make_psects(c.as);
  EXPECT_EQ(c.message_numbers(), (std::vector<int>{2080, 1311}));
  EXPECT_EQ(c.data("config").substr(0, 18), "org 300000\ndb1 4\no");
}

}  // namespace
