// The value printer. A value's text is
//
//   [c:(] [seg(] core [)] [+offset] [)]
//
// where core is a leaf (number, name, "$", temporary label reference, defined test), a unary
// operator applied to its parenthesised operand, or "left op right". Trees grow to the left, so
// the left spine is walked in a loop and only right operands recurse. Every stored value has
// passed the expression size bound (EXPR_MAX_OPERATORS operators), so that recursion is shallow.
#include "output/valprint.h"

#include <cstdio>
#include <vector>

#include "device/sfrs.h"
#include "driver/assembly.h"
#include "lang/expr.h"
#include "lang/sym.h"

namespace {

// Folding rounds for names whose values refer to names defined later still.
constexpr unsigned MAX_FOLDS = 16;

constexpr uint8_t KIND_MASK = 0x7F;

bool is_operator_kind(uint8_t k) { return expr_is_unary(k) || expr_is_binary(k); }

const char *binary_text(uint8_t k) {
  switch (k) {
  case RT_ADD: return "+";
  case RT_SUB: return "-";
  case RT_MUL: return "*";
  case RT_DIV: return "/";
  case RT_SHL: return "<<";
  case RT_SHR: return ">>";
  case RT_AND: return "&";
  case RT_OR: return "|";
  case RT_XOR: return "^";
  case RT_MOD: return " mod ";
  default: return "?";
  }
}

const char *unary_text(uint8_t k) {
  switch (k) {
  case RT_LOW: return "low(";
  case RT_HIGH: return "high(";
  case RT_NOT: return "~(";
  case RT_NEG: return "-(";
  default: return "(";
  }
}

bool relocatable(const Value &v) { return v.v_rtype != RT_ABS; }

// Leaves whose v_offs is an offset added to a base (printed as "+n"), not the leaf itself.
bool has_offset_suffix(const Value &v) {
  if (v.v_offs == 0) return false;
  uint8_t k = v.v_rtype;
  if (k & RT_SEG) return true;
  return k != RT_ABS && k != RT_TLABF && k != RT_TLABB;
}

class Printer {
 public:
  Printer(Assembly &as, std::string &out) : as_(as), out_(out), hex_(as.opt.hex_constants) {}

  void value(const Value &v);
  void leaf(const Value &v);

 private:
  Assembly &as_;
  std::string &out_;
  bool hex_;

