// Macro processor: definitions become text with substitution marks; an expansion pushes that
// text into the reader with a frame of argument texts and generated LOCAL names.
#include "input/macro.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <new>

#include "driver/assembly.h"
#include "support/ascii.h"

namespace {

inline bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\b' || c == '\f' || c == '\r'; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_hex(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
inline bool is_letter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '$' || c == '?' || c == '_';
}
inline bool is_name_char(char c) { return is_letter(c) || is_digit(c); }


size_t name_end(std::string_view s, size_t i) {
  while (i < s.size() && is_name_char(s[i])) ++i;
  return i;
}

size_t skip_blanks(std::string_view s, size_t i) {
  while (i < s.size() && is_blank(s[i])) ++i;
  return i;
}

void strip_blanks(std::string &out, size_t floor) {
  while (out.size() > floor && is_blank(out.back())) out.pop_back();
}

MacroDef *take_def(MacroState &M) {
  MacroDef *d;
  if (!M.free_defs.empty()) {
    d = M.free_defs.back();
    M.free_defs.pop_back();
  } else {
    M.defs.push_back(std::make_unique<MacroDef>());
    d = M.defs.back().get();
  }
  d->kind = 0;
  d->body.clear();  // capacity is kept for the next definition
  d->items.clear();
  d->item_end.clear();
  d->nparams = d->nlocals = 0;
  d->counter = 0;
  d->name = nullptr;
  d->busy = 0;
  d->owned = false;
  return d;
}

void release(MacroState &M, MacroDef *d) { M.free_defs.push_back(d); }

const MacroName *find_name(const MacroState &M, std::string_view name) {
  for (const MacroName &n : M.names)
    if (n.name == name) return &n;
  return nullptr;
}

// Formal parameters: names separated by commas up to the end of the line, a comment or ")";
// IRP and IRPC take one, leaving the lexer after it. Returns the count.
unsigned read_params(Assembly &as, bool one) {
  MacroState &M = as.mac;
  std::string_view s = lex_rest(as);
  size_t i = 0;
  unsigned count = 0;
  for (;;) {
    i = skip_blanks(s, i);
    if (i >= s.size() || s[i] == ';' || s[i] == ')') break;
    if (!is_letter(s[i])) {
      msg_report(as.msg, MSG_SYNTAX_ERROR);
      i = s.size();
      break;
    }
    size_t e = name_end(s, i);
    if (count < MACRO_MAX_PARAMS) {
      ++count;
      M.names.push_back({as.strings.intern(s.substr(i, e - i)), static_cast<uint8_t>(count)});
    } else if (count++ == MACRO_MAX_PARAMS) {
      msg_report(as.msg, MSG_TOO_MANY_PARAMS, MACRO_MAX_PARAMS);
    }
    i = skip_blanks(s, e);
    if (one) break;
    if (i < s.size() && s[i] == ',') {
      ++i;
      continue;
    }
    if (i < s.size() && s[i] != ';' && s[i] != ')') {
      msg_report(as.msg, MSG_SYNTAX_ERROR);
      i = s.size();
    }
    break;
  }
  lex_advance(as, i);
  return std::min(count, MACRO_MAX_PARAMS);
}

// The names after LOCAL, from s[i]: each becomes the next LOCAL name of the definition.
void read_locals(Assembly &as, std::string_view s, size_t i, unsigned &nlocals) {
  MacroState &M = as.mac;
  for (;;) {
    i = skip_blanks(s, i);
    if (i >= s.size() || s[i] == ';') return;
    if (s[i] == ',') {
      ++i;
      continue;
    }
    if (!is_letter(s[i])) {
      msg_report(as.msg, MSG_LOCAL_SYNTAX);
      i = is_digit(s[i]) ? name_end(s, i) : i + 1;  // the next token is tried
      continue;
    }
    size_t e = name_end(s, i);
    std::string_view name = s.substr(i, e - i);
    i = e;
    const MacroName *n = find_name(M, name);
    if (n && n->index < 128) {
      msg_report(as.msg, MSG_MACRO_ARG_IN_LOCAL);
    } else if (n) {
      continue;  // named twice: one name
    } else if (nlocals >= MACRO_MAX_LOCALS) {
      msg_report(as.msg, MSG_TOO_MANY_LOCALS, MACRO_MAX_LOCALS);
      return;
    } else {
      ++nlocals;
      M.names.push_back({as.strings.intern(name), static_cast<uint8_t>(128 + nlocals)});
    }
  }
}

