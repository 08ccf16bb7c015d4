// Statement list: node pool, linking, comments, summary comments, label references, line
// records and the statement-level IF pass.
#include "lang/list.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "driver/assembly.h"
#include "input/lexutil.h"
#include "isa/ops.h"
#include "lang/sym.h"

namespace {

constexpr int IF_MAX_LEVEL = 9;       // deepest statement-level IF level
constexpr uint8_t IF_ACTIVE = 1, IF_INACTIVE = 0, IF_DEAD = 255;
constexpr size_t TEMP_NAME_MAX = 4095;  // longest temporary file name we make
constexpr int TEMP_TRIES = 64;          // names tried before giving up

// What the reader knows of the current line: file, assembler line number, listing flag and
// markers. The line's byte offset in its file is in as.list.src.
const char *reader_file(const Assembly &as) { return lex_file(as); }
uint64_t reader_line(const Assembly &as) {
  long l = lex_line(as);
  return l > 0 ? static_cast<uint64_t>(l) : 0;
}
bool reader_listing(const Assembly &as) { return as.lex.list_on; }
uint32_t reader_markers(const Assembly &as) {
  return (as.lex.m_volatile ? LM_VOLATILE : 0) | (as.lex.m_volsfr ? LM_VOLSFR : 0) | (as.lex.m_hl ? LM_SRCPOS : 0);
}

// Line numbers are kept in 32 bits; a larger one (only a LINE directive can give it) stays at
// the largest.
uint32_t line_number(uint64_t line) { return static_cast<uint32_t>(std::min<uint64_t>(line, UINT32_MAX)); }

// A zeroed node with the next serial number: a freed node if there is one, else fresh storage.
Statement *take_node(ListState &ls) {
  Statement *n;
  if (ls.free_nodes) {
    n = ls.free_nodes;
    ls.free_nodes = n->op_prev;
    *n = Statement{};
  } else {
    // A fresh node is all zero bits, which is Statement{}: no constructor needs to run.
    n = ls.node_slab.take_zeroed();
  }
  if (++ls.node_serial == 0) ls.node_serial = 1;  // 0 marks a freed node
  n->op_serial = ls.node_serial;
  return n;
}

bool starts_with(const char *s, std::string_view prefix) {
  return s && std::strncmp(s, prefix.data(), prefix.size()) == 0;
}

bool is_label(const Statement *n) { return n->op_type == NAME || n->op_type == TLABEL; }

// The first node after n that is not a label; the tail (op_type 0) when there is none.
Statement *next_real(const Statement *n) {
  Statement *p = n->op_next;
  while (p && p->op_type && is_label(p)) p = p->op_next;
  return p;
}

// The index + 1 of the line record starting at a node; 0 when none does.
uint32_t line_at(const ListState &ls, const Statement *n) {
  return n->op_serial < ls.line_at.size() ? ls.line_at[n->op_serial] : 0;
}

void set_line_at(ListState &ls, const Statement *n, uint32_t record) {
  if (n->op_serial >= ls.line_at.size()) ls.line_at.resize(n->op_serial + size_t{1});
  ls.line_at[n->op_serial] = record;
}

// Line record for a node appended at the current reader position, or the high-level position
// of the node before it.
void note_position(Assembly &as, Statement *pos, Statement *node) {
  ListState &ls = as.list;
  if (list_making_line_records(as)) {
    const char *file = reader_file(as);
    uint64_t line = reader_line(as);
    if (!file || !*file || line == 0) return;
    if (!ls.lines.empty() && ls.lines.back().line == line) return;
    ls.lines.push_back(LineRecord{file, line, node, ls.src.line_offset});
    set_line_at(ls, node, static_cast<uint32_t>(ls.lines.size()));
  } else if (pos && !stmt_srcfile(ls, node)) {
    StmtPlace p = stmt_place(ls, node);
    p.srcfile = stmt_srcfile(ls, pos);
    list_set_place(ls, node, p);
    node->op_srcline = pos->op_srcline;
  }
}

std::string temp_dir() {
  for (const char *var : {"TEMP", "TMP"}) {
    const char *v = std::getenv(var);
    if (v && *v) return v;
  }
  return "/tmp";
}

// Opens the summary file under a fresh name in the temporary directory: 2082 when no name
// can be made, 141 when the file cannot be created.
void open_summary(Assembly &as) {
  SummaryFile &sf = as.list.summary;
  std::string dir = temp_dir();
  if (dir.back() != '/' && dir.back() != '\\') dir += '/';
  if (dir.size() + 16 > TEMP_NAME_MAX) msg_report(as.msg, MSG_CANT_CREATE_TEMP);
  uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                  reinterpret_cast<uintptr_t>(&sf);
  for (int i = 0; i < TEMP_TRIES; ++i) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    char tail[16];
    std::snprintf(tail, sizeof tail, "asz%08x.tmp", static_cast<unsigned>(seed >> 32));
    std::string name = dir + tail;
    errno = 0;
    std::FILE *f = std::fopen(name.c_str(), "w+x");  // exclusive: never an existing file
    if (f) {
      sf.f = f;
      sf.name = std::move(name);
      sf.slot = os_temp_register(sf.name.c_str());
      return;
    }
    if (errno != EEXIST) msg_report(as.msg, MSG_CANT_OPEN_FILE_FATAL, "temp", name);
  }
  msg_report(as.msg, MSG_CANT_CREATE_TEMP);
}

