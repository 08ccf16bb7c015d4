// A run context for tests: the error stream and standard output go into strings, and the
// embedded message database is loaded.
#pragma once

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "device/chipinfo.h"
#include "device/sfrs.h"
#include "driver/assembly.h"

struct TestContext {
  std::ostringstream err, out;
  Assembly as;

  TestContext() {
    as.io.err = &err;
    as.io.out = &out;
    as.msg.err = &err;
    msg_init(as.msg, nullptr);
  }

  // Loads the device (its chip info and SFRs), then parses src as the file "t.as" with no error
  // limit. Options that matter to the parse are set before.
  void parse_text(const std::string &src, const char *device = "ZEL18A44") {
    as.opt.device_name = device;
    chipinfo_load(as, device, std::string(ASZEL18_SOURCE_DIR) + "/data/quillon-18.ini");
    sfr_init(as);
    msg_set_error_limit(as.msg, 1 << 30);
    sym_init(as);
    lex_init(as);
    macro_init(as);
    lex_open_text(as, "t.as", src);
    parse(as);
  }

  // The error stream's text since the last call.
  std::string take() {
    std::string s = err.str();
    err.str("");
    return s;
  }

  // The numbers "(n) " of the messages written since the last call.
  std::vector<int> message_numbers() {
    std::vector<int> nums;
    std::string s = take();
    static const std::regex re("\\((\\d+)\\) ");
    for (auto it = std::sregex_iterator(s.begin(), s.end(), re); it != std::sregex_iterator(); ++it)
      nums.push_back(std::stoi((*it)[1]));
    return nums;
  }
};
