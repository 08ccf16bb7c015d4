// Values and expressions: constants fold at once, everything else stays a tree until emission.
//
// Operand records are never changed once made: a symbol's value is shared by every use of the
// symbol instead of copied, and folding makes new records where a subtree changes. What keeps
// walks cheap and shallow is the size bound: an expression of more than EXPR_MAX_OPERATORS
// operators, counted as if every shared subtree were written out, is refused when it is folded.
// Trees grow to the left (binary operators associate to the left), so walks follow the left
// operands in a loop and recurse only into right operands.
#include "lang/expr.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "driver/assembly.h"
#include "lang/sym.h"

namespace {

// Raised here with their texts: the message database has no entry for them.

// Operand records from the run's pool: one for a unary node, an adjacent pair for a binary one.
Value *new_operands(Assembly &as, const Value &left, const Value *right) {
  return right ? as.expr.pool.make_pair(left, *right) : as.expr.pool.make(left);
}

// The left spine of a tree, or operands still to visit, kept without heap use for ordinary
// depths.
class Spine {
 public:
  void push(const Value *v) {
    if (n_ < INLINE) inl_[n_] = v;
    else more_.push_back(v);
    ++n_;
  }
  size_t size() const { return n_; }
  const Value *at(size_t i) const { return i < INLINE ? inl_[i] : more_[i - INLINE]; }
  const Value *pop() {
    const Value *v = at(--n_);
    if (n_ >= INLINE) more_.pop_back();
    return v;
  }