// A summary file that can't be written: reported once, with the system's text.
void summary_failed(Assembly &as) {
  SummaryFile &sf = as.list.summary;
  if (sf.failed) return;
  sf.failed = true;
  msg_print_raw(as.msg, "%s: %s", sf.name, os_errtext(errno ? errno : EIO));
  msg_report(as.msg, MSG_WRITE_ERROR, "temporary", sf.name);
}

void write_summary(Assembly &as, std::string_view text) {
  if (!as.list.summary.f) open_summary(as);
  std::FILE *f = as.list.summary.f;
  if (!f) return;
  if (std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fputc('\n', f) == EOF) summary_failed(as);
}

bool check_node(Assembly &as, const Statement *np) {
  if (np) return true;
  msg_check_failed(as.msg, "np != NULL", __FILE__, __LINE__);
  return false;
}

bool check_comment_vec(Assembly &as, const Statement *np) {
  const CommentVec *c = stmt_comment(np);
  if (!c || !c->empty()) return true;
  msg_check_failed(as.msg, "np->op_comment == NULL || vec_size(np->op_comment)!=0", __FILE__, __LINE__);
  return false;
}

// Reports at a node's source line, as the encoder does.
template <class... A>
void report_at_node(Assembly &as, const Statement *n, unsigned num, const A &...a) {
  msg_report_at(as.msg, {stmt_asmfile(as.list, n), static_cast<long>(n->op_asmline)}, num, a...);
}

}  // namespace

SummaryFile::~SummaryFile() {
  if (!f) return;
  std::fclose(f);
  std::remove(name.c_str());
  os_temp_release(slot);
}

// ---------------------------------------------------------------- nodes and links

StatementNotes &list_notes(Assembly &as, Statement *n) {
  if (!n->op_notes) n->op_notes = as.list.notes_pool.make();
  return *n->op_notes;
}

Operand &list_opnd2(Assembly &as, Statement *n) {
  if (!n->op_opnd2) n->op_opnd2 = as.list.operand_pool.make();
  return *n->op_opnd2;
}

void list_unshare_opnd2(Assembly &as, Statement *copy) {
  if (stmt_kind_has_union_field(copy->op_type) || !copy->op_opnd2) return;
  const Operand &shared = *copy->op_opnd2;
  Operand *own = as.list.operand_pool.make(shared);
  copyexpr(as, own->o_value, shared.o_value);
  copy->op_opnd2 = own;
}

namespace {

// The node's comment vector, made (empty) when it has none; the caller fills it.
CommentVec &comments_of(Assembly &as, Statement *n) {
  CommentVec *&c = list_notes(as, n).op_comment;
  if (!c) c = as.list.comment_pool.make();
  return *c;
}

}  // namespace

