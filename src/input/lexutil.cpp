// Source reader and lexer: files, include files and macro text become one token stream.
#include "input/lexutil.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

#include "config/config.h"
#include "driver/assembly.h"
#include "driver/run.h"
#include "isa/ops.h"
#include "lang/expr.h"
#include "lang/sym.h"
#include "support/ascii.h"

namespace {

constexpr size_t FILE_CHUNK = 64 * 1024;  // read buffer of a file input
constexpr unsigned char MARK = 127;       // substitution mark; the next byte is its index
constexpr uint32_t CMODE_OLD_FORMS = 8;   // compatibility bit: older number and character forms

// Line numbers wrap around like the 64-bit numbers that line markers set them from.
long wrapped(long a, long b) { return static_cast<long>(static_cast<unsigned long>(a) + static_cast<unsigned long>(b)); }
long wrapped_sub(long a, long b) {
  return static_cast<long>(static_cast<unsigned long>(a) - static_cast<unsigned long>(b));
}

// Character classes for bytes 0..127; bytes 128..255 belong to none.
enum : uint8_t {
  C_UPPER = 1, C_LOWER = 2, C_DIGIT = 4, C_HEX = 8, C_BLANK = 16, C_NAME = 32,
  C_LETTER = C_UPPER | C_LOWER,
};

constexpr struct ClassTable {
  uint8_t c[256] = {};
  constexpr ClassTable() {
    for (int i = 'A'; i <= 'Z'; ++i) c[i] = C_UPPER | C_NAME;
    for (int i = 'a'; i <= 'z'; ++i) c[i] = C_LOWER | C_NAME;
    c['$'] = c['?'] = c['_'] = C_LOWER | C_NAME;
    for (int i = '0'; i <= '9'; ++i) c[i] = C_DIGIT | C_HEX | C_NAME;
    for (int i = 'A'; i <= 'F'; ++i) c[i] |= C_HEX;
    for (int i = 'a'; i <= 'f'; ++i) c[i] |= C_HEX;
    c['@'] = C_NAME;  // continues a name, starts none
    c['\b'] = c['\t'] = c['\f'] = c['\r'] = c[' '] = C_BLANK;
  }
} CLS;

inline bool is(char ch, uint8_t cls) { return CLS.c[static_cast<unsigned char>(ch)] & cls; }
inline int hexval(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

void restore_radix(LexState &L) {
  if (L.saved_radix) L.radix = L.saved_radix;
  L.saved_radix = 0;
}

// Searches the line for the three per-line markers; NUL bytes, which would read as the end of
// the line, become blanks (error 844 once).
void scan_line(Assembly &as, std::string &s, bool keep) {
  LexState &L = as.lex;
  if (!keep) L.m_volatile = L.m_volsfr = L.m_hl = false;
  char *b = s.data(), *e = b + s.size();
  for (char *p = b; (p = static_cast<char *>(std::memchr(p, ';', static_cast<size_t>(e - p)))); ++p) {
    std::string_view r(p + 1, static_cast<size_t>(e - p - 1));
    if (r.starts_with('#')) L.m_hl = true;
    else if (r.starts_with("volatile")) L.m_volatile = true;
    else if (r.starts_with("volsfr")) L.m_volsfr = true;
  }
  // No marker has a blank in it, so blanking the NUL bytes after the search changes none.
  if (std::memchr(b, 0, s.size())) {
    std::replace(b, e, '\0', ' ');
    msg_report(as.msg, MSG_NUL_BYTE);
  }
}

void xref_file(Assembly &as) {
  if (as.drv.xref && as.lex.cur_file) *as.drv.xref << '~' << as.lex.cur_file << '\n';
}

void push_file(Assembly &as, std::string_view name) {
  LexState &L = as.lex;
  InputRecord r;
  r.kind = IN_FILE;
  r.saved_line = L.line_no;
  r.saved_msg_line = L.msg_line;
  r.saved_list = L.list_on;
  r.saved_file = L.cur_file;
  L.stack.push_back(std::move(r));
  L.cur_file = as.strings.intern(name);
  L.line_no = L.msg_line = 0;
  L.line_done = true;
  xref_file(as);
}

bool any_file_open(const LexState &L) {
  for (const InputRecord &r : L.stack)
    if (r.kind == IN_FILE) return true;
  return false;
}

bool open_file(Assembly &as, std::string_view name) {
  bool include = any_file_open(as.lex);
  std::string path(name);
  FileId id;
  std::FILE *f = os_open_input(path, id);
  if (!f) {
    msg_report(as.msg, MSG_CANT_OPEN_FILE, include ? "include" : "", path);
    return false;
  }
  as.drv.inputs.push_back(id);
  push_file(as, name);
  InputRecord &r = as.lex.stack.back();
  r.file.reset(f);
  r.buf.reset(new char[FILE_CHUNK]);
  r.data = r.buf.get();
  return true;
}

// Reads one physical line of a file input into L.line; false at the end of the file.
bool read_file_line(Assembly &as, InputRecord &r) {
  LexState &L = as.lex;
  L.line.clear();
  bool got = false, lf = false, too_long = false;
  for (;;) {
    const char *s = r.data + r.pos;
    size_t n = r.len - r.pos;
    if (n) got = true;
    if (const char *e = static_cast<const char *>(std::memchr(s, '\n', n))) {
      L.line.append(s, static_cast<size_t>(e - s));
      r.pos += static_cast<size_t>(e - s) + 1;
      lf = true;
      break;
    }
    L.line.append(s, n);
    r.pos = r.len;
    if (L.line.size() > SOURCE_LINE_MAX) {
      // No source has such a line: the file is something else, and the rest of it is not read.
      L.line.clear();
      r.file.reset();
      r.pos = r.len = 0;
      lf = too_long = true;
      break;
    }
    if (!r.file) break;
    r.len = std::fread(r.buf.get(), 1, FILE_CHUNK, r.file.get());
    r.pos = 0;
    if (!r.len) break;
  }
  if (!got) return false;
  if (lf && !L.line.empty() && L.line.back() == '\r') L.line.pop_back();
  L.line_no = wrapped(L.line_no, 1);
  L.msg_line = wrapped(L.msg_line, 1);
  if (too_long) msg_report(as.msg, MSG_LINE_TOO_LONG, static_cast<unsigned>(SOURCE_LINE_MAX));
  if (!lf) msg_report(as.msg, MSG_NO_NEWLINE);
  return true;
}

// Replaces each substitution mark of text by the text it stands for, into L.line. A mark whose
// index byte is missing substitutes nothing. Substituted text beyond EXPANDED_LINE_MAX (or the
// length of text, when that is more) is cut.
void substitute_marks(Assembly &as, std::string_view text) {
  LexState &L = as.lex;
  std::string &out = L.scratch;
  out.clear();
  size_t len = text.size(), cap = std::max(EXPANDED_LINE_MAX, len);
  bool cut = false;
  for (size_t i = 0; i < len; ++i) {
    if (static_cast<unsigned char>(text[i]) != MARK) {
      out.push_back(text[i]);
      continue;
    }
    if (i + 1 >= len) break;
    unsigned index = static_cast<unsigned char>(text[++i]);
    if (!L.hooks.mark_text) continue;
    std::string_view t = L.hooks.mark_text(as, index);
    size_t room = cap > out.size() ? cap - out.size() : 0;
    if (t.size() > room) {
      t = t.substr(0, room);
      cut = true;
    }
    for (char ch : t) out.push_back(ch == '\n' || ch == static_cast<char>(MARK) ? ' ' : ch);
  }
  L.line.swap(out);
  if (cut)
    msg_report(as.msg, MSG_EXPANDED_LINE_TOO_LONG, static_cast<unsigned>(cap));
}

// Copies one line of a macro body into L.line, replacing each substitution mark by its text.
// The byte after a mark is its index even when it is a line feed (argument 10).
void read_body_line(Assembly &as, InputRecord &r) {
  LexState &L = as.lex;
  const char *s = r.data + r.pos;
  size_t n = r.len - r.pos;
  const char *e = static_cast<const char *>(std::memchr(s, '\n', n));
  size_t len = e ? static_cast<size_t>(e - s) : n;
  const char *m = static_cast<const char *>(std::memchr(s, MARK, len));
  if (!m) {
    r.pos += e ? len + 1 : len;
    L.line.assign(s, len);
    return;
  }
  size_t i = static_cast<size_t>(m - s);
  while (i < n && s[i] != '\n') i += static_cast<unsigned char>(s[i]) == MARK ? 2 : 1;
  len = i < n ? i : n;
  r.pos += i < n ? len + 1 : len;
  // The hook may push or pop nothing here; the text stays valid while its record is on the stack.
  substitute_marks(as, std::string_view(s, len));
}

// Makes the next line current; false at the end of all input.
bool fetch_line(Assembly &as) {
  LexState &L = as.lex;
  restore_radix(L);
  for (;;) {
    if (L.stack.empty()) {
      if (L.ended) return false;
      const std::string *name = next_source_file(as);
      if (!name || !open_file(as, *name)) {
        L.ended = true;
        return false;
      }
      continue;
    }
    InputRecord &r = L.stack.back();
    if (r.kind == IN_FILE) {
      if (read_file_line(as, r)) {
        if (std::memchr(L.line.data(), MARK, L.line.size())) substitute_marks(as, std::string(L.line));
        scan_line(as, L.line, false);
        if (L.m_hl) L.hl_line = wrapped(L.hl_line, 1);
        else if (as.opt.line_numbers) L.hl_line = L.line_no;
        break;
      }
      bool top = L.stack.size() == 1;
      if (!top) {
        L.cur_file = r.saved_file;
        L.line_no = r.saved_line;
        L.msg_line = r.saved_msg_line;
        L.list_on = r.saved_list;
      }
      L.stack.pop_back();
      if (!top) xref_file(as);
      continue;
    }
    if (r.pos < r.len) {
      if (r.list_pending) {
        r.list_pending = false;
        L.list_on = L.list_on && as.lst.ctl.expansions;
      }
      read_body_line(as, r);
      ++L.body_lines;
      L.body_bytes += L.line.size();
      scan_line(as, L.line, false);
      break;
    }
    L.cur_file = r.saved_file;
    L.line_no = r.saved_line;
    L.msg_line = r.saved_msg_line;
    L.list_on = r.saved_list;
    L.stack.pop_back();
    if (L.hooks.end_of_body) L.hooks.end_of_body(as);
  }
  L.pos = 0;
  L.line_done = false;
  return true;
}

// The current line, fetching one when the last is used up; false at the end of input.
bool have_line(Assembly &as) { return !as.lex.line_done || fetch_line(as); }

// The length a token's text keeps: at most TOKEN_MAX characters, a longer one is cut with a message.
size_t cut_length(Assembly &as, size_t n) {
  if (n <= TOKEN_MAX) return n;
  msg_report(as.msg, MSG_TOKEN_TOO_LONG, static_cast<unsigned>(TOKEN_MAX));
  return TOKEN_MAX;
}

// The first fault of a scanned number: 788 with its character, 223, 794, or a value too large.
void report_number(Assembly &as, const NumScan &r) {
  if (r.msg == MSG_INVALID_CHAR_IN_NUMBER) msg_report(as.msg, r.msg, r.bad);
  else if (r.msg) msg_report(as.msg, r.msg);
  else if (r.overflow) msg_report(as.msg, MSG_NUMBER_TOO_LARGE);
}

uint16_t set_tok(LexState &L, uint16_t kind, uint16_t value = 0) {
  L.tok = Token{};
  L.tok.kind = kind;
  L.tok.value = value;
  return kind;
}

uint16_t set_word(Assembly &as, uint16_t kind, std::string_view text) {
  set_tok(as.lex, kind);
  as.lex.tok.text = as.strings.intern(text);
  return kind;
}

// Steps 1 and 2 of name classification: the configuration classifier, then a plain word.
uint16_t plain_or_config(Assembly &as, std::string_view text) {
  if (as.lex.ctx == LEX_CONFIG) {
    switch (cfg_classify(as, text)) {
    case CFG_REG: return set_word(as, TK_CFG_REG, text);
    case CFG_SETTING: return set_word(as, TK_CFG_SETTING, text);
    case CFG_SWITCH: return set_word(as, TK_CFG_SWITCH, text);
    case CFG_UNKNOWN: break;
    }
  }
  return set_word(as, TK_WORD, text);
}

KwTable context_table(uint8_t ctx) {
  switch (ctx) {
  case LEX_OPT: return KT_OPT;
  case LEX_LIST: return KT_LIST;
  case LEX_ASMOPT: return KT_ASMOPT;
  case LEX_DEBUGSRC: return KT_DEBUGSRC;
  default: return KT_COUNT;
  }
}

uint16_t set_keyword(LexState &L, const Keyword *kw) {
  set_tok(L, kw->kind, kw->value);
  L.tok.kw = kw;
  return kw->kind;
}

// The word after a macro name.
std::string_view next_word(const char *p) {
  while (is(*p, C_BLANK)) ++p;
  const char *s = p;
  while (is(*p, C_NAME)) ++p;
  return std::string_view(s, static_cast<size_t>(p - s));
}

// Integer conversion of collected digits: 223 (value 0) or 788 (the part read).
void convert_int(std::string_view digits, unsigned radix, NumScan &r) {
  uint64_t v = 0;
  for (char ch : digits) {
    int d = hexval(ch);
    if (d < 0) {
      r.msg = MSG_INVALID_CHAR_IN_NUMBER;
      r.bad = ch;
      break;
    }
    if (static_cast<unsigned>(d) >= radix) {
      r.msg = MSG_DIGIT_OUT_OF_RANGE;
      v = 0;
      break;
    }
    if (v > (std::numeric_limits<uint64_t>::max() - static_cast<unsigned>(d)) / radix) r.overflow = true;
    v = v * radix + static_cast<unsigned>(d);
  }
  r.num = static_cast<int64_t>(v);
}

// Floating conversion of collected text as decimal text to a double. Beyond the double's range
// the value is 0.0 or infinity, with no message; a character the conversion stops at draws 788.
void convert_float(std::string_view text, NumScan &r) {
  r.kind = TK_FLOAT;
  double d = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
  if (ec == std::errc::result_out_of_range) d = std::strtod(std::string(text).c_str(), nullptr);
  else if (ec != std::errc()) end = text.data();
  if (end != text.data() + text.size()) {
    r.msg = MSG_INVALID_CHAR_IN_NUMBER;
    r.bad = *end;
  }
  r.fnum = ec == std::errc() || ec == std::errc::result_out_of_range ? d : 0;
}

// "E" or "e" followed by decimal digits up to the end of the text.
bool ends_in_exponent(std::string_view t) {
  size_t e = t.find_last_of("Ee");
  if (e == std::string_view::npos || e == 0 || e + 1 == t.size()) return false;
  for (size_t i = e + 1; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}

// The cache entry of a name in LEX_NORMAL: the entry holding it, else the free entry where it
// goes; null when the name is not cached. Any change of the symbol table since the last look
// starts a new generation.
SymCacheEntry *cache_slot(Assembly &as, std::string_view name) {
  LexState &L = as.lex;
  SymState &st = as.sym;
  if (L.sym_cache.empty() || name.size() > SYMCACHE_NAME || L.ctx != LEX_NORMAL || L.psect_flags ||
      L.lookup_class ||
      (as.opt.xref && as.drv.xref))  // a cross-reference file logs every symbol lookup
    return nullptr;
  if (st.serial != L.cache_serial || st.count != L.cache_count) {
    ++L.cache_gen;
    L.cache_serial = st.serial;
    L.cache_count = st.count;
  }
  uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  for (;;) {
    size_t mask = L.sym_cache.size() - 1;
    size_t i = (h ^ (h >> 16)) & mask;
    for (size_t k = 0; k < SYMCACHE_PROBES; ++k, i = (i + 1) & mask) {
      SymCacheEntry &e = L.sym_cache[i];
      if (e.gen != L.cache_gen) return &e;  // free: the name is not in the table
      if (e.len == name.size() && std::memcmp(e.text, name.data(), name.size()) == 0) return &e;
    }
    // Crowded: a small cache (a small source) doubles and starts empty, one that is crowded at
    // SYMCACHE_LEAP entries (a large source) takes the largest size, and the largest gives up.
    size_t n = L.sym_cache.size();
    if (n >= SYMCACHE_SIZE) return nullptr;
    L.sym_cache.assign(n >= SYMCACHE_LEAP ? SYMCACHE_SIZE : n * 2, SymCacheEntry{});
  }
}

bool cache_hit(const LexState &L, const SymCacheEntry &e) { return e.gen == L.cache_gen; }

void cache_fill(LexState &L, SymCacheEntry &e, std::string_view name, const void *ptr, bool kw) {
  e.ptr = ptr;
  e.kw = kw;
  e.gen = L.cache_gen;
  e.len = static_cast<uint8_t>(name.size());
  std::memcpy(e.text, name.data(), name.size());
}

}  // namespace

NumScan lex_scan_number(const char *p, unsigned given, unsigned cur_radix, uint8_t ctx) {
  NumScan r;
  // Most numbers are a few decimal digits in radix 10, ended by a character that cannot go on
  // a number: read them at once. Up to 18 digits cannot overflow.
  if (!given && cur_radix == 10 && ctx != LEX_FLOAT) {
    uint64_t v = 0;
    const char *q = p;
    while (is(*q, C_DIGIT) && q - p < 18) v = v * 10 + static_cast<unsigned>(*q++ - '0');
    if (q != p && !is(*q, C_NAME) && *q != '.') {
      r.num = static_cast<int64_t>(v);
      r.end = q;
      return r;
    }
  }
  unsigned radix = given;
  const char *s = p;
  if (!radix && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    if (!is(p[2], C_HEX)) {
      r.end = p + 2;
      r.msg = MSG_INVALID_NUMBER_SYNTAX;
      return r;
    }
    radix = 16;
    s = p + 2;
  } else if (!radix && p[0] == '0' && (p[1] == 'b' || p[1] == 'B') && is(p[2], C_HEX)) {
    radix = 2;
    s = p + 2;
  }

  // Collection: hex digits; while no radix is fixed, one "." and the sign of an exponent.
  bool fl = !radix && ctx != LEX_INTEGER;
  bool dot = false, expsign = false;
  const char *q = s;
  for (;;) {
    char c = *q;
    if (is(c, C_HEX)) {
      if (c == 'e' || c == 'E') {
        if (fl && (q[1] == '+' || q[1] == '-') && is(q[2], C_DIGIT)) {
          q += 2;
          expsign = true;
          continue;
        }
      } else if (!is(c, C_DIGIT)) {
        fl = false;  // a letter other than E fixes an integer
      }
      ++q;
    } else if (c == '.' && fl && !dot && !expsign) {
      dot = true;
      ++q;
    } else {
      break;
    }
  }
  std::string_view text(s, static_cast<size_t>(q - s));
  r.end = q;
  if (text.empty()) {
    r.msg = MSG_INVALID_NUMBER_SYNTAX;
    return r;
  }

  unsigned suffix = 0;
  if (*q == 'H' || *q == 'h') suffix = 16;
  else if (*q == 'O' || *q == 'o' || *q == 'Q' || *q == 'q') suffix = 8;
  if (suffix) {
    r.end = ++q;
    if (radix) {
      r.msg = MSG_INVALID_NUMBER_SYNTAX;
      return r;
    }
    radix = suffix;
  } else if (!radix && text.back() == 'B') {
    radix = 2;
    text.remove_suffix(1);
  } else if (!radix && (text.back() == 'b' || text.back() == 'f')) {
    r.kind = text.back() == 'b' ? TK_TLABB : TK_TLABF;
    text.remove_suffix(1);
    convert_int(text, 10, r);
    return r;
  }

  if (!radix) {
    if (ctx == LEX_FLOAT || (fl && (dot || expsign || ends_in_exponent(text)))) {
      convert_float(text, r);
      return r;
    }
    radix = cur_radix;
  }
  convert_int(text, radix, r);
  return r;
}

void lex_init(Assembly &as) {
  LexState &L = as.lex;
  L.radix = 10;
  L.saved_radix = 0;
  L.ctx = LEX_NORMAL;
  L.marked = false;
  L.list_on = as.opt.listing;
  L.line.reserve(4096);
  L.scratch.reserve(4096);
  L.sym_cache.assign(SYMCACHE_FIRST, SymCacheEntry{});
  ++L.cache_gen;
}

void lex_forget_symbols(Assembly &as) { ++as.lex.cache_gen; }

void lex_set_context(Assembly &as, uint8_t ctx) { as.lex.ctx = ctx; }
void lex_set_psect_flags(Assembly &as, uint8_t state) { as.lex.psect_flags = state; }
void lex_set_lookup_class(Assembly &as, uint32_t cls) { as.lex.lookup_class = cls; }
void lex_set_radix(Assembly &as, unsigned radix) { as.lex.radix = radix; }
unsigned lex_radix(const Assembly &as) { return as.lex.radix; }
const char *lex_file(const Assembly &as) { return as.lex.cur_file; }
long lex_line(const Assembly &as) { return as.lex.line_no; }
long lex_msg_line(const Assembly &as) { return as.lex.msg_line; }

void lex_at_command_line(Assembly &as) {
  as.lex.cur_file = as.strings.intern("(command line)");
  as.lex.msg_line = 0;
}

void lex_clear_msg_line(Assembly &as) { as.lex.msg_line = 0; }

void lex_mark_line(Assembly &as, long line, const char *file) {
  LexState &L = as.lex;
  if (!L.marked) {
    L.marked = true;
    L.real_file = L.cur_file;
    L.real_line_delta = 0;
  }
  L.real_line_delta = wrapped(L.real_line_delta, wrapped_sub(L.line_no, line));
  L.line_no = line;
  L.msg_line = line;
  if (file) L.cur_file = file;
}

void lex_unmark_line(Assembly &as) {
  LexState &L = as.lex;
  if (!L.marked) return;
  L.line_no = wrapped(L.line_no, L.real_line_delta);
  L.msg_line = L.line_no;
  L.cur_file = L.real_file;
  L.marked = false;
}

void lex_line_directive(Assembly &as, long n) {
  if (n == as.lex.line_no) as.lex.line_no = wrapped_sub(n, 1);
}

void lex_set_listing(Assembly &as, bool on) { as.lex.list_on = on; }

bool lex_in_macro(const Assembly &as) {
  for (const InputRecord &r : as.lex.stack)
    if (r.kind == IN_BODY) return true;
  return false;
}

int lex_get_char(Assembly &as) {
  LexState &L = as.lex;
  if (!have_line(as)) return -1;
  unsigned char c = static_cast<unsigned char>(L.line[L.pos]);
  if (!c) {
    L.line_done = true;
    return 0;
  }
  ++L.pos;
  return c;
}

int lex_peek_char(Assembly &as) {
  if (!have_line(as)) return -1;
  return static_cast<unsigned char>(as.lex.line[as.lex.pos]);
}

void lex_skip_line(Assembly &as) {
  LexState &L = as.lex;
  L.line_done = true;
  L.has_pushed = false;
  restore_radix(L);
}

std::string_view lex_rest(const Assembly &as) {
  const LexState &L = as.lex;
  if (L.line_done) return {};
  return std::string_view(L.line).substr(L.pos);
}

void lex_advance(Assembly &as, size_t n) {
  LexState &L = as.lex;
  if (!L.line_done) L.pos = std::min(L.pos + n, L.line.size());
}

bool lex_next_line(Assembly &as) {
  lex_skip_line(as);
  return have_line(as);
}

void lex_unget_token(Assembly &as, const Token &t) {
  as.lex.pushed = t;
  as.lex.has_pushed = true;
}

void lex_push_text(Assembly &as, std::string_view text, InputKind kind, bool keep_line) {
  LexState &L = as.lex;
  if (kind == IN_BODY) {
    InputRecord r;
    r.kind = IN_BODY;
    r.data = text.data();
    r.len = text.size();
    r.saved_line = L.line_no;
    r.saved_msg_line = L.msg_line;
    r.saved_list = L.list_on;
    r.saved_file = L.cur_file;
    if (keep_line) {
      r.list_pending = true;  // the current line keeps its listing flag
      L.stack.push_back(std::move(r));
      return;
    }
    L.stack.push_back(std::move(r));
    L.list_on = L.list_on && as.lst.ctl.expansions;
    L.line_done = true;
    return;
  }
  // An argument text: spliced in front of what is left of the current line.
  if (!have_line(as)) {
    L.line.clear();
    L.pos = 0;
    L.line_done = false;
  }
  std::string &out = L.scratch;
  out.clear();
  for (char ch : text) out.push_back(ch == '\n' ? ' ' : ch);
  scan_line(as, out, true);
  out.append(L.line, L.pos);
  L.line.swap(out);
  L.pos = 0;
}

bool lex_open_source(Assembly &as, std::string_view name) {
  as.lex.line_done = true;
  return open_file(as, name);
}

void lex_open_text(Assembly &as, std::string_view name, std::string_view text) {
  as.lex.line_done = true;
  push_file(as, name);
  InputRecord &r = as.lex.stack.back();
  r.data = text.data();
  r.len = text.size();
}

namespace {

// The token ends before `end` in the current line.
void token_end(LexState &L, const char *end) { L.pos = static_cast<size_t>(end - L.line.data()); }

// The end of the line.
uint16_t scan_eol(LexState &L, const char *p) {
  token_end(L, p);
  L.line_done = true;
  restore_radix(L);
  return set_tok(L, TK_EOL);
}

// ";" to the end of the line; the text stays in the line for the parser to take.
uint16_t scan_comment(LexState &L, const char *p) {
  const char *end = L.line.data() + L.line.size();
  token_end(L, end);
  set_tok(L, TK_COMMENT);
  L.tok.text = std::string_view(p, static_cast<size_t>(end - p));
  return TK_COMMENT;
}

// LEX_DEVICE: a processor name, upper-cased.
uint16_t scan_device(Assembly &as, const char *p) {
  LexState &L = as.lex;
  const char *s = p;
  do ++p;
  while (is(*p, C_NAME));
  size_t n = cut_length(as, static_cast<size_t>(p - s));
  for (size_t i = 0; i < n; ++i) L.text[i] = ascii_upper(s[i]);
  token_end(L, p);
  return set_word(as, TK_DEVICE, std::string_view(L.text, n));
}

// A string between ' or ", read into the token text; a plain name to the parser.
uint16_t scan_string(Assembly &as, const char *p) {
  LexState &L = as.lex;
  char quote = *p++;
  size_t n = 0;
  while (*p && *p != quote) {
    char ch = *p++;
    if (L.ctx == LEX_STRING_ESC && ch == '\\' && (*p == '"' || *p == '\'')) ch = *p++;
    if (n < TOKEN_MAX) L.text[n] = ch;
    ++n;
  }
  if (*p == quote) ++p;
  else msg_report(as.msg, MSG_UNTERMINATED_STRING);
  n = cut_length(as, n);
  token_end(L, p);
  return plain_or_config(as, std::string_view(L.text, n));
}

// Punctuation and operators; 0 when p starts none of them.
uint16_t scan_punct(LexState &L, const char *p) {
  auto one = [&](uint16_t kind, uint16_t value = 0) {
    token_end(L, p + 1);
    return set_tok(L, kind, value);
  };
  auto two = [&](uint16_t kind, uint16_t value) {
    token_end(L, p + 2);
    return set_tok(L, kind, value);
  };
  switch (*p) {
  case '#':  // an immediate: decimal to the end of the line
    if (!L.saved_radix) L.saved_radix = L.radix;
    L.radix = 10;
    return one(TK_HASH);
  case '$':
  case '@': return is(p[1], C_HEX) ? 0 : one(TK_DOLLAR);
  case '(': return one(TK_LPAREN);
  case ')': return one(TK_RPAREN);
  case '[': return one(TK_LBRACK);
  case ']': return one(TK_RBRACK);
  case ',': return one(TK_COMMA);
  case ':': return one(TK_COLON);
  case '=': return one(TK_EQUALS, OPR_EQ);
  case '+': return one(TK_PLUS, OPR_ADD);
  case '-': return one(TK_MINUS, OPR_SUB);
  case '*': return one(TK_STAR, OPR_MUL);
  case '/': return one(K_DIVOP, OPR_DIV);
  case '&': return one(K_BITOP, OPR_AND);
  case '^': return one(K_BITOP, OPR_XOR);
  case '|': return one(K_BITOP, OPR_OR);
  case '~': return one(TK_TILDE, OPR_NOT);
  case '<':
    if (p[1] == '>') return two(K_RELOP, OPR_NE);
    if (p[1] == '=') return two(K_RELOP, OPR_LE);
    if (p[1] == '<') return two(K_SHIFT, OPR_SHL);
    return one(K_RELOP, OPR_LT);
  case '>':
    if (p[1] == '=') return two(K_RELOP, OPR_GE);
    if (p[1] == '>') return two(K_SHIFT, OPR_SHR);
    return one(K_RELOP, OPR_GT);
  default: return 0;
  }
}

// Where a number's digits start, with the radix its first character fixes (0: none):
// "$" or "@" before a hex digit 16, "%" before a digit 2, "." before a digit 10 (older forms).
// Null when p starts no number.
const char *number_digits(const char *p, bool old_forms, unsigned &given) {
  switch (*p) {
  case '$':
  case '@': given = 16; return is(p[1], C_HEX) ? p + 1 : nullptr;
  case '%': given = 2; return is(p[1], C_DIGIT) ? p + 1 : nullptr;
  case '.': given = 10; return old_forms && is(p[1], C_DIGIT) ? p + 1 : nullptr;
  default: given = 0; return is(*p, C_DIGIT) ? p : nullptr;
  }
}

// A number starting at `start` whose digits begin at `digits`. In LEX_CONFIG a number run into
// letters ("4MHZ") is offered to the configuration classifier instead.
uint16_t scan_number(Assembly &as, const char *start, const char *digits, unsigned given) {
  LexState &L = as.lex;
  NumScan r = lex_scan_number(digits, given, L.radix, L.ctx);
  const char *p = r.end;
  if (is(*p, C_NAME)) {
    const char *q = p;
    while (is(*q, C_NAME)) ++q;
    if (L.ctx == LEX_CONFIG) {
      size_t n = cut_length(as, static_cast<size_t>(q - start));
      token_end(L, q);
      return plain_or_config(as, std::string_view(start, n));
    }
    if (!r.msg) {
      r.msg = MSG_INVALID_CHAR_IN_NUMBER;
      r.bad = *p;
    }
    p = q;
  }
  cut_length(as, static_cast<size_t>(p - start));
  token_end(L, p);
  report_number(as, r);
  set_tok(L, r.kind);
  L.tok.num = r.num;
  L.tok.fnum = r.fnum;
  return r.kind;
}

// The older quoted forms: B'101', D'10', H'1F', O'17' and the string A'c'; 0 for another letter.
uint16_t scan_quoted(Assembly &as, const char *p) {
  LexState &L = as.lex;
  unsigned radix = 0;
  switch (ascii_upper(*p)) {
  case 'B': radix = 2; break;
  case 'D': radix = 10; break;
  case 'H': radix = 16; break;
  case 'O': radix = 8; break;
  case 'A': break;
  default: return 0;
  }
  const char *s = p + 2, *q = s;
  while (*q && *q != '\'') ++q;
  std::string_view t(s, static_cast<size_t>(q - s));
  if (!radix) {
    if (*q == '\'') ++q;
    else msg_report(as.msg, MSG_UNTERMINATED_STRING);
    t = t.substr(0, cut_length(as, t.size()));
    token_end(L, q);
    return plain_or_config(as, t);
  }
  NumScan r;
  bool suffix = !t.empty() && std::string_view("HhOoQqB").find(t.back()) != std::string_view::npos &&
                (hexval(t.back()) < 0 || static_cast<unsigned>(hexval(t.back())) >= radix);
  if (*q != '\'' || t.empty() || suffix) {
    msg_report(as.msg, MSG_SYNTAX_ERROR);
  } else {
    convert_int(t, radix, r);
    report_number(as, r);
  }
  token_end(L, *q == '\'' ? q + 1 : q);
  set_tok(L, TK_NUMBER);
  L.tok.num = r.num;
  return TK_NUMBER;
}

// Step 3 of name classification: the context's table, the psect flags, then the main table
// (not for a name beginning with exactly one "_"; no "config" on a PSECT line).
const Keyword *find_keyword(const LexState &L, std::string_view name) {
  const Keyword *kw = nullptr;
  KwTable t = context_table(L.ctx);
  if (t != KT_COUNT) kw = ops_find(name, t);
  if (!kw && L.psect_flags == PSR_FLAGS) kw = ops_find(name, KT_PSECT_FLAGS);
  bool one_underscore = name[0] == '_' && (name.size() == 1 || name[1] != '_');
  if (!kw && !one_underscore) {
    kw = ops_find(name, KT_MAIN);
    if (kw && L.psect_flags && kw->kind == K_CONFIG) kw = nullptr;
  }
  return kw;
}

// A name in a keyword context: its keyword row, or else (kw null) its symbol, through the cache.
struct NameClass {
  const Keyword *kw = nullptr;
  Symbol *sym = nullptr;
};
NameClass classify_name(Assembly &as, std::string_view name) {
  LexState &L = as.lex;
  SymCacheEntry *e = cache_slot(as, name);
  if (e && cache_hit(L, *e)) {
    if (e->kw) return {static_cast<const Keyword *>(e->ptr), nullptr};
    Symbol *s = static_cast<Symbol *>(const_cast<void *>(e->ptr));
    if (!(s->s_flags & SF_NAMESPACE)) return {nullptr, s};  // else made a psect since: look again
  }
  if (const Keyword *kw = find_keyword(L, name)) {
    if (e) cache_fill(L, *e, name, kw, true);
    return {kw, nullptr};
  }
  Symbol *s = sym_lookup(as, name, L.lookup_class);
  // A record made by this lookup has a name no entry holds: the entries stay valid.
  L.cache_serial = as.sym.serial;
  L.cache_count = as.sym.count;
  if (e) cache_fill(L, *e, name, s, false);
  return {nullptr, s};
}

// A macro name followed by `rest`: true when its expansion was pushed. Not when the line
// defines the name as an EQU/SET symbol (error 843) or as a macro again.
bool expand_macro(Assembly &as, Symbol *s, const char *rest) {
  std::string_view w = next_word(rest);
  if (iequal(w, "equ") || iequal(w, "set")) {
    msg_report(as.msg, MSG_MACRO_NAME_IS_SYMBOL);
    return false;
  }
  if (iequal(w, "macro") || !as.lex.hooks.expand) return false;
  as.lex.hooks.expand(as, s);
  return true;
}

// A name: a plain word, a keyword or a symbol; 0 when it called a macro, whose expansion follows.
uint16_t scan_name(Assembly &as, const char *start) {
  LexState &L = as.lex;
  const char *p = start;
  while (is(*p, C_NAME)) ++p;
  std::string_view name(start, cut_length(as, static_cast<size_t>(p - start)));
  token_end(L, p);
  if (L.ctx == LEX_PLAIN || L.ctx == LEX_CONFIG) return plain_or_config(as, name);
  NameClass nc = classify_name(as, name);
  if (nc.kw) return set_keyword(L, nc.kw);
  Symbol *s = nc.sym;
  if ((s->s_flags & SF_MACRO) && !(s->s_flags & SF_NAMESPACE) && expand_macro(as, s, p)) return 0;
  set_tok(L, TK_NAME);
  L.tok.sym = s;
  return TK_NAME;
}

// The token at p, the first character after blanks; 0 when none was made (a character skipped
// with error 844, or a macro call).
uint16_t scan_token(Assembly &as, const char *p) {
  LexState &L = as.lex;
  char c = *p;
  if (!c) return scan_eol(L, p);
  if (L.ctx == LEX_DEVICE && c != ';' && c != ',' && c != '\'' && c != '"') return scan_device(as, p);
  if (c == ';') return scan_comment(L, p);
  if (c == '\'' || c == '"') return scan_string(as, p);
  if (uint16_t k = scan_punct(L, p)) return k;
  bool old_forms = as.opt.compat_mode & CMODE_OLD_FORMS;
  unsigned given = 0;
  if (const char *digits = number_digits(p, old_forms, given)) return scan_number(as, p, digits, given);
  if (old_forms && p[1] == '\'')
    if (uint16_t k = scan_quoted(as, p)) return k;
  if (is(c, C_LETTER)) return scan_name(as, p);
  token_end(L, p + 1);
  if (L.ctx == LEX_PLAIN || L.ctx == LEX_CONFIG) return plain_or_config(as, std::string_view(p, 1));
  msg_report(as.msg, MSG_LEXICAL_ERROR);
  return 0;
}

}  // namespace

uint16_t lex_next_token(Assembly &as) {
  LexState &L = as.lex;
  if (L.has_pushed) {
    L.has_pushed = false;
    L.tok = L.pushed;
    return L.tok.kind;
  }
  for (;;) {
    if (!have_line(as)) {
      restore_radix(L);
      return set_tok(L, TK_EOF);
    }
    const char *p = L.line.data() + L.pos;
    while (is(*p, C_BLANK)) ++p;
    if (uint16_t k = scan_token(as, p)) return k;
  }
}
