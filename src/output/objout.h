// Object record writer: record framing, the five record buffers, relocation entries and the
// complex-expression encoder. Object files and relocatable listing files share the framing.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

struct Assembly;
struct Symbol;
struct Value;

// Record types.
enum ObjRecord : uint8_t {
  OR_TEXT = 1,
  OR_PSECT = 2,
  OR_RELOC = 3,
  OR_SYM = 4,
  OR_START = 5,
  OR_END = 6,
  OR_IDENT = 7,
  OR_XPSECT = 8,
  OR_SEGMENT = 9,
  OR_XSYM = 10,
  OR_SIGNAT = 11,
  OR_FNINFO = 12,
  OR_FNCONF = 13,
  OR_SEGSTART = 14,
  OR_PSECTLIM = 15,
  OR_LISTRELOC = 16,
  OR_LR_TEXT = 17,
  OR_LR_RELOC = 18,
  OR_COND_EXPR = 19,
  OR_DABS = 20,
  OR_UNKNOWN = 21,
  OR_FNALIGN = 22,
  OR_PSECTBOUND = 23,
  OR_RECRANGE = 24,
};

// The record's name ("TEXT", ...); "Unknown" at 21; null outside 1..24.
const char *obj_record_name(unsigned type);

constexpr unsigned OBJ_BUFSIZE = 512;                  // a record buffer, header included
constexpr unsigned OBJ_MAXDATA = OBJ_BUFSIZE - 3;      // data bytes of a full record
constexpr unsigned OBJ_READER_MAXDATA = 512;           // longest record the reader accepts
constexpr unsigned OBJ_IDENT_MAX = 500;                // identification text is cut here
constexpr unsigned OBJ_FNALIGN_NAME_MAX = 509;         // FNALIGN member names are cut here
constexpr const char *OBJ_LISTING_IDENT = "Orvane ZEL18";  // relocatable listing identification

// Relocation type byte: bits 7-6 unit (00 bytes, 11 bits), 5-4 kind, 3-0 size.
constexpr uint8_t RK_PSECT = 0x10;
constexpr uint8_t RK_SYMBOL = 0x20;
constexpr uint8_t RK_COMPLEX = 0x30;
constexpr uint8_t RK_BITS = 0xC0;
constexpr uint8_t RK_RANGE_CHECK = 0x30;  // kind 3, size 0

// Complex expression codes.
enum ObjExprCode : uint8_t {
  CX_END = 0,         // terminator after an expression
  CX_LOW = 1,
  CX_HIGH = 2,
  CX_CONST = 3,       // u32 follows
  CX_ADD = 4,
  CX_SUB = 5,
  CX_MUL = 6,
  CX_DIV = 7,
  CX_SHL = 8,
  CX_SHR = 9,
  CX_AND = 10,
  CX_OR = 11,
  CX_XOR = 12,
  CX_NOT = 13,
  CX_NEG = 14,
  CX_BIN15 = 15,      // binary, written as stored
  CX_REL = 16,        // psect or symbol name follows
  CX_MOD = 17,
  CX_CHECK = 18,      // range check: pops value and limit
  CX_CHECK_HEAD = 19, // range-check head: description follows
  CX_TEXT = 20,       // text follows
  CX_UN21 = 21,       // unary, written as stored
  CX_SHR22 = 22,      // the second right shift
  CX_UN23 = 23,       // unary, written as stored
  CX_EXT = 32,        // external symbol name follows
  CX_SEG = 0x80,      // added to CX_REL and CX_EXT: the base of the leaf
};

// FNINFO entry kinds.
enum ObjFnKind : uint8_t {
  FN_CALL = 1,
  FN_ARG = 2,
  FN_INDIR = 3,
  FN_ADDR = 4,
  FN_SIZE = 5,
  FN_ROOT = 6,
  FN_BREAK = 9,
};

// Symbol types of SYM entries other than an ordinary symbol's low five flag bits.
enum ObjSymType : uint16_t {
  ST_LINE = 4,          // line number: name is the decimal number, value the address
  ST_FILE = 5,          // source file path; value 1 when installation-relative
  ST_EXTERN_LOCAL = 6,  // external symbol also marked local
  ST_LOCAL = 7,
  ST_EXTERN = 22,       // referenced external (undefined) symbol
  ST_SYMREL = 24,       // another symbol plus an offset
};

// One record buffer: header (u16 length, u8 type) then data; pos is the write position.
struct ObjBuffer {
  uint8_t b[OBJ_BUFSIZE];
  unsigned pos = 3;
  uint8_t type = 0;
};

struct ObjState {
  std::ostream *out = nullptr;          // the open object or relocatable listing file
  std::unique_ptr<std::ostream> owned;  // the stream, when the writer owns it
  ObjBuffer text;        // TEXT (or LR_TEXT)
  ObjBuffer reloc;       // RELOC (or COND_EXPR) entries for the pending text record
  ObjBuffer sym;         // SYM entries
  ObjBuffer dabs;        // DABS entries
  ObjBuffer fninfo;      // FNINFO entries
  unsigned text_data = 3;            // offset of the first code byte in the text buffer
  bool listing = false;              // the text buffer holds LR_TEXT
  std::vector<uint8_t> scratch;      // complex expressions are encoded here first
  std::vector<uint8_t> record;       // records written whole (PSECT, SIGNAT, ...)
  const Symbol *too_long_psect = nullptr;  // psect whose name was reported too long
};

