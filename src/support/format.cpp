// Safe printf-style formatter: the subset of conversions message texts use.
#include "support/format.h"

#include <charconv>
#include <cstdio>

#include "support/ascii.h"

namespace {

constexpr int MAX_WIDTH = 1024;  // clamps "%99999d" and friends

struct Spec {
  bool left = false, plus = false, space = false, alt = false, zero = false;
  int width = 0;
  int prec = -1;
};

void put(std::string &out, size_t limit, std::string_view s) {
  if (out.size() >= limit) return;
  size_t room = limit - out.size();
  out.append(s.substr(0, room));
}

void pad(std::string &out, size_t limit, char c, int n) {
  for (int k = 0; k < n && out.size() < limit; ++k) out.push_back(c);
}

// Writes body (with an optional sign/prefix) padded to the field width.
void emit(std::string &out, size_t limit, const Spec &sp, std::string_view prefix, std::string_view body,
          bool numeric) {
  int len = static_cast<int>(prefix.size() + body.size());
  int fill = sp.width > len ? sp.width - len : 0;
  if (sp.left) {
    put(out, limit, prefix);
    put(out, limit, body);
    pad(out, limit, ' ', fill);
  } else if (sp.zero && numeric && sp.prec < 0) {
    put(out, limit, prefix);
    pad(out, limit, '0', fill);
    put(out, limit, body);
  } else {
    pad(out, limit, ' ', fill);
    put(out, limit, prefix);
    put(out, limit, body);
  }
}

void emit_unsigned(std::string &out, size_t limit, const Spec &sp, unsigned long long v, int base, bool upper,
                   std::string_view sign) {
  char digits[80];
  auto r = std::to_chars(digits, digits + sizeof digits, v, base);
  std::string body(digits, r.ptr);
  if (upper)
    for (char &c : body) c = ascii_upper(c);
  if (sp.prec >= 0) {
    if (sp.prec == 0 && v == 0) body.clear();
    int p = sp.prec > MAX_WIDTH ? MAX_WIDTH : sp.prec;
    if (static_cast<int>(body.size()) < p) body.insert(0, p - body.size(), '0');
  }
  std::string prefix(sign);
  if (sp.alt && v != 0) {
    if (base == 16) prefix += upper ? "0X" : "0x";
    if (base == 8 && (body.empty() || body[0] != '0')) body.insert(0, 1, '0');
  }
  emit(out, limit, sp, prefix, body, true);
}

// One conversion with its argument; an argument of the wrong kind prints nothing.
void convert(std::string &out, size_t limit, const Spec &sp, char conv, const FmtArg &a) {
  switch (conv) {
  case 'd':
  case 'i': {
    if (a.kind != FmtArg::INT && a.kind != FmtArg::UINT) break;
    bool neg = a.kind == FmtArg::INT && a.i < 0;
    unsigned long long mag = a.kind == FmtArg::UINT ? a.u
                             : neg ? 0ULL - static_cast<unsigned long long>(a.i)
                                   : static_cast<unsigned long long>(a.i);
    emit_unsigned(out, limit, sp, mag, 10, false, neg ? "-" : sp.plus ? "+" : sp.space ? " " : "");
    break;
  }
  case 'u':
  case 'x':
  case 'X':
  case 'o': {
    if (a.kind != FmtArg::INT && a.kind != FmtArg::UINT) break;
    unsigned long long v = a.kind == FmtArg::UINT ? a.u : static_cast<unsigned long long>(a.i);
    int base = conv == 'u' ? 10 : conv == 'o' ? 8 : 16;
    emit_unsigned(out, limit, sp, v, base, conv == 'X', "");
    break;
  }
  case 'c': {
    if (a.kind != FmtArg::INT && a.kind != FmtArg::UINT) break;
    char ch = static_cast<char>(a.kind == FmtArg::INT ? a.i : static_cast<long long>(a.u));
    emit(out, limit, sp, "", std::string_view(&ch, 1), false);
    break;
  }
  case 's': {
    if (a.kind != FmtArg::STR) break;
    std::string_view s(a.s, a.len);
    if (sp.prec >= 0 && static_cast<size_t>(sp.prec) < s.size()) s = s.substr(0, sp.prec);
    emit(out, limit, sp, "", s, false);
    break;
  }
  case 'f':
  case 'F':
  case 'e':
  case 'E':
  case 'g':
  case 'G': {
    if (a.kind != FmtArg::DBL) break;
    // Delegate the digits to snprintf with a format we build ourselves.
    char f[16];
    int n = 0;
    f[n++] = '%';
    if (sp.plus) f[n++] = '+';
    if (sp.space) f[n++] = ' ';
    if (sp.alt) f[n++] = '#';
    f[n++] = '.';
    f[n] = 0;
    int prec = sp.prec < 0 ? 6 : (sp.prec > 60 ? 60 : sp.prec);
    char fmtbuf[32];
    std::snprintf(fmtbuf, sizeof fmtbuf, "%s%d%c", f, prec, conv);
    char body[512];
    std::snprintf(body, sizeof body, fmtbuf, a.d);
    emit(out, limit, sp, "", body, true);
    break;
  }
  default:
    break;  // 'p': addresses are never shown
  }
}

}  // namespace