Statement *list_new_statement(Assembly &as) {
  ListState &ls = as.list;
  const StmtSource &src = ls.src;
  Statement *n = take_node(ls);
  StmtPlace place;
  n->op_asmline = line_number(reader_line(as));
  place.asmfile = reader_file(as);
  if (src.hl_set) {
    n->op_srcline = line_number(src.hl_line);
    place.srcfile = src.hl_file;
  } else if (as.opt.line_numbers) {
    n->op_srcline = n->op_asmline;
    place.srcfile = place.asmfile;
  }
  if (!ls.pending.empty()) {
    list_notes(as, n).op_comment = ls.comment_pool.make(std::move(ls.pending));
    ls.pending.clear();
  }
  uint32_t markers = reader_markers(as);
  if (!reader_listing(as)) n->op_flags |= NF_NOLIST;
  if (markers & LM_VOLSFR)
    n->op_flags |= NF_VOLATILE | NF_NOOPT;
  else if (markers & LM_VOLATILE)
    n->op_flags |= NF_VOLATILE;
  if (markers & LM_SRCPOS) {
    n->op_flags |= NF_SRCPOS;
    n->op_asmline = n->op_srcline;
    place.asmfile = place.srcfile;
  }
  list_set_place(ls, n, place);
  return n;
}

void list_set_place(ListState &ls, Statement *n, const StmtPlace &p) {
  if (ls.places[n->op_place] == p) return;
  if (ls.places[ls.last_place] == p) {  // most statements share the place of the one before
    n->op_place = ls.last_place;
    return;
  }
  if (p == StmtPlace{}) {
    n->op_place = 0;
    return;
  }
  auto [it, fresh] = ls.place_ids.try_emplace(p, static_cast<uint32_t>(ls.places.size()));
  if (fresh) ls.places.push_back(p);
  n->op_place = ls.last_place = it->second;
}

void list_insert_after(Statement *pos, Statement *node) {
  if (!pos || !node) return;
  if (!pos->op_next) {  // a tail: the node goes last
    if (!pos->op_prev) return;
    pos = pos->op_prev;
  }
  node->op_prev = pos;
  node->op_next = pos->op_next;
  pos->op_next->op_prev = node;
  pos->op_next = node;
  node->op_psect = pos->op_psect;
}

void list_append(Assembly &as, Statement *pos, Statement *node) {
  if (!pos || !node) return;
  list_insert_after(pos, node);
  note_position(as, node->op_prev, node);
}

bool list_add_statement(Assembly &as, Statement *node) {
  Symbol *ps = as.sym.cur_psect;
  if (!node || !ps || !ps->s_stmts) return false;
  ListState &ls = as.list;
  list_append(as, ps->s_stmts->tail.op_prev, node);
  if (node->op_type == IF || node->op_type == ELSIF || node->op_type == ELSE || node->op_type == ENDIF)
    ls.conditionals = true;
  node->op_flags |= ls.src.asmopt;
  if (lex_in_macro(as)) node->op_flags |= NF_MACRO;
  StmtPlace place = stmt_place(ls, node);
  place.callstack = ls.src.callstack;
  place.dbgsrc = ls.src.dbgsrc;
  list_set_place(ls, node, place);
  ls.cur_stmt = node;
  return true;
}

bool list_attach_eol_comment(Assembly &as, const char *text) {
  Statement *n = as.list.cur_stmt;
  if (!n || !n->op_serial) return false;
  list_notes(as, n).op_eolcomment = text;
  return true;
}

void list_unlink(Statement *node) {
  if (!node || !node->op_prev || !node->op_next) return;  // sentinel, or not in a list
  node->op_prev->op_next = node->op_next;
  node->op_next->op_prev = node->op_prev;
  node->op_prev = node->op_next = nullptr;
}

