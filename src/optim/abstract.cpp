// Procedural abstraction (--opt=space): instruction sequences that occur more than once in the
// code psects of one unit move into a procedure of a new psect, and each occurrence becomes a
// call of it (a jump, when the sequence ends in a return).
//
// Candidates are found in one pass and grouped by sorting on their hashes; pairwise work stays
// within a group and within its first occurrences. A sequence is taken only when moving it keeps
// the program's behaviour: control enters it only at its head and leaves it only at its end (no
// jump out of it, no label inside used from outside, no skip before it or as its last statement,
// no return but the last and none behind a skip), and none of its statements depends on where
// it stands (return stack, program counter, "$" and temporary labels, labels used as values).
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>

#include "driver/assembly.h"
#include "optim/optim.h"
#include "output/emasm.h"
#include "output/emobj.h"

namespace {

constexpr unsigned MAX_LEN = 20;        // statements in a candidate
constexpr unsigned MIN_BYTES = 6;       // bytes of a candidate
constexpr unsigned CALL_COST = 6;       // a call and a return
constexpr unsigned PAIR_FIRSTS = 19;    // occurrences taken as the first of a pair
constexpr uint16_t LABEL_KEPT = 32767;  // reference count of procedure labels
constexpr uint32_t NONE = UINT32_MAX;

enum Class : uint8_t {
  C_NONE,   // ends a window
  C_JUMP,   // a goto to a local label of the unit
  C_LABEL,  // a local label that one jump of the unit refers to
  C_TEXT,   // an abstractable statement, matched by its text
};

struct Entry {
  Statement *n = nullptr;      // null between psects
  const char *text = nullptr;  // interned
  uint32_t size = 0;
  uint32_t hash = 0;
  uint32_t refs = 0;       // labels: jumps of the unit to it
  uint32_t first_ref = NONE;
  uint32_t target = NONE;  // jumps and skips: the entry they go to, within the psect
  uint8_t cls = C_NONE;
  bool marked = false;     // moved or deleted by an abstraction
  bool is_return = false;
  bool is_skip = false;
  bool is_jump = false;    // a jump or branch with a target
};

struct Candidate {
  uint32_t len, sum, crc, start;
};

struct RepeatSet {
  std::vector<uint32_t> starts;  // in source order
  uint32_t len = 0;              // common length
  int64_t per = 0;               // saving per occurrence
  int64_t saving = 0;
  uint32_t id = 0;
};

struct Crc32 {
  uint32_t table[256];
  Crc32() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  }
  uint32_t step(uint32_t c, uint8_t b) const { return table[(c ^ b) & 0xFF] ^ (c >> 8); }
  uint32_t of(std::string_view s) const {
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : s) c = step(c, b);
    return c;
  }
};

const Crc32 &crc32() {
  static const Crc32 c;
  return c;
}

bool local_label(const Assembly &as, const Statement *n) {
  const Symbol *s = n->op_label;
  return s && s->s_defnode == n && !(s->s_flags & SF_GLOBAL) && !opt_label_pinned(as, s);
}

// Whether psect code may take part: a code psect with "text" in its name that permits "pa",
// whose code is not reached at offsets.
bool psect_permits(const Assembly &as, const Symbol *p) {
  const Symbol *cls = p->s_psect.p_class;
  if (!cls || !cls->s_name || std::string_view(cls->s_name) != "CODE" || !optim_selects(p)) return false;
  if ((p->s_flags & PSF_ABS) || !opt_permits(p, PO_PA) || opt_keeps_shape(as, p)) return false;
  // A computed jump (a write of PCL) reaches code by its offset, which moving code changes.
  for (const Statement *n = list_first(p); n && n->op_type; n = n->op_next)
    if (opt_touches_pc(as, n)) return false;
  return true;
}

struct Run {
  Assembly &as;
  std::vector<uint8_t> permits;  // by s_pindex: psect_permits
  std::vector<Symbol *> &unit;
  Symbol *procs = nullptr;   // the run's psect
  std::vector<Entry> e;
  uint16_t opc_call = 0, opc_goto = 0, opc_return = 0;

  Run(Assembly &a, std::vector<Symbol *> &u) : as(a), unit(u) {
    const Keyword *c = ops_find("call"), *g = ops_find("goto"), *r = ops_find("return");
    opc_call = c ? c->value : 0;
    opc_goto = g ? g->value : 0;
    opc_return = r ? r->value : 0;
  }

