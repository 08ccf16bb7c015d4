// Reading whole text files and cutting text into lines, for the test programs.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The file's bytes; empty when it cannot be read.
inline std::string read_all(const std::filesystem::path &p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// The lines of s without their '\n'; a last line without one counts, an empty tail does not.
inline std::vector<std::string> split_lines(const std::string &s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}
