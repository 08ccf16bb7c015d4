// Object record writer: framing, buffers with their flush rules, relocation entries, the
// complex-expression encoder and the records written whole.
#include "output/objout.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>

#include "driver/assembly.h"

namespace {

constexpr const char *RECORD_NAMES[] = {
    nullptr,      "TEXT",    "PSECT",    "RELOC",    "SYM",      "START",     "END",
    "IDENT",      "XPSECT",  "SEGMENT",  "XSYM",     "SIGNAT",   "FNINFO",    "FNCONF",
    "SEGSTART",   "PSECTLIM", "LISTRELOC", "LR_TEXT", "LR_RELOC", "COND_EXPR", "DABS",
    "Unknown",    "FNALIGN", "PSECTBOUND", "RECRANGE",
};
static_assert(std::size(RECORD_NAMES) == OR_RECRANGE + 1);

constexpr uint32_t PSECT_FLAG_MASK = 0x14F0;  // global pure ovrld abs bit note
constexpr uint32_t BOUND_FLAG_MASK = 0x4F0;   // global pure ovrld abs bit
constexpr uint8_t PSECTBOUND_LEAD = 13;
constexpr uint8_t IDENT_TRAILER[2] = {3, 11};
constexpr unsigned MAX_ENTRY = OBJ_BUFSIZE - 4;  // largest entry an empty buffer takes (508)
constexpr unsigned ENCODE_DEPTH = 1000;           // deeper trees (or symbol cycles) are refused
constexpr unsigned FNALIGN_SPLIT = 510;           // an FNALIGN record that would reach this is written first

std::string_view name_of(const Symbol *s) { return s && s->s_name ? std::string_view(s->s_name) : std::string_view(); }

// Strings are written up to a NUL they might carry, then a NUL.
std::string_view cstr(std::string_view s) { return s.substr(0, s.find('\0')); }

// Buffer appends; callers make room first, and nothing is written past the end.
void put_u8(ObjBuffer &b, unsigned v) {
  if (b.pos < OBJ_BUFSIZE) b.b[b.pos++] = static_cast<uint8_t>(v);
}
void put_u16(ObjBuffer &b, unsigned v) {
  put_u8(b, v & 0xFF);
  put_u8(b, (v >> 8) & 0xFF);
}
void put_u32(ObjBuffer &b, uint64_t v) {
  for (int i = 0; i < 4; ++i) put_u8(b, (v >> (8 * i)) & 0xFF);
}
void put_bytes(ObjBuffer &b, const uint8_t *p, size_t n) {
  size_t k = std::min<size_t>(n, OBJ_BUFSIZE - b.pos);
  if (k) std::memcpy(b.b + b.pos, p, k);
  b.pos += static_cast<unsigned>(k);
}
void put_str(ObjBuffer &b, std::string_view s) {
  s = cstr(s);
  put_bytes(b, reinterpret_cast<const uint8_t *>(s.data()), s.size());
  put_u8(b, 0);
}

// Vector appends, for records written whole and for encoded expressions.
void vec_u8(std::vector<uint8_t> &v, unsigned x) { v.push_back(static_cast<uint8_t>(x)); }
void vec_u16(std::vector<uint8_t> &v, unsigned x) {
  vec_u8(v, x & 0xFF);
  vec_u8(v, (x >> 8) & 0xFF);
}
void vec_u32(std::vector<uint8_t> &v, uint64_t x) {
  for (int i = 0; i < 4; ++i) vec_u8(v, (x >> (8 * i)) & 0xFF);
}
void vec_str(std::vector<uint8_t> &v, std::string_view s) {
  s = cstr(s);
  v.insert(v.end(), s.begin(), s.end());
  v.push_back(0);
}
size_t str_size(std::string_view s) { return cstr(s).size() + 1; }

// A 64-bit value in a u32 field keeps its low 32 bits.
uint64_t u32_of(Assembly &as, int64_t val) {
  MSG_CHECK(as.msg, (val <= INT32_MAX && val >= INT32_MIN) || val <= static_cast<int64_t>(UINT_MAX));
  return static_cast<uint64_t>(val) & 0xFFFFFFFFu;
}

// Writes one record: header, then len data bytes.
void write_raw(Assembly &as, uint8_t type, const uint8_t *data, size_t len) {
  ObjState &o = as.obj;
  if (!MSG_CHECK(as.msg, o.out != nullptr)) return;
  uint8_t hdr[3] = {static_cast<uint8_t>(len & 0xFF), static_cast<uint8_t>((len >> 8) & 0xFF), type};
  o.out->write(reinterpret_cast<const char *>(hdr), 3);
  if (len) o.out->write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(len));
  // A failed write is reported once, by whoever closes the file.
}

