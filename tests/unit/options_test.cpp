// Command line: option forms, the argument reader, and the argument sources.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "driver/assembly.h"
#include "driver/run.h"
#include "test_context.h"

namespace {

struct Ctx : TestContext {
  Ctx() { run_start(as); }
  void scan(std::vector<std::string> args) {
    args.insert(args.begin(), "aszel18");
    scan_options(as, args);
  }
  std::vector<std::string> read(const std::string &text, bool tty = false) {
    std::istringstream in(text);
    return read_arguments(as, in, tty, "ASZEL18");
  }
};

TEST(Options, LetterForms) {
  Ctx c;
  c.scan({"-a", "-H", "-i", "-Lout.lst", "-V", "-X", "-R1F", "-O", "-Ofoo.obj", "-no_trans", "-NO_INLINE", "-no_pa",
          "-Bfoo", "-C", "-c", "-Cone.ini", "-Ctwo.ini", "src.as", "-later.as"});
  const AsmOptions &o = c.as.opt;
  EXPECT_TRUE(o.asm_output);
  EXPECT_TRUE(o.force_listing && o.list_expansions);
  EXPECT_TRUE(o.no_trans && o.no_inline && o.no_pa);
  EXPECT_EQ(o.call_exclusions.count("foo"), 1u);
  EXPECT_EQ(o.xref, 2u);
  EXPECT_EQ(o.chipinfo_path, "two.ini");
  EXPECT_EQ(o.source_files, (std::vector<std::string>{"src.as", "-later.as"}));
  EXPECT_TRUE(o.device_name.empty());
  EXPECT_EQ(c.err.str(), "");
}

TEST(Options, PrefixForms) {
  Ctx c;
  c.scan({"-auto_inlinex", "-no_paX", "-no_inlin", "-nothing", "-ver=2.5", "-Verbose", "-mfoo"});
  const AsmOptions &o = c.as.opt;
  EXPECT_TRUE(o.auto_inline);
  EXPECT_FALSE(o.asm_output);
  EXPECT_TRUE(o.no_pa);
  EXPECT_FALSE(o.no_inline);  // "-no_inlin" is one character short and is ignored like any -N
  EXPECT_EQ(o.version_text, "2.5");
  EXPECT_TRUE(o.line_numbers);
  EXPECT_TRUE(o.device_name.empty());  // -m other than -mcpu= is ignored
  Ctx d;
  d.scan({"-auto_inlin"});  // too short for -auto_inline: it is -A
  EXPECT_TRUE(d.as.opt.asm_output);
  EXPECT_FALSE(d.as.opt.auto_inline);
}

TEST(Options, DeviceNames) {
  const std::pair<std::vector<std::string>, const char *> cases[] = {
      {{"-18y", "-mcpu=18x"}, "18X"},
      {{"-mcpu=18x", "-18y"}, "18X"},
      {{"-b18x", "-B18z"}, "B18X"},                 // -B is a call exclusion
      {{"-MCPU=zel", "-mcpu=zel18a44"}, "ZEL18A44"},  // upper-case M names a device; -mcpu= then replaces it
      {{"-Mcpu=x"}, "MCPU=X"},
  };
  for (const auto &[args, want] : cases) {
    Ctx c;
    c.scan(args);
    EXPECT_EQ(c.as.opt.device_name, want) << args[0];
  }
}

TEST(Options, NumericChecks) {
  struct {
    const char *arg;
    const char *err;
  } cases[] = {
      {"-F15", ""},
      {"-F0", ""},
      {"-F", ""},
      {"-F-3", "0: (835) form length must be >= 15\n"},
      {"-T59", "0: (834) page width must be >= 60\n"},
      {"-T60", ""},
      {"-T-100", "0: (834) page width must be >= 60\n"},
      {"-T99999999999999999999", ""},
  };
  for (const auto &k : cases) {
    Ctx c;
    c.scan({k.arg});
    EXPECT_EQ(c.err.str(), k.err) << k.arg;
  }
}

TEST(Options, Warnings) {
  struct Case {
    const char *arg;
    int threshold;
    bool fatal;
  };
  // "-W!2": atoi stops at "!", so the threshold is 0 and warnings are fatal.
  for (auto [arg, threshold, fatal] : {Case{"-W-9!", -9, true}, Case{"-W3", 3, false}, Case{"-W!2", 0, true}}) {
    Ctx c;
    c.scan({arg});
    EXPECT_EQ(c.as.msg.warn_threshold, threshold) << arg;
    EXPECT_EQ(c.as.msg.warnings_fatal, fatal) << arg;
  }
}

TEST(Options, DoubleDash) {
  Ctx c;
  c.scan({"--opt=space,DEBUG", "--errata=5", "--cmode=ntx", "--LIB", "--MaxIzel", "--xinst", "--XIDENT",
          "--emax=3", "--cfgdata=disabled", "--kvdebug=on"});
  const AsmOptions &o = c.as.opt;
  EXPECT_TRUE(o.opt_space && o.opt_debug);
  EXPECT_EQ(o.errata_mask, 5u);
  EXPECT_EQ(o.compat_mode, 1u);
  EXPECT_TRUE(o.lib_relative && o.maximal_device && o.xinst && o.xident);
  EXPECT_EQ(c.as.msg.error_limit, 3);
  EXPECT_TRUE(o.cfgdata_disabled);
  EXPECT_EQ(c.err.str(), "");

  Ctx d;
  d.scan({"--errataX5"});  // the number is read from the tenth character
  EXPECT_EQ(d.as.opt.errata_mask, 5u);
  Ctx e;
  e.scan({"--errata"});  // nothing at the tenth character
  EXPECT_EQ(e.as.opt.errata_mask, 0u);
  Ctx f;
  f.scan({"--opt=speed"});
  EXPECT_FALSE(f.as.opt.opt_space || f.as.opt.opt_debug);
  Ctx g;
  g.scan({"--cmode=NTX"});  // names compare case-sensitively
  EXPECT_EQ(g.as.opt.compat_mode, 0u);
  EXPECT_EQ(g.err.str(), "Unknown cmode (NTX)\n");
  EXPECT_EQ(g.as.msg.errors, 0u);
}

TEST(ArgReader, SeparatorsAndQuotes) {
  Ctx c;
  auto v = c.read("-mcpu=zel18a44  -L\tsrc.as\n\"a b\"'c d'e \"\" x\"y z\"\r\nlast\n");
  EXPECT_EQ(v, (std::vector<std::string>{"", "-mcpu=zel18a44", "-L", "src.as", "a bc de", "", "xy z", "last"}));
  EXPECT_EQ(c.err.str(), "");
}

TEST(ArgReader, TerminalContinuation) {
  Ctx c;
  auto v = c.read("-O \\\nsrc.as\nnot read\n", true);
  EXPECT_EQ(v, (std::vector<std::string>{"", "-O", "src.as"}));
  EXPECT_EQ(c.err.str(), "ASZEL18> ASZEL18> ");
  // A backslash inside a word joins it with the next line's text.
  Ctx d;
  auto w = d.read("ab\\\ncd\n", true);
  EXPECT_EQ(w, (std::vector<std::string>{"", "abcd"}));
  // Not a terminal: the backslash is an ordinary character and reading goes on to the end.
  Ctx e;
  auto x = e.read("ab\\\ncd\n", false);
  EXPECT_EQ(x, (std::vector<std::string>{"", "ab\\", "cd"}));
}

TEST(ArgReader, MissingNewlineWarnsAtLowLevel) {
  Ctx d;
  msg_set_warning_level(d.as.msg, -1);
  auto v = d.read("a b");
  EXPECT_EQ(v, (std::vector<std::string>{"", "a", "b"}));
  EXPECT_EQ(d.err.str(), "0: (337) line does not have a newline on the end (warning)\n");
}

TEST(RunNames, ExtensionReplacement) {
  EXPECT_EQ(replace_extension("dir.old\\src", "obj"), "dir.obj");
  EXPECT_EQ(replace_extension("dir.old/src", "obj"), "dir.obj");
  EXPECT_EQ(replace_extension("src", "lst"), "src.lst");
  EXPECT_EQ(replace_extension("a.b.c", "rlf"), "a.b.rlf");
}

}  // namespace
