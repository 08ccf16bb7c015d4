// Values and expressions: the value record, building values, folding, equality, copying, hashing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "support/pool.h"

struct Assembly;
struct Symbol;

// Value kinds (`v_rtype`).
enum : uint8_t {
  RT_ABS = 0,       // leaf: the value is v_offs
  RT_LOW = 1,       // unary: low byte
  RT_HIGH = 2,      // unary: second byte
  RT_ADD = 4,       // binary
  RT_SUB = 5,
  RT_MUL = 6,
  RT_DIV = 7,       // signed quotient
  RT_SHL = 8,
  RT_SHR = 9,       // arithmetic
  RT_AND = 10,
  RT_OR = 11,
  RT_XOR = 12,
  RT_NOT = 13,      // unary: complement
  RT_NEG = 14,      // unary: negation
  RT_PSECT = 16,    // leaf: v_offs bytes from the base of psect v_sym
  RT_MOD = 17,      // signed remainder
  RT_DEFINED = 20,  // leaf: "defined v_str", not yet decided
  RT_SYM = 32,      // leaf: v_offs plus the value of symbol v_sym
  RT_FLOAT = 33,    // leaf: v_float
  RT_STRING = 34,   // leaf: v_str
  RT_TLABF = 35,    // leaf: forward reference to temporary label v_offs
  RT_TLABB = 36,    // leaf: backward reference to temporary label v_offs
  RT_DOT = 37,      // leaf: "$" of psect v_sym, plus v_offs
  RT_SEG = 0x80,    // added to a leaf kind: the base (segment) of that leaf
};

// v_flags bit 0: an access-bank value ("c:", or "$" in a common psect).
constexpr uint8_t VF_ACCESS = 0x1;

// Operator codes, as the lexer hands them over (keyword values of the operator words).
enum ExprOp : uint16_t {
  OPR_AND = 1,
  OPR_DIV = 2,
  OPR_EQ = 3,
  OPR_GE = 5,
  OPR_GT = 6,
  OPR_LE = 7,
  OPR_LT = 8,
  OPR_MOD = 10,
  OPR_NE = 12,
  OPR_SEG = 14,
  OPR_SHL = 15,
  OPR_SHR = 16,
  OPR_XOR = 18,
  OPR_NOT = 19,
  OPR_LOW = 20,
  OPR_HIGH = 21,
  OPR_HIGHWORD = 22,
  OPR_ROR = 23,
  OPR_ROL = 24,
  OPR_OR = 25,
  OPR_FLOAT24 = 26,
  OPR_NORMALIZE32 = 27,
  // punctuation operators, which have no keyword
  OPR_ADD = 28,
  OPR_SUB = 29,
  OPR_MUL = 30,
  OPR_NEG = 31,   // unary "-"
  OPR_PLUS = 32,  // unary "+"
};

// A value: absolute, relative to a symbol or psect, or an operator node over such values.
// Copying a Value copies the record only; the operand records of operator nodes come from the
// run's value pool and are never changed once made, so values share them freely (copyexpr
// makes a deep copy for code that changes a tree in place).
//
// Leaves and operator nodes share storage: a leaf's base (v_sym, or v_str for the string
// kinds) sits where an operator node keeps its operand records, made together: one for a unary
// node, two adjacent ones (left, right) for a binary node. A floating leaf keeps v_float in
// v_offs's place. Read v_sym, v_str and v_ops only for the kinds that have them, and the
// operands through v_left() and v_right().
struct Value {
  union {
    int64_t v_offs = 0;  // the whole absolute value, else the offset added to the base
    double v_float;      // RT_FLOAT
  };
  union {
    Symbol *v_sym = nullptr;  // base symbol or psect of a leaf
    const char *v_str;        // RT_DEFINED name, RT_STRING text (interned)
    Value *v_ops;             // operand records of an operator node
  };
  uint8_t v_rtype = RT_ABS;  // kind
  uint8_t v_flags = 0;       // VF_ACCESS; other bits are carried along unchanged

  // The first (or only) operand of an operator node, and the second of a binary one; null for
  // a node made without operands.
  Value *v_left() const { return v_ops; }
  Value *v_right() const { return v_ops ? v_ops + 1 : nullptr; }
};
static_assert(sizeof(Value) == 24);

// Operator nodes allowed in one value, counted as a tree with shared operands written out: no
// relocation of that size fits an object record, and the bound keeps every walk short.
constexpr size_t EXPR_MAX_OPERATORS = 1000;

struct ExprState {
  Arena<Value> pool;  // operand records of operator nodes; released with the run
};

// Kind classes.
bool expr_is_unary(uint8_t rtype);   // RT_LOW RT_HIGH RT_NOT RT_NEG
bool expr_is_binary(uint8_t rtype);  // RT_ADD ... RT_XOR, RT_MOD
inline bool expr_is_abs(const Value &v) { return v.v_rtype == RT_ABS; }

// Primary values.
Value expr_abs(int64_t n);
// A floating constant as the IEEE single bit pattern of (negate ? -d : d).
Value expr_float(double d, bool negate = false);
// A name: counts the reference; an EQU or SET symbol gives its current value.
Value expr_symbol(Assembly &as, Symbol *s);
// "$" of a psect; VF_ACCESS when the psect is "common".
Value expr_dot(Symbol *psect);
Value expr_tlab(int64_t number, bool forward);
Value expr_defined(const char *name);
// A quoted string used as a number: one character (as a signed byte), else error 875.
Value expr_char(Assembly &as, std::string_view text);

// Operators; the result replaces v (unary) or left (binary). op is an ExprOp.
void expr_unary(Assembly &as, unsigned op, Value &v);
void expr_binary(Assembly &as, unsigned op, Value &left, const Value &right);

// Operand records of values that live only while one statement is encoded: the blocks are kept
// and reused from one statement to the next, so emission does not grow the run's pool.
class ValueScratch {
 public:
  // The operand records of a node: a copy of left, and of *right when there is one, adjacent.
  Value *make(const Value &left, const Value *right);
  void reset() { used_ = 0; }  // every record made so far may be reused

 private:
  static constexpr size_t BLOCK = 64;
  std::vector<std::unique_ptr<Value[]>> blocks_;
  size_t used_ = 0;
};

// expr_unary and expr_binary by node kind (RT_LOW ... RT_MOD), for values built at emission:
// operand records come from `scratch`, and a zero divisor (the dividend stays) is reported only
// when `report`.
void expr_unary_kind(Assembly &as, uint8_t rt, Value &v, ValueScratch &scratch);
void expr_binary_kind(Assembly &as, uint8_t rt, Value &left, const Value &right, ValueScratch &scratch, bool report);

// Folds what can be folded now; v is replaced, its operand records stay as they are. A value
// of more than EXPR_MAX_OPERATORS operators draws 2122 and becomes 0.
void expr_fold(Assembly &as, Value &v);
// Folds both, then compares.
bool expr_equal(Assembly &as, Value &a, Value &b);
// Deep copy; leaves share their symbol, psect and string pointers.
void copyexpr(Assembly &as, Value &dst, const Value &src);
// Folds, then hashes (for bucketing operand values).
uint32_t expr_hash(Assembly &as, Value &v);

// The 24-bit floating format from an IEEE single.
uint32_t expr_float24(uint32_t ieee);
