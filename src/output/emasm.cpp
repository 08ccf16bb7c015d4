// Assembly text: symbol directives, the dump of the statement lists, the text of each statement.
// Text is built in a growable buffer and handed on per statement (assembly-output mode) or per
// line (listing mode).
#include "output/emasm.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "device/sfrs.h"
#include "driver/assembly.h"
#include "isa/ops.h"
#include "output/valprint.h"

namespace {

// Symbol flags that decide a GLOBAL or LOCAL directive.
constexpr uint32_t SYMDIR_MASK = 0x19B10;

bool global_class(uint32_t f) {
  switch (f) {
  case 0x10: case 0x210: case 0x10000: case 0x10010: case 0x10200: case 0x10210: return true;
  default: return false;
  }
}

bool local_class(uint32_t f) { return f == 0x800 || f == 0xA00; }

void put_num(std::string &o, const char *fmt, unsigned long long n) {
  char b[32];
  int len = std::snprintf(b, sizeof b, fmt, n);
  if (len > 0) o.append(b, static_cast<size_t>(len) < sizeof b ? static_cast<size_t>(len) : sizeof b - 1);
}

void put_snum(std::string &o, long long n) {
  char b[32];
  int len = std::snprintf(b, sizeof b, "%lld", n);
  if (len > 0) o.append(b, static_cast<size_t>(len) < sizeof b ? static_cast<size_t>(len) : sizeof b - 1);
}

// Where generated text goes: standard output, or the listing's line sink.
class TextOut {
 public:
  TextOut(Assembly &as, bool listing, const EmasmLineSink &sink) : as_(as), listing_(listing), sink_(sink) {}
  // No flush here: the writers flush when they finish, and a run ended by a message (an
  // exception on its way out) must not write, and perhaps report, again.
  ~TextOut() = default;
  TextOut(const TextOut &) = delete;
  TextOut &operator=(const TextOut &) = delete;

  std::string buf;

  // Hands on every complete line of the buffer.
  void flush() {
    if (buf.empty()) return;
    if (!listing_) {
      if (as_.io.out) as_.io.out->write(buf.data(), static_cast<std::streamsize>(buf.size()));
      buf.clear();
      return;
    }
    size_t start = 0;
    for (size_t nl; (nl = buf.find('\n', start)) != std::string::npos; start = nl + 1)
      if (sink_) sink_(std::string_view(buf).substr(start, nl - start));
    buf.erase(0, start);
  }

 private:
  Assembly &as_;
  bool listing_;
  const EmasmLineSink &sink_;
};

// The text of one statement, in pieces: its comment lines, then its own lines.
class StatementText {
 public:
  StatementText(Assembly &as, bool listing) : as_(as), listing_(listing) {}

  // The statement's own lines (without comments and position directives); false when it has none.
  bool body(const Statement &n, std::string &o);
  // Full-line comments. Read back, a run of comment lines becomes one vector that starts with a
  // "\n" entry; so only the first entry of a run (opened false) may be that "\n", and later ones
  // (from merged vectors) are dropped.
  static void comments(const Statement &n, std::string &o, bool &opened);
  // FILE and LINE directives for a statement about to be printed (assembly-output mode).
  void position(const Statement &n, EmasmPos &pos, std::string &o);

 private:
  Assembly &as_;
  bool listing_;