void put_mark(std::string &out, unsigned index) {
  out.push_back(MACRO_MARK);
  out.push_back(static_cast<char>(index));
}

// Reads a body up to its ENDM into d.body, with the names of M.names replaced by marks. The
// rest of the current line is skipped first. Sets nlocals and raises nparams to the highest
// "@" form. Leaves the lexer at the end of the ENDM line.
void read_body(Assembly &as, MacroDef &d) {
  std::string &out = d.body;
  unsigned depth = 1, highest = 0, nlocals = 0;
  try {
    out.reserve(256);
  } catch (const std::bad_alloc &) {
    msg_report(as.msg, MSG_NO_SPACE_FOR_MACRO);
    return;
  }
  try {
    for (;;) {
      if (!lex_next_line(as)) {
        msg_report(as.msg, MSG_EOF_IN_MACRO);
        break;
      }
      std::string_view s = lex_rest(as);
      size_t n = s.size(), i = 0, line_start = out.size();
      bool psect = false, ended = false, dropped = false;
      while (i < n) {
        char c = s[i];
        if (c == '"') {  // copied without substitution; \" is a quote inside
          out.push_back(c);
          for (++i; i < n && s[i] != '"'; ++i) {
            if (s[i] == '\\' && i + 1 < n && s[i + 1] == '"') ++i;
            out.push_back(s[i]);
          }
          if (i < n) out.push_back(s[i++]);
        } else if (c == ';') {
          if (i + 1 < n && s[i + 1] == ';') strip_blanks(out, line_start);  // ";;" is dropped
          else out.append(s.substr(i));
          break;
        } else if (c == '&' && depth == 1) {
          if (i + 1 < n && s[i + 1] == '&') out.push_back(c), ++i;
          ++i;
        } else if (c == '@' && depth == 1) {
          if (i + 1 < n && is_digit(s[i + 1])) {
            unsigned index = static_cast<unsigned>(s[i + 1] - '0') + 1;
            put_mark(out, index);
            highest = std::max(highest, index);
            ++i;
          }
          ++i;
        } else if (is_digit(c)) {
          size_t e = i;
          while (e < n && is_hex(s[e])) ++e;
          out.append(s.substr(i, e - i));
          i = e;
        } else if (is_letter(c)) {
          size_t e = name_end(s, i);
          std::string_view name = s.substr(i, e - i);
          i = e;
          if (iequal(name, "macro") || iequal(name, "rept") || iequal(name, "irp") || iequal(name, "irpc")) {
            ++depth;
          } else if (iequal(name, "endm")) {
            if (--depth == 0) {
              strip_blanks(out, line_start);
              ended = true;
              break;
            }
          } else if (iequal(name, "psect")) {
            psect = true;
          } else if (iequal(name, "local") && !psect && depth == 1) {
            read_locals(as, s, i, nlocals);
            out.resize(line_start);  // the LOCAL line is no part of the body
            dropped = true;
            break;
          } else if (const MacroName *p = find_name(as.mac, name)) {
            put_mark(out, p->index);
            continue;
          }
          out.append(name);
        } else if (c == MACRO_MARK) {
          ++i;  // the reader has already replaced the marks of its lines
        } else {
          out.push_back(c);
          ++i;
        }
      }
      if (ended) {
        if (out.size() > line_start) out.push_back('\n');
        lex_advance(as, n);
        break;
      }
      if (!dropped) out.push_back('\n');
    }
  } catch (const std::bad_alloc &) {
    msg_report(as.msg, MSG_CANT_ALLOCATE, static_cast<unsigned>(out.capacity() * 2), "macro definition");
  }
  d.nlocals = static_cast<uint16_t>(nlocals);
  d.nparams = static_cast<uint16_t>(std::max<unsigned>(d.nparams, highest));
}

