// A run context for tests: the error stream and standard output go into strings and the
// embedded message database is loaded. Tests of a whole front end set it up through the run's
// stages as the program does, with the source text given in memory.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "driver/run.h"

// The message numbers "(n) " of an error-stream text, in order.
inline std::vector<int> message_numbers_in(const std::string &text) {
  std::vector<int> v;
  for (size_t i = 0; (i = text.find('(', i)) != std::string::npos; ++i) {
    size_t j = i + 1;
    while (j < text.size() && j - i < 6 && text[j] >= '0' && text[j] <= '9') ++j;
    if (j > i + 1 && j + 1 < text.size() && text[j] == ')' && text[j + 1] == ' ')
      v.push_back(std::stoi(text.substr(i + 1, j - i - 1)));
  }
  return v;
}

struct TestContext {
  std::ostringstream err, out;
  Assembly as;
  std::string src;  // the source text, kept while it is read

  TestContext() {
    as.io.err = &err;
    as.io.out = &out;
    as.msg.err = &err;
    msg_init(as.msg, nullptr);
  }

  // Starts and sets the run up as the program does from the shipped chip-info file,
  // "-mcpu=<device>" and args (options, then source files); no error limit.
  void setup(std::vector<std::string> args, const char *device = "ZEL18A44") {
    run_start(as);
    args.insert(args.begin(), {"aszel18", std::string("-C") + ASZEL18_SOURCE_DIR + "/data/quillon-18.ini",
                               std::string("-mcpu=") + device});
    run_setup(as, std::move(args));
    msg_set_error_limit(as.msg, 1 << 30);
  }

  // setup with the options, and the reader opened on text as the source file "t.as".
  void open_text(std::string text, const char *device = "ZEL18A44", std::vector<std::string> options = {}) {
    options.push_back("t.as");
    setup(std::move(options), device);
    src = std::move(text);
    run_open_input(as, src);
  }

  // open_text, then the parse.
  void parse_text(std::string text, const char *device = "ZEL18A44", std::vector<std::string> options = {}) {
    open_text(std::move(text), device, std::move(options));
    run_parse(as);
  }

  // The error stream's text since the last call.
  std::string take() {
    std::string s = err.str();
    err.str("");
    return s;
  }

  // The numbers of the messages written since the last call.
  std::vector<int> message_numbers() { return message_numbers_in(take()); }
};