void write_buffer(Assembly &as, ObjBuffer &b) {
  unsigned len = b.pos - 3;
  b.b[0] = static_cast<uint8_t>(len & 0xFF);
  b.b[1] = static_cast<uint8_t>(len >> 8);
  b.b[2] = b.type;
  write_raw(as, b.type, b.b + 3, len);
}

void close_stream(ObjState &o) {
  if (o.out) o.out->flush();
  o.out = nullptr;
  o.owned.reset();
}

void reset(ObjBuffer &b, uint8_t type) {
  b.type = type;
  b.pos = 3;
}

// A name that no record of at most 512 bytes can hold.
void report_too_long(Assembly &as, std::string_view what, std::string_view name) {
  msg_report(as.msg, MSG_NAME_TOO_LONG, what, name);
}

// Writes as.obj.record as one record, if it fits.
void write_record(Assembly &as, uint8_t type, std::string_view name, size_t limit = OBJ_MAXDATA) {
  std::vector<uint8_t> &r = as.obj.record;
  if (r.size() > limit) {
    report_too_long(as, obj_record_name(type), name);
    return;
  }
  write_raw(as, type, r.data(), r.size());
}

// Flush rule 3: the entry goes in only if a byte of the buffer stays free after it.
bool make_room(Assembly &as, ObjBuffer &b, size_t size, std::string_view name) {
  if (size > MAX_ENTRY) {
    report_too_long(as, obj_record_name(b.type), name);
    return false;
  }
  if (b.pos + size >= OBJ_BUFSIZE) {
    write_buffer(as, b);
    b.pos = 3;
  }
  return true;
}

// ---- the encoder ----

struct Encoder {
  Assembly &as;
  std::vector<uint8_t> &out;
  bool report_unknown;  // "Bad operator" and go on; else 779 once and stop
  bool ok = true;
  bool stop = false;
  unsigned depth = 0;
};

void enc_value(Encoder &x, const Value &v);

void enc_const(Encoder &x, int64_t n) {
  vec_u8(x.out, CX_CONST);
  vec_u32(x.out, u32_of(x.as, n));
}

// Rule 3: a nonzero constant part of a node other than a constant is added after it.
void enc_offset(Encoder &x, int64_t offs) {
  if (offs == 0) return;
  enc_const(x, offs);
  vec_u8(x.out, CX_ADD);
}

void enc_name(Encoder &x, uint8_t code, std::string_view name) {
  vec_u8(x.out, code);
  vec_str(x.out, name);
}

void enc_unknown(Encoder &x, unsigned kind) {
  x.ok = false;
  if (x.report_unknown) {
    msg_report(x.as.msg, MSG_BAD_COMPLEX_OPERATOR, kind);
  } else {
    msg_report_once(x.as.msg, MSG_BAD_RELOC_TYPE, kind);
    x.stop = true;
  }
}

// Operator codes of the node kinds the encoder writes as they are.
int unary_code(uint8_t k) {
  switch (k) {
    case RT_LOW: return CX_LOW;
    case RT_HIGH: return CX_HIGH;
    case RT_NOT: return CX_NOT;
    case RT_NEG: return CX_NEG;
    case CX_UN21: return CX_UN21;
    case CX_UN23: return CX_UN23;
    default: return -1;
  }
}
int binary_code(uint8_t k) {
  if ((k >= RT_ADD && k <= RT_XOR) || k == RT_MOD || k == CX_BIN15 || k == CX_SHR22) return k;
  return -1;
}

bool own_base(const Symbol *s) { return s->s_value.v_rtype == RT_SYM && s->s_value.v_sym == s; }