 private:
  static constexpr size_t INLINE = 32;
  const Value *inl_[INLINE];
  std::vector<const Value *> more_;
  size_t n_ = 0;
};

bool is_operator(uint8_t rt) { return expr_is_unary(rt) || expr_is_binary(rt); }

bool is_known_kind(uint8_t rt) {
  switch (rt) {
    case RT_ABS: case RT_LOW: case RT_HIGH: case RT_ADD: case RT_SUB: case RT_MUL: case RT_DIV:
    case RT_SHL: case RT_SHR: case RT_AND: case RT_OR: case RT_XOR: case RT_NOT: case RT_NEG:
    case RT_PSECT: case RT_MOD: case RT_DEFINED: case RT_SYM: case RT_FLOAT: case RT_STRING:
    case RT_TLABF: case RT_TLABB: case RT_DOT: case RT_SEG | RT_PSECT: case RT_SEG | RT_SYM:
      return true;
    default:
      return false;
  }
}

// 64-bit arithmetic that wraps instead of overflowing.
int64_t wrap(uint64_t u) { return static_cast<int64_t>(u); }
uint64_t u64(int64_t v) { return static_cast<uint64_t>(v); }

// Absolute operands of an operator node kind. Returns false for a zero divisor.
bool fold_binary_abs(uint8_t rt, int64_t l, int64_t r, int64_t &out) {
  switch (rt) {
    case RT_ADD: out = wrap(u64(l) + u64(r)); return true;
    case RT_SUB: out = wrap(u64(l) - u64(r)); return true;
    case RT_MUL: out = wrap(u64(l) * u64(r)); return true;
    case RT_DIV:
    case RT_MOD:
      if (r == 0) return false;
      if (r == -1) out = rt == RT_DIV ? wrap(0 - u64(l)) : 0;  // INT64_MIN / -1 wraps
      else out = rt == RT_DIV ? l / r : l % r;
      return true;
    case RT_SHL: out = wrap(u64(l) << (r & 63)); return true;
    case RT_SHR: out = l >> (r & 63); return true;
    case RT_AND: out = l & r; return true;
    case RT_OR: out = l | r; return true;
    case RT_XOR: out = l ^ r; return true;
    default: out = l; return true;
  }
}

int64_t fold_unary_abs(uint8_t rt, int64_t x) {
  switch (rt) {
    case RT_LOW: return x & 0xFF;
    case RT_HIGH: return (x >> 8) & 0xFF;
    case RT_NOT: return ~x;
    case RT_NEG: return wrap(0 - u64(x));
    default: return x;
  }
}

// The operator node kind of a binary operator code; 0 when it has none.
uint8_t node_kind(unsigned op) {
  switch (op) {
    case OPR_ADD: return RT_ADD;
    case OPR_SUB: return RT_SUB;
    case OPR_MUL: return RT_MUL;
    case OPR_DIV: return RT_DIV;
    case OPR_MOD: return RT_MOD;
    case OPR_SHL: return RT_SHL;
    case OPR_SHR: return RT_SHR;
    case OPR_AND: return RT_AND;
    case OPR_OR: return RT_OR;
    case OPR_XOR: return RT_XOR;
    default: return 0;
  }
}

// Where operator nodes get their operand records, and whether a zero divisor is reported.
struct NodeSource {
  Assembly &as;
  ValueScratch *scratch = nullptr;  // null: the run's pool
  bool report = true;
  Value *make(const Value &left, const Value *right) {
    return scratch ? scratch->make(left, right) : new_operands(as, left, right);
  }
};

// Turns v into an operator node of kind rt over copies of left (v itself) and right.
void make_node(NodeSource &src, Value &v, uint8_t rt, const Value *right) {
  Value *ops = src.make(v, right);
  v.v_rtype = rt;
  v.v_offs = 0;
  v.v_ops = ops;
}

void make_abs(Value &v, int64_t n) {
  v.v_rtype = RT_ABS;
  v.v_offs = n;
  v.v_sym = nullptr;
}

bool same_base_leaves(const Value &l, const Value &r) {
  return l.v_rtype == r.v_rtype && (l.v_rtype == RT_PSECT || l.v_rtype == RT_SYM) && l.v_sym == r.v_sym;
}

// The unary node rt over v, folded when v is a constant; the result replaces v.
void build_unary(NodeSource &src, uint8_t rt, Value &v) {
  if (v.v_rtype == RT_ABS) v.v_offs = fold_unary_abs(rt, v.v_offs);
  else make_node(src, v, rt, nullptr);
}

// The binary node rt over left and right, folded where the value rules fold it: a constant
// added to or subtracted from a relative value moves its offset, two values on the same base
// subtract to a constant, two constants fold. The result replaces left.
void build_binary(NodeSource &src, uint8_t rt, Value &left, const Value &right_in) {
  const Value right = right_in;  // left and right may be one record
  bool la = left.v_rtype == RT_ABS, ra = right.v_rtype == RT_ABS;
  int64_t l = left.v_offs, r = right.v_offs;
  if (rt == RT_ADD && la) {
    uint8_t flags = left.v_flags | right.v_flags;
    left = right;
    left.v_offs = wrap(u64(l) + u64(r));
    left.v_flags = flags;
  } else if (rt == RT_ADD && ra) {
    left.v_offs = wrap(u64(l) + u64(r));
  } else if (rt == RT_SUB && ra) {
    left.v_offs = wrap(u64(l) - u64(r));
  } else if (rt == RT_SUB && same_base_leaves(left, right)) {
    make_abs(left, wrap(u64(l) - u64(r)));
  } else if (la && ra) {
    int64_t x;
    if (fold_binary_abs(rt, l, r, x)) left.v_offs = x;
    else if (src.report) msg_report(src.as.msg, MSG_DIVIDE_BY_ZERO);
  } else {
    make_node(src, left, rt, &right);
  }
  if (!ra) left.v_flags |= right.v_flags;
}

// The number of operator nodes of v written out as a tree, counted up to limit + 1.
size_t count_operators(const Value &v, size_t limit) {
  size_t n = 0;
  Spine pending;  // right operands still to count
  const Value *p = &v;
  for (;;) {
    while (p && is_operator(p->v_rtype)) {
      if (++n > limit) return n;
      if (expr_is_binary(p->v_rtype) && p->v_ops) pending.push(p->v_right());
      p = p->v_left();
    }
    if (pending.size() == 0) return n;
    p = pending.pop();
  }
}

// Refuses a value too large to walk: it becomes absolute 0.
void bound_size(Assembly &as, Value &v) {
  if (count_operators(v, EXPR_MAX_OPERATORS) <= EXPR_MAX_OPERATORS) return;
  msg_report(as.msg, MSG_EXPR_TOO_LARGE, static_cast<unsigned>(EXPR_MAX_OPERATORS));
  make_abs(v, 0);
  v.v_flags = 0;
}

void fold_leaf(Assembly &as, Value &v) {
  if (v.v_rtype == RT_DEFINED) {
    if (v.v_str && sym_find(as, v.v_str)) make_abs(v, 1);
    return;
  }
  if (v.v_rtype != RT_SYM || !v.v_sym) return;
  Symbol *s = v.v_sym;
  if (s->s_flags & SF_UNDEF) return;
  const Value &sv = s->s_value;
  if ((sv.v_rtype == RT_SYM && sv.v_sym == s) || sv.v_rtype == RT_PSECT) return;
  Value r = sv;  // shared: operand records are not changed in place
  r.v_offs = wrap(u64(r.v_offs) + u64(v.v_offs));
  r.v_flags = v.v_flags;
  v = r;
}

void fold_node(Assembly &as, Value &n) {
  const Value *l = n.v_left();
  if (!l) return;
  if (expr_is_unary(n.v_rtype)) {
    if (l->v_rtype == RT_ABS) make_abs(n, wrap(u64(n.v_offs) + u64(fold_unary_abs(n.v_rtype, l->v_offs))));
    return;
  }
  const Value *r = n.v_right();
  if (l->v_rtype == RT_ABS && r->v_rtype == RT_ABS) {
    int64_t x;
    if (!fold_binary_abs(n.v_rtype, l->v_offs, r->v_offs, x)) {
      // A divisor that only became zero now: reported as for constants, the dividend stays.
      msg_report(as.msg, MSG_DIVIDE_BY_ZERO);
      x = l->v_offs;
    }
    make_abs(n, wrap(u64(n.v_offs) + u64(x)));
    return;
  }
  if (n.v_rtype != RT_SUB) return;
  if (same_base_leaves(*l, *r)) {
    make_abs(n, wrap(u64(n.v_offs) + u64(l->v_offs) - u64(r->v_offs)));
  } else if (r->v_rtype == RT_ABS) {
    int64_t offs = wrap(u64(n.v_offs) + u64(l->v_offs) - u64(r->v_offs));
    uint8_t flags = n.v_flags;
    n = *l;
    n.v_offs = offs;
    n.v_flags = flags;
  }
}

bool equal_folded(const Value &a, const Value &b) {
  const Value *x = &a, *y = &b;
  for (;;) {
    if (x->v_offs != y->v_offs || x->v_rtype != y->v_rtype) return false;
    uint8_t rt = x->v_rtype;
    if (rt == RT_ABS) return true;
    if (is_operator(rt)) {
      if (!x->v_ops || !y->v_ops) return x->v_ops == y->v_ops;
      if (expr_is_binary(rt) && !equal_folded(*x->v_right(), *y->v_right())) return false;
      x = x->v_left();
      y = y->v_left();
      continue;
    }
    switch (rt) {
      case RT_SYM: return x->v_sym == y->v_sym;
      case RT_FLOAT: return x->v_float == y->v_float;
      case RT_STRING:
        return x->v_str == y->v_str || (x->v_str && y->v_str && std::strcmp(x->v_str, y->v_str) == 0);
      default: return false;
    }
  }
}

uint32_t hash_folded(MsgState &m, const Value &v) {
  uint32_t h = 0;
  for (const Value *n = &v; n;) {
    uint8_t rt = n->v_rtype;
    h += rt;
    if (expr_is_binary(rt)) {
      if (n->v_ops) h += rt * hash_folded(m, *n->v_right());
      n = n->v_left();
      continue;
    }
    if (expr_is_unary(rt)) {
      n = n->v_left();
      continue;
    }
    switch (rt) {
      case RT_ABS:
        if (n->v_offs > static_cast<int64_t>(UINT32_MAX - h))
          msg_check_failed(m, "i + e1->v_offs <= UINT_MAX", __FILE__, __LINE__);
        h += static_cast<uint32_t>(n->v_offs);
        break;
      case RT_SYM:
        if (n->v_sym && n->v_sym->s_name)
          for (const char *p = n->v_sym->s_name; *p; ++p) h += 3u * static_cast<unsigned char>(*p);
        break;
      case RT_STRING:
        if (n->v_str)
          for (const char *p = n->v_str; *p; ++p) h += 3u * static_cast<unsigned char>(*p);
        break;
      case RT_FLOAT: {
        double t = std::trunc(n->v_float);
        if (t >= -9.2e18 && t <= 9.2e18) h += static_cast<uint32_t>(static_cast<int64_t>(t));
        break;
      }
      default:
        break;
    }
    break;
  }
  return h;
}

}  // namespace