  void put(const char *s) { out_ += s; }
  void putf(const char *fmt, unsigned long long n) {
    char b[32];
    int len = std::snprintf(b, sizeof b, fmt, n);
    if (len > 0) out_.append(b, static_cast<size_t>(len) < sizeof b ? static_cast<size_t>(len) : sizeof b - 1);
  }
  void number(int64_t n) {
    if (hex_) putf("$%llX", static_cast<unsigned long long>(n));
    else if (n < 0) {
      put("-");
      putf("%llu", 0ULL - static_cast<unsigned long long>(n));
    } else {
      putf("%llu", static_cast<unsigned long long>(n));
    }
  }
  // "+n" or "-n" after a base; the magnitude of INT64_MIN reads back as INT64_MIN.
  void offset(int64_t n) {
    if (n == 0) return;
    unsigned long long mag = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    put(n < 0 ? "-" : "+");
    putf(hex_ ? "$%llX" : "%llu", mag);
  }
  // A tree no expression builds: a binary node without its right operand, a name leaf
  // without its symbol.
  void bad() {
    msg_check_failed(as_.msg, "printable value", __FILE__, __LINE__);
    put("0");
  }
  // Whether the node's access flag follows from its operands when the text is read back.
  static bool flag_implied(const Value &n) {
    uint8_t k = n.v_rtype & KIND_MASK;
    const Value *l = n.v_left(), *r = n.v_right();
    if (l && (l->v_flags & VF_ACCESS)) return true;
    return expr_is_binary(k) && r && relocatable(*r) && (r->v_flags & VF_ACCESS);
  }
  static bool needs_flag(const Value &n) { return (n.v_flags & VF_ACCESS) && !flag_implied(n); }
  // Text without a binary operator at its top level: a right operand like this needs no
  // parentheses. Negative decimal constants are enclosed as well, for readability.
  bool atomic(const Value &v) const {
    uint8_t k = v.v_rtype & KIND_MASK;
    if (v.v_rtype == RT_ABS) return hex_ || v.v_offs >= 0;
    if (is_operator_kind(k)) {
      if (v.v_offs != 0) return needs_flag(v);  // "c:(...)" encloses the offset
      return (v.v_rtype & RT_SEG) || needs_flag(v) || expr_is_unary(k);
    }
    return !has_offset_suffix(v);
  }
  void prefix(const Value &n) {
    if (needs_flag(n)) put("c:(");
    if (n.v_rtype & RT_SEG) put("seg(");
    uint8_t k = n.v_rtype & KIND_MASK;
    if (expr_is_unary(k)) put(unary_text(k));
  }
  void suffix(const Value &n) {
    uint8_t k = n.v_rtype & KIND_MASK;
    if (expr_is_unary(k)) {
      put(")");
    } else {
      put(binary_text(k));
      if (!n.v_right()) {
        bad();
      } else if (atomic(*n.v_right())) {
        value(*n.v_right());
      } else {
        put("(");
        value(*n.v_right());
        put(")");
      }
    }
    if (n.v_rtype & RT_SEG) put(")");
    offset(n.v_offs);
    if (needs_flag(n)) put(")");
  }
};

void Printer::value(const Value &v) {
  // The left spine: operator nodes from the root down to the leftmost leaf.
  constexpr size_t INLINE = 32;
  const Value *inl[INLINE];
  std::vector<const Value *> more;
  size_t n = 0;
  const Value *p = &v;
  while (p && is_operator_kind(p->v_rtype & KIND_MASK)) {
    if (n < INLINE) inl[n] = p;
    else more.push_back(p);
    ++n;
    p = p->v_left();
  }
  auto at = [&](size_t i) { return i < INLINE ? inl[i] : more[i - INLINE]; };
  for (size_t i = 0; i < n; ++i) prefix(*at(i));
  if (p) leaf(*p);
  else bad();
  for (size_t i = n; i-- > 0;) suffix(*at(i));
}

void Printer::leaf(const Value &v) {
  uint8_t k = v.v_rtype & KIND_MASK;
  bool seg = v.v_rtype & RT_SEG;
  bool flag = v.v_flags & VF_ACCESS;
  // "$" of a common psect carries the access flag by itself.
  if (flag && k == RT_DOT && v.v_sym && (v.v_sym->s_flags & PSF_COMMON)) flag = false;
  if (flag) put("c:");
  if (seg) put("seg(");
  switch (k) {
  case RT_ABS:
    number(seg ? 0 : v.v_offs);
    break;
  case RT_SYM:
  case RT_PSECT:
    if (!v.v_sym || !v.v_sym->s_name) bad();
    else if (!*v.v_sym->s_name) put("0");  // the unnamed absolute psect starts at 0
    else put(v.v_sym->s_name);
    break;
  case RT_DOT: put("$"); break;
  case RT_TLABF:
  case RT_TLABB:
    putf("%llu", seg ? 0ULL : static_cast<unsigned long long>(v.v_offs));
    put(k == RT_TLABF ? "f" : "b");
    break;
  case RT_DEFINED:
    put("defined \"");
    put(v.v_str ? v.v_str : "");
    put("\"");
    break;
  case RT_STRING:
    put("\"");
    put(v.v_str ? v.v_str : "");
    put("\"");
    break;
  case RT_FLOAT: {
    char b[40];
    int len = std::snprintf(b, sizeof b, "%.9e", v.v_float);
    if (len > 0) out_.append(b, static_cast<size_t>(len) < sizeof b ? static_cast<size_t>(len) : sizeof b - 1);
    break;
  }
  default: bad(); break;
  }
  if (seg) put(")");
  if (has_offset_suffix(v)) offset(v.v_offs);
}

// A leaf that folding would replace: a name defined after its use (the parser folds the names
// that are defined already). Emission folds it; the text must show what it folds to, because the
// text reads every EQU before any use.
bool foldable_leaf(const Value &v) {
  if (v.v_rtype != RT_SYM || !v.v_sym) return false;
  const Symbol *s = v.v_sym;
  const Value &sv = s->s_value;
  return !(s->s_flags & SF_UNDEF) && !(sv.v_rtype == RT_SYM && sv.v_sym == s) && sv.v_rtype != RT_PSECT;
}

bool has_foldable_leaf(const Value &v) {
  const Value *p = &v;
  for (; p && is_operator_kind(p->v_rtype & KIND_MASK); p = p->v_left())
    if (expr_is_binary(p->v_rtype & KIND_MASK) && p->v_right() && has_foldable_leaf(*p->v_right()))
      return true;
  return p && foldable_leaf(*p);
}

// Folding leaves a sum with an absolute operand as a node; the parser reads "x+5" into the
// offset of x. The folded copy is brought into that form, so its text reads back to itself.
void normalize(Value &v) {
  std::vector<Value *> spine;
  for (Value *p = &v; p && is_operator_kind(p->v_rtype); p = p->v_left()) spine.push_back(p);
  for (size_t i = spine.size(); i-- > 0;) {
    Value &n = *spine[i];
    if (!expr_is_binary(n.v_rtype) || !n.v_left() || !n.v_right()) continue;
    normalize(*n.v_right());
    Value &l = *n.v_left(), &r = *n.v_right();
    bool la = l.v_rtype == RT_ABS, ra = r.v_rtype == RT_ABS;
    if (n.v_rtype != RT_ADD || la == ra) continue;
    const Value &base = ra ? l : r;
    uint64_t offs = static_cast<uint64_t>(n.v_offs) + static_cast<uint64_t>(l.v_offs) + static_cast<uint64_t>(r.v_offs);
    uint8_t flags = n.v_flags;
    n = base;
    n.v_offs = static_cast<int64_t>(offs);
    n.v_flags = flags;
  }
}

}  // namespace

void valprint(Assembly &as, std::string &out, const Value &v, bool register_names) {
  const Value *p = &v;
  Value folded;
  if (has_foldable_leaf(v)) {
    copyexpr(as, folded, v);
    for (unsigned i = 0; i < MAX_FOLDS && has_foldable_leaf(folded); ++i) expr_fold(as, folded);
    normalize(folded);
    p = &folded;
  }
  if (register_names && p->v_rtype == RT_ABS && as.dev.sfr.initialized) {
    if (const char *name = sfr_name(as, p->v_offs)) {
      if (p->v_flags & VF_ACCESS) out += "c:";
      out += name;
      return;
    }
  }
  Printer(as, out).value(*p);
}