// "seg" of a symbol: the base of what the symbol is relative to.
void enc_seg_symbol(Encoder &x, Symbol *s) {
  for (unsigned steps = 0; steps < ENCODE_DEPTH; ++steps) {
    obj_undefined_check(x.as, s);
    const Value &sv = s->s_value;
    if (obj_sym_is_external(s)) return enc_name(x, CX_EXT | CX_SEG, name_of(s));
    if (sv.v_rtype == RT_PSECT && sv.v_sym) return enc_name(x, CX_REL | CX_SEG, name_of(sv.v_sym));
    if (own_base(s)) return enc_name(x, CX_REL | CX_SEG, name_of(s));
    if (sv.v_rtype != RT_SYM || !sv.v_sym) return enc_unknown(x, RT_SYM | RT_SEG);
    s = sv.v_sym;
  }
  msg_report_once(x.as.msg, MSG_RELOC_TOO_COMPLEX);
  x.ok = false;
  x.stop = true;
}

// "$": the location counter in address units plus the offset, relative to the psect unless
// the psect is absolute.
void enc_dot(Encoder &x, const Value &v) {
  const Symbol *p = x.as.sym.cur_psect ? x.as.sym.cur_psect : v.v_sym;
  if (!p) return enc_unknown(x, v.v_rtype);
  const PsectPart &pp = p->s_psect;
  int64_t units = static_cast<int64_t>(pp.p_curr / (pp.p_delta ? pp.p_delta : 1));
  int64_t n = units + v.v_offs;
  if ((p->s_flags & (PSF_ABS | PSF_OVRLD)) == (PSF_ABS | PSF_OVRLD)) return enc_const(x, n);
  bool with_const = units != 0 || v.v_offs != 0;
  if (with_const) enc_const(x, n);
  enc_name(x, CX_REL, name_of(p));
  if (with_const) vec_u8(x.out, CX_ADD);
}

void enc_value(Encoder &x, const Value &v) {
  if (x.stop) return;
  // Past the size of any record the rest is not needed: the caller refuses the entry by its
  // size. Stopping here keeps symbols that name other symbols twice from expanding exponentially.
  if (x.out.size() > OBJ_BUFSIZE) {
    x.stop = true;
    return;
  }
  if (++x.depth > ENCODE_DEPTH) {
    msg_report_once(x.as.msg, MSG_RELOC_TOO_COMPLEX);
    x.ok = false;
    x.stop = true;
    return;
  }
  struct Depth {
    unsigned &d;
    ~Depth() { --d; }
  } guard{x.depth};

  const uint8_t k = v.v_rtype;
  if (int code = unary_code(k); code >= 0) {
    if (!v.v_left()) return enc_unknown(x, k);
    enc_value(x, *v.v_left());
    if (x.stop) return;
    vec_u8(x.out, static_cast<unsigned>(code));
    return enc_offset(x, v.v_offs);
  }
  if (int code = binary_code(k); code >= 0) {
    if (!v.v_left() || !v.v_right()) return enc_unknown(x, k);
    enc_value(x, *v.v_right());  // right operand first
    enc_value(x, *v.v_left());
    if (x.stop) return;
    vec_u8(x.out, static_cast<unsigned>(code));
    return enc_offset(x, v.v_offs);
  }
  switch (k) {
    case RT_ABS:
      return enc_const(x, v.v_offs);
    case RT_PSECT:
    case RT_PSECT | RT_SEG:
      if (!v.v_sym) return enc_unknown(x, k);
      enc_name(x, k == RT_PSECT ? CX_REL : CX_REL | CX_SEG, name_of(v.v_sym));
      return enc_offset(x, v.v_offs);
    case RT_SYM: {
      Symbol *s = v.v_sym;
      if (!s) return enc_unknown(x, k);
      obj_undefined_check(x.as, s);
      if (obj_sym_is_external(s)) enc_name(x, CX_EXT, name_of(s));
      else if (own_base(s)) enc_name(x, CX_REL, name_of(s));
      else enc_value(x, s->s_value);  // a symbol defined as another value
      return enc_offset(x, v.v_offs);
    }
    case RT_SYM | RT_SEG:
      if (!v.v_sym) return enc_unknown(x, k);
      enc_seg_symbol(x, v.v_sym);
      return enc_offset(x, v.v_offs);
    case RT_DEFINED:
      enc_name(x, CX_TEXT, v.v_str ? std::string_view(v.v_str) : std::string_view());
      return enc_offset(x, v.v_offs);
    case RT_DOT:
      return enc_dot(x, v);
    default:
      return enc_unknown(x, k);
  }
}