// How the limit messages name an expansion of d: the macro m in quotes, else REPT, IRP or IRPC.
std::string expansion_name(const MacroDef &d, const Symbol *m) {
  if (m) return fmt_str("\"%s\"", m->s_name);
  return (d.kind & MK_IRP) ? "IRP" : (d.kind & MK_IRPC) ? "IRPC" : "REPT";
}

// The expansions' budget is spent: this expansion of d (the macro m, or a REPT, IRP or IRPC
// record when m is null) and every later one are refused.
void budget_spent(Assembly &as, const MacroDef &d, const Symbol *m) {
  as.mac.exhausted = true;
  msg_report(as.msg, MSG_EXPANSION_BUDGET, static_cast<unsigned long long>(as.mac.max_lines),
             static_cast<unsigned long long>(as.mac.max_text), expansion_name(d, m));
}

// A frame for an expansion of d (the macro m, or a REPT, IRP or IRPC record when m is null),
// or null when the nesting limit or the budget refuses it.
MacroFrame *new_frame(Assembly &as, MacroDef *d, const Symbol *m) {
  MacroState &M = as.mac;
  if (M.overflowed || M.exhausted) return nullptr;
  if (as.lex.body_lines > M.max_lines || as.lex.body_bytes > M.max_text) {
    budget_spent(as, *d, m);
    return nullptr;
  }
  if (M.depth >= MACRO_FRAMES) {
    M.overflowed = true;
    msg_report(as.msg, MSG_EXPANSION_TOO_DEEP, MACRO_FRAMES, expansion_name(*d, m));
    return nullptr;
  }
  MacroFrame &f = M.frames[M.depth];
  f.def = d;
  f.text.clear();
  f.ends.clear();
  f.nargs = f.nlocals = 0;
  return &f;
}

void add_arg(MacroFrame &f, std::string_view text) {
  f.text.append(text);
  f.ends.push_back(static_cast<uint32_t>(f.text.size()));
  ++f.nargs;
}

// Generates the LOCAL names and pushes the body.
void start(Assembly &as, MacroFrame &f, bool keep_line) {
  MacroState &M = as.mac;
  char buf[24];
  for (unsigned k = 0; k < f.def->nlocals; ++k) {
    int len = std::snprintf(buf, sizeof buf, "??%04u", static_cast<unsigned>(M.local_counter++));
    f.text.append(buf, static_cast<size_t>(len));
    f.ends.push_back(static_cast<uint32_t>(f.text.size()));
    ++f.nlocals;
  }
  ++M.depth;
  ++f.def->busy;
  lex_push_text(as, f.def->body, IN_BODY, keep_line);
}

uint32_t item_count(const MacroDef &d) {
  if (d.kind & MK_IRP) return static_cast<uint32_t>(d.item_end.size());
  if (d.kind & MK_IRPC) return static_cast<uint32_t>(d.items.size());
  return d.counter;
}

// Expands the current repetition of a REPT, IRP or IRPC record; the record is released when
// the nesting limit refuses it.
void expand_anon(Assembly &as, MacroDef *d, bool keep_line) {
  MacroFrame *f = new_frame(as, d, nullptr);
  if (!f) {
    release(as.mac, d);
    return;
  }
  if (d->kind & MK_IRP) {
    uint32_t b = d->counter ? d->item_end[d->counter - 1] : 0;
    add_arg(*f, std::string_view(d->items).substr(b, d->item_end[d->counter] - b));
  } else if (d->kind & MK_IRPC) {
    add_arg(*f, std::string_view(d->items).substr(d->counter, 1));
  }
  start(as, *f, keep_line);
}

