// Instruction and keyword table: one row per keyword; lookups by name (lexer) and by statement.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct MsgState;
struct Statement;

// Token kinds of keywords. The kinds up to NAME are also statement kinds (`op_type`): an
// instruction or directive keyword's kind becomes the kind of the statement it makes.
// 0 marks the sentinels of a statement list.
enum OpKind : uint16_t {
  OP_NONE = 0,
  // instruction statements
  SUBWF, BCF, DATA, MOVF, SWAPF, RLCF, MOVFF, MOVFFL, CALLW, ADDFSR, PUSH, LFSR, BRA, BCC, RCALL,
  BTFSC, DECFSZ, ANDWF, COMF, ADDWF, MULWF, CPFSEQ, ADDULNK, MOVSF, MOVSFL, MOVSS, PUSHL, GOTO,
  ADDLW, RETURN, CALL, RETLW, MOVLW, NOP, BANKSEL, MOVLB, MOVWF, CLRF, TRAP, TRET, DBOFF, SETCNT,
  TBLRD,
  // directive statements
  DS, ORG, ALIGN, SET, EQU, IF, ELSIF, ELSE, ENDIF, INCLUDE, MESSG, TITLE, ENDM, TLABEL, NAME,
  OP_LAST_STATEMENT = NAME,

  // keywords that make no statement of their own kind
  K_NUL,          // recognised, no grammar rule
  K_UNARY,        // float24 normalize32 low high highword seg; value: operator code
  K_DEFINED,      // defined
  K_DIVOP,        // "/" class (mod); value: operator code
  K_SHIFT,        // shl shr rol ror
  K_RELOP,        // comparisons
  K_NOT,          // not
  K_BITOP,        // ^ & and |
  K_RADIXVAL,     // hex dec oct; value: the radix
  W, F,           // destination words; also the values of `op_dest`
  BANKED, ACCESS, // access words; also the values of `op_access`
  K_BANKISEL, K_PAGESEL,
  K_PUBLIC, K_EXTRN, K_GLOBAL, K_LOCAL,
  K_END, K_DABS, K_PSECT, K_LINE, K_FILE, K_SIGNAT, K_FNCALL, K_FNBREAK, K_FNCONF, K_FNALIGN,
  K_FNARG, K_FNINDIR, K_FNADDR, K_FNSIZE, K_FNROOT, K_PROCESSOR, K_OPT, K_CONFIG, K_RADIX,
  K_ASMOPT, K_DEBUG_SOURCE, K_MACRO, K_REPT, K_IRP, K_IRPC, K_EXITM,
  K_DF,           // data, no grammar rule
  K_BADRAM,       // __badram (0), __badrom (1): accepted without effect
  K_MAXRAM,       // __maxram (0), __maxrom (1)
  K_CALLSTACK, K_PAGELENGTH, K_PAGEWIDTH,
  K_COND, K_EXPAND, K_LIST,  // value 1 for the positive word, 0 for the "no" word
  K_SUBTITLE,
  // words of the context tables
  K_ASMOPT_ON,    // OPT control asmopt_on (1) / asmopt_off (0)
  K_ASMOPT_PUSH,  // OPT control asmopt_push (1) / asmopt_pop (0)
  K_LISTOPT,      // LIST option letter; value: the lower-case letter
  K_ONOFF,        // on (1) / off (0)
  K_PUSHPOP,      // push (1) / pop (0)
  K_DBGSRC,       // DEBUG_SOURCE c (1) / asm (2)
  K_PSECTFLAG,    // psect flag word; value: PsectFlagWord
};

// Values of K_PSECTFLAG rows, in the order of the psect-flag table.
enum PsectFlagWord : uint16_t {
  PFW_NOTE, PFW_PURE, PFW_COMMON, PFW_GLOBAL, PFW_ABS, PFW_OVRLD, PFW_BIT, PFW_LOCAL, PFW_RELOC,
  PFW_SIZE, PFW_CLASS, PFW_SPACE, PFW_DELTA, PFW_WITH, PFW_LIMIT, PFW_INLINE, PFW_KEEP, PFW_NOEXEC,
  PFW_OPTIM, PFW_PA, PFW_JUMP, PFW_PEEP, PFW_REMOVE, PFW_LOWDATA, PFW_GROUP, PFW_MINOCG, PFW_CODECOV,
};

