// A run context for tests: the error stream and standard output go into strings, and the
// embedded message database is loaded.
#pragma once

#include <regex>
#include <sstream>
#include <string>
#include <vector>

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