int list_delete(Assembly &as, Statement *node) {
  if (!node || node->op_serial == 0) return 0;
  ListState &ls = as.list;
  if (Statement *t = list_jump_target(node)) list_drop_reference(as, node, t);
  if (CommentVec *mine = stmt_comment(node)) {
    if (Statement *next = node->op_next) {
      CommentVec &theirs = comments_of(as, next);
      for (std::string &c : *mine) theirs.push_back(std::move(c));
    }
    list_free_comments(as, node);
  }
  if (StatementNotes *notes = node->op_notes) {
    ls.ref_pool.free(notes->op_refs);
    ls.notes_pool.free(notes);
    node->op_notes = nullptr;
  }
  if (uint32_t record = line_at(ls, node)) {  // the line's text now starts at the next node
    Statement *next = node->op_next && node->op_next->op_type ? node->op_next : nullptr;
    ls.lines[record - 1].stmt = next;
    if (next && !line_at(ls, next)) set_line_at(ls, next, record);
    set_line_at(ls, node, 0);
  }
  if (node->op_type == NAME && node->op_label && node->op_label->s_defnode == node)
    node->op_label->s_defnode = nullptr;  // never leave a symbol defined by a free node
  if (ls.cur_stmt == node) ls.cur_stmt = nullptr;
  list_unlink(node);
  node->op_serial = 0;
  node->op_prev = ls.free_nodes;
  ls.free_nodes = node;
  return 1;
}

Statement *list_label_before(Assembly &as, Statement *node) {
  if (!node || !node->op_prev) return nullptr;
  Statement *prev = node->op_prev;
  if (prev->op_type == NAME) return prev;
  Statement *n = take_node(as.list);
  n->op_type = NAME;
  list_append(as, prev, n);
  Symbol *s = sym_new_label(as);
  s->s_defnode = n;
  s->s_defpsect = n->op_psect;
  n->op_label = s;
  return n;
}

int list_delete_label(Assembly &as, Statement *label) {
  if (!label || label->op_serial == 0) return 0;
  if (label->op_type != NAME) return list_delete(as, label);
  if (Symbol *s = label->op_label) {
    if (starts_with(s->s_name, "__end_of_") || starts_with(s->s_name, "__ccov")) return 0;
    s->s_flags |= SF_UNDEF;
    s->s_refcnt = 0;
    s->s_defnode = nullptr;
  }
  ++as.list.labels_removed;
  as.list.labels_changed = true;
  return list_delete(as, label);  // also frees op_refs
}

DataItem *list_new_data_item(Assembly &as) { return as.list.data_pool.make(); }

Statement *list_first(const Symbol *psect) {
  if (!psect || !psect->s_stmts) return nullptr;
  return psect->s_stmts->head.op_next;
}

// ---------------------------------------------------------------- label references

Statement *list_jump_target(const Statement *node) {
  if (!node) return nullptr;
  uint32_t facts = ops_class(node->op_type).facts;
  if (facts & FX_SKIP) {
    Statement *skipped = next_real(node);
    if (!skipped || !skipped->op_type) return nullptr;
    Statement *t = next_real(skipped);
    return t && t->op_type ? t : nullptr;
  }
  if (!(facts & (FX_JUMP | FX_BRANCH | FX_CALL))) return nullptr;
  // A transfer to a label (CALLW, which has no operand, never names one).
  const Value &v = node->op_opnd1.o_value;
  if (v.v_rtype != RT_SYM || !v.v_sym) return nullptr;
  Statement *t = v.v_sym->s_defnode;
  return t && t->op_serial && t->op_type == NAME ? t : nullptr;
}

void list_add_reference(Assembly &as, Statement *referrer, Statement *target) {
  if (!referrer || !target) return;
  RefVec *&refs = list_notes(as, target).op_refs;
  if (!refs) refs = as.list.ref_pool.make();
  refs->push_back(referrer);
}

void list_drop_reference(Assembly &as, Statement *referrer, Statement *target) {
  if (!referrer || !target || !stmt_refs(target)) return;
  RefVec &r = *stmt_refs(target);
  r.erase(std::remove(r.begin(), r.end(), referrer), r.end());
}

namespace {

void keep_if_global(const Statement *n) {
  if (n->op_type != NAME || !n->op_label) return;
  uint32_t &f = n->op_label->s_flags;
  if ((f & SF_GLOBAL) && !(f & (SF_UNDEF | SF_KEEP))) f |= SF_KEEP;
}

}  // namespace