// Availability masks: an instruction exists when (device architecture code & mask) != 0.
constexpr uint32_t AV_ALL = 0x380;  // every architecture
constexpr uint32_t AV_X = 0x100;    // the extended-address variants only

// STATUS flag bits of the written/read columns.
constexpr uint32_t F_C = 0x1, F_DC = 0x2, F_Z = 0x4, F_OV = 0x8, F_N = 0x10;

// What an instruction does, as the optimizer asks it: bits of the `does` column and of
// ops_facts(). "The file operand" is the register the first operand names; for the
// stack-relative moves the first operand is an offset from FSR2 instead (FX_MEMORY).
enum : uint32_t {
  FX_READS_W = 1u << 0,       // reads W
  FX_WRITES_W = 1u << 1,      // writes W
  FX_READS_F = 1u << 2,       // reads its file operand
  FX_WRITES_F = 1u << 3,      // writes its file operand
  FX_WRITES_DEST = 1u << 4,   // writes W or its file operand, as `op_dest` selects
  FX_WRITES_F2 = 1u << 5,     // writes the register its second operand names (movff, movsf)
  FX_WRITES_PROD = 1u << 6,   // writes PRODH:PRODL
  FX_TABLE = 1u << 7,         // reads TBLPTR and may step it; reads or writes TABLAT
  FX_STACK = 1u << 8,         // pushes or pops the return stack
  FX_READS_FSR = 1u << 9,     // reads an FSR pair (lfsr's own number, else FSR2)
  FX_WRITES_FSR = 1u << 10,   // writes an FSR pair
  FX_MEMORY = 1u << 11,       // reads or writes data memory at FSR2 plus an offset operand
  FX_READS_BSR = 1u << 12,    // reads BSR (a banked file operand, or saved by a fast call)
  FX_WRITES_BSR = 1u << 13,   // writes BSR
  FX_SKIP = 1u << 14,         // may skip the next instruction
  FX_JUMP = 1u << 15,         // unconditional transfer: never continues with the next statement
  FX_BRANCH = 1u << 16,       // conditional branch to its operand
  FX_CALL = 1u << 17,         // calls a subroutine and then continues with the next statement
  FX_RETURN = 1u << 18,       // returns from a subroutine
  FX_OPAQUE = 1u << 19,       // effects beyond these bits: assume it reads and writes everything
  FX_RETFIE = 1u << 20,       // returns from an interrupt (and enables interrupts again)
  FX_STAYS = 1u << 21,        // runs where it is written: never moved into a shared procedure
};

// The answer for an instruction whose row is not known: it reads and writes everything.
constexpr uint32_t FX_UNKNOWN = FX_OPAQUE | FX_READS_W | FX_WRITES_W | FX_READS_F | FX_WRITES_F |
                                FX_READS_BSR | FX_WRITES_BSR;

// ---- Statement classes: one row per statement kind, the one home of what a form means ----

// How the parser reads an instruction's operands (isa/operand).
enum OperandForm : uint8_t {
  OF_DIRECTIVE,    // no instruction: the grammar reads it
  OF_NONE,         // no operand
  OF_FILE_DEST,    // f [dest-access] | "[" k "]" [ "," d ]
  OF_FILE,         // f [access] | "[" k "]"
  OF_FILE_BIT,     // f "," b [access] | f "," a "," b | "[" k "]" "," b
  OF_MOVE,         // s "," d [ "," c ] | s "," c "," d
  OF_MOVE_LONG,    // s "," d [ "," c ]
  OF_TARGET,       // n
  OF_CALL,         // n [ "," fast ]
  OF_RETURN,       // [ fast ]
  OF_LITERAL,      // [ "#" ] k
  OF_FSR_LITERAL,  // fsr "," k
  OF_LFSR,         // fsr "," k, the FSR number kept in op_subop
  OF_STACK_FILE,   // "[" s "]" "," d
  OF_STACK_STACK,  // "[" s "]" "," "[" d "]"
  OF_TABLE,        // [ "*" | "*+" | "*-" | "+*" ]
  OF_BANKSEL,      // f
};