// ---- text records and relocations ----

std::string_view cur_psect_name(Assembly &as) { return name_of(as.sym.cur_psect); }

// Position of the next code byte within the text record's data.
unsigned text_offset(const ObjState &o) { return o.text.pos > o.text_data ? o.text.pos - o.text_data : 0; }

// Adds the relocation entry of a field at the current text position; false when none is made.
bool add_reloc(Assembly &as, const Value &e, bool simple, unsigned width) {
  ObjState &o = as.obj;
  std::string_view name;
  size_t target;
  if (simple) {
    name = name_of(e.v_sym);
    target = str_size(name);
  } else {
    o.scratch.clear();
    if (!obj_encode_expr(as, e, o.scratch, false)) return false;
    target = o.scratch.size() + 2;
  }
  unsigned size = width % 8 == 0 ? width / 8 : width;
  uint8_t unit = width % 8 == 0 ? 0 : RK_BITS;
  if (size > 15) {
    msg_report(as.msg, MSG_BAD_RELOC_SIZE);
    return false;
  }
  if (3 + target > MAX_ENTRY) {
    msg_report_once(as.msg, MSG_RELOC_TOO_COMPLEX);
    return false;
  }
  // Flush rule 2: the entry must end within the buffer; the field then opens a new record.
  if (o.reloc.pos + 3 + target > OBJ_BUFSIZE) {
    obj_flush(as);
    obj_start_text(as);
  }
  uint8_t kind = !simple ? RK_COMPLEX : e.v_rtype == RT_PSECT ? RK_PSECT : RK_SYMBOL;
  ObjBuffer &r = o.reloc;
  put_u16(r, text_offset(o));      // offset in TEXT data
  put_u8(r, unit | kind | size);   // type
  if (simple) {
    put_str(r, name);  // psect or symbol
  } else {
    put_bytes(r, o.scratch.data(), o.scratch.size());  // expression
    put_u8(r, CX_END);
  }
  return true;
}

uint64_t width_mask(unsigned w) { return w >= 64 ? ~uint64_t(0) : (uint64_t(1) << w) - 1; }

}  // namespace

const char *obj_record_name(unsigned type) { return type < std::size(RECORD_NAMES) ? RECORD_NAMES[type] : nullptr; }

bool obj_sym_is_external(const Symbol *s) {
  if (!s) return false;
  if (s->s_flags & SF_EXTERN) return true;
  return (s->s_flags & SF_UNDEF) && (s->s_flags & (SF_GLOBAL | SF_LOCAL));
}

bool obj_undefined_check(Assembly &as, Symbol *s) {
  if (!s || !(s->s_flags & SF_UNDEF) || (s->s_flags & (SF_GLOBAL | SF_LOCAL | SF_NAMESPACE))) return false;
  msg_report(as.msg, MSG_UNDEFINED_SYMBOL, name_of(s));
  s->s_flags |= SF_GLOBAL;
  return true;
}

bool obj_encode_expr(Assembly &as, const Value &v, std::vector<uint8_t> &out, bool report_unknown) {
  Encoder x{as, out, report_unknown};
  enc_value(x, v);
  return x.ok;
}

// ---- opening and closing ----

void obj_write_ident(Assembly &as, std::string_view ident) {
  ObjState &o = as.obj;
  if (o.text.pos > o.text_data) obj_flush(as);
  std::vector<uint8_t> &r = o.record;
  r.clear();
  for (unsigned i = 0; i < 4; ++i) vec_u8(r, i);  // byte positions of a u32
  for (unsigned i = 0; i < 2; ++i) vec_u8(r, i);  // byte positions of a u16
  ident = cstr(ident);
  vec_str(r, ident.substr(0, OBJ_IDENT_MAX));     // machine identification
  vec_u8(r, IDENT_TRAILER[0]);
  vec_u8(r, IDENT_TRAILER[1]);
  write_record(as, OR_IDENT, ident);
  o.listing = true;
  reset(o.text, OR_LR_TEXT);
  o.text_data = 3;
  reset(o.reloc, OR_RELOC);
}