  void gather();
  uint32_t window(uint32_t s) const;
  bool match(uint32_t a, uint32_t b) const;
  bool valid(uint32_t s, uint32_t len) const;
  uint32_t bytes(uint32_t s, uint32_t len) const {
    uint32_t b = 0;
    for (uint32_t i = 0; i < len; ++i) b += e[s + i].size;
    return b;
  }
  uint32_t shorten(uint32_t s, uint32_t len) const {
    while (len && !(bytes(s, len) >= MIN_BYTES && valid(s, len))) --len;
    return len;
  }
  uint32_t common(uint32_t a, uint32_t b) const;
  void abstract(const RepeatSet &set);
  Statement *jump_to(uint16_t kind, uint16_t opc, Symbol *to, const Statement *at);
};

// Statement text, size and hash; label reference counts.
void Run::gather() {
  std::unordered_map<const Statement *, uint32_t> at;  // entry of each label
  EmasmPos pos;
  std::string text;
  for (Symbol *p : unit) {
    opt_size(as, p);
    if (permits.size() <= p->s_pindex) permits.resize(p->s_pindex + 1, 0);
    permits[p->s_pindex] = psect_permits(as, p);
    const bool permits_pa = permits[p->s_pindex];
    for (Statement *n = list_first(p); n && n->op_type; n = n->op_next) {
      Entry x;
      x.n = n;
      x.size = n->op_next->op_type ? n->op_next->op_addr - n->op_addr : 0;
      if (!n->op_next->op_type) x.size = static_cast<uint32_t>(emobj_psect(as, p).size - n->op_addr);
      if (n->op_type == NAME) at.emplace(n, static_cast<uint32_t>(e.size()));
      // The text is the statement's line of assembly output with its end-of-line comment (a
      // return marked ";funcret" differs from one that is not), without the comment lines
      // before it.
      Statement tmp = *n;
      StatementNotes eol;
      eol.op_eolcomment = stmt_eolcomment(n);
      tmp.op_notes = eol.op_eolcomment ? &eol : nullptr;
      pos.file = stmt_srcfile(as.list, &tmp);
      pos.line = tmp.op_srcline;
      text.clear();
      emasm_statement_text(as, tmp, false, pos, text);
      if (n->op_type == NAME && n->op_label && n->op_label->s_name) text = std::string(n->op_label->s_name) + ":";
      x.text = as.strings.intern(text);
      x.hash = crc32().of(text);
      const bool insn = ops_is_instruction(n->op_type) && !(n->op_flags & NF_HIDDEN);
      InsnFacts f = insn ? ops_statement_facts(*n) : InsnFacts{};
      x.is_return = insn && (f.does & FX_RETURN);
      x.is_skip = insn && (f.does & FX_SKIP);
      x.is_jump = insn && (f.does & (FX_JUMP | FX_BRANCH | FX_CALL)) && !x.is_return;
      if (permits_pa && insn && !opt_untouchable(n) && n->op_asmline &&
          !(f.does & (FX_CALL | FX_STACK | FX_OPAQUE | FX_STAYS)) && !x.is_jump && !opt_touches_pc(as, n) &&
          !opt_value_placed(n->op_opnd1.o_value) && !opt_value_placed(stmt_opnd2(n).o_value))
        x.cls = C_TEXT;
      e.push_back(x);
    }
    e.push_back(Entry{});  // no window crosses psects
  }
  // Jump targets and label references.
  for (uint32_t i = 0; i < e.size(); ++i) {
    Entry &x = e[i];
    if (!x.n) continue;
    if (x.is_skip) {
      // The statement reached by skipping: after the next instruction.
      uint32_t j = i + 1;
      while (j < e.size() && e[j].n && e[j].n->op_type == NAME) ++j;
      if (j < e.size() && e[j].n) {
        ++j;
        while (j < e.size() && e[j].n && e[j].n->op_type == NAME) ++j;
        if (j < e.size() && e[j].n) {
          x.target = j;
          x.hash = (uint32_t{x.n->op_subop} << 16) | (uint32_t{x.n->op_type} << 8) |
                   (e[j].n->op_addr - x.n->op_addr);
        }
      }
      continue;
    }
    if (!x.is_jump) continue;
    const Statement *t = opt_jump_label(x.n);
    auto it = t ? at.find(t) : at.end();
    if (it == at.end()) continue;
    x.target = it->second;
    Entry &l = e[it->second];
    if (l.first_ref == NONE) l.first_ref = i;
    ++l.refs;
    if (t->op_psect == x.n->op_psect && x.n->op_type == GOTO) {
      x.hash = (uint32_t{x.n->op_subop} << 16) | (uint32_t{x.n->op_type} << 8) | (t->op_addr - x.n->op_addr);
      if (local_label(as, t) && permits[x.n->op_psect->s_pindex] && !opt_untouchable(x.n) && x.n->op_asmline)
        x.cls = C_JUMP;
    }
  }
  for (Entry &x : e)
    if (x.n && x.n->op_type == NAME && x.refs == 1 && local_label(as, x.n) && !opt_untouchable(x.n) &&
        permits[x.n->op_psect->s_pindex])
      x.cls = C_LABEL;
}