// Bytes a statement takes (output/emobj sizing).
enum SizeRule : uint8_t {
  SZ_UNKNOWN,      // no statement kind: 813
  SZ_NONE,         // no bytes
  SZ_WORD,         // 2
  SZ_TWO_WORDS,    // 4
  SZ_THREE_WORDS,  // 6
  SZ_NOP,          // 2; nop2 4 when the errata ask for two words
  SZ_MOVFF,        // 4 in the short form, else 6
  SZ_COND_BRANCH,  // 2, 4 or 6 by the distance to the target
  SZ_JUMP,         // 2 as a BRA when optimizing and near, else 4
  SZ_CALL,         // 2 as an RCALL when near, else 4
  SZ_DATA,         // per item: element size or delta
  SZ_DS,           // delta times the operand
  SZ_ALIGN,        // up to the next multiple of op_num
  SZ_ORG,          // sets the location counter
  SZ_LABEL,        // no bytes; gives its symbol the location
};

// How a statement is encoded (output/emobj): the word layouts are drawn above their encoders.
enum Layout : uint8_t {
  EL_UNKNOWN,      // no statement kind: 812
  EL_NONE,         // nothing
  EL_OPCODE,       // op_subop alone
  EL_FILE_DEST,    // oooo ooda ffff ffff
  EL_FILE,         // oooo oooa ffff ffff
  EL_FILE_BIT,     // oooo bbba ffff ffff
  EL_MOVFF,        // short or long by the operands
  EL_MOVFFL,       // always long
  EL_ADDFSR,       // oooo oooo ffkk kkkk
  EL_K6_CHECKED,   // oooo oooo ookk kkkk, a 6-bit unsigned k
  EL_LFSR,         // two words: FSR and high k, low k
  EL_MOVSF,        // offset 7 bits, then d
  EL_MOVSFL,       // opcode, offset and high d, low d
  EL_MOVSS,        // two 7-bit offsets
  EL_K8_CHECKED,   // oooo oooo kkkk kkkk, an 8-bit unsigned k
  EL_K8,           // oooo oooo kkkk kkkk
  EL_K6,           // oooo oooo ookk kkkk
  EL_MOVLB,        // k of 4 or 6 bits by device
  EL_BANKSEL,      // a MOVLB of the address's bank
  EL_NOP,          // op_subop; nop2 by the errata
  EL_REL11,        // oooo onnn nnnn nnnn
  EL_COND_BRANCH,  // short, over a BRA, or over a GOTO
  EL_JUMP,         // BRA or GOTO
  EL_CALL,         // RCALL or CALL
  EL_DATA, EL_DS, EL_ORG, EL_ALIGN,
  EL_CONDITION,    // IF, ELSIF: a condition record when not constant
  EL_MESSAGE,      // MESSG, ERROR, WARN: reported at emission
  EL_TLABEL,       // defines the temporary label
};

// How a statement is written as text (output/emasm).
enum TextForm : uint8_t {
  TF_UNKNOWN,      // no statement kind: 810
  TF_NONE,         // no text
  TF_OPERANDS,     // mnemonic, then the operands as they are
  TF_FILE_DEST,    // f or [k], then ",w"/",f" and ",b"/",c"
  TF_FILE,         // f or [k], then ",b"/",c"
  TF_FILE_BIT,     // f or [k] "," bit, then ",b"/",c"
  TF_STACK_FILE,   // "[" s "]," d
  TF_STACK_STACK,  // "[" s "],[" d "]"
  TF_LFSR,         // fsr "," k
  TF_RETURN,       // [ "f" ]
  TF_CALL,         // n [ ",f" ]
  TF_TABLE,        // "*", "*+", "*-" or "+*"
  TF_LABEL, TF_TLABEL, TF_DATA, TF_ORG, TF_ALIGN,
  TF_VALUE,        // keyword and operand value (DS, IF, ELSIF)
  TF_KEYWORD,      // keyword alone (ELSE, ENDIF)
  TF_SET, TF_MESSAGE,
};