void build_references(Assembly &as, Symbol *psect) {
  Statement *n = list_first(psect);
  if (!n) return;
  for (; n->op_type; n = n->op_next) {
    if (Statement *t = list_jump_target(n)) {
      // A rebuild without clearing leaves earlier entries: add each referrer once.
      const RefVec *refs = stmt_refs(t);
      if (!refs || std::find(refs->rbegin(), refs->rend(), n) == refs->rend())
        list_add_reference(as, n, t);
    }
    keep_if_global(n);
  }
}

void keep_global_labels(Symbol *psect) {
  Statement *n = list_first(psect);
  if (!n) return;
  for (; n->op_type; n = n->op_next) keep_if_global(n);
}

void clear_references(Assembly &as, Symbol *psect) {
  Statement *n = list_first(psect);
  if (!n) return;
  for (; n->op_type; n = n->op_next) {
    if (n->op_notes && n->op_notes->op_refs) {
      as.list.ref_pool.free(n->op_notes->op_refs);
      n->op_notes->op_refs = nullptr;
    }
  }
}

unsigned remove_unused_labels(Assembly &as, Symbol *psect, const std::function<bool(const Symbol *)> &keep) {
  Statement *n = list_first(psect);
  if (!n) return 0;
  // The labels that the psect's own statements transfer to (as their rebuilt reference lists
  // would show), sorted for the look-ups.
  std::vector<const Statement *> used;
  for (const Statement *m = n; m->op_type; m = m->op_next)
    if (const Statement *t = list_jump_target(m); t && t->op_type == NAME) used.push_back(t);
  std::sort(used.begin(), used.end());
  unsigned removed = 0;
  while (n->op_type) {
    Statement *next = n->op_next;
    if (!(n->op_flags & (NF_SRCPOS | NF_NOOPT)) && n->op_type == NAME && n->op_label &&
        n->op_label->s_defnode == n && !(n->op_label->s_flags & SF_KEEP) &&
        !std::binary_search(used.begin(), used.end(), n) && !(keep && keep(n->op_label)))
      removed += static_cast<unsigned>(list_delete_label(as, n));
    n = next;
  }
  return removed;
}

// ---------------------------------------------------------------- comments

void list_add_summary(Assembly &as, std::string_view text) { write_summary(as, text); }

void list_add_comment(Assembly &as, std::string_view text) {
  if (text.size() >= 2 && text[0] == ';' && text[1] == '!') {
    write_summary(as, text);
    return;
  }
  if (!as.opt.asm_output && !as.opt.listing) return;  // only the texts show comment lines
  CommentVec &p = as.list.pending;
  if (p.empty()) p.emplace_back("\n");
  std::string c;
  c.reserve(text.size() + 1);
  c.append(text);
  c += '\n';
  p.push_back(std::move(c));
}

void list_discard_pending_comments(Assembly &as) { as.list.pending.clear(); }

void list_move_comments_to_psect(Assembly &as, Symbol *psect) {
  CommentVec &p = as.list.pending;
  if (psect)
    for (std::string &c : p) sym_lists_make(as, psect).s_pcomments.push_back(std::move(c));
  p.clear();
}

void list_copy_comments(Assembly &as, Statement *dst, const Statement *src) {
  bool ok = true;
  if (!dst) ok = msg_check_failed(as.msg, "dst != NULL", __FILE__, __LINE__);
  if (!src) ok = msg_check_failed(as.msg, "src != NULL", __FILE__, __LINE__);
  const CommentVec *from = ok && dst != src ? stmt_comment(src) : nullptr;
  if (!from) return;
  comments_of(as, dst) = *from;
}

void list_free_comments(Assembly &as, Statement *node) {
  if (!check_node(as, node) || !stmt_comment(node)) return;
  as.list.comment_pool.free(node->op_notes->op_comment);
  node->op_notes->op_comment = nullptr;
}

