// Core SFR table on the shipped ZEL18 and ZEL18X devices, and on a device lacking a register.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "device/chip.h"
#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "driver/assembly.h"
#include "test_context.h"

namespace {

struct Ctx : TestContext {
  // Loads a shipped device through the staged installation and binds the table.
  void load(const char *device) {
    as.host.self_path = ASZEL18_STAGE_BIN;
    chipinfo_load(as, device, "");
    sfr_init(as);
  }
};

TEST(Sfrs, ShippedDevicesBindAll37) {
  // Core registers sit at Fxx on ZEL18 and ZEL18V devices and at 3Fxx on ZEL18X devices.
  for (auto [device, high] : {std::pair<const char *, uint64_t>{"ZEL18A10", 0xF00}, {"ZEL18A22", 0xF00},
                              {"ZEL18A44", 0xF00}, {"ZEL18V64", 0xF00}, {"ZEL18X47", 0x3F00},
                              {"ZEL18X100", 0x3F00}}) {
    Ctx x;
    x.load(device);
    ASSERT_EQ(x.err.str(), "") << device;
    for (uint32_t id = 1; id <= SFR_COUNT; ++id) {
      uint64_t a = sfr_addr(x.as, id);
      EXPECT_EQ(a & ~uint64_t{0xFF}, high) << device << " id " << id;
      EXPECT_STREQ(sfr_name(x.as, static_cast<long long>(a)), core_sfrs[id - 1].name) << device;
    }
    EXPECT_EQ(sfr_addr(x.as, SFR_WREG), high + 0xF3) << device;
    EXPECT_EQ(sfr_addr(x.as, SFR_STATUS), high + 0xD8) << device;
    EXPECT_EQ(sfr_addr(x.as, SFR_PRODL), high + 0xE8) << device;
    EXPECT_EQ(sfr_addr(x.as, SFR_BSR), high + 0xE0) << device;
  }
}

TEST(Sfrs, PointerNumbers) {
  Ctx x;
  x.load("ZEL18A44");
  // The ends of each pointer's group of five access registers, and the core registers next to
  // them in id order.
  const std::pair<SfrOperand, unsigned> cases[] = {
      {0xFEF, 1}, {0xFEB, 1}, {0xFE7, 2}, {0xFE3, 2}, {0xFDF, 3}, {0xFDB, 3}, {0xFE8, 0}, {0xFEA, 0},
      {0xFF3, 0}, {0xFE2, 0}, {0xFE0, 0}, {0xFDA, 0}, {0xF80, 0}, {0x3FDB, 0},
      {-0xD, 0},  {std::nullopt, 0},  // negative, or not absolute
  };
  for (const auto &[v, want] : cases) EXPECT_EQ(sfr_fsr_number(x.as, v), want) << std::hex << v.value_or(-1);
  EXPECT_EQ(sfr_name(x.as, 0xF80), nullptr);  // PORTA: a device register, not a core one
  EXPECT_EQ(sfr_name(x.as, -1), nullptr);
  EXPECT_EQ(sfr_addr(x.as, 0), 0u);
  EXPECT_EQ(sfr_addr(x.as, 38), 0u);
  EXPECT_EQ(sfr_addr(x.as, SFR_END), 0u);
  Ctx y;
  y.load("18X47");
  EXPECT_EQ(sfr_fsr_number(y.as, 0x3FDB), 3u);
  EXPECT_EQ(sfr_fsr_number(y.as, 0xFDB), 0u);
}

TEST(Sfrs, MissingRegisterStaysUnbound) {
  Ctx x;
  auto c = std::make_unique<ChipInfo>();
  ASSERT_TRUE(chipinfo_parse(x.as,
                             "[ZEL18T1]\nARCH=ZEL18\nRAMSIZE=1000\nROMSIZE=10000\nPCBITS=F\nBSRBITS=4\n"
                             "COMMON=0-5F\nSFRCOMMON=F60-FFF\nGPRBANKS=0-EFF\nSFRBANKS=F00-FFF\n"
                             "CFGMEM=300000-30000D\nSFR=PCLATH,FFA\nSFR=Pcl,FF9\nSFR=wreg,FF3\nSFR=PORTA,F80\n",
                             "t.ini", "ZEL18T1", *c));
  x.as.dev.chip = std::move(c);
  EXPECT_EQ(sfr_name(x.as, 0xFF3), nullptr);  // not yet bound
  sfr_init(x.as);
  EXPECT_EQ(sfr_addr(x.as, SFR_PCLATU), 0u);
  EXPECT_EQ(sfr_addr(x.as, SFR_PCL), 0xFF9u);
  EXPECT_EQ(sfr_name(x.as, 0xFFB), nullptr);  // pclatu's usual place
  EXPECT_STREQ(sfr_name(x.as, 0xFFA), "pclath");
  EXPECT_STREQ(sfr_name(x.as, 0xFF3), "wreg");
  EXPECT_EQ(sfr_name(x.as, 0), nullptr);  // unbound entries are not in the table
  EXPECT_EQ(x.as.dev.sfr.bound, 3u);
  // A second initialisation changes nothing.
  x.as.dev.chip->sfrs.clear();
  x.as.dev.chip->sfr_order.clear();
  sfr_init(x.as);
  EXPECT_EQ(sfr_addr(x.as, SFR_PCL), 0xFF9u);
}

// Two core registers at one address: an internal check (1501 when switched on); the first
// keeps the address.
TEST(Sfrs, SharedCoreAddressIsAnInternalCheck) {
  for (unsigned check : {0u, unsigned{MSG_ASSERT_WARNING}}) {
    Ctx x;
    x.as.msg.check_msg = check;
    auto c = std::make_unique<ChipInfo>();
    ASSERT_TRUE(chipinfo_parse(x.as, "[ZEL14T1]\nARCH=ZEL14\nSFR=WREG,9\nSFR=STATUS,3\nSFR=BSR,9\n", "t.ini",
                               "ZEL14T1", *c));
    x.as.dev.chip = std::move(c);
    sfr_init(x.as);
    EXPECT_STREQ(sfr_name(x.as, 9), "wreg");
    EXPECT_EQ(x.err.str().find("(1501) assertion failure") != std::string::npos, check != 0);
  }
}

}  // namespace