// Operand checks of a class (CK_* bits).
enum : uint8_t {
  CK_EXTENDED = 1u << 0,     // exists only in the extended instruction set: 2064 without it
  CK_XINST_ANY = 1u << 1,    // in extended mode on every device: no availability check
};

struct StatementClass {
  uint16_t kind;       // OpKind: the row's index
  const char *name;    // the kind's name, lower case
  uint8_t form;        // OperandForm
  uint8_t size;        // SizeRule
  uint8_t layout;      // Layout
  uint8_t text;        // TextForm
  uint8_t checks;      // CK_* bits
  uint16_t modifier;   // op_subop bits that are no opcode: fast flag, FSR number, table mode
  uint16_t fast;       // the fast flag among them (a fast call or return)
  uint32_t facts;      // FX_* bits that every instruction of the kind has
};

// The row of a statement kind; a kind outside the statement kinds gets the unknown row.
const StatementClass &ops_class(uint32_t kind);

struct Keyword {
  const char *name;   // lower case; matched without regard to case
  uint16_t kind;      // OpKind
  uint16_t value;     // opcode bits of an instruction, else the sub-operation
  uint32_t avail;     // availability mask; 0 for rows that are no instruction
  uint32_t writes;    // STATUS flags written
  uint32_t reads;     // STATUS flags read
  uint32_t does = 0;  // FX_* bits of an instruction beyond its class row's facts
};

// Keyword tables: the main one, and the tables that lexer contexts consult first.
enum KwTable : uint8_t {
  KT_MAIN,         // instructions, directives, operator words
  KT_PSECT_FLAGS,  // while psect flags are read
  KT_OPT,          // LEX_OPT: controls of OPT and "$"
  KT_LIST,         // LEX_LIST: LIST options
  KT_ASMOPT,       // LEX_ASMOPT
  KT_DEBUGSRC,     // LEX_DEBUGSRC
  KT_COUNT
};

// Case-insensitive exact lookup of a word; null when the word is not in the table.
// When a word appears twice in a table, its first row is found.
const Keyword *ops_find(std::string_view word, KwTable table = KT_MAIN);

// The rows of a table in table order.
std::span<const Keyword> ops_rows(KwTable table = KT_MAIN);

// Lookup by statement: the first row of the main table whose kind is `kind` and whose value is
// `subop` with the modifier bits cleared (RETURN bit 0, LFSR bits 4-5, TBLRD bits 0-1). When no
// row matches, "Can't find op" is written to the error stream and null is returned.
const Keyword *ops_row_of(MsgState &m, uint32_t kind, uint32_t subop);

// The same lookup, reduced to one column; empty (null or 0) when no row matches.
const char *ops_mnemonic(MsgState &m, uint32_t kind, uint32_t subop);
uint32_t ops_flags_written(MsgState &m, uint32_t kind, uint32_t subop);
uint32_t ops_flags_read(MsgState &m, uint32_t kind, uint32_t subop);

// ---- Facts for the optimizer: table reads without messages ----

constexpr uint32_t F_ALL = F_C | F_DC | F_Z | F_OV | F_N;

struct InsnFacts {
  uint32_t does = FX_UNKNOWN;  // FX_* bits
  uint32_t writes = F_ALL;     // STATUS flags written
  uint32_t reads = F_ALL;      // STATUS flags read
};

// What the instruction (kind, op_subop) does: its row's columns, plus what the fast flag adds
// (a fast call saves W and BSR, a fast return restores them); FX_WRITES_DEST stays unresolved.
// The conservative default (everything read and written) for an instruction kind without such
// a row; nothing for a directive or label.
InsnFacts ops_facts(uint32_t kind, uint32_t subop);
// ops_facts of a statement, resolved with its operands: FX_WRITES_DEST becomes FX_WRITES_W or
// FX_WRITES_F as `op_dest` selects (both when it selects neither), a bracketed operand adds
// FX_READS_FSR and FX_MEMORY, a banked file operand adds FX_READS_BSR.
InsnFacts ops_statement_facts(const Statement &n);
// Whether a statement kind is an instruction (not a directive, label or data).
bool ops_is_instruction(uint32_t kind);