void obj_open(Assembly &as, std::ostream &out, std::string_view ident) {
  ObjState &o = as.obj;
  o.out = &out;
  o.too_long_psect = nullptr;
  reset(o.text, OR_TEXT);
  o.text_data = 3;
  obj_write_ident(as, ident);
  obj_start_text(as);
  reset(o.sym, OR_SYM);
  reset(o.dabs, OR_DABS);
  reset(o.fninfo, OR_FNINFO);
}

void obj_open_listing(Assembly &as, std::ostream &out) {
  ObjState &o = as.obj;
  o.out = &out;
  reset(o.text, OR_LR_TEXT);
  o.text_data = 3;
  reset(o.sym, OR_SYM);
  reset(o.dabs, OR_DABS);
  reset(o.fninfo, OR_FNINFO);
  obj_write_ident(as, OBJ_LISTING_IDENT);
}

void obj_finish(Assembly &as, const ObjFinish &f) {
  ObjState &o = as.obj;
  if (!o.out) return;
  obj_flush_symbols(as);
  obj_flush(as);
  obj_flush_dabs(as);
  std::vector<uint8_t> &r = o.record;
  if (!f.lst_name.empty()) {
    r.clear();
    vec_str(r, f.rlf_name);  // relocatable listing file
    vec_str(r, f.lst_name);  // listing file
    write_record(as, OR_LISTRELOC, f.lst_name);
  }
  if (f.has_start) {
    r.clear();
    vec_u32(r, f.start_offset);  // offset within the psect
    vec_str(r, f.start_psect);   // psect
    write_record(as, OR_START, f.start_psect);
  }
  if (o.fninfo.pos > 3) write_buffer(as, o.fninfo);
  reset(o.fninfo, OR_FNINFO);
  const uint8_t end[2] = {0, 0};
  write_raw(as, OR_END, end, 2);
  close_stream(o);
}

void obj_finish_listing(Assembly &as) {
  ObjState &o = as.obj;
  if (!o.out) return;
  if (o.text.pos > o.text_data) write_buffer(as, o.text);
  reset(o.text, OR_LR_TEXT);
  const uint8_t end[2] = {0, 0};
  write_raw(as, OR_END, end, 2);
  close_stream(o);
}

// ---- text records ----

void obj_start_text(Assembly &as) {
  ObjState &o = as.obj;
  const Symbol *p = as.sym.cur_psect;
  o.listing = false;
  reset(o.text, OR_TEXT);
  put_u32(o.text, p ? p->s_psect.p_curr & 0xFFFFFFFFu : 0);  // location
  std::string_view name = cur_psect_name(as);
  if (str_size(name) + 7 >= OBJ_BUFSIZE) {
    // No byte would fit after the name: the record stays full and writes nothing.
    o.text.pos = OBJ_BUFSIZE;
  } else {
    put_str(o.text, name);  // psect
  }
  o.text_data = o.text.pos;
  reset(o.reloc, OR_RELOC);
}

void obj_flush(Assembly &as) {
  ObjState &o = as.obj;
  if (o.text.pos > o.text_data) write_buffer(as, o.text);
  if (o.reloc.pos > 3) write_buffer(as, o.reloc);
  o.text.pos = o.text_data;
  o.reloc.pos = 3;
}

void obj_new_text(Assembly &as, bool listing) {
  obj_flush(as);
  if (!listing) return obj_start_text(as);
  ObjState &o = as.obj;
  o.listing = true;
  reset(o.text, OR_LR_TEXT);
  o.text_data = 3;
  reset(o.reloc, OR_RELOC);
}

