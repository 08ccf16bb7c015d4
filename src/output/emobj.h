// Sizing and encoding: every statement gets its byte offset (with branch-form selection), then
// its instruction words and data bytes, written as object records or handed to the listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "lang/expr.h"
#include "support/pool.h"

struct Assembly;
struct Statement;
struct Symbol;

// One field of a statement encoded in listing mode: the listing shows base plus the value, and
// a relocatable value gets a listing relocation.
struct EmitItem {
  uint32_t addr = 0;   // location of the field's first byte, in bytes
  uint64_t base = 0;   // the instruction's fixed bits
  Value value;         // the resolved operand; absolute 0 when the field has none
  uint8_t nbytes = 0;  // bytes written
  uint8_t width = 0;   // bits the value fills; 0 when the field has no operand
};

// What sizing found for one psect.
struct EmitPsect {
  uint64_t size = 0;      // extent in bytes: the final location counter
  uint64_t base = 0;      // lowest offset that holds content
  bool has_base = false;
  size_t tlab_base = 0;   // index of the psect's first temporary label in the table
};

struct EmitState {
  std::vector<EmitPsect> psects;   // by s_pindex
  PageVector<uint8_t> form;        // by op_serial: bytes chosen for BCC, GOTO and CALL
  // The branches of the psect being sized, each with the temporary-label cursor in force.
  std::vector<std::pair<Statement *, size_t>> branches;
  bool tlab_built = false;         // the temporary-label table holds every definition
  bool ext_addr = false;           // the device has the extended-address bit 0x100

  unsigned passes = 0;             // sizing passes of the psect sized last
  unsigned max_passes = 0;         // the most passes any psect needed in this run
  unsigned long long total_passes = 0;

  const char *last_file = nullptr; // last file-name symbol written (per psect)
  uint64_t last_line = 0;          // last line-number symbol written (per psect)
  bool line_known = false;
  std::string lib_dir;             // installation directory, for --lib file names
  const Symbol *too_far = nullptr; // psect whose location counter passed 0xFFFFFFFF (reported)

  // Listing mode: the fields of the statement encoded last. Items and the value trees they
  // point into stay valid until the next emobj_encode.
  std::vector<EmitItem> items;

  // Value nodes built while encoding one statement (resolved operands, field expressions).
  ValueScratch scratch;
};

// Gives every psect without a delta the delta 1, then sizes every psect that has statements.
void emobj_size_all(Assembly &as);
// Sizes one psect: op_addr of every statement, label values, the psect's size and base. The
// passes repeat until none changes an op_addr; branch forms only ever grow, so they end.
void emobj_size_psect(Assembly &as, Symbol *psect);
// What sizing found; a psect never sized reads as empty.
const EmitPsect &emobj_psect(const Assembly &as, const Symbol *psect);
// The size the object file states for a psect (rounded up to even for a space-0 psect with
// reloc=2).
uint64_t emobj_extent(const Assembly &as, const Symbol *psect);

// Whether a constant fits `width` bits, signed or unsigned; values that are not constants pass.
// With report, a misfit is error 1339.
bool emobj_range_check(Assembly &as, const Value &v, unsigned width, bool is_signed, bool report);

// Makes a psect current for encoding, its location counter 0; in object mode a text record is
// started when the psect changes.
void emobj_begin_psect(Assembly &as, Symbol *psect, bool listing);
// Encodes one statement at the current psect's location counter. Object mode writes its bytes
// and relocations; listing mode fills as.emit.items instead, writes nothing and reports
// nothing.
void emobj_encode(Assembly &as, Statement *n, bool listing);
// ---- the object file (objwrite.cpp) ----

// Object mode over a whole psect, with the line-number and file-name symbols.
void emobj_emit_psect(Assembly &as, Symbol *psect);

// The IDENT text: the device name, or with --xident "device:architecture:ISA=XINST|STD".
std::string emobj_machine_ident(Assembly &as);
// The whole object file on `out`, from IDENT to END. Psects must have been sized.
void emobj_write_object(Assembly &as, std::ostream &out);