  void value(const Value &v, std::string &o, bool names = false) { valprint(as_, o, v, names); }
  bool mode_ok(const Operand &op) {
    if (op.o_mode <= OM_BIT) return true;
    msg_report(as_.msg, MSG_UNKNOWN_ADDR_MODE, static_cast<int>(op.o_mode));
    return false;
  }
  // A file-register operand: "[k]" when indexed, else the address, core registers by name.
  void file(const Operand &op, bool indexed, std::string &o) {
    if (!mode_ok(op)) return;
    if (indexed) {
      o += '[';
      value(op.o_value, o);
      o += ']';
    } else {
      value(op.o_value, o, op.o_mode == OM_FILE);
    }
  }
  void operand(const Operand &op, std::string &o) {
    if (op.o_mode == OM_NONE || !mode_ok(op)) return;
    value(op.o_value, o, op.o_mode == OM_FILE);
  }
  static void dest(const Statement &n, std::string &o) {
    if (n.op_dest == W) o += ",w";
    else if (n.op_dest == F) o += ",f";
  }
  static void access(const Statement &n, std::string &o) {
    if (n.op_flags & NF_INDEXED) return;
    if (n.op_access == BANKED) o += ",b";
    else if (n.op_access == ACCESS) o += ",c";
  }
  void unknown(const Statement &n) {
    msg_report(as_.msg, MSG_EMASM_UNKNOWN_OP, std::to_string(n.op_type));
  }
  bool instruction(const Statement &n, const StatementClass &c, std::string &o);
  void operands(const Statement &n, const StatementClass &c, std::string &o);
  bool label(const Statement &n, std::string &o);
  bool data(const Statement &n, std::string &o);
  bool set(const Statement &n, std::string &o);
  static void message(const Statement &n, std::string &o);
  void eol(const Statement &n, std::string &o) {
    // MESSG is a line form that takes no comment of its own when read back.
    const char *text = stmt_eolcomment(&n);
    if (text && (listing_ || n.op_type != MESSG)) {
      o += '\t';
      o += text;
    }
  }
};

void StatementText::comments(const Statement &n, std::string &o, bool &opened) {
  const CommentVec *cv = stmt_comment(&n);
  if (!cv) return;
  for (const std::string &c : *cv) {
    if (opened && c == "\n") continue;
    opened = true;
    o += c;
    if (c.empty() || c.back() != '\n') o += '\n';
  }
}

void StatementText::position(const Statement &n, EmasmPos &pos, std::string &o) {
  if (listing_) return;
  const char *srcfile = stmt_srcfile(as_.list, &n);
  if (srcfile && (!pos.file || std::strcmp(pos.file, srcfile) != 0)) {
    o += "\tfile\t\"";
    o += srcfile;
    o += "\"\n";
    pos.file = srcfile;
    pos.line = 0;
  }
  if (n.op_srcline != pos.line) {
    put_num(o, "\tline\t%llu\n", n.op_srcline);
    pos.line = n.op_srcline;
  }
}

// "name:" ("L<n>:" for a generated label); a global label is followed by the call-stack depth of
// the next statement. A label defined and never referenced is left out.
bool StatementText::label(const Statement &n, std::string &o) {
  const Symbol *s = n.op_label;
  if (!s || !s->s_name) {
    unknown(n);
    return false;
  }
  if (s->s_refcnt == 1) return false;
  o += s->s_name;
  o += ':';
  eol(n, o);
  o += '\n';
  if (s->s_flags & SF_GLOBAL) {
    const Statement *next = n.op_next && n.op_next->op_type ? n.op_next : &n;
    put_num(o, "\tcallstack %llu\n", stmt_callstack(as_.list, next));
  }
  return true;
}

// The operands of an instruction after its mnemonic, by the class row's text form.
void StatementText::operands(const Statement &n, const StatementClass &c, std::string &o) {
  uint16_t sub = n.op_subop;
  bool indexed = n.op_flags & NF_INDEXED;
  switch (c.text) {
  case TF_FILE_DEST:
  case TF_FILE:
    o += '\t';
    file(n.op_opnd1, indexed, o);
    if (c.text == TF_FILE_DEST) dest(n, o);
    access(n, o);
    return;
  case TF_FILE_BIT:
    o += '\t';
    file(n.op_opnd1, indexed, o);
    o += ',';
    operand(stmt_opnd2(&n), o);
    access(n, o);
    return;
  case TF_STACK_FILE:
  case TF_STACK_STACK:
    o += "\t[";
    if (mode_ok(n.op_opnd1)) value(n.op_opnd1.o_value, o);
    if (c.text == TF_STACK_FILE) {
      o += "],";
      operand(stmt_opnd2(&n), o);
      return;
    }
    o += "],[";
    if (mode_ok(stmt_opnd2(&n))) value(stmt_opnd2(&n).o_value, o);
    o += ']';
    return;
  case TF_LFSR:
    put_num(o, "\t%llu,", (sub >> 4) & 3u);
    operand(stmt_opnd2(&n), o);
    return;
  case TF_RETURN:
    if (sub & c.fast) o += "\tf";
    return;
  case TF_CALL:
    o += '\t';
    operand(n.op_opnd1, o);
    if (sub & c.fast) o += ",f";
    return;
  case TF_TABLE: {
    static const char *const modes[] = {"\t*", "\t*+", "\t*-", "\t+*"};
    o += modes[sub & 3];
    return;
  }
  default:
    if (n.op_opnd1.o_mode != OM_NONE) {
      o += '\t';
      operand(n.op_opnd1, o);
    }
    if (stmt_opnd2(&n).o_mode != OM_NONE) {
      o += ',';
      operand(stmt_opnd2(&n), o);
    }
    return;
  }
}

// The mnemonic, looked up by kind and op_subop (a fast call's flag cleared first; a nop stored
// as 0 prints as "nop"), then the operands.
bool StatementText::instruction(const Statement &n, const StatementClass &c, std::string &o) {
  uint16_t sub = n.op_subop;
  const char *mn = "nop";
  if (!(n.op_type == NOP && sub == 0)) {
    mn = ops_mnemonic(as_.msg, n.op_type, sub & ~(c.fast & ~c.modifier));
    if (!mn) {
      unknown(n);
      return false;
    }
  }
  o += '\t';
  o += mn;
  operands(n, c, o);
  return true;
}

// DATA: the data keyword and the items.
bool StatementText::data(const Statement &n, std::string &o) {
  const char *mn = ops_mnemonic(as_.msg, n.op_type, n.op_subop);
  if (!mn) {
    unknown(n);
    return false;
  }
  o += '\t';
  o += mn;
  o += '\t';
  for (const DataItem *d = n.op_list; d; d = d->next) {
    value(d->value, o);
    if (d->next) o += ',';
  }
  return true;
}

// SET: "name\tset\tvalue".
bool StatementText::set(const Statement &n, std::string &o) {
  const Symbol *s = n.op_opnd1.o_value.v_sym;
  if (!s || !s->s_name) {
    unknown(n);
    return false;
  }
  o += s->s_name;
  o += "\tset\t";
  value(stmt_opnd2(&n).o_value, o);
  return true;
}

// MESSG, ERROR, WARN: a text holding double quotes is given in single quotes.
void StatementText::message(const Statement &n, std::string &o) {
  static const char *const words[] = {"messg", "error", "warn"};
  const char *t = n.op_text ? n.op_text : "";
  char q = std::strchr(t, '"') && !std::strchr(t, '\'') ? '\'' : '"';
  o += '\t';
  o += words[n.op_subop < 3 ? n.op_subop : 0];
  o += ' ';
  o += q;
  o += t;
  o += q;
}

bool StatementText::body(const Statement &n, std::string &o) {
  if (n.op_flags & NF_HIDDEN) return false;
  const StatementClass &c = ops_class(n.op_type);
  switch (c.text) {
  case TF_LABEL: return label(n, o);
  case TF_TLABEL: put_num(o, "%llu:", n.op_tlab); break;
  case TF_DATA:
    if (!data(n, o)) return false;
    break;
  case TF_ORG: put_num(o, "\torg\t%llu", n.op_num); break;
  case TF_ALIGN:
    o += "\talign\t";
    put_snum(o, static_cast<long long>(n.op_num));
    break;
  case TF_VALUE:  // ds, if, elsif
    o += '\t';
    o += c.name;
    o += '\t';
    value(n.op_opnd1.o_value, o);
    break;
  case TF_KEYWORD:  // else, endif
    o += '\t';
    o += c.name;
    break;
  case TF_SET:
    if (!set(n, o)) return false;
    break;
  case TF_MESSAGE: message(n, o); break;
  case TF_NONE: return false;
  case TF_UNKNOWN:
    unknown(n);
    return false;
  default:
    if (!instruction(n, c, o)) return false;
    break;
  }
  eol(n, o);
  o += '\n';
  return true;
}

// Every core SFR with its bound address.
void sfr_equates(Assembly &as, std::string &o) {
  for (uint32_t id = 1; id <= SFR_COUNT; ++id) {
    uint64_t addr = sfr_addr(as, id);
    const char *name = addr ? sfr_name(as, static_cast<long long>(addr)) : nullptr;
    if (!MSG_CHECK(as.msg, addr != 0 && name != NULL)) continue;
    o += name;
    put_num(o, "\tequ\t0x%llX\n", addr);
  }
}

// An EQU symbol that the core SFR equates at the end of the dump define anyway.
bool core_sfr_equate(Assembly &as, const Symbol *s) {
  const Value &v = s->s_value;
  if (v.v_rtype != RT_ABS || v.v_offs <= 0) return false;
  const char *name = sfr_name(as, v.v_offs);
  return name && std::strcmp(name, s->s_name) == 0;
}

void psect_directive(const Symbol *p, std::string &o) {
  const PsectPart &pp = p->s_psect;
  uint32_t f = p->s_flags;
  o += "\tpsect\t";
  o += p->s_name;
  o += (f & PSF_LOCAL) ? ",local" : ",global";
  if (f & PSF_NOTE) o += ",note";
  if (f & PSF_PURE) o += ",pure";
  if (f & PSF_ABS) o += ",abs";
  if (f & PSF_OVRLD) o += ",ovrld";
  if (f & PSF_BIT) o += ",bit";
  if (f & PSF_COMMON) o += ",common";
  if (pp.p_size) put_num(o, ",size=%llu", pp.p_size);
  if (pp.p_limit) put_num(o, ",limit=%llu", pp.p_limit);
  if (pp.p_reloc) put_num(o, ",reloc=%llu", pp.p_reloc);
  if (pp.p_class && pp.p_class->s_name) {
    o += ",class=";
    o += pp.p_class->s_name;
  }
  if (pp.p_with && pp.p_with->s_name) {
    o += ",with=";
    o += pp.p_with->s_name;
  }
  if (pp.p_space) put_num(o, ",space=%llu", pp.p_space);
  if (pp.p_delta) put_num(o, ",delta=%llu", pp.p_delta);
  if (pp.p_lowdata) o += ",lowdata";
  if (pp.p_noexec) o += ",noexec";
  if (pp.p_keep) o += ",keep";
  if (pp.p_inline) o += ",inline";
  if (pp.p_group) put_num(o, ",group=%llu", pp.p_group);
  if (pp.p_optim & PO_MINOCG) o += ",minocg";
  if (pp.p_optim & PO_CODECOV) o += ",codecov";
  if (pp.p_optim & PO_GIVEN) {
    static const struct {
      uint32_t bit;
      const char *name;
    } items[] = {{PO_INLINE, "inline:"}, {PO_PA, "pa:"}, {PO_JUMP, "jump:"}, {PO_PEEP, "peep:"}, {PO_REMOVE, "remove:"}, {PO_CODECOV, "codecov:"}};
    o += ",optim=";
    bool any = false;
    for (const auto &it : items)
      if (pp.p_optim & it.bit) {
        o += it.name;
        any = true;
      }
    if (any) o.pop_back();
  }
  o += '\n';
}

// The text of every statement of one psect. The comments of a statement without text go with
// the next statement that has text.
void psect_statements(Assembly &as, const StatementList *l, bool listing, TextOut &out, const EmasmStmtHook &hook,
                      EmasmPos &pos, std::string &scratch) {
  StatementText st(as, listing);
  std::string carried;
  bool opened = false;
  MsgAt at(as.msg);  // a value that can't be printed is reported at its statement
  for (const Statement *n = l->head.op_next; n && n->op_type; n = n->op_next) {
    if (listing && (n->op_flags & NF_NOLIST)) {  // made while listing was off
      if (hook) hook(*n, false);
      continue;
    }
    msg_set_at(as.msg, {stmt_asmfile(as.list, n), static_cast<long>(n->op_asmline)});
    scratch.clear();
    if (!st.body(*n, scratch)) {
      StatementText::comments(*n, carried, opened);
      continue;
    }
    StatementText::comments(*n, carried, opened);
    out.buf += carried;
    carried.clear();
    opened = false;
    if (listing) {
      out.flush();
      if (hook) hook(*n, true);
    }
    st.position(*n, pos, out.buf);
    out.buf += scratch;
    out.flush();
  }
}

}  // namespace