// Whether a symbol is an external reference: EXTRN, or undefined and declared GLOBAL or LOCAL.
bool obj_sym_is_external(const Symbol *s);
// An undefined symbol that is neither global nor local: error 800, and it becomes global so
// that it turns into an external reference and is reported once. True when it reported.
bool obj_undefined_check(Assembly &as, Symbol *s);

// Opening and closing.
// The object file: IDENT, a text record for the current psect, empty RELOC, SYM, DABS and
// FNINFO buffers.
void obj_open(Assembly &as, std::ostream &out, std::string_view ident);
// The relocatable listing file: IDENT "Orvane ZEL18", text buffer in LR_TEXT mode.
void obj_open_listing(Assembly &as, std::ostream &out);
// IDENT on the open stream; the text buffer switches to LR_TEXT (no header fields).
void obj_write_ident(Assembly &as, std::string_view ident);

struct ObjFinish {
  std::string_view rlf_name, lst_name;  // LISTRELOC when lst_name is not empty
  bool has_start = false;               // START
  uint32_t start_offset = 0;
  std::string_view start_psect;
};
// Flushes the symbol and text buffers (and a DABS record still pending), writes LISTRELOC,
// START, the last FNINFO and END, and closes the stream.
void obj_finish(Assembly &as, const ObjFinish &f);
// The pending LR_TEXT record, then END; closes the stream.
void obj_finish_listing(Assembly &as);

// Text records.
// TEXT at the current psect's location counter (low 32 bits) with its name; empty RELOC.
void obj_start_text(Assembly &as);
// Writes the text record if it holds bytes and the relocation record if it holds entries.
void obj_flush(Assembly &as);
// obj_flush, then a TEXT record (listing false) or an empty LR_TEXT buffer (listing true).
void obj_new_text(Assembly &as, bool listing);

// The field operation: n bytes of base + (e's constant part masked to w bits), least significant
// first, and at most one relocation entry for e (simple psect- or symbol-relative when the
// constant part fits w bits, else complex). e may be null. Warns 1352 on truncation of a
// constant. The current psect's location counter advances by n.
void obj_put_field(Assembly &as, uint64_t base, const Value *e, unsigned nbytes, unsigned width);
// A range-check entry (value <= limit, checked by the linker) at the current text position;
// nothing when both are constants and the check passes.
void obj_add_range_check(Assembly &as, const Value &value, const Value &limit, std::string_view desc);
// A COND_EXPR record between the text records before and after it.
void obj_put_condition(Assembly &as, const Value &e);

// Symbols.
// A SYM entry for a symbol with the given type (low five flag bits, ST_LOCAL, ST_EXTERN, ...);
// symbol-relative values are followed to their base first.
void obj_put_symbol(Assembly &as, const Symbol *s, unsigned type);
// A SYM entry as given: line-number (ST_LINE) and file-name (ST_FILE) symbols.
void obj_put_sym_entry(Assembly &as, uint32_t value, uint16_t type, std::string_view base,
                       std::string_view name);
// Writes the pending SYM record now (record order: SYM before SIGNAT).
void obj_flush_symbols(Assembly &as);

// Psect records: PSECT, then XPSECT, PSECTLIM and PSECTBOUND as applicable. base is the lowest
// offset holding content, size the psect's extent.
void obj_write_psect(Assembly &as, const Symbol *psect, uint32_t base, uint32_t size);
// An extent TEXT record: the psect's size and name, no bytes.
void obj_write_extent(Assembly &as, const Symbol *psect, uint32_t size);

// Absolute data and function information.
void obj_put_dabs(Assembly &as, uint8_t space, uint32_t addr, uint32_t size, std::string_view name);
void obj_flush_dabs(Assembly &as);
// FN_CALL, FN_ARG, FN_BREAK (two names); FN_ADDR, FN_ROOT (b ignored).
void obj_put_fn_names(Assembly &as, ObjFnKind kind, std::string_view a, std::string_view b = {});
void obj_put_fn_indir(Assembly &as, std::string_view name, uint16_t signat);
void obj_put_fn_size(Assembly &as, std::string_view name, uint32_t first, uint32_t second);
void obj_write_signat(Assembly &as, std::string_view name, uint16_t signat);
void obj_write_fnconf(Assembly &as, std::string_view a, std::string_view b, std::string_view c,
                      uint16_t number);
void obj_write_fnalign(Assembly &as, uint16_t group, std::span<const std::string_view> members);

// Relocatable listing.
void obj_put_listing_text(Assembly &as, std::string_view text);
// The pending LR_TEXT record, then an LR_RELOC. size is a byte count, or a bit width + 0xC0
// (obj_size_code); format is the listing's format code.
void obj_put_listing_reloc(Assembly &as, const Value &e, uint32_t base, unsigned size, unsigned format);
// The size of a field of `width` bits: width / 8 when a multiple of 8, else width + 0xC0.
constexpr unsigned obj_size_code(unsigned width) { return width % 8 == 0 ? width / 8 : width + RK_BITS; }

// The encoder. Appends the postfix encoding of v (without the final 0) to out. Returns false
// when a value kind cannot be encoded: with report_unknown, "Bad operator in putcomplex" is
// reported for it and the rest is still written; otherwise 779 is reported once and encoding
// stops. Reports 800 for undefined symbols (rule 5) and 839 for trees too deep to encode.
bool obj_encode_expr(Assembly &as, const Value &v, std::vector<uint8_t> &out, bool report_unknown = true);