void obj_put_field(Assembly &as, uint64_t base, const Value *e, unsigned nbytes, unsigned width) {
  ObjState &o = as.obj;
  Symbol *p = as.sym.cur_psect;
  // Flush rule 1: a TEXT record carries at most 508 data bytes.
  if (o.text.pos + nbytes >= OBJ_BUFSIZE) {
    obj_flush(as);
    obj_start_text(as);
    if (o.text.pos + nbytes >= OBJ_BUFSIZE) {
      if (o.too_long_psect != p) report_too_long(as, "psect name", cur_psect_name(as));
      o.too_long_psect = p;
      if (p) p->s_psect.p_curr += nbytes;
      return;
    }
  }
  bool complex = false, entry = true;
  if (e && width && e->v_rtype != RT_ABS) {
    if (e->v_rtype == RT_SYM) obj_undefined_check(as, e->v_sym);
    bool fits = width >= 64 || (static_cast<uint64_t>(e->v_offs) >> width) == 0;
    bool simple = fits && ((e->v_rtype == RT_PSECT && e->v_sym) ||
                           (e->v_rtype == RT_SYM && obj_sym_is_external(e->v_sym)));
    complex = !simple;
    entry = add_reloc(as, *e, simple, width);
  }
  uint64_t v = 0;
  if (e && width && !complex && entry) {
    v = static_cast<uint64_t>(e->v_offs) & width_mask(width);
    if (e->v_offs >= 0 && static_cast<uint64_t>(e->v_offs) != v && !chip_in_access_sfr(as, e->v_offs))
      msg_report(as.msg, MSG_TRUNCATION, static_cast<unsigned long long>(e->v_offs), static_cast<int>(width));
  }
  uint64_t word = base + v;
  for (unsigned i = 0; i < nbytes; ++i) put_u8(o.text, i < 8 ? (word >> (8 * i)) & 0xFF : 0);
  if (p) p->s_psect.p_curr += nbytes;
}

void obj_add_range_check(Assembly &as, const Value &value, const Value &limit, std::string_view desc) {
  ObjState &o = as.obj;
  if (value.v_rtype == RT_ABS && limit.v_rtype == RT_ABS && value.v_offs <= limit.v_offs) return;
  o.scratch.clear();
  if (!obj_encode_expr(as, value, o.scratch, false)) return;
  size_t value_size = o.scratch.size();
  if (!obj_encode_expr(as, limit, o.scratch, false)) return;
  desc = cstr(desc);
  size_t size = o.scratch.size() + desc.size() + 5;
  if (size > MAX_ENTRY) {
    msg_report(as.msg, MSG_RANGE_CHECK_TOO_COMPLEX);
    return;
  }
  if (o.reloc.pos + size + 3 > OBJ_BUFSIZE) {
    obj_flush(as);
    obj_start_text(as);
  }
  ObjBuffer &r = o.reloc;
  put_u16(r, text_offset(o));   // offset in TEXT data
  put_u8(r, RK_RANGE_CHECK);    // type
  put_u8(r, CX_CHECK_HEAD);
  put_str(r, desc);             // description
  put_bytes(r, o.scratch.data(), value_size);                                  // value
  put_bytes(r, o.scratch.data() + value_size, o.scratch.size() - value_size);  // limit
  put_u8(r, CX_CHECK);
}

void obj_put_condition(Assembly &as, const Value &e) {
  ObjState &o = as.obj;
  obj_flush(as);
  obj_start_text(as);
  o.scratch.clear();
  obj_encode_expr(as, e, o.scratch, true);
  if (o.scratch.size() + 1 > OBJ_MAXDATA) {
    msg_report_once(as.msg, MSG_RELOC_TOO_COMPLEX);
  } else {
    reset(o.reloc, OR_COND_EXPR);
    put_bytes(o.reloc, o.scratch.data(), o.scratch.size());  // condition
    put_u8(o.reloc, CX_END);
  }
  obj_flush(as);
  obj_start_text(as);
}

// ---- symbols ----

void obj_put_sym_entry(Assembly &as, uint32_t value, uint16_t type, std::string_view base, std::string_view name) {
  ObjBuffer &b = as.obj.sym;
  size_t size = str_size(name) + str_size(base) + 6;
  if (!make_room(as, b, size, name)) return;
  put_u32(b, value);  // value
  put_u16(b, type);   // symbol type
  put_str(b, base);   // psect or base symbol
  put_str(b, name);   // symbol
}

