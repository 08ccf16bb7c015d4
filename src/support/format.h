// Safe printf-style formatting over typed arguments.
//
// Message texts are formats that users may replace, so they are never handed
// to the C library's printf. A conversion without a matching argument prints
// nothing, a type mismatch prints nothing, %n writes nothing, and widths and
// precisions are clamped, so no format can touch memory it should not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct FmtArg {
  enum Kind : uint8_t { INT, UINT, DBL, STR } kind;
  union {
    long long i;
    unsigned long long u;
    double d;
  };
  const char *s = nullptr;  // STR: text (not necessarily NUL-terminated)
  size_t len = 0;           // STR: length of s

  FmtArg(int v) : kind(INT), i(v) {}
  FmtArg(long v) : kind(INT), i(v) {}
  FmtArg(long long v) : kind(INT), i(v) {}
  FmtArg(unsigned v) : kind(UINT), u(v) {}
  FmtArg(unsigned long v) : kind(UINT), u(v) {}
  FmtArg(unsigned long long v) : kind(UINT), u(v) {}
  FmtArg(char v) : kind(INT), i(static_cast<unsigned char>(v)) {}
  FmtArg(double v) : kind(DBL), d(v) {}
  FmtArg(const char *v) : kind(STR), i(0), s(v ? v : ""), len(v ? std::char_traits<char>::length(v) : 0) {}
  FmtArg(std::string_view v) : kind(STR), i(0), s(v.data()), len(v.size()) {}
  FmtArg(const std::string &v) : kind(STR), i(0), s(v.data()), len(v.size()) {}
};

// Appends the formatted text to out, never growing it beyond limit characters.
void fmt_append(std::string &out, std::string_view fmt, std::span<const FmtArg> args,
                size_t limit = static_cast<size_t>(-1));

// Convenience: formats into a new string.
template <class... A>
std::string fmt_str(std::string_view fmt, const A &...a) {
  std::string out;
  if constexpr (sizeof...(A) == 0) {
    fmt_append(out, fmt, {});
  } else {
    const FmtArg args[] = {FmtArg(a)...};
    fmt_append(out, fmt, args);
  }
  return out;
}