bool expr_is_unary(uint8_t rt) { return rt == RT_LOW || rt == RT_HIGH || rt == RT_NOT || rt == RT_NEG; }

bool expr_is_binary(uint8_t rt) { return (rt >= RT_ADD && rt <= RT_XOR) || rt == RT_MOD; }

Value expr_abs(int64_t n) {
  Value v;
  v.v_offs = n;
  return v;
}

Value expr_float(double d, bool negate) {
  if (negate) d = -d;
  float f;
  if (std::isfinite(d) && std::fabs(d) > FLT_MAX) {
    // Beyond the largest single: round to it, or to infinity from half an ulp above it.
    f = std::fabs(d) < 0x1.ffffffp127 ? FLT_MAX : INFINITY;
    if (d < 0) f = -f;
  } else {
    f = static_cast<float>(d);
  }
  return expr_abs(std::bit_cast<uint32_t>(f));
}

Value expr_symbol(Assembly &as, Symbol *s) {
  Value v;
  if (!s) return v;
  if (s->s_refcnt < 0xFFFF) ++s->s_refcnt;
  if (s->s_flags & (SF_EQU | SF_SET)) return s->s_value;  // shared, as the records never change
  v.v_rtype = RT_SYM;
  v.v_sym = s;
  return v;
}

Value expr_dot(Symbol *psect) {
  Value v;
  v.v_rtype = RT_DOT;
  v.v_sym = psect;
  if (psect && (psect->s_flags & PSF_COMMON)) v.v_flags |= VF_ACCESS;
  return v;
}