bool Run::match(uint32_t a, uint32_t b) const {
  const Entry &x = e[a], &y = e[b];
  if (x.marked || y.marked || !x.n || !y.n || x.cls != y.cls) return false;
  switch (x.cls) {
    case C_JUMP:
      return x.n->op_type == y.n->op_type && x.n->op_subop == y.n->op_subop &&
             int64_t{e[x.target].n->op_addr} - x.n->op_addr == int64_t{e[y.target].n->op_addr} - y.n->op_addr;
    case C_LABEL: return true;
    case C_TEXT: return x.text == y.text;
    default: return false;
  }
}

// The longest window from s: matchable statements, at most MAX_LEN, ending after a return.
uint32_t Run::window(uint32_t s) const {
  uint32_t len = 0;
  while (len < MAX_LEN && s + len < e.size() && e[s + len].n && e[s + len].cls != C_NONE && !e[s + len].marked) {
    ++len;
    if (e[s + len - 1].is_return) break;
  }
  return len;
}

bool Run::valid(uint32_t s, uint32_t len) const {
  if (!len) return false;
  const uint32_t end = s + len;
  for (uint32_t i = s; i < end; ++i) {
    const Entry &x = e[i];
    if (x.marked || !x.n || x.cls == C_NONE) return false;
    if (x.cls == C_LABEL && (x.refs != 1 || x.first_ref < s || x.first_ref >= end)) return false;
    // Control leaves the procedure only at its end: jumps stay inside, a skip may reach the
    // statement after the last one (the return that follows it there).
    if (x.is_jump && (x.target == NONE || x.target < s || x.target >= end)) return false;
    if (x.is_skip && (x.target == NONE || x.target > end)) return false;
    if (x.is_return && i + 1 != end) return false;
  }
  const Entry &last = e[end - 1];
  if (last.is_skip) return false;
  // A return behind a skip is conditional: the procedure could run past its end.
  if (last.is_return && len > 1) {
    uint32_t j = end - 2;
    while (j > s && e[j].n->op_type == NAME) --j;
    if (e[j].is_skip) return false;
  }
  // A skip before the sequence would skip only the statement replacing it.
  // Data words and layout directives there might be executed or moved: no sequence after them.
  const Statement *before = e[s].n->op_prev;
  while (before->op_type && (before->op_flags & NF_HIDDEN || before->op_type == NAME || before->op_type == TLABEL ||
                             before->op_type == SET || before->op_type == EQU))
    before = before->op_prev;
  if (!before->op_type) return true;
  return ops_is_instruction(before->op_type) && !opt_is_skip(before);
}

// The common length of the sequences at a and b (a before b), shortened until it is valid for
// both and long enough.
uint32_t Run::common(uint32_t a, uint32_t b) const {
  uint32_t len = 0;
  const bool same_psect = e[a].n->op_psect == e[b].n->op_psect;
  while (len < MAX_LEN && b + len < e.size() && (!same_psect || a + len < b) && match(a + len, b + len)) {
    ++len;
    if (e[a + len - 1].is_return) break;
  }
  while (len && !(bytes(a, len) >= MIN_BYTES && valid(a, len) && valid(b, len))) --len;
  return len;
}

