// ASCII case: conversion and case-insensitive comparison, the same in every locale.
#pragma once

#include <string>
#include <string_view>

inline char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string ascii_upper_text(std::string_view s) {
  std::string u(s);
  for (char &c : u) c = ascii_upper(c);
  return u;
}
inline std::string ascii_lower_text(std::string_view s) {
  std::string l(s);
  for (char &c : l) c = ascii_lower(c);
  return l;
}

inline bool iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}