Value expr_tlab(int64_t number, bool forward) {
  Value v;
  v.v_rtype = forward ? RT_TLABF : RT_TLABB;
  v.v_offs = number;
  return v;
}

Value expr_defined(const char *name) {
  Value v;
  v.v_rtype = RT_DEFINED;
  v.v_str = name;
  return v;
}

Value expr_char(Assembly &as, std::string_view text) {
  if (text.size() != 1) msg_report(as.msg, MSG_BAD_CHAR_CONSTANT);
  return expr_abs(text.empty() ? 0 : static_cast<signed char>(text[0]));
}

uint32_t expr_float24(uint32_t x) {
  if ((x & 0x7FFFFF80u) == 0) return 0;
  uint32_t exponent = (x >> 23) & 0xFF;
  uint32_t mantissa = x & 0x7FFFFF;
  uint32_t r;
  if (mantissa >= 0x7FFF80) r = exponent < 255 ? (exponent + 1) << 15 : 0x7FFFFF;  // rounding carries
  else r = (((mantissa + 0x800080) >> 8) & 0x7FFF) | (exponent << 15);
  return r | ((x & 0x80000000u) ? 0x800000u : 0);
}

void expr_unary(Assembly &as, unsigned op, Value &v) {
  if (op == OPR_PLUS) return;
  if (op == OPR_SEG) {
    // Only a symbol or psect leaf has a base; any other operand gets a kind no later stage takes.
    v.v_offs = 0;
    v.v_rtype |= RT_SEG;
    return;
  }
  NodeSource src{as};
  switch (op) {
    case OPR_NEG: return build_unary(src, RT_NEG, v);
    case OPR_NOT: return build_unary(src, RT_NOT, v);
    case OPR_LOW: return build_unary(src, RT_LOW, v);
    case OPR_HIGH: return build_unary(src, RT_HIGH, v);
    default: break;
  }
  if (v.v_rtype == RT_ABS) {
    int64_t x = v.v_offs;
    switch (op) {
      case OPR_HIGHWORD: v.v_offs = (x >> 16) & 0xFFFF; break;
      case OPR_FLOAT24: v.v_offs = expr_float24(static_cast<uint32_t>(x)); break;
      case OPR_NORMALIZE32:
        if (((x >> 23) & 0xFF) == 0) v.v_offs = 0;
        break;
      default: break;
    }
    return;
  }
  switch (op) {
    case OPR_HIGHWORD: {
      Value sixteen = expr_abs(16);
      make_node(src, v, RT_SHR, &sixteen);
      break;
    }
    case OPR_FLOAT24: msg_report(as.msg, MSG_BAD_FLOAT24_ARG); break;
    case OPR_NORMALIZE32: msg_report(as.msg, MSG_BAD_NORMALIZE32_ARG); break;
    default: break;
  }
}

