// Register content tracking for the peephole walk: what W, BSR, the carry and the three
// pointers are known to hold (forward knowledge), and whether a register's value may still be
// read (a bounded forward scan).
#pragma once

#include <array>
#include <cstdint>

#include "lang/list.h"

struct Assembly;

// What register a file operand names, as far as the optimizer can tell.
enum RegKind : uint8_t {
  RK_MEMORY,    // data memory (a constant RAM address or a symbol): no core register
  RK_SFR,       // a special function register that is none of the core ones
  RK_CORE,      // core register `sfr` (CoreSfrId), not an indirect-access one
  RK_INDIRECT,  // indirect-access register `sfr` of pointer `fsr` (0 to 2): may reach anything
  RK_UNKNOWN,   // not to be told (a banked constant, a computed operand): may be anything
};

struct RegRef {
  uint8_t kind = RK_UNKNOWN;
  uint8_t fsr = 0;   // RK_INDIRECT: the pointer
  uint32_t sfr = 0;  // RK_CORE, RK_INDIRECT: the CoreSfrId
  bool is(uint32_t id) const { return kind == RK_CORE && sfr == id; }
  bool may_be(uint32_t id) const { return is(id) || kind == RK_INDIRECT || kind == RK_UNKNOWN; }
};

// The register of a statement's file operand; `full` for an operand that holds a whole address
// (movff), else the access selector decides how a short constant reads: banked, by `bank` (the
// BSR value, -1 when not known).
RegRef reg_classify(Assembly &as, const Operand &o, uint8_t access, bool full, int bank = -1);

// Resources of the liveness query: the STATUS flags by their F_* bits, W and BSR.
enum : uint32_t { LR_W = 0x100, LR_BSR = 0x200 };

// Whether any resource of `mask` may be read, with its present value, on some path that starts
// at `from`; reaching `origin` again ends a path. Bounded to 40 statements in all, transfers
// followed at most 4 deep; when unsure, live.
bool is_live(Assembly &as, uint32_t mask, const Statement *from, const Statement *origin);

// The register-content record of one peephole walk.
struct RegTrack {
  explicit RegTrack(Assembly &a) : as(a) {}
  Assembly &as;
  bool w_known = false;     // W holds w_value
  Value w_value;
  bool copy_known = false;  // W holds the same byte as the register w_copy names
  Operand w_copy;
  uint8_t copy_access = 0;
  std::array<bool, 3> ptr_known{};  // FSRn holds ptr[n]
  std::array<Value, 3> ptr{};
  bool bsr_known = false;   // BSR holds bsr
  Value bsr;
  int carry = -1;           // the C bit: 0, 1 or -1 (unknown)

  void forget_all();
  // Forgets the W copy, and the W value too when also_value.
  void forget_w(bool also_value);
  // A constant becomes the W value and the copy goes; a data-memory register becomes the copy
  // (the value stays unless forget_copy); anything else forgets W.
  void set_w(const Operand &v, uint8_t access, bool forget_copy);
  // The register a file operand names was written.
  void note_write(const Operand &f, uint8_t access, bool full);
  // The record after statement n, as it now stands; after_skip: n may have been skipped.
  // facts: n's ops_statement_facts when the caller has them, else null.
  void update(const Statement &n, bool after_skip, const InsnFacts *facts = nullptr);

  bool w_known_constant() const { return w_known && w_value.v_rtype == RT_ABS; }
  int64_t w_const() const { return w_value.v_offs; }
  // The BSR value when it is a known bank number, else -1.
  int bank() const;
  // Whether W holds a copy of the register that (o, access) names.
  bool w_copy_is(const Operand &o, uint8_t access) const;
};