void list_for_each_comment(Assembly &as, const Statement *node,
                           const std::function<void(const std::string &)> &fp) {
  if (!check_node(as, node)) return;
  if (!fp) {
    msg_check_failed(as.msg, "fp != NULL", __FILE__, __LINE__);
    return;
  }
  check_comment_vec(as, node);
  if (const CommentVec *c = stmt_comment(node))
    for (const std::string &t : *c) fp(t);
}

bool list_has_comments(Assembly &as, const Statement *node) {
  if (!check_node(as, node)) return false;
  check_comment_vec(as, node);
  return stmt_comment(node) != nullptr;
}

void list_flush_summary(Assembly &as, bool strip, const std::function<void(std::string_view)> &listing) {
  std::FILE *f = as.list.summary.f;
  if (!f || !as.io.out) return;
  if (std::fflush(f) != 0) summary_failed(as);
  std::rewind(f);
  std::ostream &out = *as.io.out;
  std::string line;
  auto emit = [&] {
    std::string_view text = line;
    if (strip && !text.empty() && text[0] == ';') text.remove_prefix(std::min<size_t>(2, text.size()));
    out << text << '\n';
    if (strip && listing) listing(text);
    line.clear();
  };
  for (int c; (c = std::getc(f)) != EOF;) {
    if (c == '\n')
      emit();
    else
      line += static_cast<char>(c);
  }
  if (!line.empty()) emit();
  std::fseek(f, 0, SEEK_END);  // later summary comments are appended
}

// ---------------------------------------------------------------- line records

bool list_making_line_records(const Assembly &as) { return as.opt.listing && !as.opt.optimize; }

const LineRecord *list_last_line_record(const Assembly &as) {
  return as.list.lines.empty() ? nullptr : &as.list.lines.back();
}

const LineRecord *list_line_record(const Assembly &as, const Statement *n) {
  uint32_t record = line_at(as.list, n);
  return record ? &as.list.lines[record - 1] : nullptr;
}

// ---------------------------------------------------------------- statement-level IF

void list_if_pass(Assembly &as, Symbol *psect) {
  Statement *n = list_first(psect);
  if (!n) return;
  uint8_t state[IF_MAX_LEVEL + 1] = {IF_ACTIVE};
  bool chained[IF_MAX_LEVEL + 1] = {};  // level raised by an ELSIF: closed by the IF's ENDIF
  const Statement *opened = nullptr;     // the IF or ELSIF that opened the innermost level
  int level = 0;
  for (; n->op_type; n = n->op_next) {
    switch (n->op_type) {
      case ELSE:
      case ELSIF:
        if (state[level] != IF_DEAD) state[level] = state[level] == IF_ACTIVE ? IF_INACTIVE : IF_ACTIVE;
        if (n->op_type == ELSE) break;
        [[fallthrough]];
      case IF:
        if (level == IF_MAX_LEVEL) {
          report_at_node(as, n, MSG_IF_TOO_DEEP);
          return;
        }
        if (n->op_opnd1.o_value.v_rtype == RT_ABS) {
          uint8_t outer = state[level];
          ++level;
          state[level] = outer == IF_ACTIVE ? (n->op_opnd1.o_value.v_offs != 0 ? IF_ACTIVE : IF_INACTIVE)
                                            : IF_DEAD;
          chained[level] = n->op_type == ELSIF;
          opened = n;
        } else if (state[level] != IF_ACTIVE) {
          n->op_flags |= NF_HIDDEN;
        }
        break;
      case ENDIF:
        while (level > 0 && chained[level]) --level;
        if (level == 0)
          report_at_node(as, n, MSG_ENDIF_WITHOUT_IF);
        else
          --level;
        break;
      case TLABEL:
      case NAME:
        break;
      default:
        if (state[level] != IF_ACTIVE) n->op_flags |= NF_HIDDEN;
        break;
    }
  }
  if (level > 0) report_at_node(as, opened, MSG_UNTERMINATED_IF, psect->s_name);
}

void list_if_pass_all(Assembly &as) {
  if (!as.list.conditionals) return;  // nothing to hide or to report
  // Index loop: the vector is not expected to grow here, but a report never invalidates it.
  for (size_t i = 0; i < as.list.lists.size(); ++i) list_if_pass(as, as.list.lists[i]->psect);
}
