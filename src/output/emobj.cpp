// Sizing and encoding of the statement lists (the record sequence is in objwrite.cpp).
//
// Sizing lays a psect out repeatedly. Pass 0 takes every branch in its shortest possible form;
// each later pass first chooses the forms from the previous layout alone, then lays the psect
// out again, until a layout changes no offset. A branch form never shrinks once it grew, so
// the passes end: each one either grows some branch or is the last.
#include "output/emobj.h"

#include <algorithm>

#include "device/chip.h"
#include "driver/assembly.h"
#include "isa/ops.h"
#include "lang/psect.h"

namespace {

constexpr uint64_t LOC_MAX = 0xFFFFFFFF;       // location counters are u32 in the records
constexpr uint64_t ALIGN_MAX = 0x200000;       // no boundary beyond the 2 MiB program space
constexpr unsigned RESOLVE_DEPTH = 1000;       // deeper trees and symbol chains stay unresolved
constexpr unsigned RESOLVE_NODES = 20000;      // so do operands that expand to more nodes
constexpr uint32_t ERRATA_NOP2 = 0x20000;      // nop2 as two words
constexpr uint16_t NOP2_SUBOP = 0xFFFF;
constexpr uint16_t BCC_INVERT = 0x100;         // the opposite condition
constexpr uint16_t OPC_BRA = 0xD000;
constexpr uint16_t OPC_RCALL = 0xD800;
constexpr uint16_t OPC_GOTO = 0xEF00;
constexpr uint16_t OPC_SECOND = 0xF000;        // second and third words
constexpr uint16_t OPC_MOVFF = 0xC000;
constexpr uint16_t OPC_MOVFFL = 0x0060;
constexpr uint16_t OPC_MOVLB = 0x0100;
constexpr uint16_t OPC_LFSR = 0xEE00;
constexpr uint16_t BIT_DEST_F = 0x200;
constexpr uint16_t BIT_BANKED = 0x100;
constexpr int64_t INDEXED_LIMIT = 96;          // bracketed offsets 0..95

bool is_abs_psect(const Symbol *p) { return p && (p->s_flags & (PSF_ABS | PSF_OVRLD)) == (PSF_ABS | PSF_OVRLD); }
unsigned delta_of(const Symbol *p) { return p && p->s_psect.p_delta ? p->s_psect.p_delta : 1; }
const char *name_of(const Symbol *p) { return p && p->s_name ? p->s_name : ""; }

// Signed arithmetic on operand values wraps instead of overflowing.
int64_t wrap_add(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t wrap_sub(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }
int64_t wrap_mul(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }

uint64_t sat_add(uint64_t a, uint64_t b) { return a > LOC_MAX || b > LOC_MAX - a ? LOC_MAX + 1 : a + b; }
uint64_t sat_mul(uint64_t a, uint64_t b) { return b && a > (LOC_MAX + 1) / b ? LOC_MAX + 1 : a * b; }

EmitPsect &psect_info(Assembly &as, const Symbol *p) {
  std::vector<EmitPsect> &v = as.emit.psects;
  if (v.size() <= p->s_pindex) v.resize(p->s_pindex + 1);
  return v[p->s_pindex];
}

// Every TLABEL of every psect in creation order, so that forward references resolve during
// sizing as well; each psect remembers where its own definitions start. The table is made at
// the size of the definitions read (the optimizer's copies may add some), not by doubling.
void build_tlab_table(Assembly &as) {
  as.tlab.entries.clear();
  as.tlab.entries.reserve(as.tlab.read);
  as.tlab.cursor = 0;
  for (StatementList *l : as.list.lists) {
    if (!l->psect) continue;
    psect_info(as, l->psect).tlab_base = as.tlab.entries.size();
    for (Statement *n = l->head.op_next; n->op_type; n = n->op_next)
      if (n->op_type == TLABEL) as.tlab.entries.push_back(TlabEntry{n->op_tlab, n});
  }
  as.emit.tlab_built = true;
}

// ---- where a branch goes, as sizing sees it ----

struct Where {
  enum Kind { HERE, CONST, DOT, OTHER } kind = OTHER;
  int64_t at = 0;  // HERE: byte offset in the psect; CONST: the address; DOT: n of "$"+n
};

// A label of an absolute psect is no constant for sizing: it moves while the psect is laid out,
// so a branch there to anything but a constant takes the longest form.
Where in_psect(const Symbol *q, int64_t units, const Symbol *p) {
  if (q && q == p && !is_abs_psect(q)) return {Where::HERE, wrap_mul(units, delta_of(q))};
  return {};
}

// Labels are found through their defining node, whose offset the last layout set.
Where locate(Assembly &as, const Value &v, const Symbol *p, unsigned depth) {
  if (depth > RESOLVE_DEPTH) return {};
  switch (v.v_rtype) {
    case RT_ABS: return {Where::CONST, v.v_offs};
    case RT_DOT: return {Where::DOT, v.v_offs};
    case RT_PSECT: return in_psect(v.v_sym, v.v_offs, p);
    case RT_TLABF:
    case RT_TLABB: {
      const Statement *t = tlab_find(as.tlab, v.v_offs, v.v_rtype == RT_TLABF);
      if (!t || !t->op_psect) return {};
      return in_psect(t->op_psect, t->op_addr / delta_of(t->op_psect), p);
    }
    case RT_SYM: {
      const Symbol *s = v.v_sym;
      if (!s || (s->s_flags & SF_UNDEF) || obj_sym_is_external(s)) return {};
      if (s->s_defnode && s->s_defnode->op_psect) {
        const Statement *d = s->s_defnode;
        return in_psect(d->op_psect, wrap_add(d->op_addr / delta_of(d->op_psect), v.v_offs), p);
      }
      if (s->s_value.v_rtype == RT_SYM && s->s_value.v_sym == s) return {};
      Where w = locate(as, s->s_value, p, depth + 1);
      if (w.kind != Where::OTHER) w.at = wrap_add(w.at, wrap_mul(v.v_offs, w.kind == Where::CONST ? 1 : delta_of(p)));
      return w;
    }
    default: return {};
  }
}

// The psect a data address lies in (labels through their defining node), or null.
const Symbol *value_psect(const Value &v, unsigned depth = 0) {
  if (depth > RESOLVE_DEPTH) return nullptr;
  if (v.v_rtype == RT_PSECT) return v.v_sym;
  if (v.v_rtype != RT_SYM || !v.v_sym) return nullptr;
  const Symbol *s = v.v_sym;
  if (s->s_flags & SF_UNDEF) return nullptr;
  if (s->s_defnode) return s->s_defnode->op_psect;
  if (s->s_value.v_rtype == RT_SYM && s->s_value.v_sym == s) return nullptr;
  return value_psect(s->s_value, depth + 1);
}

// MOVFF in two words: always without the extended-address bit; else with both operands
// constants below 4096, or both in lowdata psects.
bool movff_short(Assembly &as, const Statement *n) {
  if (!as.emit.ext_addr) return true;
  const Value &s = n->op_opnd1.o_value, &d = stmt_opnd2(n).o_value;
  auto small = [](const Value &v) { return v.v_rtype == RT_ABS && v.v_offs >= 0 && v.v_offs < 4096; };
  if (small(s) && small(d)) return true;
  const Symbol *ps = value_psect(s), *pd = value_psect(d);
  return ps && pd && ps->s_psect.p_lowdata && pd->s_psect.p_lowdata;
}

bool within(int64_t d, int64_t lo, int64_t hi) { return d >= lo && d <= hi; }

// The distance d from the end of a branch at `addr` to its target, when the target lies in
// the current psect (or is a constant in an absolute one). "$"+n counts as d = n; the form
// chosen must also hold the true distance n - 2, which the range tests below ask for.
bool branch_distance(Assembly &as, const Statement *n, const Symbol *p, int64_t &d, int64_t &d2) {
  Where w = locate(as, n->op_opnd1.o_value, p, 0);
  int64_t next = static_cast<int64_t>(n->op_addr) + 2;
  switch (w.kind) {
    case Where::DOT:
      d2 = wrap_sub(w.at, 2);
      d = is_abs_psect(p) ? d2 : w.at;
      return true;
    case Where::HERE: d = d2 = wrap_sub(w.at, next); return true;
    case Where::CONST:
      if (!is_abs_psect(p)) return false;
      d = d2 = wrap_sub(w.at, next);
      return true;
    default: return false;
  }
}

// Bytes of a conditional branch, jump or call: the shortest form when `initial`, else the form
// the last layout asks for.
unsigned branch_form(Assembly &as, const Statement *n, const Symbol *p, bool initial) {
  const AsmOptions &o = as.opt;
  int64_t d = 0, d2 = 0;
  auto fits = [&](int64_t lo, int64_t hi) { return within(d, lo, hi) && within(d2, lo, hi); };
  const StatementClass &c = ops_class(n->op_type);
  switch (c.size) {
    case SZ_COND_BRANCH:
      if (o.no_trans || (n->op_flags & NF_SRCPOS)) return 2;
      if (!branch_distance(as, n, p, d, d2)) return 6;
      if (initial || fits(-256, 255)) return 2;
      return fits(-2044, 2043) ? 4 : 6;
    case SZ_JUMP:
      if (!o.optimize || (n->op_flags & (NF_SRCPOS | NF_NOOPT))) return 4;
      if (!branch_distance(as, n, p, d, d2)) return 4;
      return initial || fits(-2048, 2047) ? 2 : 4;
    case SZ_CALL:
      if (o.no_trans || (n->op_subop & c.fast)) return 4;
      if (!branch_distance(as, n, p, d, d2)) return 4;
      return initial || fits(-2048, 2047) ? 2 : 4;
    default: return 0;
  }
}

// Whether the size of a statement of this kind depends on the distance to its target.
bool is_branch(uint32_t kind) {
  uint8_t size = ops_class(kind).size;
  return size == SZ_COND_BRANCH || size == SZ_JUMP || size == SZ_CALL;
}

unsigned sized_form(Assembly &as, const Statement *n, const Symbol *p) {
  const PageVector<uint8_t> &f = as.emit.form;
  if (n->op_serial < f.size() && f[n->op_serial]) return f[n->op_serial];
  return branch_form(as, n, p, false);
}

uint64_t data_size(const Statement *n, unsigned delta) {
  uint64_t per = std::max<unsigned>(std::clamp<unsigned>(n->op_subop, 1, 8), delta), total = 0;
  for (const DataItem *d = n->op_list; d; d = d->next) total = sat_add(total, per);
  return total;
}

uint64_t ds_size(const Statement *n, unsigned delta) {
  const Value &v = n->op_opnd1.o_value;
  if (v.v_rtype != RT_ABS || v.v_offs < 0) return 0;
  return sat_mul(static_cast<uint64_t>(v.v_offs), delta);
}

uint64_t align_pad(uint64_t loc, uint64_t boundary) {
  if (boundary <= 1 || boundary > ALIGN_MAX) return 0;
  return (boundary - loc % boundary) % boundary;
}

// Bytes of a statement other than ORG, ALIGN and labels. 813 for an unknown kind when `report`.
uint64_t stmt_size(Assembly &as, const Statement *n, const Symbol *p, bool report) {
  switch (ops_class(n->op_type).size) {
    case SZ_WORD: return 2;
    case SZ_TWO_WORDS: return 4;
    case SZ_THREE_WORDS: return 6;
    case SZ_NOP: return n->op_subop == NOP2_SUBOP && (as.opt.errata_mask & ERRATA_NOP2) ? 4 : 2;
    case SZ_MOVFF: return movff_short(as, n) ? 4 : 6;
    case SZ_COND_BRANCH: case SZ_JUMP: case SZ_CALL: return sized_form(as, n, p);
    case SZ_DATA: return data_size(n, delta_of(p));
    case SZ_DS: return ds_size(n, delta_of(p));
    case SZ_NONE: case SZ_ORG: case SZ_ALIGN: case SZ_LABEL: return 0;
    default:
      if (report)
        msg_report_at(as.msg, {stmt_asmfile(as.list, n), static_cast<long>(n->op_asmline)}, MSG_SIZE_UNKNOWN_OPERATOR, n->op_type);
      return 0;
  }
}

// One layout of a psect with the forms chosen so far; true when some op_addr changed.
bool layout(Assembly &as, Symbol *p, EmitPsect &ep, bool report) {
  const uint64_t delta = delta_of(p);
  uint64_t loc = 0;
  bool changed = false;
  ep.has_base = false;
  ep.base = 0;
  for (Statement *n = p->s_stmts->head.op_next; n->op_type; n = n->op_next) {
    uint32_t at = static_cast<uint32_t>(std::min(loc, LOC_MAX));
    if (n->op_addr != at) changed = true;
    n->op_addr = at;
    if (n->op_flags & NF_HIDDEN) continue;
    uint64_t old = loc;
    switch (ops_class(n->op_type).size) {
      case SZ_LABEL:
        if (n->op_label && n->op_label->s_defnode == n) {
          Value &v = n->op_label->s_value;
          v = Value{};
          v.v_rtype = RT_PSECT;
          v.v_sym = p;
          v.v_offs = static_cast<int64_t>(at / delta);
        }
        continue;
      case SZ_ORG:
        loc = std::min(sat_mul(n->op_num, delta), LOC_MAX);
        if (!ep.has_base) {
          ep.base = std::min(loc, LOC_MAX);
          ep.has_base = true;
        }
        continue;
      case SZ_ALIGN: loc = sat_add(loc, align_pad(loc, n->op_num)); break;
      default: loc = sat_add(loc, stmt_size(as, n, p, report)); break;
    }
    loc = std::min(loc, LOC_MAX);  // the counter stops at the end of the 32-bit space
    if (loc != old && (!ep.has_base || old < ep.base)) {
      ep.base = old;
      ep.has_base = true;
    }
  }
  ep.size = std::min(loc, LOC_MAX);
  return changed;
}

// ---- encoding ----

struct Enc {
  Assembly &as;
  Statement *n;
  Symbol *p;
  bool listing;
  unsigned resolve_left = 0;  // nodes the operand being resolved may still expand to
  bool report() const { return !listing; }
};

// Operator nodes for resolved operands and field expressions, folded by the value rules; their
// records live until the next statement is encoded.
Value node1(Enc &e, uint8_t kind, Value a) {
  expr_unary_kind(e.as, kind, a, e.as.emit.scratch);
  return a;
}

Value node2(Enc &e, uint8_t kind, Value a, const Value &b) {
  expr_binary_kind(e.as, kind, a, b, e.as.emit.scratch, e.report());
  return a;
}

Value psect_value(const Symbol *q, int64_t units) {
  if (is_abs_psect(q)) return expr_abs(units);
  Value v;
  v.v_rtype = RT_PSECT;
  v.v_sym = const_cast<Symbol *>(q);
  v.v_offs = units;
  return v;
}

// An operand as the object file needs it: temporary labels, "$", labels and symbols defined as
// other values replaced, references into absolute psects made constants, and folded again.
Value resolve(Enc &e, const Value &v, unsigned depth = 0) {
  // Symbols whose values name other symbols twice expand exponentially: the budget stops that.
  if (depth == 0) e.resolve_left = RESOLVE_NODES;
  if (depth > RESOLVE_DEPTH || e.resolve_left == 0) return v;  // the encoder reports 839 for it
  --e.resolve_left;
  Assembly &as = e.as;
  Value r;
  switch (v.v_rtype) {
    case RT_TLABF:
    case RT_TLABB: {
      bool fwd = v.v_rtype == RT_TLABF;
      if (e.listing) {
        const Statement *t = tlab_find(as.tlab, v.v_offs, fwd);
        if (!t) return expr_abs(0xFFFF);
        return psect_value(t->op_psect, t->op_addr / delta_of(t->op_psect));
      }
      r = tlab_resolve(as, v.v_offs, fwd);
      return r.v_rtype == RT_PSECT ? psect_value(r.v_sym, r.v_offs) : r;
    }
    case RT_DOT: {  // the location at the statement, also for the later items of a data list
      const Symbol *p = e.p ? e.p : v.v_sym;
      r = psect_value(p, wrap_add(static_cast<int64_t>(p ? e.n->op_addr / delta_of(p) : 0), v.v_offs));
      r.v_flags = v.v_flags;
      return r;
    }
    case RT_PSECT:
      if (!is_abs_psect(v.v_sym)) return v;
      r = expr_abs(v.v_offs);
      r.v_flags = v.v_flags;
      return r;
    case RT_SYM: {
      Symbol *s = v.v_sym;
      if (!s || (s->s_flags & SF_UNDEF) || obj_sym_is_external(s)) return v;
      if (s->s_value.v_rtype == RT_SYM && s->s_value.v_sym == s) return v;
      if (!e.listing && s->s_refcnt < 0xFFFF) ++s->s_refcnt;
      r = resolve(e, s->s_value, depth + 1);
      if (depth + 1 > RESOLVE_DEPTH) return v;
      r.v_offs = wrap_add(r.v_offs, v.v_offs);
      r.v_flags |= v.v_flags;
      return r;
    }
    case RT_DEFINED:
      if (v.v_str && sym_find(as, v.v_str)) return expr_abs(1);
      return v;
    default: break;
  }
  if (expr_is_unary(v.v_rtype) && v.v_left()) {
    r = node1(e, v.v_rtype, resolve(e, *v.v_left(), depth + 1));
  } else if (expr_is_binary(v.v_rtype) && v.v_left() && v.v_right()) {
    Value a = resolve(e, *v.v_left(), depth + 1);
    Value b = resolve(e, *v.v_right(), depth + 1);
    r = node2(e, v.v_rtype, a, b);
  } else {
    return v;
  }
  r.v_offs = wrap_add(r.v_offs, v.v_offs);
  r.v_flags |= v.v_flags;
  return r;
}

// The field operation, or in listing mode an item.
void field(Enc &e, uint64_t base, const Value *v, unsigned nbytes, unsigned width) {
  if (!e.listing) return obj_put_field(e.as, base, v, nbytes, width);
  EmitItem it;
  it.addr = static_cast<uint32_t>(std::min<uint64_t>(e.p->s_psect.p_curr, LOC_MAX));
  it.base = base;
  if (v) it.value = *v;
  it.nbytes = static_cast<uint8_t>(nbytes);
  it.width = static_cast<uint8_t>(width);
  e.as.emit.items.push_back(it);
  e.p->s_psect.p_curr += nbytes;
}

void word(Enc &e, uint64_t w) { field(e, w, nullptr, 2, 0); }
void fieldv(Enc &e, uint64_t base, const Value &v, unsigned width) { field(e, base, &v, 2, width); }

Value abs_v(int64_t n) { return expr_abs(n); }

// A 7-, 6- or 8-bit unsigned operand: 1339 when a constant does not fit, and then only its
// low bits are written (no truncation warning on top).
Value checked(Enc &e, Value v, unsigned width) {
  if (!emobj_range_check(e.as, v, width, false, e.report()) && v.v_rtype == RT_ABS)
    v.v_offs &= static_cast<int64_t>((uint64_t(1) << width) - 1);
  return v;
}

uint64_t access_bits(const Statement *n) { return n->op_access != ACCESS ? BIT_BANKED : 0; }

// The 8-bit file register field; a bracketed offset must be 0..95 (2065).
void file_field(Enc &e, uint64_t base, Value f) {
  if ((e.n->op_flags & NF_INDEXED) && f.v_rtype == RT_ABS && (f.v_offs < 0 || f.v_offs >= INDEXED_LIMIT)) {
    if (e.report()) msg_report(e.as.msg, MSG_OFFSET_OUT_OF_RANGE);
    f.v_offs &= 0xFF;
  }
  fieldv(e, base, f, 8);
}

// ---- encoders, one per layout; o = opcode bits from op_subop ----

// oooo ooda ffff ffff   addwf f,d,a (d: 1 stores to f; a: 1 banked)
void enc_file_dest(Enc &e) {
  const Statement *n = e.n;
  file_field(e, n->op_subop + (n->op_dest == F ? BIT_DEST_F : 0) + access_bits(n), resolve(e, n->op_opnd1.o_value));
}

// oooo oooa ffff ffff   movwf f,a
void enc_file(Enc &e) { file_field(e, e.n->op_subop + access_bits(e.n), resolve(e, e.n->op_opnd1.o_value)); }

// oooo bbba ffff ffff   bcf f,b,a
// A relocatable bit number is range-checked by the linker and goes into a 12-bit field.
void enc_file_bit(Enc &e) {
  Statement *n = e.n;
  Value f = resolve(e, n->op_opnd1.o_value);
  Value b = resolve(e, stmt_opnd2(n).o_value);
  uint64_t base = n->op_subop + access_bits(n);
  if (b.v_rtype == RT_ABS) {
    if (b.v_offs < 0 || b.v_offs > 7) {
      if (e.report()) msg_report(e.as.msg, MSG_BAD_BIT_NUMBER);
    }
    return file_field(e, base + static_cast<uint64_t>(b.v_offs & 7) * 0x200, f);
  }
  if (!e.listing) {
    ObjState &o = e.as.obj;
    if (o.text.pos + 2 >= OBJ_BUFSIZE) {  // the check and the field go into one record
      obj_flush(e.as);
      obj_start_text(e.as);
    }
    obj_add_range_check(e.as, b, abs_v(7), "bit number");
  }
  Value bits = node2(e, RT_SHL, node2(e, RT_AND, b, abs_v(7)), abs_v(9));
  Value file = node2(e, RT_AND, f, abs_v(255));
  fieldv(e, base, node2(e, RT_ADD, bits, file), 12);
}

// A relative displacement in words to `target` from `next` (the address after the word):
// computed here when the target lies in the current psect or is a constant in an absolute
// psect (1223 when it does not fit), else left to the linker as a complex field.
void displacement(Enc &e, uint64_t base, const Value &target, unsigned width, uint64_t next) {
  Symbol *p = e.p;
  int64_t d = 0;
  bool known = false;
  if (target.v_rtype == RT_PSECT && target.v_sym == p) {
    d = wrap_sub(wrap_mul(target.v_offs, delta_of(p)), static_cast<int64_t>(next));
    known = true;
  } else if (target.v_rtype == RT_ABS && is_abs_psect(p)) {
    d = wrap_sub(target.v_offs, static_cast<int64_t>(next));
    known = true;
  }
  if (known) {
    int64_t n = d / 2, lim = int64_t(1) << (width - 1);
    if ((n < -lim || n >= lim) && e.report()) msg_report(e.as.msg, MSG_BRANCH_OUT_OF_RANGE);
    return word(e, base + (static_cast<uint64_t>(n) & ((uint64_t(1) << width) - 1)));
  }
  Value here = psect_value(p, static_cast<int64_t>(next / delta_of(p)));
  fieldv(e, base, node2(e, RT_DIV, node2(e, RT_SUB, target, here), abs_v(2)), width);
}

// oooo oooo kkkk kkkk   1111 kkkk kkkk kkkk   goto k (1110 1111), call k,s (1110 110s); k is
// the target in words
void long_jump(Enc &e, uint64_t opcode, const Value &target) {
  fieldv(e, opcode, node2(e, RT_AND, node2(e, RT_SHR, target, abs_v(1)), abs_v(255)), 8);
  fieldv(e, OPC_SECOND, node2(e, RT_SHR, target, abs_v(9)), 12);
}

// short: 1100 ssss ssss ssss   1111 dddd dddd dddd
// long:  0000 0000 0110 ssss   1111 ssss ssss ssdd   1111 dddd dddd dddd
void enc_move(Enc &e, bool short_form) {
  Value s = resolve(e, e.n->op_opnd1.o_value), d = resolve(e, stmt_opnd2(e.n).o_value);
  if (short_form) {
    fieldv(e, OPC_MOVFF, s, 12);
    return fieldv(e, OPC_SECOND, d, 12);
  }
  fieldv(e, OPC_MOVFFL, node2(e, RT_SHR, s, abs_v(10)), 4);
  Value mid = node2(e, RT_OR, node2(e, RT_SHL, node2(e, RT_AND, s, abs_v(1023)), abs_v(2)),
                    node2(e, RT_AND, node2(e, RT_SHR, d, abs_v(12)), abs_v(3)));
  fieldv(e, OPC_SECOND, mid, 12);
  fieldv(e, OPC_SECOND, node2(e, RT_AND, d, abs_v(4095)), 12);
}

// 1110 100o ffkk kkkk   addfsr fsr,k (o: 1 subtracts)
void enc_addfsr(Enc &e) {
  const Value &fsr = e.n->op_opnd1.o_value;
  uint64_t f = fsr.v_rtype == RT_ABS ? static_cast<uint64_t>(fsr.v_offs) & 3 : 0;
  fieldv(e, e.n->op_subop + f * 64, checked(e, resolve(e, stmt_opnd2(e.n).o_value), 6), 6);
}

// 1110 1110 00ff kkkk   1111 0000 kkkk kkkk   lfsr fsr,k
// extended address:     1110 1110 ffkk kkkk   1111 00kk kkkk kkkk
void enc_lfsr(Enc &e) {
  Value k = resolve(e, stmt_opnd2(e.n).o_value);
  Value fsr = abs_v((e.n->op_subop >> 4) & 3);
  bool ext = e.as.emit.ext_addr;
  Value high = ext ? node2(e, RT_SHR, k, abs_v(10)) : node2(e, RT_AND, node2(e, RT_SHR, k, abs_v(8)), abs_v(15));
  fieldv(e, OPC_LFSR, node2(e, RT_ADD, node2(e, RT_SHL, fsr, abs_v(4)), high), 6);
  if (ext) return fieldv(e, OPC_SECOND, node2(e, RT_AND, k, abs_v(1023)), 10);
  fieldv(e, OPC_SECOND, node2(e, RT_AND, k, abs_v(255)), 8);
}

// 1110 1011 0sss ssss   1111 dddd dddd dddd   movsf [s],d
void enc_movsf(Enc &e) {
  Value s = checked(e, resolve(e, e.n->op_opnd1.o_value), 7), d = resolve(e, stmt_opnd2(e.n).o_value);
  fieldv(e, e.n->op_subop, node2(e, RT_AND, s, abs_v(127)), 7);
  fieldv(e, OPC_SECOND, d, 12);
}

// 0000 0000 0000 0010   1111 000s ssss ssdd   1111 dddd dddd dddd   movsfl [s],d
void enc_movsfl(Enc &e) {
  Value s = checked(e, resolve(e, e.n->op_opnd1.o_value), 7), d = resolve(e, stmt_opnd2(e.n).o_value);
  word(e, e.n->op_subop);
  Value mid = node2(e, RT_OR, node2(e, RT_SHL, node2(e, RT_AND, s, abs_v(127)), abs_v(2)),
                    node2(e, RT_AND, node2(e, RT_SHR, d, abs_v(12)), abs_v(3)));
  fieldv(e, OPC_SECOND, mid, 9);
  fieldv(e, OPC_SECOND, node2(e, RT_AND, d, abs_v(4095)), 12);
}

// 1110 1011 1sss ssss   1111 0000 0ddd dddd   movss [s],[d]
void enc_movss(Enc &e) {
  Value s = checked(e, resolve(e, e.n->op_opnd1.o_value), 7), d = checked(e, resolve(e, stmt_opnd2(e.n).o_value), 7);
  fieldv(e, e.n->op_subop, node2(e, RT_AND, s, abs_v(127)), 7);
  fieldv(e, OPC_SECOND, node2(e, RT_AND, d, abs_v(127)), 7);
}

// oooo oooo kkkk kkkk (8 bits) or oooo oooo ookk kkkk (6 bits): movlw k, setcnt k; with
// `check` a constant must fit unsigned (addulnk, pushl).
void enc_literal(Enc &e, unsigned width, bool check) {
  Value k = resolve(e, e.n->op_opnd1.o_value);
  fieldv(e, e.n->op_subop, check ? checked(e, k, width) : k, width);
}

// 0000 0001 00kk kkkk (extended address) or 0000 0001 0000 kkkk   movlb k; banksel f is the
// movlb of f's bank.
void enc_movlb(Enc &e, bool banksel) {
  Value k = resolve(e, e.n->op_opnd1.o_value);
  unsigned width = e.as.emit.ext_addr ? 6 : 4;
  if (!banksel) return fieldv(e, e.n->op_subop, k, width);
  fieldv(e, OPC_MOVLB, node2(e, RT_SHR, k, abs_v(8)), width);
}

// oooo oooo oooo oooo   nop2 is 1111 0000 0000 0000 twice with the errata, else a branch to
// the next instruction: 1101 0000 0000 0000
void enc_nop(Enc &e) {
  uint16_t sub = e.n->op_subop;
  if (sub != NOP2_SUBOP) return word(e, sub);
  if (e.as.opt.errata_mask & ERRATA_NOP2) {
    word(e, OPC_SECOND);
    return word(e, OPC_SECOND);
  }
  word(e, OPC_BRA);
}

// 1101 onnn nnnn nnnn   bra n, rcall n
void enc_rel11(Enc &e) {
  displacement(e, e.n->op_subop, resolve(e, e.n->op_opnd1.o_value), 11, e.p->s_psect.p_curr + 2);
}

// 1110 0ccc nnnn nnnn   bz n; farther: the opposite condition skipping a bra or a goto
void enc_cond_branch(Enc &e) {
  uint16_t sub = e.n->op_subop;
  Value t = resolve(e, e.n->op_opnd1.o_value);
  uint64_t at = e.p->s_psect.p_curr;
  switch (sized_form(e.as, e.n, e.p)) {
    case 2: return displacement(e, sub, t, 8, at + 2);
    case 4:
      word(e, (sub ^ BCC_INVERT) + 1);  // skip the BRA when the condition fails
      return displacement(e, OPC_BRA, t, 11, at + 4);
    default:
      word(e, (sub ^ BCC_INVERT) + 2);  // skip the GOTO
      return long_jump(e, OPC_GOTO, t);
  }
}

// goto n as a bra when sized 2 bytes, call n as an rcall; else the long form.
void enc_jump_or_call(Enc &e, uint64_t short_opcode, uint64_t long_opcode) {
  Value t = resolve(e, e.n->op_opnd1.o_value);
  if (sized_form(e.as, e.n, e.p) == 2) return displacement(e, short_opcode, t, 11, e.p->s_psect.p_curr + 2);
  long_jump(e, long_opcode, t);
}

// Element-size bytes of each item, padded to the psect's delta.
void enc_data(Enc &e) {
  unsigned elem = std::clamp<unsigned>(e.n->op_subop, 1, 8), per = std::max<unsigned>(elem, delta_of(e.p));
  for (const DataItem *d = e.n->op_list; d; d = d->next) {
    Value v = resolve(e, d->value);
    field(e, 0, &v, elem, 8 * elem);
    if (per > elem) field(e, 0, nullptr, per - elem, 0);
  }
}

// Flushes, moves the location counter, starts a new text record (DS and ORG).
void move_counter(Enc &e, uint64_t to) {
  Assembly &as = e.as;
  if (to > LOC_MAX) {
    if (e.report() && as.emit.too_far != e.p)
      msg_report(as.msg, MSG_LOCATION_PAST_END, name_of(e.p));
    as.emit.too_far = e.p;
    to = LOC_MAX;
  }
  if (e.listing) {
    e.p->s_psect.p_curr = to;
    return;
  }
  obj_flush(as);
  e.p->s_psect.p_curr = to;
  obj_start_text(as);
}

void enc_align(Enc &e) {
  uint64_t boundary = e.n->op_num;
  if (boundary > ALIGN_MAX && e.report())
    msg_report(e.as.msg, MSG_ALIGN_TOO_LARGE, static_cast<unsigned long long>(boundary));
  uint64_t pad = align_pad(e.p->s_psect.p_curr, boundary);
  for (uint64_t i = 0; i < pad; ++i) field(e, 0, nullptr, 1, 0);
}

// IF and ELSIF: a condition that is not a constant goes to the linker.
void enc_condition(Enc &e) {
  if (e.listing) return;
  Value c = resolve(e, e.n->op_opnd1.o_value);
  if (c.v_rtype != RT_ABS) obj_put_condition(e.as, c);
}

// MESSG, ERROR and WARN report their text when the object is written.
void enc_message(Enc &e) {
  if (e.listing) return;
  const char *text = e.n->op_text ? e.n->op_text : "";
  uint16_t sub = e.n->op_subop;
  if (sub == 0) msg_report(e.as.msg, MSG_CFG_MESSAGE, text);       // 2066 message
  else if (sub == 1) msg_report(e.as.msg, MSG_CFG_ERROR, text);    // 2067 error
  else if (sub == 2) msg_report(e.as.msg, MSG_CFG_WARNING, text);  // 2080 warning
}

void encode(Enc &e) {
  Assembly &as = e.as;
  Statement *n = e.n;
  switch (ops_class(n->op_type).layout) {
    case EL_FILE_DEST: return enc_file_dest(e);
    case EL_FILE: return enc_file(e);
    case EL_FILE_BIT: return enc_file_bit(e);
    case EL_OPCODE: return word(e, n->op_subop);
    case EL_MOVFF: return enc_move(e, movff_short(as, n));
    case EL_MOVFFL: return enc_move(e, false);
    case EL_ADDFSR: return enc_addfsr(e);
    case EL_LFSR: return enc_lfsr(e);
    case EL_MOVSF: return enc_movsf(e);
    case EL_MOVSFL: return enc_movsfl(e);
    case EL_MOVSS: return enc_movss(e);
    case EL_K8: return enc_literal(e, 8, false);
    case EL_K8_CHECKED: return enc_literal(e, 8, true);
    case EL_K6: return enc_literal(e, 6, false);
    case EL_K6_CHECKED: return enc_literal(e, 6, true);
    case EL_MOVLB: return enc_movlb(e, false);
    case EL_BANKSEL: return enc_movlb(e, true);
    case EL_NOP: return enc_nop(e);
    case EL_REL11: return enc_rel11(e);
    case EL_COND_BRANCH: return enc_cond_branch(e);
    case EL_JUMP: return enc_jump_or_call(e, OPC_BRA, OPC_GOTO);
    case EL_CALL: return enc_jump_or_call(e, OPC_RCALL, n->op_subop);
    case EL_DATA: return enc_data(e);
    case EL_DS: return move_counter(e, sat_add(e.p->s_psect.p_curr, ds_size(n, delta_of(e.p))));
    case EL_ORG: return move_counter(e, sat_mul(n->op_num, delta_of(e.p)));
    case EL_ALIGN: return enc_align(e);
    case EL_CONDITION: return enc_condition(e);
    case EL_MESSAGE: return enc_message(e);
    case EL_TLABEL: return tlab_define(as, n->op_tlab, n);
    case EL_NONE: return;
    default:
      if (e.report()) msg_report(as.msg, MSG_EMOBJ_UNKNOWN_OPERATOR, n->op_type);
      return;
  }
}

}  // namespace

// ---- interface ----

void emobj_size_all(Assembly &as) {
  for (StatementList *l : as.list.lists)
    if (l->psect && !l->psect->s_psect.p_delta) l->psect->s_psect.p_delta = 1;
  build_tlab_table(as);
  as.emit.max_passes = 0;
  for (StatementList *l : as.list.lists) {
    if (!l->psect) continue;
    if (l->head.op_next == &l->tail) {
      EmitPsect &ep = psect_info(as, l->psect);
      ep.size = ep.base = 0;
      ep.has_base = false;
      continue;
    }
    emobj_size_psect(as, l->psect);
  }
}

void emobj_size_psect(Assembly &as, Symbol *p) {
  if (!p || !p->s_stmts) return;
  EmitState &es = as.emit;
  PsectPart &pp = p->s_psect;
  if (!pp.p_delta) pp.p_delta = 1;
  if (!es.tlab_built || es.psects.size() <= p->s_pindex) build_tlab_table(as);
  es.ext_addr = chip_has_arch(as, ARCH_EXTENDED_ADDRESS);
  if (es.form.size() <= as.list.node_serial) es.form.resize(as.list.node_serial + 1);
  EmitPsect &ep = psect_info(as, p);
  StatementList *l = p->s_stmts;

  // Pass 0: the shortest form of every branch; the branches are noted for the later passes.
  as.tlab.cursor = ep.tlab_base;
  es.branches.clear();
  for (Statement *n = l->head.op_next; n->op_type; n = n->op_next) {
    if (n->op_type == TLABEL) {
      ++as.tlab.cursor;
    } else if (is_branch(n->op_type) && n->op_serial < es.form.size()) {
      es.form[n->op_serial] = static_cast<uint8_t>(branch_form(as, n, p, true));
      if (!(n->op_flags & NF_HIDDEN)) es.branches.emplace_back(n, as.tlab.cursor);
    }
  }
  layout(as, p, ep, true);
  unsigned passes = 1;
  for (;;) {
    // Forms from the last layout; a form only grows. When none grows, the layout stands.
    ++passes;
    bool grew = false;
    for (auto [n, cursor] : es.branches) {
      as.tlab.cursor = cursor;
      uint8_t &f = es.form[n->op_serial];
      uint8_t now = static_cast<uint8_t>(branch_form(as, n, p, false));
      if (now > f) {
        f = now;
        grew = true;
      }
    }
    if (!grew || !layout(as, p, ep, false)) break;
  }
  as.tlab.cursor = 0;
  pp.p_curr = 0;
  es.passes = passes;
  es.max_passes = std::max(es.max_passes, passes);
  es.total_passes += passes;
}

const EmitPsect &emobj_psect(const Assembly &as, const Symbol *p) {
  static const EmitPsect none;
  if (!p || p->s_pindex >= as.emit.psects.size()) return none;
  return as.emit.psects[p->s_pindex];
}

uint64_t emobj_extent(const Assembly &as, const Symbol *p) {
  uint64_t size = emobj_psect(as, p).size;
  if (p && p->s_psect.p_space == 0 && p->s_psect.p_reloc == 2 && (size & 1)) ++size;
  return size;
}

bool emobj_range_check(Assembly &as, const Value &v, unsigned width, bool is_signed, bool report) {
  if (v.v_rtype != RT_ABS || width == 0 || width >= 64) return true;
  int64_t x = v.v_offs;
  bool ok = is_signed ? x >= -(int64_t(1) << (width - 1)) && x <= (int64_t(1) << (width - 1)) - 1
                      : x >= 0 && static_cast<uint64_t>(x) <= (uint64_t(1) << width) - 1;
  if (!ok && report) msg_report(as.msg, MSG_OPERAND_WIDTH, width, is_signed ? "signed" : "unsigned");
  return ok;
}

void emobj_begin_psect(Assembly &as, Symbol *p, bool listing) {
  if (!p) return;
  EmitState &es = as.emit;
  if (!es.tlab_built || es.psects.size() <= p->s_pindex) build_tlab_table(as);
  es.ext_addr = chip_has_arch(as, ARCH_EXTENDED_ADDRESS);
  as.tlab.cursor = psect_info(as, p).tlab_base;
  es.last_file = nullptr;
  es.last_line = 0;
  es.line_known = false;
  p->s_psect.p_curr = 0;
  if (p != as.sym.cur_psect) {
    as.sym.cur_psect = p;
    if (!listing) obj_new_text(as, false);
  }
}

void emobj_encode(Assembly &as, Statement *n, bool listing) {
  Symbol *p = as.sym.cur_psect;
  EmitState &es = as.emit;
  es.scratch.reset();
  if (listing) es.items.clear();
  if (!n || !p || (n->op_flags & NF_HIDDEN)) return;
  // Messages from here on, also those of the output between statements, carry this position.
  msg_set_at(as.msg, {stmt_asmfile(as.list, n), static_cast<long>(n->op_asmline)});
  // Phase check: sizing and encoding must agree on every offset.
  if (std::min(p->s_psect.p_curr, LOC_MAX) != n->op_addr && n->op_type != ORG && !listing)
    msg_report(as.msg, MSG_PHASE_ERROR);
  Enc e{as, n, p, listing};
  encode(e);
}