void emasm_statement_text(Assembly &as, const Statement &n, bool listing, EmasmPos &pos, std::string &out) {
  StatementText st(as, listing);
  std::string body;
  if (!st.body(n, body)) return;
  bool opened = false;
  StatementText::comments(n, out, opened);
  st.position(n, pos, out);
  out += body;
}

void emasm_symbol_directives(Assembly &as) {
  // A symbol used through another symbol's value counts as used where that one is.
  sym_for_each(as.sym, [](Symbol *s) {
    if (s->s_flags & SF_NAMESPACE) return;
    const Value &v = s->s_value;
    if (v.v_rtype == RT_SYM && v.v_sym && v.v_sym != s) {
      unsigned n = v.v_sym->s_refcnt + s->s_refcnt;
      v.v_sym->s_refcnt = static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n);
    }
  });
  std::string o;
  sym_for_each(as.sym, [&](Symbol *s) {
    if (o.size() >= 4096 && as.io.out) {
      as.io.out->write(o.data(), static_cast<std::streamsize>(o.size()));
      o.clear();
    }
    uint32_t f = s->s_flags & SYMDIR_MASK;
    const char *name = s->s_name ? s->s_name : "";
    if (global_class(f)) {
      o += "\tglobal\t";
      o += name;
      o += '\n';
    } else if (local_class(f) && s->s_refcnt) {
      o += "\tlocal\t";
      o += name;
      o += '\n';
    }
    if (s->s_flags & SF_NAMESPACE) return;
    bool used = s->s_refcnt || (s->s_flags & SF_GLOBAL);
    if (used && (s->s_flags & SF_SIGNAT)) {
      o += "\tsignat\t";
      o += name;
      put_num(o, ",%llu\n", s->s_signat);
    }
    if (used && (s->s_flags & SF_FNSIZE)) {
      o += "\tFNSIZE\t";
      o += name;
      put_num(o, ",%llu", s->s_autosize);
      put_num(o, ",%llu\n", s->s_argsize);
    }
    // Uses of an EQU symbol take a copy of its value, so a reference count cannot tell whether
    // the printed text names it: every EQU is written, which reads back to the same set.
    if ((s->s_flags & SF_EQU) && !core_sfr_equate(as, s)) {
      MsgAt at(as.msg, sym_position(s));  // a value too large to print
      o += name;
      o += "\tequ\t";
      valprint(as, o, s->s_value);
      o += '\n';
    }
    if (!used) return;
    if (s->s_flags & SF_FNADDR) {
      o += "\tFNADDR\t";
      o += name;
      o += '\n';
    }
    if (s->s_flags & SF_FNROOT) {
      o += "\tFNROOT\t";
      o += name;
      o += '\n';
    }
    auto pairs = [&](const char *dir, const std::vector<const char *> &set) {
      for (const char *t : set) {
        o += dir;
        o += name;
        o += ',';
        o += t ? t : "";
        o += '\n';
      }
    };
    const SymbolLists &l = sym_lists(s);
    pairs("\tFNCALL\t", l.s_calls);
    pairs("\tFNARG\t", l.s_args);
    pairs("\tFNBREAK\t", l.s_breaks);
    for (uint16_t sig : l.s_indir) {
      o += "\tFNINDIR\t";
      o += name;
      put_num(o, ",%llu\n", sig);
    }
  });
  for (const auto &group : as.decl.fnalign) {
    o += "\tFNALIGN\t";
    for (size_t i = 0; i < group.size(); ++i) {
      if (i) o += ',';
      o += group[i] ? group[i] : "";
    }
    o += '\n';
  }
  if (as.io.out) as.io.out->write(o.data(), static_cast<std::streamsize>(o.size()));
}