void fmt_append(std::string &out, std::string_view fmt, std::span<const FmtArg> args, size_t limit) {
  size_t next = 0;
  size_t i = 0;
  while (i < fmt.size() && out.size() < limit) {
    char c = fmt[i++];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    if (i >= fmt.size()) break;
    if (fmt[i] == '%') {
      out.push_back('%');
      ++i;
      continue;
    }
    Spec sp;
    for (; i < fmt.size(); ++i) {
      char f = fmt[i];
      if (f == '-') sp.left = true;
      else if (f == '+') sp.plus = true;
      else if (f == ' ') sp.space = true;
      else if (f == '#') sp.alt = true;
      else if (f == '0') sp.zero = true;
      else break;
    }
    auto read_num = [&](int &dst) {
      if (i < fmt.size() && fmt[i] == '*') {
        ++i;
        dst = 0;
        if (next < args.size() && args[next].kind == FmtArg::INT) dst = static_cast<int>(args[next].i);
        else if (next < args.size() && args[next].kind == FmtArg::UINT) dst = static_cast<int>(args[next].u);
        ++next;
        return;
      }
      long long n = 0;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
        if (n < MAX_WIDTH) n = n * 10 + (fmt[i] - '0');
        ++i;
      }
      dst = static_cast<int>(n > MAX_WIDTH ? MAX_WIDTH : n);
    };
    read_num(sp.width);
    if (sp.width < 0) {
      sp.left = true;
      sp.width = -sp.width;
    }
    if (sp.width > MAX_WIDTH) sp.width = MAX_WIDTH;
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      read_num(sp.prec);
      if (sp.prec > MAX_WIDTH) sp.prec = MAX_WIDTH;
    }
    while (i < fmt.size() && (fmt[i] == 'l' || fmt[i] == 'h' || fmt[i] == 'z' || fmt[i] == 'j' ||
                              fmt[i] == 't' || fmt[i] == 'L' || fmt[i] == 'q'))
      ++i;
    if (i >= fmt.size()) break;
    char conv = fmt[i++];
    const FmtArg *a = nullptr;
    if (conv == 'd' || conv == 'i' || conv == 'u' || conv == 'x' || conv == 'X' || conv == 'o' || conv == 'c' ||
        conv == 's' || conv == 'f' || conv == 'F' || conv == 'e' || conv == 'E' || conv == 'g' || conv == 'G' ||
        conv == 'p' || conv == 'n') {
      if (next < args.size()) a = &args[next];
      ++next;
    }
    // Unknown conversions take no argument; they, %n and a conversion without an argument print
    // nothing.
    if (!a || conv == 'n') continue;
    convert(out, limit, sp, conv, *a);
  }
  if (out.size() > limit) out.resize(limit);
}