void obj_put_symbol(Assembly &as, const Symbol *s, unsigned type) {
  if (!s) return;
  int64_t offs = s->s_value.v_offs;
  uint8_t kind = s->s_value.v_rtype;
  const Symbol *base = s->s_value.v_sym;
  // A value relative to another symbol: follow the chain to a value that is not.
  if (kind == RT_SYM && base && base != s) {
    for (unsigned steps = 0; steps < ENCODE_DEPTH; ++steps) {
      const Value &bv = base->s_value;
      offs += bv.v_offs;
      if (bv.v_rtype == RT_SYM && bv.v_sym && bv.v_sym != base) {
        base = bv.v_sym;
        continue;
      }
      kind = bv.v_rtype;
      if (kind != RT_SYM) base = bv.v_sym;
      break;
    }
  }
  uint16_t t = static_cast<uint16_t>(type);
  std::string_view base_name;
  if (kind == RT_SYM && base && base != s) {
    if (!(type & SF_GLOBAL)) return;
    t = ST_SYMREL;
    base_name = name_of(base);
  } else if (kind == RT_PSECT) {
    base_name = name_of(base);
  }
  obj_put_sym_entry(as, static_cast<uint32_t>(u32_of(as, offs)), t, base_name, name_of(s));
}

void obj_flush_symbols(Assembly &as) {
  ObjBuffer &b = as.obj.sym;
  if (b.pos > 3) write_buffer(as, b);
  reset(b, OR_SYM);
}

// ---- psect records ----

void obj_write_psect(Assembly &as, const Symbol *psect, uint32_t base, uint32_t size) {
  if (!psect) return;
  const PsectPart &pp = psect->s_psect;
  std::string_view name = name_of(psect);
  std::vector<uint8_t> &r = as.obj.record;

  r.clear();
  vec_u16(r, psect->s_flags & PSECT_FLAG_MASK);  // flags
  vec_str(r, name);                              // psect
  write_record(as, OR_PSECT, name);

  if (pp.p_size || pp.p_reloc || pp.p_class || pp.p_space || pp.p_delta || pp.p_with) {
    r.clear();
    vec_u32(r, pp.p_size);               // size
    vec_u16(r, pp.p_reloc & 0xFFFF);     // alignment
    vec_u16(r, 0);
    vec_u8(r, pp.p_space);               // memory space
    vec_u8(r, pp.p_delta);               // bytes per address unit
    vec_u16(r, 0);
    vec_str(r, name);                    // psect
    vec_str(r, name_of(pp.p_class));     // class
    vec_str(r, name_of(pp.p_with));      // "with" psect
    write_record(as, OR_XPSECT, name);
  }
  if (pp.p_limit) {
    r.clear();
    vec_u16(r, pp.p_limit);              // limit
    r.insert(r.end(), 14, 0);
    vec_str(r, name);                    // psect
    write_record(as, OR_PSECTLIM, name);
  }
  if ((psect->s_flags & (PSF_ABS | PSF_OVRLD)) == (PSF_ABS | PSF_OVRLD) || base != 0) {
    r.clear();
    vec_u8(r, PSECTBOUND_LEAD);
    vec_u16(r, psect->s_flags & BOUND_FLAG_MASK);  // flags
    vec_u32(r, base);                    // lowest offset with content
    vec_u32(r, size);                    // extent
    vec_u8(r, pp.p_space);               // memory space
    vec_u8(r, pp.p_delta);               // bytes per address unit
    vec_str(r, name);                    // psect
    vec_str(r, name_of(pp.p_class));     // class
    write_record(as, OR_PSECTBOUND, name);
  }
}

void obj_write_extent(Assembly &as, const Symbol *psect, uint32_t size) {
  std::vector<uint8_t> &r = as.obj.record;
  r.clear();
  vec_u32(r, size);              // extent
  vec_str(r, name_of(psect));    // psect
  write_record(as, OR_TEXT, name_of(psect));
}

// ---- absolute data and function information ----

void obj_put_dabs(Assembly &as, uint8_t space, uint32_t addr, uint32_t size, std::string_view name) {
  ObjBuffer &b = as.obj.dabs;
  if (!make_room(as, b, 9 + str_size(name), name)) return;
  put_u8(b, space);   // memory space
  put_u32(b, addr);   // address
  put_u32(b, size);   // size
  put_str(b, name);   // name
}

void obj_flush_dabs(Assembly &as) {
  ObjBuffer &b = as.obj.dabs;
  if (b.pos > 3) write_buffer(as, b);
  reset(b, OR_DABS);
}

