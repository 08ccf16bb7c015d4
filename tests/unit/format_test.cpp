// The safe formatter: printf conversions, and formats that must not misbehave.
#include <gtest/gtest.h>

#include "support/format.h"

namespace {

struct Case {
  const char *name;
  std::string got;
  const char *want;
};

TEST(Format, Conversions) {
  const Case cases[] = {
      {"percent", fmt_str("100%%"), "100%"},
      {"hex", fmt_str("0x%X %x %04X", 0x3Fu, 255, 0xAu), "0x3F ff 000A"},
      {"long long", fmt_str("%lld %llx %llX", -5LL, 0x1234ULL, 0xabcULL), "-5 1234 ABC"},
      {"width", fmt_str("[%5s][%-5s]", "ab", "cd"), "[   ab][cd   ]"},
      {"precision", fmt_str("%.2s", "abcdef"), "ab"},
      {"char", fmt_str("%c%c", 'o', 'k'), "ok"},
      {"zero pad negative", fmt_str("%05d", -42), "-0042"},
      {"plus", fmt_str("%+d", 3), "+3"},
      {"alt hex", fmt_str("%#x", 26), "0x1a"},
      {"float", fmt_str("%.3f", 1.5), "1.500"},
      {"int64 min", fmt_str("%lld", static_cast<long long>(INT64_MIN)), "-9223372036854775808"},
  };
  for (const auto &c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(Format, HostileFormatsAreHarmless) {
  // Conversions without arguments print nothing; %n writes nothing; mismatches print nothing.
  EXPECT_EQ(fmt_str("%s%s%n%x"), "");
  EXPECT_EQ(fmt_str("a%sb%dc", 5, "x"), "abc");
  EXPECT_EQ(fmt_str("%n[%s]", "skipped", "shown"), "[shown]");
  // Huge widths are clamped, not honoured byte for byte.
  std::string wide = fmt_str("%99999d", 1);
  EXPECT_LE(wide.size(), 1100u);
  EXPECT_EQ(wide.back(), '1');
  EXPECT_LE(fmt_str("%.99999999f", 1.0).size(), 600u);
  // A lone % at the end, and unknown conversions.
  EXPECT_EQ(fmt_str("end%"), "end");
  EXPECT_EQ(fmt_str("%y", 1), "");
  // A star width without an argument.
  EXPECT_EQ(fmt_str("%*d"), "");
}

TEST(Format, LimitCutsOutput) {
  std::string s = "(1) ";
  const std::string big(1000, 'x');
  const FmtArg a[] = {FmtArg(big)};
  fmt_append(s, "%s", a, 511);
  EXPECT_EQ(s.size(), 511u);
  EXPECT_EQ(s.substr(0, 5), "(1) x");
}

}  // namespace
