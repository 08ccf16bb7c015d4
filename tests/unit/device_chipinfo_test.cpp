// Chip-info reader and device record: syntax, messages with their numbers and lines,
// section selection, presence rules, derived values, queries and file location.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <string>

#include "device/chip.h"
#include "device/chipinfo.h"
#include "driver/assembly.h"
#include "test_context.h"
#include "support/format.h"

namespace {

// A ZEL18 section body that satisfies the presence rules (line 1 is the header).
const std::string ZEL18_BODY =
    "ARCH=ZEL18\n"              // 2
    "RAMSIZE=1000\n"            // 3
    "ROMSIZE=10000\n"           // 4
    "PCBITS=F\n"                // 5
    "BSRBITS=4\n"               // 6
    "COMMON=0-5F\n"             // 7
    "SFRCOMMON=F60-FFF\n"       // 8
    "GPRBANKS=0-EFF\n"          // 9
    "SFRBANKS=F00-FFF\n"        // 10
    "CFGMEM=300000-30000D\n";   // 11

// ZEL18_BODY with the line of key replaced (line numbers stay).
std::string body_with(const std::string &key, const std::string &line) {
  std::string b = ZEL18_BODY;
  size_t at = b.find("\n" + key + "=") + 1;
  b.replace(at, b.find('\n', at) - at, line);
  return b;
}

struct Ctx : TestContext {
  // Parses text for the device; "fatal" when the run would end, "none" when no section
  // matched, else "ok". The record is installed as the run's device when it loads.
  std::string parse(const std::string &text, const char *device = "ZEL18T1") {
    auto c = std::make_unique<ChipInfo>();
    try {
      if (!chipinfo_parse(as, text, "t.ini", device, *c)) return "none";
    } catch (const AsmExit &) {
      return "fatal";
    }
    as.dev.chip = std::move(c);
    return "ok";
  }
  const ChipInfo &chip() { return *as.dev.chip; }
  std::string messages() const { return err.str(); }
};

TEST(ChipInfo, BadInputMessages) {
  struct Case {
    const char *name;
    std::string text;
    const char *want;  // the whole error stream; each of these ends the run
  };
  const Case cases[] = {
      {"header without a name", "[ ]\n", "(1024) syntax error in chipinfo file \"t.ini\" at line 1\n"},
      {"number wider than 32 bits", "[ZEL18T1]\nROMSIZE=100000000\n",
       "(1021) syntax error reading \"ROMSIZE\" value in chipinfo file \"t.ini\" at line 2\n"},
      {"number missing", "[ZEL18T1]\nPCBITS\n",
       "(1021) syntax error reading \"PCBITS\" value in chipinfo file \"t.ini\" at line 2\n"},
      {"range without dash", "[ZEL18T1]\nGPRBANKS=60-FF,100\n",
       "(1022) syntax error reading \"GPRBANKS\" range in chipinfo file \"t.ini\" at line 2\n"},
      {"only comments", "# nothing\n\n   # here\n", "(920) empty chipinfo file\n"},
      {"unknown architecture", "[ZEL18T1]\nARCH=ZEL99\n", "(1025) unknown architecture in chipinfo file \"t.ini\" at line 2\n"},
      {"missing architecture", "[OTHER]\nARCH=ZEL18\n[ZEL18T1]\nRAMSIZE=1000\n",
       "(1026) missing architecture in chipinfo file \"t.ini\" at line 3\n"},
      {"missing required key", "[ZEL18T1]\n" + body_with("PCBITS", "# none"),
       "(1015) missing \"PCBITS\" specification in chipinfo file \"t.ini\" at line 1\n"},
      {"EEPROM needs EEADRBITS", "[ZEL18T1]\n" + ZEL18_BODY + "EEPROM=F00000-F003FF\n",
       "(1015) missing \"EEADRBITS\" specification in chipinfo file \"t.ini\" at line 1\n"},
      {"required key twice", "[ZEL18T1]\n" + ZEL18_BODY + "ROMSIZE=8000\n",
       "(1019) duplicate \"ROMSIZE\" specification in chipinfo file \"t.ini\" at line 12\n"},
      {"optional key twice", "[ZEL18T1]\n" + ZEL18_BODY + "USERIDMEM=200000-200007\nUSERIDMEM=200000-200007\n",
       "(1019) duplicate \"USERIDMEM\" specification in chipinfo file \"t.ini\" at line 13\n"},
      {"two COMMON ranges", "[ZEL18T1]\n" + body_with("COMMON", "COMMON=0-5F,60-7F"),
       "(919) Too many COMMON RAM ranges defined in chipinfo file \"t.ini\" at line 7\n"},
      {"two CFGMEM ranges", "[ZEL18T1]\n" + body_with("CFGMEM", "CFGMEM=300000-300001,300002-300003"),
       "(1017) extraneous argument to \"CFGMEM\" specification in chipinfo file \"t.ini\" at line 11\n"},
      {"CFGPROG number zero", "[ZEL18T1]\nCFGPROG=2,1,0\n", "(1024) syntax error in chipinfo file \"t.ini\" at line 2\n"},
      {"CFGPROG unit too small", "[ZEL18T1]\nCFGPROG=4,2,4\n", "(1024) syntax error in chipinfo file \"t.ini\" at line 2\n"},
      {"CFGPROG twice", "[ZEL18T1]\ncfgprog=2,1,2\nCFGPROG=2,1,2\n",
       "(1019) duplicate \"CFGPROG\" specification in chipinfo file \"t.ini\" at line 3\n"},
      {"FLASH_EW one number", "[ZEL18T1]\nFLASH_EW=40\n",
       "(1016) missing argument to \"FLASH_EW\" specification in chipinfo file \"t.ini\" at line 2\n"},
      {"FLASH_EW empty", "[ZEL18T1]\nFLASH_EW=\n",
       "(1016) missing arguments to \"FLASH_EW\" specification in chipinfo file \"t.ini\" at line 2\n"},
      {"INTSTAT malformed", "[ZEL18T1]\nINTSTAT=FB0,x,2\n",
       "(1016) missing argument to \"INTSTAT\" specification in chipinfo file \"t.ini\" at line 2\n"},
      {"interrupt description incomplete", "[ZEL18T1]\n" + ZEL18_BODY + "INTSRC=TMR0,1\n",
       "(1015) missing \"INTSTAT\" specification in chipinfo file \"t.ini\" at line 1\n"},
      {"extra token", "[ZEL18T1]\nPCBITS=F 10\n",
       "(1017) extraneous argument to \"PCBITS\" specification in chipinfo file \"t.ini\" at line 2\n"},
      {"SFR without address", "[ZEL18T1]\nSFR=PORTA\n",
       "(1021) syntax error reading \"SFR\" value in chipinfo file \"t.ini\" at line 2\n"},
      {"SFR twice", "[ZEL18T1]\n" + ZEL18_BODY + "SFR=PORTA,F80\nSFR=porta,F81\n",
       "(919) SFR porta defined twice in chipinfo file \"t.ini\" at line 13\n"},
      {"BSRBITS too wide", "[ZEL18T1]\n" + body_with("BSRBITS", "BSRBITS=20"),
       "(919) BSRBITS out of range in chipinfo file \"t.ini\" at line 6\n"},
      {"EEPROM beyond the address space", "[ZEL18T1]\n" + ZEL18_BODY + "EEPROM=FFFFFF00-FFFFFFFF\nEEADRBITS=10\n",
       "(919) EEADRBITS out of range in chipinfo file \"t.ini\" at line 13\n"},
      {"key without a name", "[ZEL18T1]\n=5\n", "(1024) syntax error in chipinfo file \"t.ini\" at line 2\n"},
  };
  for (const auto &c : cases) {
    Ctx x;
    EXPECT_EQ(x.parse(c.text), "fatal") << c.name;
    EXPECT_EQ(x.messages(), c.want) << c.name;
  }
}

TEST(ChipInfo, DuplicateArchIsAnErrorAndTheFirstStays) {
  Ctx x;
  EXPECT_EQ(x.parse("[ZEL18T1]\n" + ZEL18_BODY + "ARCH=ZEL14\n"), "ok");
  EXPECT_EQ(x.messages(), "(816) duplicate ARCH specification in chipinfo file \"t.ini\" at line 12\n");
  EXPECT_EQ(x.as.msg.errors, 1u);
  EXPECT_EQ(x.chip().arch, ARCH_ZEL18);
}

TEST(ChipInfo, SectionSelection) {
  struct Case {
    const char *name;
    std::string text;
    const char *device;
    const char *want;  // selected section, or "" for none
  };
  const std::string body = ZEL18_BODY;
  const Case cases[] = {
      {"case ignored, the section's spelling kept", "[Zel18x100]\n" + body, "ZEL18X100", "Zel18x100"},
      {"first suffix match", "[ZEL18X100]\n" + body + "[QZEL18X100]\n" + body, "18X100", "ZEL18X100"},
      {"exact match anywhere wins", "[ZEL18X100]\n" + body + "[18X100]\n" + body, "18X100", "18X100"},
      {"suffix only when longer", "[X100]\n" + body, "ZEL18X100", ""},
      {"no match", "[ZEL18A]\n" + body, "ZEL18B", ""},
      {"global lines only", "ARCH=ZEL18\n", "ZEL18B", ""},
  };
  for (const auto &c : cases) {
    Ctx x;
    std::string got = x.parse(c.text, c.device);
    if (*c.want) {
      ASSERT_EQ(got, "ok") << c.name << ": " << x.messages();
      EXPECT_STREQ(x.chip().c_name, c.want) << c.name;
    } else {
      EXPECT_EQ(got, "none") << c.name;
    }
  }
}

TEST(ChipInfo, FallbackSectionIsReadWithItsLineNumbers) {
  Ctx x;
  EXPECT_EQ(x.parse("[ZEL18X100]\n" + ZEL18_BODY + "BOGUS=1\n[OTHER]\nBOGUS2=1\n", "18X100"), "ok");
  EXPECT_EQ(x.messages(), "(1020) unknown attribute \"BOGUS\" in chipinfo file \"t.ini\" at line 12 (warning)\n");
}

TEST(ChipInfo, GlobalKeysAreDefaults) {
  Ctx x;
  EXPECT_EQ(x.parse("ARCH=ZEL18\nSTACKDEPTH=10\nFAMILY=GLOBAL\nERRATA=E1\n[ZEL18T1]\n" +
                    ZEL18_BODY.substr(ZEL18_BODY.find('\n') + 1) + "FAMILY=OWN\nFAMILY=SECOND\n"),
            "ok");
  EXPECT_EQ(x.messages(), "");
  const ChipInfo &c = x.chip();
  EXPECT_EQ(c.arch, ARCH_ZEL18);  // from the global lines
  EXPECT_EQ(c.stack_depth, 0x10u);
  EXPECT_EQ(c.family, "OWN");
  EXPECT_EQ(c.errata, "E1");
}

TEST(ChipInfo, LineSyntax) {
  Ctx x;
  // Blanks, colons and repeated delimiters around values; comments; CR line ends.
  EXPECT_EQ(x.parse("  # comment\r\n\t\r\nARCH:ZEL18\r\n[ ZEL18T1 ]  trailing\r\n"
                    "RAMSIZE = 1000\r\nROMSIZE==10000\r\nPCBITS\tF\r\nBSRBITS=:4\r\n  COMMON=0-5F\r\n"
                    "SFRCOMMON=0xF60-0xFFF\r\nGPRBANKS=0-EFF\r\nSFRBANKS=F00-FFF\r\nCFGMEM=300000-30000D\r\n"
                    "FAMILY=Somebody Else Ltd\r\n"),
            "ok");
  EXPECT_EQ(x.messages(), "");
  EXPECT_STREQ(x.chip().c_name, "ZEL18T1");
  EXPECT_EQ(x.chip().bsr_bits, 4u);
  EXPECT_EQ(x.chip().access_sfr.lo, 0xF60u);
  EXPECT_EQ(x.chip().family, "Somebody");
}

TEST(ChipInfo, DerivedValues) {
  Ctx a;
  ASSERT_EQ(a.parse("[ZEL18T1]\n" + ZEL18_BODY + "EEPROM=F00000-F00000\nEEADRBITS=A\nUSERIDMEM=200000-200007\n" +
                    "STACKDEPTH=0\nCFGPROG=2,1,2\n"),
            "ok")
      << a.messages();
  const ChipInfo &c = a.chip();
  EXPECT_EQ(c.rom_high, 0x10000u);  // 2^(PCBITS + 1)
  EXPECT_EQ(c.ram_size, 0x1000u);   // 256 * 2^BSRBITS
  EXPECT_EQ(c.eeprom.lo, 0xF00000u);
  EXPECT_EQ(c.eeprom.hi, 0xF003FFu);
  EXPECT_EQ(c.stack_depth, 31u);
  EXPECT_EQ(c.cfgmem.size(), 14u);
  EXPECT_TRUE(c.useridmem.present);
  ProgSpec p = chip_cfgprog(a.as);
  EXPECT_TRUE(p.defined);
  EXPECT_EQ(p.numcregs, 2u);
  EXPECT_EQ(p.delta, 1u);
  EXPECT_EQ(p.alignment, 2u);
  EXPECT_FALSE(chip_useridprog(a.as).defined);
  // Banks 0-F minus 0-5F, F60-FFF and F00-FFF: 60-FF, then the whole banks 1 to E.
  ASSERT_EQ(c.gpr_banks.r.size(), 15u);
  EXPECT_EQ(c.gpr_banks.r.front().lo, 0x60u);
  EXPECT_EQ(c.gpr_banks.r.front().hi, 0xFFu);
  EXPECT_EQ(c.gpr_banks.r.back().lo, 0xE00u);
  EXPECT_EQ(c.gpr_banks.r.back().hi, 0xEFFu);

  // An extended-address device: 64 banks, SFRs from 3900; external memory sets the limit.
  Ctx b;
  std::string body = "ARCH=ZEL18X\n" + ZEL18_BODY.substr(ZEL18_BODY.find('\n') + 1);
  for (auto [key, line] : {std::pair<std::string, std::string>{"BSRBITS", "BSRBITS=6"},
                           {"SFRCOMMON", "SFRCOMMON=3F60-3FFF"},
                           {"GPRBANKS", "GPRBANKS=0-FF"},
                           {"SFRBANKS", "SFRBANKS=3900-3FFF"}}) {
    size_t at = body.find("\n" + key + "=") + 1;
    body.replace(at, body.find('\n', at) - at, line);
  }
  ASSERT_EQ(b.parse("[ZEL18T1]\n" + body + "EXTMEM=20000-1FFFFF\n"), "ok") << b.messages();
  const ChipInfo &d = b.chip();
  EXPECT_EQ(d.ram_size, 0x4000u);
  EXPECT_EQ(d.rom_high, 0x1FFFFFu);
  ASSERT_EQ(d.gpr_banks.r.size(), 57u);  // 60-FF and banks 1 to 38: more than GPRBANKS gave
  EXPECT_EQ(d.gpr_banks.r.back().lo, 0x3800u);
  EXPECT_EQ(d.gpr_banks.r.back().hi, 0x38FFu);
  EXPECT_TRUE(chip_has_arch(b.as, ARCH_EXTENDED_ADDRESS));
  EXPECT_FALSE(chip_has_arch(a.as, ARCH_EXTENDED_ADDRESS));
}

TEST(ChipInfo, MidRangeDevicesAreOnlyValidated) {
  struct Case {
    const char *romsize;
    uint64_t want;
  };
  for (auto [romsize, want] : {Case{"10000", 0xFFFF}, Case{"0", 0}, Case{"800", 0x7FF}}) {
    Ctx x;
    ASSERT_EQ(x.parse(fmt_str("[ZEL14T1]\nARCH=ZEL14\nROMSIZE=%s\nCOMMON=70-7F,F0-FF,170-17F\nCONFIGPROG=1,2,2\n"
                              "FLASHTYPE=whatever\n",
                              romsize),
                      "ZEL14T1"),
              "ok")
        << x.messages();
    EXPECT_EQ(x.messages(), "");
    EXPECT_EQ(x.chip().rom_high, want) << romsize;
    EXPECT_FALSE(chip_in_access_bank(x.as, 0x70));  // ZEL18 families only
  }
}

TEST(ChipInfo, Queries) {
  Ctx x;
  ASSERT_EQ(x.parse("[ZEL18T1]\n" + ZEL18_BODY + "USERIDMEM=200000-200007\n"), "ok");
  Assembly &as = x.as;
  EXPECT_EQ(chip_arch(as), ARCH_ZEL18);
  EXPECT_STREQ(chip_name(as), "ZEL18T1");
  EXPECT_STREQ(chip_arch_name(as, ARCH_ZEL18XV), "ZEL18XV");
  EXPECT_STREQ(chip_arch_name(as, ARCH_ANY), "ANY");
  EXPECT_EQ(chip_arch_name(as, 3), nullptr);
  EXPECT_TRUE(chip_in_userid(as, 0x200007));
  EXPECT_FALSE(chip_in_userid(as, 0x200008));
  EXPECT_TRUE(chip_in_config(as, 0x30000D));
  EXPECT_FALSE(chip_in_config(as, 0x30000E));
  const std::pair<uint64_t, std::array<bool, 3>> cases[] = {
      // address, in access SFRs, in access bank, in SFR area
      {0x05F, {false, true, false}}, {0x060, {false, false, false}}, {0xF5F, {false, false, true}},
      {0xF60, {true, true, true}},   {0xFFF, {true, true, true}},    {0x1000, {false, false, false}},
  };
  for (const auto &[addr, want] : cases) {
    EXPECT_EQ(chip_in_access_sfr(as, addr), want[0]) << std::hex << addr;
    EXPECT_EQ(chip_in_access_bank(as, addr), want[1]) << std::hex << addr;
    EXPECT_EQ(chip_in_sfr_area(as, addr), want[2]) << std::hex << addr;
  }
  EXPECT_EQ(x.messages(), "");
}

TEST(ChipInfo, QueriesBeforeLoadingReport814) {
  Ctx x;
  Assembly &as = x.as;
  int answers = chip_arch(as) + chip_has_arch(as, -1) + (chip_name(as) != nullptr) +
                (chip_arch_name(as, ARCH_ZEL18) != nullptr) + chip_in_userid(as, 0) + chip_in_config(as, 0) +
                chip_in_access_sfr(as, 0) + chip_in_access_bank(as, 0) + chip_cfgprog(as).defined;
  EXPECT_EQ(answers, 0);
  EXPECT_EQ(as.msg.errors, 9u);
  EXPECT_EQ(x.messages().substr(0, x.messages().find('\n')), "(814) processor type not defined");
}

TEST(ChipInfo, Widening) {
  Ctx x;
  ASSERT_EQ(x.parse("[ZEL18T1]\n" + ZEL18_BODY + "EEPROM=F00000-F000FF\nEEADRBITS=8\n"), "ok");
  ChipInfo &c = *x.as.dev.chip;
  chip_widen(c);
  EXPECT_TRUE(c.widened);
  EXPECT_EQ(c.rom_high, 0x200000u);
  EXPECT_EQ(c.eeprom.hi, 0xF003FFu);
  EXPECT_EQ(c.ram_size, 0x1000u);
  EXPECT_EQ(c.gpr_banks.r.size(), 15u);

  Ctx m;  // a mid-range record is not widened
  ASSERT_EQ(m.parse("[ZEL14T1]\nARCH=ZEL14\nROMSIZE=800\n", "ZEL14T1"), "ok");
  chip_widen(*m.as.dev.chip);
  EXPECT_FALSE(m.chip().widened);
  EXPECT_EQ(m.chip().rom_high, 0x7FFu);
}

// A fake installation: <root>/bin/aszel18 beside <root>/zel/dat.
struct Install {
  std::filesystem::path root;
  Install() {
    root = std::filesystem::temp_directory_path() / fmt_str("aszel18-chip-%d", static_cast<int>(::getpid()));
    std::filesystem::create_directories(root / "bin");
    std::filesystem::create_directories(root / "zel" / "dat" / "ini");
  }
  ~Install() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  void put(const std::string &rel, const std::string &text) const {
    std::ofstream(root / "zel" / "dat" / rel, std::ios::binary) << text;
  }
  void use(Assembly &as) const { as.host.self_path = (root / "bin" / "aszel18").string(); }
  std::string dat(const std::string &rel) const { return (root / "zel" / "dat" / rel).string(); }
};

TEST(ChipInfo, FileLocation) {
  Install in;
  Ctx x;
  in.use(x.as);
  EXPECT_EQ(chipinfo_locate(x.as, "ZEL18A44"), in.dat("quillon-18.ini"));
  EXPECT_EQ(chipinfo_locate(x.as, "ZEL14T1"), in.dat("quillon.ini"));
  EXPECT_EQ(chipinfo_locate(x.as, "Z18"), in.dat("quillon.ini"));
  in.put("ZEL18A44.ini", "");
  EXPECT_EQ(chipinfo_locate(x.as, "ZEL18A44"), in.dat("ZEL18A44.ini"));
  in.put("ini/ZEL18A44.ini", "");
  EXPECT_EQ(chipinfo_locate(x.as, "ZEL18A44"), in.dat("ini/ZEL18A44.ini"));
  EXPECT_EQ(chipinfo_locate(x.as, "../dat/ZEL18A44"), in.dat("quillon.ini"));

  Ctx none;  // no installation: nothing to look in
  none.as.host.self_path = "/nonexistent/place/aszel18";
  EXPECT_EQ(chipinfo_locate(none.as, "ZEL18A44"), std::nullopt);
}

TEST(ChipInfo, Loading) {
  Install in;
  in.put("quillon-18.ini", "[ZEL18T1]\n" + ZEL18_BODY + "[ZEL18T2]\n" + ZEL18_BODY);
  struct Case {
    const char *name;
    std::string self;  // program path: empty for the fake installation
    const char *device;
    std::string path;  // -C
    std::string want;  // error stream; empty for success
  };
  const Case cases[] = {
      {"combined file missing", "", "ZEL14T1", "",
       "(141) can't open chip info file \"" + in.dat("quillon.ini") + "\": No such file or directory\n"},
      {"no installation", "/nonexistent/aszel18", "ZEL18T1", "", "(2043) target device was not recognized\n"},
      {"explicit path", "/nonexistent/aszel18", "ZEL18T1", in.dat("quillon-18.ini"), ""},
      {"explicit path is a directory", "", "ZEL18T1", in.dat("ini"),
       "(141) can't open chip info file \"" + in.dat("ini") + "\": Is a directory\n"},
  };
  for (const auto &c : cases) {
    Ctx x;
    if (c.self.empty()) in.use(x.as);
    else x.as.host.self_path = c.self;
    bool ended = false;
    try {
      chipinfo_load(x.as, c.device, c.path);
    } catch (const AsmExit &) {
      ended = true;
    }
    EXPECT_EQ(x.messages(), c.want) << c.name;
    EXPECT_EQ(ended, !c.want.empty()) << c.name;
    EXPECT_EQ(x.as.dev.chip != nullptr, c.want.empty()) << c.name;
  }
}

}  // namespace