void obj_put_fn_names(Assembly &as, ObjFnKind kind, std::string_view a, std::string_view b) {
  bool two = kind == FN_CALL || kind == FN_ARG || kind == FN_BREAK;
  ObjBuffer &f = as.obj.fninfo;
  if (!make_room(as, f, 1 + str_size(a) + (two ? str_size(b) : 0), a)) return;
  put_u8(f, kind);
  put_str(f, a);
  if (two) put_str(f, b);
}

void obj_put_fn_indir(Assembly &as, std::string_view name, uint16_t signat) {
  ObjBuffer &f = as.obj.fninfo;
  if (!make_room(as, f, 1 + str_size(name) + 2, name)) return;
  put_u8(f, FN_INDIR);
  put_str(f, name);    // name
  put_u16(f, signat);  // signature
}

void obj_put_fn_size(Assembly &as, std::string_view name, uint32_t first, uint32_t second) {
  ObjBuffer &f = as.obj.fninfo;
  if (!make_room(as, f, 1 + str_size(name) + 8, name)) return;
  put_u8(f, FN_SIZE);
  put_str(f, name);    // function
  put_u32(f, first);   // first size
  put_u32(f, second);  // second size
}

void obj_write_signat(Assembly &as, std::string_view name, uint16_t signat) {
  std::vector<uint8_t> &r = as.obj.record;
  r.clear();
  vec_u16(r, signat);  // signature
  vec_str(r, name);    // symbol
  write_record(as, OR_SIGNAT, name);
}

void obj_write_fnconf(Assembly &as, std::string_view a, std::string_view b, std::string_view c, uint16_t number) {
  std::vector<uint8_t> &r = as.obj.record;
  r.clear();
  vec_str(r, a);
  vec_str(r, b);
  vec_str(r, c);
  vec_u16(r, number);
  write_record(as, OR_FNCONF, a);
}

void obj_write_fnalign(Assembly &as, uint16_t group, std::span<const std::string_view> members) {
  std::vector<uint8_t> &r = as.obj.record;
  r.clear();
  vec_u16(r, group);  // group number
  for (std::string_view m : members) {
    m = cstr(m).substr(0, OBJ_FNALIGN_NAME_MAX);
    if (r.size() + m.size() + 1 >= FNALIGN_SPLIT) {
      write_record(as, OR_FNALIGN, m, OBJ_READER_MAXDATA);
      r.resize(2);
    }
    vec_str(r, m);  // member
  }
  write_record(as, OR_FNALIGN, "", OBJ_READER_MAXDATA);
}

// ---- relocatable listing ----

void obj_put_listing_text(Assembly &as, std::string_view text) {
  ObjState &o = as.obj;
  if (!MSG_CHECK(as.msg, o.listing)) return;
  ObjBuffer &t = o.text;
  // Flush rule 4: a full LR_TEXT record holds exactly 509 bytes.
  while (!text.empty()) {
    size_t k = std::min<size_t>(text.size(), OBJ_BUFSIZE - t.pos);
    put_bytes(t, reinterpret_cast<const uint8_t *>(text.data()), k);
    text.remove_prefix(k);
    if (t.pos == OBJ_BUFSIZE) {
      write_buffer(as, t);
      t.pos = 3;
    }
  }
}

void obj_put_listing_reloc(Assembly &as, const Value &e, uint32_t base, unsigned size, unsigned format) {
  ObjState &o = as.obj;
  if (o.text.pos > o.text_data) write_buffer(as, o.text);
  o.text.pos = o.text_data;
  o.scratch.clear();
  obj_encode_expr(as, e, o.scratch, true);
  std::vector<uint8_t> &r = o.record;
  r.clear();
  vec_u32(r, base);                  // base value
  vec_u8(r, 0);
  vec_u8(r, ('0' + size) & 0xFF);    // field size
  vec_u8(r, format & 15);            // format code
  r.insert(r.end(), o.scratch.begin(), o.scratch.end());  // value
  vec_u8(r, CX_END);
  if (r.size() > OBJ_MAXDATA) {
    msg_report_once(as.msg, MSG_RELOC_TOO_COMPLEX);
    return;
  }
  write_raw(as, OR_LR_RELOC, r.data(), r.size());
}