// After a definition of a REPT, IRP or IRPC: its first expansion, after the ENDM line.
void run_anon(Assembly &as, MacroDef *d) {
  uint32_t reps = item_count(*d);
  if (d->kind & (MK_IRP | MK_IRPC)) d->counter = 0;
  if (reps && d->body.empty()) {
    as.mac.local_counter += reps * d->nlocals;  // nothing to read: only the names are used up
    reps = 0;
  }
  // Repetitions that would read more than the budget has left are refused before the first:
  // each reads at least the body's lines and, for REPT (whose marks only grow), its bytes.
  uint64_t lines = static_cast<uint64_t>(std::count(d->body.begin(), d->body.end(), '\n'));
  uint64_t bytes = (d->kind & (MK_IRP | MK_IRPC)) ? 0 : d->body.size();
  const LexState &L = as.lex;
  const MacroState &M = as.mac;
  bool over = L.body_lines > M.max_lines || L.body_bytes > M.max_text ||
              (lines && reps > (M.max_lines - L.body_lines) / lines) ||
              (bytes && reps > (M.max_text - L.body_bytes) / bytes);
  if (reps && over && !as.mac.overflowed && !as.mac.exhausted) budget_spent(as, *d, nullptr);
  if (!reps || as.mac.exhausted) {
    release(as.mac, d);
    return;
  }
  expand_anon(as, d, true);
}

// Lexer hook: a macro name was met.
void expand_hook(Assembly &as, Symbol *m) {
  MacroState &M = as.mac;
  MacroDef *d = m->s_macro;
  MacroFrame *f = d ? new_frame(as, d, m) : nullptr;
  if (!f) {
    lex_advance(as, lex_rest(as).size());
    return;
  }
  for (unsigned k = 0; k < d->nparams; ++k) {
    M.arg.clear();
    macro_read_argument(as, M.arg);
    add_arg(*f, M.arg);
  }
  lex_advance(as, lex_rest(as).size());
  // An empty body keeps the end of the calling line, which the body would have supplied.
  start(as, *f, d->body.empty());
}

// Lexer hook: a body input has ended.
void end_of_body_hook(Assembly &as) {
  MacroState &M = as.mac;
  if (!M.depth) return;
  MacroFrame &f = M.frames[--M.depth];
  MacroDef *d = f.def;
  f.def = nullptr;
  --d->busy;
  if (d->kind & MK_ANON) {
    bool again = false;
    if (!M.overflowed) {
      if (d->kind & (MK_IRP | MK_IRPC)) again = ++d->counter < item_count(*d);
      else again = --d->counter > 0;
    }
    if (again) expand_anon(as, d, false);
    else release(M, d);
  } else if (!d->owned && !d->busy) {
    release(M, d);
  }
  if (!M.depth) M.overflowed = false;
}

// Lexer hook: the text of a mark, from the top frame.
std::string_view mark_text_hook(Assembly &as, unsigned index) {
  const MacroState &M = as.mac;
  if (!M.depth) return {};
  const MacroFrame &f = M.frames[M.depth - 1];
  unsigned k;
  if (index >= 1 && index <= 127) {
    k = index - 1;
    if (k >= f.nargs) return {};
  } else if (index >= 129 && index <= 255) {
    k = index - 129;
    if (k >= f.nlocals) return {};
    k += f.nargs;
  } else {
    return {};
  }
  uint32_t b = k ? f.ends[k - 1] : 0;
  return std::string_view(f.text).substr(b, f.ends[k] - b);
}

// Skips a token given back before a definition: its text is on the line no longer.
void drop_pushed(Assembly &as) { as.lex.has_pushed = false; }

}  // namespace

void macro_init(Assembly &as) {
  MacroState &M = as.mac;
  M.depth = 0;
  M.overflowed = M.exhausted = false;
  M.local_counter = 0;
  as.lex.hooks.expand = expand_hook;
  as.lex.hooks.end_of_body = end_of_body_hook;
  as.lex.hooks.mark_text = mark_text_hook;
}