Statement *Run::jump_to(uint16_t kind, uint16_t opc, Symbol *to, const Statement *at) {
  Statement *j = opt_new_statement(as, static_cast<uint8_t>(kind), at);
  j->op_subop = opc;
  j->op_flags |= NF_BARRIER;
  if (to) {
    j->op_opnd1.o_mode = OM_PROG;
    j->op_opnd1.o_value.v_rtype = RT_SYM;
    j->op_opnd1.o_value.v_sym = to;
    if (to->s_refcnt < 0xFFFF) ++to->s_refcnt;
  }
  return j;
}

Statement *new_label(Assembly &as, const std::string &name, const Statement *at) {
  Symbol *s = sym_new_named_label(as, name);
  Statement *l = opt_new_statement(as, NAME, at);
  l->op_label = s;
  l->op_flags |= NF_BARRIER;
  s->s_defnode = l;
  s->s_defpsect = at->op_psect;
  s->s_flags = (s->s_flags & ~SF_UNDEF) | SF_KEEP;
  s->s_refcnt = LABEL_KEPT;
  return l;
}

void Run::abstract(const RepeatSet &set) {
  const uint32_t len = set.len;
  // The occurrences that still match the first one, none overlapping the one before.
  std::vector<uint32_t> occ;
  for (uint32_t s : set.starts) {
    if (!valid(s, len)) continue;
    if (!occ.empty()) {
      const uint32_t f = occ.front(), prev = occ.back();
      if (prev + len > s && e[prev].n->op_psect == e[s].n->op_psect) continue;
      bool same = true;
      for (uint32_t i = 0; i < len && same; ++i) same = match(f + i, s + i);
      if (!same) continue;
    }
    occ.push_back(s);
  }
  if (occ.size() < 2) return;
  const uint32_t first = occ.front();
  if (!valid(first, len)) {
    if (as.io.err) *as.io.err << "\tFAILED VERIFY\n";
    return;
  }
  Statement *tail = procs->s_stmts->tail.op_prev;
  const Statement *head = e[first].n;
  ++as.sym.label_counter;
  Statement *pl = new_label(as, fmt_str("PL%u", as.sym.label_counter & 0xFFFFu), head);
  pl->op_label->s_lnum = static_cast<uint16_t>(as.sym.label_counter);
  pl->op_label->s_flags |= SF_GLOBAL;
  Statement *endl = new_label(as, std::string("__end_of") + pl->op_label->s_name, head);
  list_insert_after(tail, pl);
  Symbol *proc = pl->op_label;
  const bool returns = e[first + len - 1].is_return;
  auto replace = [&](uint32_t s) {
    Statement *site = e[s].n;
    Statement *r = returns ? jump_to(GOTO, opc_goto, proc, site) : jump_to(CALL, opc_call, proc, site);
    list_notes(as, r).op_eolcomment = as.strings.intern(";call to abstracted procedure");
    list_insert_after(site->op_prev, r);
    opt_touch(as, site->op_psect);
  };
  replace(first);
  Statement *at = pl;
  for (uint32_t i = first; i < first + len; ++i) {
    Statement *n = e[i].n;
    list_unlink(n);
    list_insert_after(at, n);
    at = n;
    e[i].marked = true;
  }
  if (!returns) {
    Statement *r = jump_to(RETURN, opc_return, nullptr, at);
    list_insert_after(at, r);
    at = r;
  }
  list_insert_after(at, endl);
  for (size_t k = 1; k < occ.size(); ++k) {
    const uint32_t s = occ[k];
    replace(s);
    for (uint32_t i = s; i < s + len; ++i) {
      Statement *n = e[i].n;
      e[i].marked = true;
      if (n->op_type == NAME) list_delete_label(as, n);
      else list_delete(as, n);
    }
  }
  opt_touch(as, procs);
}

Symbol *new_psect(Assembly &as, const Symbol *like) {
  std::string name = fmt_str("pa_nodes%u", as.optim.pa_psects++);
  Symbol *p = sym_lookup(as, name, SF_PSECT);
  p->s_flags |= PSF_GLOBAL;
  PsectPart &pp = p->s_psect;
  pp.p_class = sym_lookup(as, "CODE", SF_CLASS);
  pp.p_reloc = like->s_psect.p_reloc;
  pp.p_delta = like->s_psect.p_delta;
  pp.p_space = like->s_psect.p_space;
  pp.p_group = like->s_psect.p_group;
  pp.p_optim = like->s_psect.p_optim & PO_MINOCG;
  return p;
}

}  // namespace