void emasm_dump(Assembly &as, bool listing, const EmasmLineSink &sink, const EmasmStmtHook &hook) {
  TextOut out(as, listing, sink);
  std::string &o = out.buf;
  std::string scratch;
  EmasmPos pos;

  o += "\tprocessor\t";
  o += as.opt.device_name;
  o += '\n';
  const Declarations &ps = as.decl;
  if (ps.fnconf[0] && ps.fnconf[1] && ps.fnconf[2]) {
    o += "\tfnconf\t";
    o += ps.fnconf[0];
    o += ',';
    o += ps.fnconf[1];
    o += ',';
    o += ps.fnconf[2];
    o += ',';
    put_snum(o, ps.fnconf_number);
    o += '\n';
  }
  if (as.lst.ctl.page_length) {
    o += "\tpagelength ";
    put_snum(o, as.lst.ctl.page_length);
    o += '\n';
  }
  if (as.lst.ctl.page_width) {
    o += "\tpagewidth ";
    put_snum(o, as.lst.ctl.page_width);
    o += '\n';
  }
  out.flush();

  // The unnamed absolute psect cannot be selected again by name: its statements come while it
  // is still the current psect, before the first psect directive.
  const Symbol *abs_psect = as.sym.default_psect;
  if (abs_psect && abs_psect->s_stmts) psect_statements(as, abs_psect->s_stmts, listing, out, hook, pos, scratch);

  for (const StatementList *l : as.list.lists) {
    if (!l->psect || l->psect == abs_psect || !l->psect->s_name) continue;
    psect_directive(l->psect, o);
    out.flush();
  }
  for (const DabsEntry &e : ps.dabs) {
    put_num(o, "\tdabs\t%llu", e.space);
    put_num(o, ",0x%llX", e.address);
    put_num(o, ",%llu", e.size);
    if (e.name && *e.name) {
      o += ',';
      o += e.name;
    }
    o += '\n';
    out.flush();
  }
  for (const StatementList *l : as.list.lists) {
    const Symbol *p = l->psect;
    if (!p || p == abs_psect || l->head.op_next == &l->tail) continue;
    const std::vector<std::string> &pcomments = sym_lists(p).s_pcomments;
    for (const std::string &c : pcomments) {
      if (&c != &pcomments.front() && c == "\n") continue;
      o += c;
      if (c.empty() || c.back() != '\n') o += '\n';
    }
    if (p->s_name && *p->s_name) {
      o += "\n\tpsect\t";
      o += p->s_name;
      o += '\n';
    }
    out.flush();
    psect_statements(as, l, listing, out, hook, pos, scratch);
  }
  if (as.dev.sfr.initialized) sfr_equates(as, o);
  out.flush();
}

void emasm_write(Assembly &as) {
  emasm_symbol_directives(as);
  emasm_dump(as, false);
}

void emasm_end(Assembly &as) {
  if (as.decl.have_start && as.io.out) {
    std::string o = "\tend\t";
    valprint(as, o, as.decl.start);
    o += '\n';
    as.io.out->write(o.data(), static_cast<std::streamsize>(o.size()));
  }
}