bool macro_read_argument(Assembly &as, std::string &out) {
  std::string_view s = lex_rest(as);
  size_t n = s.size(), i = skip_blanks(s, 0);
  if (i >= n || s[i] == ',') {
    lex_advance(as, i < n ? i + 1 : i);
    return false;
  }
  size_t keep = out.size();  // blanks up to here were written on purpose
  unsigned open = 0;         // depth of "<...>"
  for (; i < n; ++i) {
    char c = s[i];
    if (c == '!') {
      if (i + 1 < n) out.push_back(s[++i]);
      keep = out.size();
      continue;
    }
    if (open) {
      if (c == '<') ++open;
      if (c != '>' || --open) out.push_back(c);
      keep = out.size();
      continue;
    }
    if (c == '<') {
      open = 1;
      continue;
    }
    if (c == ',') {
      ++i;
      break;
    }
    if (c == ';') {  // ends the whole argument list
      i = n;
      break;
    }
    out.push_back(c);
  }
  if (open) msg_report(as.msg, MSG_UNTERMINATED_MACRO_ARG);
  strip_blanks(out, keep);
  lex_advance(as, i);
  return true;
}

void macro_define(Assembly &as, Symbol *m) {
  MacroState &M = as.mac;
  drop_pushed(as);
  MacroDef *d = take_def(M);
  M.names.clear();
  d->nparams = static_cast<uint16_t>(read_params(as, false));
  read_body(as, *d);
  M.names.clear();
  if (!m || !(m->s_flags & SF_MACRO)) {  // refused by the parser: the body is only skipped
    release(M, d);
    return;
  }
  d->name = m->s_name;
  d->owned = true;
  if (MacroDef *old = m->s_macro) {
    if (old->body != d->body) msg_report(as.msg, MSG_MACRO_REDEFINED, m->s_name);
    old->owned = false;
    if (!old->busy) release(M, old);
  }
  m->s_macro = d;
}

void macro_define_rept(Assembly &as, int64_t count) {
  MacroState &M = as.mac;
  drop_pushed(as);
  if (count < 0) {
    msg_report(as.msg, MSG_REPT_NEGATIVE);
    count = 1;
  }
  MacroDef *d = take_def(M);
  d->kind = MK_ANON;
  M.names.clear();
  read_body(as, *d);
  d->counter = static_cast<uint32_t>(std::min<int64_t>(count, std::numeric_limits<uint32_t>::max()));
  run_anon(as, d);
}


namespace {

// IRP and IRPC: one formal parameter, then after a comma the items (IRP: every argument up to
// an absent one; IRPC: one argument whose characters are the items); the body is expanded at once.
void define_item_block(Assembly &as, uint32_t kind) {
  MacroState &M = as.mac;
  drop_pushed(as);
  MacroDef *d = take_def(M);
  d->kind = kind;
  M.names.clear();
  d->nparams = static_cast<uint16_t>(read_params(as, true));
  std::string_view s = lex_rest(as);
  size_t i = skip_blanks(s, 0);
  if (i < s.size() && s[i] == ',') {
    lex_advance(as, i + 1);
    if (kind & MK_IRP) {
      while (macro_read_argument(as, d->items)) d->item_end.push_back(static_cast<uint32_t>(d->items.size()));
    } else {
      macro_read_argument(as, d->items);
    }
  }
  read_body(as, *d);
  M.names.clear();
  run_anon(as, d);
}

}  // namespace

void macro_define_irp(Assembly &as) { define_item_block(as, MK_ANON | MK_IRP); }

void macro_define_irpc(Assembly &as) { define_item_block(as, MK_ANON | MK_IRPC); }

void macro_local_outside(Assembly &as) {
  msg_report(as.msg, MSG_OUTSIDE_MACRO, "LOCAL");
  lex_skip_line(as);
}