void abstract_procedures(Assembly &as, std::vector<Symbol *> &list, std::vector<Symbol *> &made) {
  std::vector<Symbol *> unit;
  for (Symbol *p : list)
    if (!p->s_name || !std::string_view(p->s_name).starts_with("int")) unit.push_back(p);
  if (unit.empty() || !as.opt.opt_space) return;
  Run run(as, unit);
  run.procs = new_psect(as, unit.front());
  made.push_back(run.procs);
  run.gather();
  const std::vector<Entry> &e = run.e;
  // Candidates, one per start.
  std::vector<Candidate> cands;
  for (uint32_t s = 0; s < e.size(); ++s) {
    if (!e[s].n || (e[s].n->op_flags & NF_HIDDEN)) continue;
    uint32_t len = run.window(s);
    if (run.bytes(s, len) < MIN_BYTES) continue;
    len = run.shorten(s, len);
    if (!len) continue;
    Candidate c{len, 0, 0xFFFFFFFFu, s};
    for (uint32_t i = 0; i < len; ++i) {
      uint32_t h = e[s + i].hash;
      c.sum += h;
      for (int b = 0; b < 4; ++b) c.crc = crc32().step(c.crc, static_cast<uint8_t>(h >> (8 * b)));
    }
    cands.push_back(c);
  }
  std::sort(cands.begin(), cands.end(), [](const Candidate &a, const Candidate &b) {
    if (a.len != b.len) return a.len > b.len;
    if (a.sum != b.sum) return a.sum < b.sum;
    if (a.crc != b.crc) return a.crc < b.crc;
    return a.start < b.start;
  });
  // Repeat sets: equal neighbours.
  std::vector<RepeatSet> sets;
  uint32_t ids = as.optim.pa_sets;
  for (size_t i = 0; i < cands.size();) {
    size_t j = i + 1;
    RepeatSet set;
    set.starts.push_back(cands[i].start);
    for (; j < cands.size() && cands[j].len == cands[i].len && cands[j].sum == cands[i].sum && cands[j].crc == cands[i].crc; ++j) {
      bool same = true;
      for (uint32_t k = 0; k < cands[i].len && same; ++k) same = run.match(cands[i].start + k, cands[j].start + k);
      if (same) set.starts.push_back(cands[j].start);
    }
    i = j;
    if (set.starts.size() < 2) continue;
    std::sort(set.starts.begin(), set.starts.end());
    set.id = ids++;
    sets.push_back(std::move(set));
  }
  as.optim.pa_sets = ids;
  if (sets.empty()) return;
  // The common length of each set: the pairs of its first occurrences with all later ones,
  // grouped by their common length.
  std::vector<uint32_t> pairs(MAX_LEN + 1);
  for (RepeatSet &set : sets) {
    std::fill(pairs.begin(), pairs.end(), 0);
    const size_t n = set.starts.size();
    for (size_t a = 0; a < std::min<size_t>(n, PAIR_FIRSTS); ++a)
      for (size_t b = a + 1; b < n; ++b) ++pairs[run.common(set.starts[a], set.starts[b])];
    int64_t best = -1;
    for (uint32_t len = MAX_LEN; len > 0; --len) {
      if (!pairs[len]) continue;
      int64_t per = int64_t{run.bytes(set.starts[0], len)} + 1 - CALL_COST;
      int64_t saving = per * (int64_t{pairs[len]} - 1);
      if (saving > best) {
        best = saving;
        set.len = len;
        set.per = per;
      }
    }
    if (!set.len) continue;
    int64_t matching = 0;
    for (size_t b = 1; b < n; ++b) {
      bool same = run.valid(set.starts[b], set.len);
      for (uint32_t k = 0; k < set.len && same; ++k) same = run.match(set.starts[0] + k, set.starts[b] + k);
      matching += same;
    }
    set.saving = set.per * matching;
  }
  std::sort(sets.begin(), sets.end(), [](const RepeatSet &a, const RepeatSet &b) {
    return a.saving != b.saving ? a.saving > b.saving : a.id > b.id;
  });
  for (const RepeatSet &set : sets)
    if (set.len && set.saving > 0) run.abstract(set);
}