void expr_binary(Assembly &as, unsigned op, Value &left, const Value &right_in) {
  if (uint8_t rt = node_kind(op)) {
    NodeSource src{as};
    return build_binary(src, rt, left, right_in);
  }
  const Value right = right_in;  // left and right may be one record
  bool ra = right.v_rtype == RT_ABS;
  int64_t l = left.v_offs, r = right.v_offs;
  if (left.v_rtype == RT_ABS && ra) {
    switch (op) {
      case OPR_EQ: left.v_offs = l == r; break;
      case OPR_NE: left.v_offs = l != r; break;
      case OPR_GT: left.v_offs = l > r; break;
      case OPR_GE: left.v_offs = l >= r; break;
      case OPR_LT: left.v_offs = l < r; break;
      case OPR_LE: left.v_offs = l <= r; break;
      default: break;  // rol, ror: no rotation width is defined, the left operand stays
    }
  } else {
    msg_report(as.msg, MSG_RELOCATION_ERROR);
  }
  if (!ra) left.v_flags |= right.v_flags;
}

void expr_unary_kind(Assembly &as, uint8_t rt, Value &v, ValueScratch &scratch) {
  NodeSource src{as, &scratch};
  build_unary(src, rt, v);
}

void expr_binary_kind(Assembly &as, uint8_t rt, Value &left, const Value &right, ValueScratch &scratch, bool report) {
  NodeSource src{as, &scratch, report};
  build_binary(src, rt, left, right);
}

Value *ValueScratch::make(const Value &left, const Value *right) {
  size_t n = right ? 2 : 1;
  if (used_ % BLOCK + n > BLOCK) used_ += BLOCK - used_ % BLOCK;  // a pair does not straddle blocks
  size_t block = used_ / BLOCK, slot = used_ % BLOCK;
  if (block == blocks_.size()) blocks_.push_back(std::make_unique<Value[]>(BLOCK));
  used_ += n;
  Value *r = &blocks_[block][slot];
  r[0] = left;
  if (right) r[1] = *right;
  return r;
}

namespace {

bool same_record(const Value &a, const Value &b) {
  return a.v_offs == b.v_offs && a.v_sym == b.v_sym && a.v_rtype == b.v_rtype && a.v_flags == b.v_flags;
}

// The folded form of v. Operand records are left as they are: a node whose operands changed
// gets new records for them.
Value folded(Assembly &as, const Value &v) {
  Spine spine;
  const Value *n = &v;
  while (n && is_operator(n->v_rtype)) {
    spine.push(n);
    n = n->v_left();
  }
  if (!n) return v;
  Value cur = *n;
  fold_leaf(as, cur);
  for (size_t i = spine.size(); i-- > 0;) {
    Value node = *spine.at(i);
    const Value *ops = node.v_ops;
    if (expr_is_binary(node.v_rtype)) {
      Value r = folded(as, ops[1]);
      if (!same_record(cur, ops[0]) || !same_record(r, ops[1])) node.v_ops = new_operands(as, cur, &r);
    } else if (!same_record(cur, ops[0])) {
      node.v_ops = new_operands(as, cur, nullptr);
    }
    fold_node(as, node);
    cur = node;
  }
  return cur;
}

}  // namespace

void expr_fold(Assembly &as, Value &v) {
  bound_size(as, v);
  v = folded(as, v);
  bound_size(as, v);  // leaves replaced by symbol values may have made it larger
}

bool expr_equal(Assembly &as, Value &a, Value &b) {
  expr_fold(as, a);
  expr_fold(as, b);
  return equal_folded(a, b);
}

void copyexpr(Assembly &as, Value &dst, const Value &src) {
  std::vector<std::pair<Value *, const Value *>> pending;  // right operands still to copy
  const Value top = src;  // dst may be src
  const Value *s = &top;
  Value *d = &dst;
  for (;;) {
    for (;;) {
      uint8_t rt = s->v_rtype;
      *d = *s;
      if (!is_known_kind(rt)) {
        msg_report(as.msg, MSG_COPYEXPR_KIND, static_cast<int>(rt));
        break;
      }
      if (!is_operator(rt) || !s->v_ops) break;
      bool binary = expr_is_binary(rt);
      Value blank;
      d->v_ops = new_operands(as, blank, binary ? &blank : nullptr);
      if (binary) pending.emplace_back(d->v_right(), s->v_right());
      s = s->v_left();
      d = d->v_left();
    }
    if (pending.empty()) return;
    d = pending.back().first;
    s = pending.back().second;
    pending.pop_back();
  }
}

uint32_t expr_hash(Assembly &as, Value &v) {
  expr_fold(as, v);
  return hash_folded(as.msg, v);
}
