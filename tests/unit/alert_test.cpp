// Message engine: database parsing and merging, layout with and without templates, counting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "driver/alert.h"

namespace {

// A message state with the embedded database, writing into a string.
struct Msgs {
  std::ostringstream err;
  MsgState m;
  long line = 12;
  Msgs() {
    unsetenv("NTX_ERR_FORMAT"), unsetenv("NTX_WARN_FORMAT"), unsetenv("NTX_MSG_FORMAT");
    m.err = &err;
    msg_init(m, nullptr);
    msg_set_position(m, "src.as", &line, nullptr, nullptr);
  }
  std::string take() {
    std::string s = err.str();
    err.str("");
    return s;
  }
};

std::string write_temp(const std::string &name, const std::string &text) {
  std::string path = ::testing::TempDir() + name + "-" + std::to_string(::getpid());
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string read_source(const char *name) {
  std::ifstream f(std::string(ASZEL18_SOURCE_DIR) + "/src/driver/" + name, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// The message names of msgnum.h and the embedded database built from messages.txt list the
// same numbers, one name and one text for each.
TEST(Alert, NamesAndDatabaseListTheSameMessages) {
  std::map<unsigned, std::string> names;  // number: name
  std::set<std::string> seen;
  std::istringstream header(read_source("msgnum.h"));
  for (std::string l; std::getline(header, l);) {
    size_t at = l.find("MSG_"), eq = l.find(" = ");
    if (at == std::string::npos || eq == std::string::npos || eq < at) continue;
    std::string name = l.substr(at, eq - at);
    unsigned num = static_cast<unsigned>(std::stoul(l.substr(eq + 3)));
    EXPECT_TRUE(seen.insert(name).second) << name << " twice";
    EXPECT_TRUE(names.emplace(num, name).second) << name << " and " << names[num] << " are both " << num;
  }
  Msgs t;
  MessageTable db = msg_parse_db(t.m, read_source("messages.txt"), "messages.txt");
  EXPECT_EQ(t.take(), "");
  for (const auto &[num, name] : names) EXPECT_EQ(db.recs.count(num), 1u) << name << " (" << num << ") has no text";
  for (const auto &[num, rec] : db.recs) EXPECT_EQ(names.count(num), 1u) << num << " \"" << rec.text << "\" has no name";
  EXPECT_GT(names.size(), 100u);
}

TEST(Alert, DefaultLayout) {
  Msgs t;
  msg_report(t.m, MSG_CFG_MESSAGE, "hello");  // plain message: no number
  EXPECT_EQ(t.take(), "src.as: 12: hello\n");
  msg_report_nopos(t.m, MSG_SYNTAX_ERROR);
  EXPECT_EQ(t.take(), "Non line specific message: (876) syntax error\n");
  msg_set_position(t.m, nullptr, nullptr, nullptr, nullptr);
  msg_report(t.m, MSG_UNKNOWN_OPTION, "--x");
  EXPECT_EQ(t.take(), "(168) unknown option \"--x\"\n");
}

TEST(Alert, TemplateLayout) {
  Msgs t;
  msg_set_format_mode(t.m, 1);
  msg_report(t.m, MSG_CONFIG_DEFAULT_USED, 1u);
  EXPECT_EQ(t.take(), "src.as: 12: (1311) missing configuration setting for config word 0x1; using default (warning)\n");
  // Every placeholder; %c stays empty without column pointers; "%q" gives "q"; a final "%" ends.
  setenv("NTX_ERR_FORMAT", "[%f|%l|%n|%a|%c|%%|%q|%s]%", 1);
  msg_set_templates(t.m, nullptr, nullptr, nullptr);
  unsetenv("NTX_ERR_FORMAT");
  msg_report(t.m, MSG_SYNTAX_ERROR);
  EXPECT_EQ(t.take(), "[src.as|12|876|assembler||%|q|syntax error]\n");
  const char text[] = "  movlw 3";
  msg_set_position(t.m, "src.as", &t.line, text, text + 2);
  msg_report(t.m, MSG_SYNTAX_ERROR);
  EXPECT_EQ(t.take(), "[src.as|12|876|assembler|2|%|q|syntax error]\n");
  msg_report_nopos(t.m, MSG_SYNTAX_ERROR);
  EXPECT_EQ(t.take(), "[Non line specific message||876|assembler|2|%|q|syntax error]\n");
}

TEST(Alert, WarningThresholdAndStatus) {
  Msgs t;
  EXPECT_EQ(msg_report(t.m, MSG_NO_NEWLINE), 0);  // level -1: hidden at threshold 0
  EXPECT_EQ(t.m.warnings, 0u);
  EXPECT_EQ(msg_exit_status(t.m), 0);
  msg_set_warning_level(t.m, -1);
  EXPECT_EQ(msg_report(t.m, MSG_NO_NEWLINE), 1);
  EXPECT_EQ(t.m.warnings, 1u);
  EXPECT_EQ(msg_exit_status(t.m), 0);
  msg_set_warnings_fatal(t.m, true);
  EXPECT_EQ(msg_exit_status(t.m), 1);
  msg_report(t.m, MSG_FORM_LENGTH_15);
  EXPECT_EQ(t.m.errors, 1u);
}

TEST(Alert, ReportOnce) {
  Msgs t;
  EXPECT_EQ(msg_report_once(t.m, MSG_ACCESS_BIT_ASSUMED, "banked"), 1);
  EXPECT_EQ(msg_report_once(t.m, MSG_ACCESS_BIT_ASSUMED, "banked"), 0);
  t.line = 13;
  EXPECT_EQ(msg_report_once(t.m, MSG_ACCESS_BIT_ASSUMED, "banked"), 1);
  EXPECT_EQ(t.m.warnings, 2u);
  // A message dropped by the threshold does not use up its key.
  msg_set_warning_level(t.m, 5);
  EXPECT_EQ(msg_report_once(t.m, MSG_TRUNCATION, 1ULL, 8), 0);
  msg_set_warning_level(t.m, -9);
  EXPECT_EQ(msg_report_once(t.m, MSG_TRUNCATION, 0x1FFULL, 8), 1);
}

// A MsgAt replaces the set position while it lives and gives back the earlier one, also what
// msg_set_at moved inside it; once-only keys use the position the message is printed with.
TEST(Alert, ExplicitPositions) {
  Msgs t;
  msg_report_at(t.m, {"inc.as", 3}, MSG_SYNTAX_ERROR);
  msg_report_at(t.m, {nullptr, 4}, MSG_SYNTAX_ERROR);
  {
    MsgAt pass(t.m, {"a.as", 1});
    msg_set_at(t.m, {"b.as", 2});
    EXPECT_EQ(msg_report_once(t.m, MSG_ACCESS_BIT_ASSUMED, "banked"), 1);
    EXPECT_EQ(msg_report_once(t.m, MSG_ACCESS_BIT_ASSUMED, "banked"), 0);
    {
      MsgAt keep(t.m);
      msg_set_at(t.m, {"c.as", 5});
    }
    msg_report(t.m, MSG_SYNTAX_ERROR);
  }
  EXPECT_EQ(msg_report_once(t.m, MSG_ACCESS_BIT_ASSUMED, "banked"), 1);
  EXPECT_EQ(t.take(),
            "inc.as: 3: (876) syntax error\n"
            "4: (876) syntax error\n"
            "b.as: 2: (1522) RAM access bit operand not specified, assuming banked (warning)\n"
            "b.as: 2: (876) syntax error\n"
            "src.as: 12: (1522) RAM access bit operand not specified, assuming banked (warning)\n");
}

TEST(Alert, Overrides) {
  Msgs t;
  msg_disable_list(t.m, "876,1311");
  EXPECT_EQ(msg_report(t.m, MSG_SYNTAX_ERROR), 1);  // a bare number leaves errors alone
  EXPECT_EQ(msg_report(t.m, MSG_CONFIG_DEFAULT_USED, 1u), 0);
  msg_disable_list(t.m, "876:OFF,836:off");
  EXPECT_EQ(msg_report(t.m, MSG_SYNTAX_ERROR), 0);
  EXPECT_EQ(t.m.errors, 1u);
  EXPECT_THROW(msg_report(t.m, MSG_NO_FILE_ARGUMENTS), AsmExit);  // fatal stays
  Msgs a;
  msg_disable_list(a.m, "0");
  EXPECT_EQ(msg_report(a.m, MSG_CFG_MESSAGE, "x"), 0);
  EXPECT_EQ(msg_report(a.m, MSG_CONFIG_DEFAULT_USED, 1u), 0);
  EXPECT_EQ(msg_report(a.m, MSG_SYNTAX_ERROR), 1);
}

TEST(Alert, UnknownNumberFallsBack) {
  Msgs t;
  EXPECT_EQ(msg_report(t.m, 9999), 1);
  EXPECT_EQ(t.take(), "src.as: 12: (9999) An error, warning or message was generated, but no description is available\n");
  EXPECT_EQ(t.m.errors, 1u);
}

TEST(Alert, DatabaseParsing) {
  Msgs t;
  std::string db =
      "# comment\n"
      "876 E\t\tmy syntax error\n"  // two tabs: the text keeps the second
      "bogus line\n"
      "\n"
      "10001 E too big\n"
      "5 Q unknown type\n"
      "6 E\n"
      "1311 -3 warn %u\n"
      "77 m plain\r\n";
  MessageTable tab = msg_parse_db(t.m, db, "my.txt");
  EXPECT_EQ(t.take(),
            "src.as: 12: Malformed error information on line 3, in file my.txt\n"
            "src.as: 12: Malformed error information on line 4, in file my.txt\n"
            "src.as: 12: Malformed error information on line 5, in file my.txt\n"
            "src.as: 12: Malformed error information on line 6, in file my.txt\n"
            "src.as: 12: Malformed error information on line 7, in file my.txt\n");
  ASSERT_EQ(tab.recs.count(876), 1u);
  EXPECT_EQ(tab.recs[876].text, "\tmy syntax error");
  EXPECT_EQ(tab.recs[1311].type, MT_WARNING);
  EXPECT_EQ(tab.recs[1311].level, -3);
  EXPECT_EQ(tab.recs[77].type, MT_MESSAGE);
  EXPECT_EQ(tab.recs[77].text, "plain");
  EXPECT_EQ(tab.highest, 77u);
  EXPECT_EQ(t.m.errors, 0u);
}

TEST(Alert, LongDatabaseLinesReadInPieces) {
  Msgs t;
  std::string db = "876 E " + std::string(300, 'x') + "\n";
  MessageTable tab = msg_parse_db(t.m, db, "long.txt");
  EXPECT_EQ(tab.recs[876].text.size(), 255u - 6u);
  EXPECT_EQ(t.take(), "src.as: 12: Malformed error information on line 2, in file long.txt\n");
}

TEST(Alert, MessageFileMergesOverEmbedded) {
  Msgs t;
  std::string path = write_temp("aszel18_msgs_merge.txt",
                                "876 5 my %s%s%n%x%99999d text\n"  // the file's type is ignored: types come from the first table
                                "5000 E only in the file\n");
  ASSERT_TRUE(msg_load_file(t.m, path));
  msg_report(t.m, MSG_SYNTAX_ERROR);
  EXPECT_EQ(t.take(), "src.as: 12: (876) my  text\n");
  EXPECT_EQ(t.m.errors, 1u);  // still an error: the type table is the embedded one
  EXPECT_EQ(msg_report(t.m, 5000), 1);
  EXPECT_NE(t.take().find("no description is available"), std::string::npos);
  EXPECT_TRUE(msg_load_file(t.m, path));  // the same name again: no reread
  EXPECT_FALSE(msg_load_file(t.m, path + ".missing"));
  std::remove(path.c_str());
}

TEST(Alert, LongTextIsCut) {
  Msgs t;
  std::string name(3000, 'n');
  msg_report(t.m, MSG_UNKNOWN_OPTION, name);
  std::string line = t.take();
  // "src.as: 12: " + 511 characters of text + line feed.
  EXPECT_EQ(line.size(), 12u + 511u + 1u);
  msg_set_position(t.m, std::string(9000, 'f').c_str(), &t.line, nullptr, nullptr);
  msg_report(t.m, MSG_SYNTAX_ERROR);
  line = t.take();
  EXPECT_EQ(line.size(), 8191u);
  EXPECT_EQ(line.back(), '\n');
}

}  // namespace

namespace {

TEST(Alert, ConsistencyChecks) {
  Msgs t;
  int x = 2;
  EXPECT_FALSE(MSG_CHECK(t.m, x == 1));
  EXPECT_EQ(t.take(), "");  // off by default
  t.m.check_msg = MSG_ASSERT_ERROR;
  int line = __LINE__ + 1;
  EXPECT_FALSE(MSG_CHECK(t.m, x == 1));
  EXPECT_EQ(t.take(), "Non line specific message: (1502) assertion failure: x == 1 (alert_test.cpp:" +
                          std::to_string(line) + ") \n");
  EXPECT_TRUE(MSG_CHECK(t.m, x == 2));
  EXPECT_EQ(t.m.errors, 1u);
}

}  // namespace
