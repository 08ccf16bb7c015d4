// The instruction and keyword table, and its lookups.
#include "isa/ops.h"

#include <array>
#include <cstddef>

#include "driver/alert.h"
#include "lang/expr.h"
#include "lang/list.h"

namespace {

constexpr size_t INSTRUCTION_ROWS = 100;

// Shorthands of the `does` column.
constexpr uint32_t ALU_WF = FX_READS_W | FX_READS_F | FX_WRITES_DEST;  // W op f -> dest
constexpr uint32_t ALU_F = FX_READS_F | FX_WRITES_DEST;                // op f -> dest
constexpr uint32_t ALU_WK = FX_READS_W | FX_WRITES_W;                  // W op k -> W
constexpr uint32_t RMW_F = FX_READS_F | FX_WRITES_F;                   // f changed in place
constexpr uint32_t FSR_RMW = FX_READS_FSR | FX_WRITES_FSR;             // an FSR changed in place

// One row per statement kind, in kind order. A row says how the parser reads the kind's
// operands, how many bytes it takes, how it is encoded and written as text, and what every
// instruction of the kind does for the optimizer; the keyword rows below add the opcodes, the
// STATUS flags and the rest of what each mnemonic does.
constexpr auto CLASS_ROWS = std::to_array<StatementClass>({
    // kind, name, operand form, size, encoding, text, checks, modifier bits, fast bit, facts
    {OP_NONE, "?", OF_DIRECTIVE, SZ_UNKNOWN, EL_UNKNOWN, TF_UNKNOWN, 0, 0, 0, 0},
    {SUBWF, "subwf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {BCF, "bcf", OF_FILE_BIT, SZ_WORD, EL_FILE_BIT, TF_FILE_BIT, 0, 0, 0, 0},
    {DATA, "data", OF_DIRECTIVE, SZ_DATA, EL_DATA, TF_DATA, 0, 0, 0, 0},
    {MOVF, "movf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {SWAPF, "swapf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {RLCF, "rlcf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {MOVFF, "movff", OF_MOVE, SZ_MOVFF, EL_MOVFF, TF_OPERANDS, 0, 0, 0, 0},
    {MOVFFL, "movffl", OF_MOVE_LONG, SZ_THREE_WORDS, EL_MOVFFL, TF_OPERANDS, 0, 0, 0, 0},
    {CALLW, "callw", OF_NONE, SZ_WORD, EL_OPCODE, TF_OPERANDS, CK_XINST_ANY, 0, 0, FX_CALL},
    {ADDFSR, "addfsr", OF_FSR_LITERAL, SZ_WORD, EL_ADDFSR, TF_OPERANDS, CK_XINST_ANY, 0, 0, 0},
    {PUSH, "push", OF_NONE, SZ_WORD, EL_OPCODE, TF_OPERANDS, 0, 0, 0, FX_STAYS},
    {LFSR, "lfsr", OF_LFSR, SZ_TWO_WORDS, EL_LFSR, TF_LFSR, 0, 0x30, 0, 0},
    {BRA, "bra", OF_TARGET, SZ_WORD, EL_REL11, TF_OPERANDS, 0, 0, 0, FX_JUMP},
    {BCC, "bcc", OF_TARGET, SZ_COND_BRANCH, EL_COND_BRANCH, TF_OPERANDS, 0, 0, 0, FX_BRANCH},
    {RCALL, "rcall", OF_TARGET, SZ_WORD, EL_REL11, TF_OPERANDS, 0, 0, 0, FX_CALL},
    {BTFSC, "btfsc", OF_FILE_BIT, SZ_WORD, EL_FILE_BIT, TF_FILE_BIT, 0, 0, 0, FX_SKIP},
    {DECFSZ, "decfsz", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, FX_SKIP},
    {ANDWF, "andwf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {COMF, "comf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {ADDWF, "addwf", OF_FILE_DEST, SZ_WORD, EL_FILE_DEST, TF_FILE_DEST, 0, 0, 0, 0},
    {MULWF, "mulwf", OF_FILE, SZ_WORD, EL_FILE, TF_FILE, 0, 0, 0, 0},
    {CPFSEQ, "cpfseq", OF_FILE, SZ_WORD, EL_FILE, TF_FILE, 0, 0, 0, FX_SKIP},
    {ADDULNK, "addulnk", OF_LITERAL, SZ_WORD, EL_K6_CHECKED, TF_OPERANDS, CK_EXTENDED, 0, 0, FX_RETURN},
    {MOVSF, "movsf", OF_STACK_FILE, SZ_TWO_WORDS, EL_MOVSF, TF_STACK_FILE, CK_EXTENDED, 0, 0, 0},
    {MOVSFL, "movsfl", OF_STACK_FILE, SZ_THREE_WORDS, EL_MOVSFL, TF_STACK_FILE, CK_EXTENDED, 0, 0, 0},
    {MOVSS, "movss", OF_STACK_STACK, SZ_TWO_WORDS, EL_MOVSS, TF_STACK_STACK, CK_EXTENDED, 0, 0, 0},
    {PUSHL, "pushl", OF_LITERAL, SZ_WORD, EL_K8_CHECKED, TF_OPERANDS, CK_EXTENDED, 0, 0, 0},
    {GOTO, "goto", OF_TARGET, SZ_JUMP, EL_JUMP, TF_OPERANDS, 0, 0, 0, FX_JUMP},
    {ADDLW, "addlw", OF_LITERAL, SZ_WORD, EL_K8, TF_OPERANDS, 0, 0, 0, 0},
    {RETURN, "return", OF_RETURN, SZ_WORD, EL_OPCODE, TF_RETURN, 0, 0x1, 0x1, FX_RETURN},
    {CALL, "call", OF_CALL, SZ_CALL, EL_CALL, TF_CALL, 0, 0, 0x100, FX_CALL},
    {RETLW, "retlw", OF_LITERAL, SZ_WORD, EL_K8, TF_OPERANDS, 0, 0, 0, FX_RETURN},
    {MOVLW, "movlw", OF_LITERAL, SZ_WORD, EL_K8, TF_OPERANDS, 0, 0, 0, 0},
    {NOP, "nop", OF_NONE, SZ_NOP, EL_NOP, TF_OPERANDS, 0, 0, 0, FX_STAYS},
    {BANKSEL, "banksel", OF_BANKSEL, SZ_WORD, EL_BANKSEL, TF_OPERANDS, 0, 0, 0, 0},
    {MOVLB, "movlb", OF_LITERAL, SZ_WORD, EL_MOVLB, TF_OPERANDS, 0, 0, 0, 0},
    {MOVWF, "movwf", OF_FILE, SZ_WORD, EL_FILE, TF_FILE, 0, 0, 0, 0},
    {CLRF, "clrf", OF_FILE, SZ_WORD, EL_FILE, TF_FILE, 0, 0, 0, 0},
    {TRAP, "trap", OF_NONE, SZ_WORD, EL_OPCODE, TF_OPERANDS, 0, 0, 0, FX_STAYS},
    {TRET, "tret", OF_NONE, SZ_WORD, EL_OPCODE, TF_OPERANDS, 0, 0, 0, FX_RETURN},
    {DBOFF, "dboff", OF_NONE, SZ_WORD, EL_OPCODE, TF_OPERANDS, 0, 0, 0, FX_STAYS},
    {SETCNT, "setcnt", OF_LITERAL, SZ_WORD, EL_K6, TF_OPERANDS, 0, 0, 0, FX_STAYS},
    {TBLRD, "tblrd", OF_TABLE, SZ_WORD, EL_OPCODE, TF_TABLE, 0, 0x3, 0, 0},
    {DS, "ds", OF_DIRECTIVE, SZ_DS, EL_DS, TF_VALUE, 0, 0, 0, 0},
    {ORG, "org", OF_DIRECTIVE, SZ_ORG, EL_ORG, TF_ORG, 0, 0, 0, 0},
    {ALIGN, "align", OF_DIRECTIVE, SZ_ALIGN, EL_ALIGN, TF_ALIGN, 0, 0, 0, 0},
    {SET, "set", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_SET, 0, 0, 0, 0},
    {EQU, "equ", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_NONE, 0, 0, 0, 0},
    {IF, "if", OF_DIRECTIVE, SZ_NONE, EL_CONDITION, TF_VALUE, 0, 0, 0, 0},
    {ELSIF, "elsif", OF_DIRECTIVE, SZ_NONE, EL_CONDITION, TF_VALUE, 0, 0, 0, 0},
    {ELSE, "else", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_KEYWORD, 0, 0, 0, 0},
    {ENDIF, "endif", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_KEYWORD, 0, 0, 0, 0},
    {INCLUDE, "include", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_NONE, 0, 0, 0, 0},
    {MESSG, "messg", OF_DIRECTIVE, SZ_NONE, EL_MESSAGE, TF_MESSAGE, 0, 0, 0, 0},
    {TITLE, "title", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_NONE, 0, 0, 0, 0},
    {ENDM, "endm", OF_DIRECTIVE, SZ_NONE, EL_NONE, TF_NONE, 0, 0, 0, 0},
    {TLABEL, "tlabel", OF_DIRECTIVE, SZ_NONE, EL_TLABEL, TF_TLABEL, 0, 0, 0, 0},
    {NAME, "name", OF_DIRECTIVE, SZ_LABEL, EL_NONE, TF_LABEL, 0, 0, 0, 0},
});
static_assert(CLASS_ROWS.size() == OP_LAST_STATEMENT + 1);

constexpr bool rows_in_kind_order() {
  for (size_t i = 0; i < CLASS_ROWS.size(); ++i)
    if (CLASS_ROWS[i].kind != i) return false;
  return true;
}
static_assert(rows_in_kind_order());

// Instruction rows come first, in this order: lookups by statement take the first match.
// The last column says what an instruction does (FX_*) beyond its class row's facts; where the
// effects of an instruction are not known, it is FX_OPAQUE, which the optimizer takes as
// reading and writing everything.
constexpr auto MAIN_ROWS = std::to_array<Keyword>({
    // mnemonic, kind, opcode, availability, STATUS written, STATUS read, what it does
    {"addwf", ADDWF, 0x2400, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, ALU_WF},
    {"addwfc", ADDWF, 0x2000, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, F_C, ALU_WF},
    {"andwf", ANDWF, 0x1400, AV_ALL, F_Z|F_N, 0, ALU_WF},
    {"iorwf", ANDWF, 0x1000, AV_ALL, F_Z|F_N, 0, ALU_WF},
    {"xorwf", ANDWF, 0x1800, AV_ALL, F_Z|F_N, 0, ALU_WF},
    {"comf", COMF, 0x1C00, AV_ALL, F_Z|F_N, 0, ALU_F},
    {"decf", COMF, 0x0400, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, ALU_F},
    {"decfsz", DECFSZ, 0x2C00, AV_ALL, 0, 0, ALU_F},
    {"dcfsnz", DECFSZ, 0x4C00, AV_ALL, 0, 0, ALU_F},
    {"incf", COMF, 0x2800, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, ALU_F},
    {"incfsz", DECFSZ, 0x3C00, AV_ALL, 0, 0, ALU_F},
    {"infsnz", DECFSZ, 0x4800, AV_ALL, 0, 0, ALU_F},
    {"movf", MOVF, 0x5000, AV_ALL, F_Z|F_N, 0, ALU_F},
    {"rlcf", RLCF, 0x3400, AV_ALL, F_C|F_Z|F_N, F_C, ALU_F},
    {"rlncf", RLCF, 0x4400, AV_ALL, F_Z|F_N, 0, ALU_F},
    {"rrcf", RLCF, 0x3000, AV_ALL, F_C|F_Z|F_N, F_C, ALU_F},
    {"rrncf", RLCF, 0x4000, AV_ALL, F_Z|F_N, 0, ALU_F},
    {"subwf", SUBWF, 0x5C00, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, ALU_WF},
    {"subwfb", SUBWF, 0x5800, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, F_C, ALU_WF},
    {"subfwb", SUBWF, 0x5400, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, F_C, ALU_WF},
    {"swapf", SWAPF, 0x3800, AV_ALL, 0, 0, ALU_F},
    {"movff", MOVFF, 0xC000, AV_ALL, 0, 0, FX_READS_F|FX_WRITES_F2},
    {"movffl", MOVFFL, 0x0060, AV_X, 0, 0, FX_READS_F|FX_WRITES_F2},
    {"bc", BCC, 0xE200, AV_ALL, 0, F_C, 0},
    {"bmi", BCC, 0xE600, AV_ALL, 0, F_N, 0},
    {"bnc", BCC, 0xE300, AV_ALL, 0, F_C, 0},
    {"bn", BCC, 0xE600, AV_ALL, 0, F_N, 0},
    {"bnn", BCC, 0xE700, AV_ALL, 0, F_N, 0},
    {"bnv", BCC, 0xE500, AV_ALL, 0, F_OV, 0},
    {"bnov", BCC, 0xE500, AV_ALL, 0, F_OV, 0},
    {"bnz", BCC, 0xE100, AV_ALL, 0, F_Z, 0},
    {"bz", BCC, 0xE000, AV_ALL, 0, F_Z, 0},
    {"bov", BCC, 0xE400, AV_ALL, 0, F_OV, 0},
    {"bra", BRA, 0xD000, AV_ALL, 0, 0, 0},
    {"rcall", RCALL, 0xD800, AV_ALL, 0, 0, 0},
    {"clrf", CLRF, 0x6A00, AV_ALL, F_Z, 0, FX_WRITES_F},
    {"setf", CLRF, 0x6800, AV_ALL, 0, 0, FX_WRITES_F},
    {"negf", CLRF, 0x6C00, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, RMW_F},
    {"movwf", MOVWF, 0x6E00, AV_ALL, 0, 0, FX_READS_W|FX_WRITES_F},
    {"cpfseq", CPFSEQ, 0x6200, AV_ALL, 0, 0, FX_READS_W|FX_READS_F},
    {"cpfsgt", CPFSEQ, 0x6400, AV_ALL, 0, 0, FX_READS_W|FX_READS_F},
    {"cpfslt", CPFSEQ, 0x6000, AV_ALL, 0, 0, FX_READS_W|FX_READS_F},
    {"tstfsz", CPFSEQ, 0x6600, AV_ALL, 0, 0, FX_READS_F},
    {"mulwf", MULWF, 0x0200, AV_ALL, 0, 0, FX_READS_W|FX_READS_F|FX_WRITES_PROD},
    {"tblrd", TBLRD, 0x0008, AV_ALL, 0, 0, FX_TABLE},
    {"tblwt", TBLRD, 0x000C, AV_ALL, 0, 0, FX_TABLE},
    {"tblwtpostinc", TBLRD, 0x000D, AV_ALL, 0, 0, FX_TABLE},
    {"tblwtpostdec", TBLRD, 0x000E, AV_ALL, 0, 0, FX_TABLE},
    {"tblwtpreinc", TBLRD, 0x000F, AV_ALL, 0, 0, FX_TABLE},
    {"tblrdpostdec", TBLRD, 0x000A, AV_ALL, 0, 0, FX_TABLE},
    {"tblrdpostinc", TBLRD, 0x0009, AV_ALL, 0, 0, FX_TABLE},
    {"tblrdpreinc", TBLRD, 0x000B, AV_ALL, 0, 0, FX_TABLE},
    {"daw", NOP, 0x0007, AV_ALL, F_C, F_C|F_DC, ALU_WK},
    {"clrw", NOP, 0x6AF3, AV_ALL, F_Z, 0, FX_WRITES_W},
    {"clrwdt", NOP, 0x0004, AV_ALL, 0, 0, 0},
    {"halt", NOP, 0x0001, AV_ALL, 0, 0, FX_OPAQUE},  // effects not known: assumed opaque
    {"nop", NOP, 0xF000, AV_ALL, 0, 0, 0},
    {"nop2", NOP, 0xFFFF, AV_ALL, 0, 0, 0},
    {"sleep", NOP, 0x0003, AV_ALL, 0, 0, 0},
    {"reset", NOP, 0x00FF, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, FX_JUMP|FX_OPAQUE},  // restarts
    {"trap", TRAP, 0x00E0, AV_ALL, 0, 0, FX_OPAQUE},  // trap and debug rows: effects not known
    {"tret", TRET, 0x00E1, AV_ALL, 0, 0, FX_OPAQUE},
    {"dboff", DBOFF, 0x0070, AV_ALL, 0, 0, FX_OPAQUE},
    {"dbout", DBOFF, 0x0071, AV_ALL, 0, 0, FX_OPAQUE},
    {"extexit", DBOFF, 0x0072, AV_ALL, 0, 0, FX_OPAQUE},
    {"dbin", DBOFF, 0x0073, AV_ALL, 0, 0, FX_OPAQUE},
    {"push", PUSH, 0x0005, AV_ALL, 0, 0, FX_STACK},
    {"pop", PUSH, 0x0006, AV_ALL, 0, 0, FX_STACK},
    {"retfie", RETURN, 0x0010, AV_ALL, 0, 0, FX_RETFIE},
    {"return", RETURN, 0x0012, AV_ALL, 0, 0, 0},
    {"bcf", BCF, 0x9000, AV_ALL, 0, 0, RMW_F},
    {"bsf", BCF, 0x8000, AV_ALL, 0, 0, RMW_F},
    {"btfsc", BTFSC, 0xB000, AV_ALL, 0, 0, FX_READS_F},
    {"btfss", BTFSC, 0xA000, AV_ALL, 0, 0, FX_READS_F},
    {"btg", BCF, 0x7000, AV_ALL, 0, 0, RMW_F},
    {"addlw", ADDLW, 0x0F00, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, ALU_WK},
    {"sublw", ADDLW, 0x0800, AV_ALL, F_C|F_DC|F_Z|F_OV|F_N, 0, ALU_WK},
    {"andlw", ADDLW, 0x0B00, AV_ALL, F_Z|F_N, 0, ALU_WK},
    {"iorlw", ADDLW, 0x0900, AV_ALL, F_Z|F_N, 0, ALU_WK},
    {"mullw", ADDLW, 0x0D00, AV_ALL, 0, 0, FX_READS_W|FX_WRITES_PROD},
    {"movlw", MOVLW, 0x0E00, AV_ALL, 0, 0, FX_WRITES_W},
    {"xorlw", ADDLW, 0x0A00, AV_ALL, F_Z|F_N, 0, ALU_WK},
    {"setcnt", SETCNT, 0x0140, AV_ALL, 0, 0, FX_OPAQUE},  // effects not known: assumed opaque
    {"retlw", RETLW, 0x0C00, AV_ALL, 0, 0, FX_WRITES_W},
    {"call", CALL, 0xEC00, AV_ALL, 0, 0, 0},
    {"fcall", CALL, 0xEC00, AV_ALL, 0, 0, 0},
    {"callw", CALLW, 0x0014, AV_X, 0, 0, FX_READS_W},
    {"lfsr", LFSR, 0xEE00, AV_ALL, 0, 0, FX_WRITES_FSR},
    {"addfsr", ADDFSR, 0xE800, AV_X, 0, 0, FSR_RMW},
    {"subfsr", ADDFSR, 0xE900, AV_X, 0, 0, FSR_RMW},
    {"goto", GOTO, 0xEF00, AV_ALL, 0, 0, 0},
    {"ljmp", GOTO, 0xEF00, AV_ALL, 0, 0, 0},
    {"movlb", MOVLB, 0x0100, AV_ALL, 0, 0, FX_WRITES_BSR},
    {"addulnk", ADDULNK, 0xE8C0, AV_ALL, 0, 0, FSR_RMW},
    {"movsf", MOVSF, 0xEB00, AV_ALL, 0, 0, FX_READS_FSR|FX_MEMORY|FX_WRITES_F2},
    {"movsfl", MOVSFL, 0x0002, AV_ALL, 0, 0, FX_READS_FSR|FX_MEMORY|FX_WRITES_F2},
    {"movss", MOVSS, 0xEB80, AV_ALL, 0, 0, FX_READS_FSR|FX_MEMORY},
    {"pushl", PUSHL, 0xEA00, AV_ALL, 0, 0, FSR_RMW|FX_MEMORY},
    {"subulnk", ADDULNK, 0xE9C0, AV_ALL, 0, 0, FSR_RMW},
    {"banksel", BANKSEL, 0x0000, AV_ALL, 0, 0, FX_WRITES_BSR},
    // keywords without an instruction
    {"nul", K_NUL, 8, 0, 0, 0},
    {"float24", K_UNARY, OPR_FLOAT24, 0, 0, 0},
    {"normalize32", K_UNARY, OPR_NORMALIZE32, 0, 0, 0},
    {"low", K_UNARY, OPR_LOW, 0, 0, 0},
    {"high", K_UNARY, OPR_HIGH, 0, 0, 0},
    {"highword", K_UNARY, OPR_HIGHWORD, 0, 0, 0},
    {"seg", K_UNARY, OPR_SEG, 0, 0, 0},
    {"defined", K_DEFINED, 0, 0, 0, 0},
    {"mod", K_DIVOP, OPR_MOD, 0, 0, 0},
    {"shl", K_SHIFT, OPR_SHL, 0, 0, 0},
    {"shr", K_SHIFT, OPR_SHR, 0, 0, 0},
    {"rol", K_SHIFT, OPR_ROL, 0, 0, 0},
    {"ror", K_SHIFT, OPR_ROR, 0, 0, 0},
    {"eq", K_RELOP, OPR_EQ, 0, 0, 0},
    {"ne", K_RELOP, OPR_NE, 0, 0, 0},
    {"gt", K_RELOP, OPR_GT, 0, 0, 0},
    {"ge", K_RELOP, OPR_GE, 0, 0, 0},
    {"lt", K_RELOP, OPR_LT, 0, 0, 0},
    {"le", K_RELOP, OPR_LE, 0, 0, 0},
    {"=", K_RELOP, OPR_EQ, 0, 0, 0},
    {"<>", K_RELOP, OPR_NE, 0, 0, 0},
    {">", K_RELOP, OPR_GT, 0, 0, 0},
    {">=", K_RELOP, OPR_GE, 0, 0, 0},
    {"<", K_RELOP, OPR_LT, 0, 0, 0},
    {"<=", K_RELOP, OPR_LE, 0, 0, 0},
    {"not", K_NOT, OPR_NOT, 0, 0, 0},
    {"^", K_BITOP, OPR_XOR, 0, 0, 0},
    {"&", K_BITOP, OPR_AND, 0, 0, 0},
    {"and", K_BITOP, OPR_AND, 0, 0, 0},
    {"|", K_BITOP, OPR_OR, 0, 0, 0},
    {"hex", K_RADIXVAL, 16, 0, 0, 0},
    {"dec", K_RADIXVAL, 10, 0, 0, 0},
    {"oct", K_RADIXVAL, 8, 0, 0, 0},
    {"w", W, 0, 0, 0, 0},
    {"f", F, 0, 0, 0, 0},
    {"b", BANKED, 0, 0, 0, 0},
    {"c", ACCESS, 0, 0, 0, 0},
    {"a", ACCESS, 0, 0, 0, 0},
    {"bankisel", K_BANKISEL, 0, 0, 0, 0},
    {"pagesel", K_PAGESEL, 0, 0, 0, 0},
    {"public", K_PUBLIC, 0, 0, 0, 0},
    {"extrn", K_EXTRN, 0, 0, 0, 0},
    {"global", K_GLOBAL, 0, 0, 0, 0},
    {"local", K_LOCAL, 0, 0, 0, 0},
    {"end", K_END, 0, 0, 0, 0},
    {"org", ORG, 0, 0, 0, 0},
    {"equ", EQU, 0, 0, 0, 0},
    {"set", SET, 0, 0, 0, 0},
    {"ds", DS, 0, 0, 0, 0},
    {"dabs", K_DABS, 0, 0, 0, 0},
    {"if", IF, 0, 0, 0, 0},
    {"else", ELSE, 0, 0, 0, 0},
    {"elsif", ELSIF, 0, 0, 0, 0},
    {"endif", ENDIF, 0, 0, 0, 0},
    {"psect", K_PSECT, 0, 0, 0, 0},
    {"line", K_LINE, 0, 0, 0, 0},
    {"file", K_FILE, 0, 0, 0, 0},
    {"signat", K_SIGNAT, 0, 0, 0, 0},
    {"fncall", K_FNCALL, 0, 0, 0, 0},
    {"fnbreak", K_FNBREAK, 0, 0, 0, 0},
    {"fnconf", K_FNCONF, 0, 0, 0, 0},
    {"fnalign", K_FNALIGN, 0, 0, 0, 0},
    {"fnarg", K_FNARG, 0, 0, 0, 0},
    {"fnindir", K_FNINDIR, 0, 0, 0, 0},
    {"fnaddr", K_FNADDR, 0, 0, 0, 0},
    {"fnsize", K_FNSIZE, 0, 0, 0, 0},
    {"fnroot", K_FNROOT, 0, 0, 0, 0},
    {"processor", K_PROCESSOR, 0, 0, 0, 0},
    {"opt", K_OPT, 0, 0, 0, 0},
    {"align", ALIGN, 0, 0, 0, 0},
    {"config", K_CONFIG, 0, 0, 0, 0},
    {"radix", K_RADIX, 0, 0, 0, 0},
    {"asmopt", K_ASMOPT, 0, 0, 0, 0},
    {"debug_source", K_DEBUG_SOURCE, 0, 0, 0, 0},
    {"macro", K_MACRO, 0, 0, 0, 0},
    {"endm", ENDM, 0, 0, 0, 0},
    {"rept", K_REPT, 0, 0, 0, 0},
    {"irp", K_IRP, 0, 0, 0, 0},
    {"irpc", K_IRPC, 0, 0, 0, 0},
    {"exitm", K_EXITM, 0, 0, 0, 0},
    {"db", DATA, 1, 0, 0, 0},
    {"dw", DATA, 2, 0, 0, 0},
    {"ddw", DATA, 4, 0, 0, 0},
    {"df", K_DF, 4, 0, 0, 0},
    {"include", INCLUDE, 1, 0, 0, 0},
    {"messg", MESSG, 0, 0, 0, 0},
    {"error", MESSG, 1, 0, 0, 0},
    {"warn", MESSG, 2, 0, 0, 0},
    {"__badram", K_BADRAM, 0, 0, 0, 0},
    {"__maxram", K_MAXRAM, 0, 0, 0, 0},
    {"__badrom", K_BADRAM, 1, 0, 0, 0},
    {"__maxrom", K_MAXRAM, 1, 0, 0, 0},
    {"callstack", K_CALLSTACK, 1, 0, 0, 0},
    {"pagelength", K_PAGELENGTH, 1, 0, 0, 0},
    {"pagewidth", K_PAGEWIDTH, 1, 0, 0, 0},
    {"cond", K_COND, 1, 0, 0, 0},
    {"nocond", K_COND, 0, 0, 0, 0},
    {"expand", K_EXPAND, 1, 0, 0, 0},
    {"noexpand", K_EXPAND, 0, 0, 0, 0},
    {"list", K_LIST, 1, 0, 0, 0},
    {"nolist", K_LIST, 0, 0, 0, 0},
    {"title", TITLE, 1, 0, 0, 0},
    {"subtitle", K_SUBTITLE, 1, 0, 0, 0},
});
static_assert(MAIN_ROWS.size() == INSTRUCTION_ROWS + 103);

// The instruction rows come first and are exactly those of the instruction classes; every
// instruction class has a row; a row does not repeat what its class row says.
constexpr bool rows_match_classes() {
  std::array<bool, CLASS_ROWS.size()> has_row{};
  for (size_t i = 0; i < MAIN_ROWS.size(); ++i) {
    const Keyword &r = MAIN_ROWS[i];
    bool insn = r.kind < CLASS_ROWS.size() && CLASS_ROWS[r.kind].form != OF_DIRECTIVE;
    if (insn != (i < INSTRUCTION_ROWS) || insn != (r.avail != 0)) return false;
    if (insn && (r.does & CLASS_ROWS[r.kind].facts)) return false;
    if (insn) has_row[r.kind] = true;
  }
  for (const StatementClass &c : CLASS_ROWS)
    if (c.form != OF_DIRECTIVE && !has_row[c.kind]) return false;
  return true;
}
static_assert(rows_match_classes());

// Read while psect flags are parsed, before the main table.
constexpr auto PSECT_FLAG_ROWS = std::to_array<Keyword>({
    {"note", K_PSECTFLAG, PFW_NOTE, 0, 0, 0},       {"pure", K_PSECTFLAG, PFW_PURE, 0, 0, 0},
    {"common", K_PSECTFLAG, PFW_COMMON, 0, 0, 0},   {"global", K_PSECTFLAG, PFW_GLOBAL, 0, 0, 0},
    {"abs", K_PSECTFLAG, PFW_ABS, 0, 0, 0},         {"ovrld", K_PSECTFLAG, PFW_OVRLD, 0, 0, 0},
    {"bit", K_PSECTFLAG, PFW_BIT, 0, 0, 0},         {"local", K_PSECTFLAG, PFW_LOCAL, 0, 0, 0},
    {"reloc", K_PSECTFLAG, PFW_RELOC, 0, 0, 0},     {"size", K_PSECTFLAG, PFW_SIZE, 0, 0, 0},
    {"class", K_PSECTFLAG, PFW_CLASS, 0, 0, 0},     {"space", K_PSECTFLAG, PFW_SPACE, 0, 0, 0},
    {"delta", K_PSECTFLAG, PFW_DELTA, 0, 0, 0},     {"with", K_PSECTFLAG, PFW_WITH, 0, 0, 0},
    {"limit", K_PSECTFLAG, PFW_LIMIT, 0, 0, 0},     {"inline", K_PSECTFLAG, PFW_INLINE, 0, 0, 0},
    {"keep", K_PSECTFLAG, PFW_KEEP, 0, 0, 0},       {"noexec", K_PSECTFLAG, PFW_NOEXEC, 0, 0, 0},
    {"optim", K_PSECTFLAG, PFW_OPTIM, 0, 0, 0},     {"pa", K_PSECTFLAG, PFW_PA, 0, 0, 0},
    {"jump", K_PSECTFLAG, PFW_JUMP, 0, 0, 0},       {"peep", K_PSECTFLAG, PFW_PEEP, 0, 0, 0},
    {"remove", K_PSECTFLAG, PFW_REMOVE, 0, 0, 0},   {"lowdata", K_PSECTFLAG, PFW_LOWDATA, 0, 0, 0},
    {"group", K_PSECTFLAG, PFW_GROUP, 0, 0, 0},     {"minocg", K_PSECTFLAG, PFW_MINOCG, 0, 0, 0},
    {"codecov", K_PSECTFLAG, PFW_CODECOV, 0, 0, 0},
});
static_assert(PSECT_FLAG_ROWS.size() == 27);

constexpr auto OPT_ROWS = std::to_array<Keyword>({
    {"cond", K_COND, 1, 0, 0, 0},
    {"nocond", K_COND, 0, 0, 0, 0},
    {"expand", K_EXPAND, 1, 0, 0, 0},
    {"noexpand", K_EXPAND, 0, 0, 0, 0},
    {"include", INCLUDE, 1, 0, 0, 0},
    {"list", K_LIST, 1, 0, 0, 0},
    {"nolist", K_LIST, 0, 0, 0, 0},
    {"pagelength", K_PAGELENGTH, 1, 0, 0, 0},
    {"pagewidth", K_PAGEWIDTH, 1, 0, 0, 0},
    {"subtitle", K_SUBTITLE, 1, 0, 0, 0},
    {"title", TITLE, 1, 0, 0, 0},
    {"callstack", K_CALLSTACK, 1, 0, 0, 0},
    {"stack", K_CALLSTACK, 1, 0, 0, 0},
    {"asmopt_on", K_ASMOPT_ON, 1, 0, 0, 0},
    {"asmopt_off", K_ASMOPT_ON, 0, 0, 0, 0},
    {"asmopt_push", K_ASMOPT_PUSH, 1, 0, 0, 0},
    {"asmopt_pop", K_ASMOPT_PUSH, 0, 0, 0, 0},
});
static_assert(OPT_ROWS.size() == 17);

constexpr auto LIST_ROWS = std::to_array<Keyword>({
    {"c", K_LISTOPT, 'c', 0, 0, 0},
    {"t", K_LISTOPT, 't', 0, 0, 0},
    {"r", K_LISTOPT, 'r', 0, 0, 0},
    {"n", K_LISTOPT, 'n', 0, 0, 0},
    {"x", K_LISTOPT, 'x', 0, 0, 0},
    {"p", K_LISTOPT, 'p', 0, 0, 0},
    {"on", K_ONOFF, 1, 0, 0, 0},
    {"off", K_ONOFF, 0, 0, 0, 0},
});
static_assert(LIST_ROWS.size() == 8);

constexpr auto ASMOPT_ROWS = std::to_array<Keyword>({
    {"on", K_ONOFF, 1, 0, 0, 0},
    {"off", K_ONOFF, 0, 0, 0, 0},
    {"push", K_PUSHPOP, 1, 0, 0, 0},
    {"pop", K_PUSHPOP, 0, 0, 0, 0},
});
static_assert(ASMOPT_ROWS.size() == 4);

constexpr auto DEBUGSRC_ROWS = std::to_array<Keyword>({
    {"c", K_DBGSRC, 1, 0, 0, 0},
    {"asm", K_DBGSRC, 2, 0, 0, 0},
    {"push", K_PUSHPOP, 1, 0, 0, 0},
    {"pop", K_PUSHPOP, 0, 0, 0, 0},
});
static_assert(DEBUGSRC_ROWS.size() == 4);

// ---- Name lookup: an open-addressing hash index per table, built at compile time ----

constexpr size_t MAX_KEYWORD = 15;  // longer words are never keywords

constexpr size_t c_strlen(const char *s) {
  size_t n = 0;
  while (s[n]) ++n;
  return n;
}

constexpr bool c_streq(const char *a, const char *b) {
  size_t i = 0;
  for (; a[i] && a[i] == b[i]; ++i) {
  }
  return a[i] == b[i];
}

// FNV-1a over the lower-case bytes.
constexpr uint32_t kw_hash(const char *s, size_t n) {
  uint32_t h = 2166136261u;
  for (size_t i = 0; i < n; ++i) {
    h ^= static_cast<unsigned char>(s[i]);
    h *= 16777619u;
  }
  return h;
}

template <size_t N>
constexpr size_t index_size() {
  size_t s = 16;
  while (s < 2 * N) s *= 2;
  return s;
}

template <size_t N>
struct KwIndex {
  static constexpr size_t SIZE = index_size<N>();
  std::array<int16_t, SIZE> slot{};
};

template <size_t N>
constexpr KwIndex<N> build_index(const std::array<Keyword, N> &rows) {
  KwIndex<N> ix{};
  for (auto &s : ix.slot) s = -1;
  for (size_t i = 0; i < N; ++i) {
    const char *name = rows[i].name;
    size_t h = kw_hash(name, c_strlen(name)) & (ix.SIZE - 1);
    bool dup = false;
    while (ix.slot[h] >= 0) {
      if (c_streq(rows[static_cast<size_t>(ix.slot[h])].name, name)) {
        dup = true;  // the first row of a word wins
        break;
      }
      h = (h + 1) & (ix.SIZE - 1);
    }
    if (!dup) ix.slot[h] = static_cast<int16_t>(i);
  }
  return ix;
}

template <size_t N>
constexpr bool names_fit(const std::array<Keyword, N> &rows) {
  for (auto &r : rows) {
    size_t n = c_strlen(r.name);
    if (n == 0 || n > MAX_KEYWORD) return false;
    for (size_t i = 0; i < n; ++i)
      if (r.name[i] >= 'A' && r.name[i] <= 'Z') return false;
  }
  return true;
}
static_assert(names_fit(MAIN_ROWS) && names_fit(PSECT_FLAG_ROWS) && names_fit(OPT_ROWS) &&
              names_fit(LIST_ROWS) && names_fit(ASMOPT_ROWS) && names_fit(DEBUGSRC_ROWS));

constexpr auto MAIN_INDEX = build_index(MAIN_ROWS);
constexpr auto PSECT_FLAG_INDEX = build_index(PSECT_FLAG_ROWS);
constexpr auto OPT_INDEX = build_index(OPT_ROWS);
constexpr auto LIST_INDEX = build_index(LIST_ROWS);
constexpr auto ASMOPT_INDEX = build_index(ASMOPT_ROWS);
constexpr auto DEBUGSRC_INDEX = build_index(DEBUGSRC_ROWS);

struct TableRef {
  const Keyword *rows;
  size_t count;
  const int16_t *slot;
  size_t mask;
};

template <size_t N>
constexpr TableRef table_ref(const std::array<Keyword, N> &rows, const KwIndex<N> &ix) {
  return {rows.data(), N, ix.slot.data(), ix.SIZE - 1};
}

constexpr TableRef TABLES[KT_COUNT] = {
    table_ref(MAIN_ROWS, MAIN_INDEX),         table_ref(PSECT_FLAG_ROWS, PSECT_FLAG_INDEX),
    table_ref(OPT_ROWS, OPT_INDEX),           table_ref(LIST_ROWS, LIST_INDEX),
    table_ref(ASMOPT_ROWS, ASMOPT_INDEX),     table_ref(DEBUGSRC_ROWS, DEBUGSRC_INDEX),
};

// ---- Lookup by statement: the rows of each kind, in table order ----

constexpr size_t KIND_COUNT = K_PSECTFLAG + 1;

struct KindIndex {
  std::array<uint16_t, KIND_COUNT + 1> start{};  // rows of kind k: order[start[k] .. start[k+1])
  std::array<uint16_t, MAIN_ROWS.size()> order{};
};

constexpr KindIndex build_kind_index() {
  KindIndex ki{};
  std::array<uint16_t, KIND_COUNT + 1> count{};
  for (auto &r : MAIN_ROWS) ++count[r.kind];
  uint16_t at = 0;
  for (size_t k = 0; k < KIND_COUNT; ++k) {
    ki.start[k] = at;
    at = static_cast<uint16_t>(at + count[k]);
  }
  ki.start[KIND_COUNT] = at;
  std::array<uint16_t, KIND_COUNT> fill{};
  for (size_t i = 0; i < MAIN_ROWS.size(); ++i) {
    uint16_t k = MAIN_ROWS[i].kind;
    ki.order[ki.start[k] + fill[k]++] = static_cast<uint16_t>(i);
  }
  return ki;
}

constexpr KindIndex KIND_INDEX = build_kind_index();
static_assert(KIND_INDEX.start[KIND_COUNT] == MAIN_ROWS.size());

// Modifier bits of `op_subop` that are not part of the opcode.
constexpr uint32_t modifier_mask(uint32_t kind) { return kind < CLASS_ROWS.size() ? CLASS_ROWS[kind].modifier : 0; }

// The fast flag of `op_subop`: a fast call saves W, STATUS and BSR, a fast return restores them.
constexpr uint32_t fast_bit(uint32_t kind) { return kind < CLASS_ROWS.size() ? CLASS_ROWS[kind].fast : 0; }

// The first row of `kind` whose value is `masked`, or null.
const Keyword *row_of(uint32_t kind, uint32_t masked) {
  if (kind >= KIND_COUNT) return nullptr;
  for (size_t i = KIND_INDEX.start[kind]; i < KIND_INDEX.start[kind + 1]; ++i) {
    const Keyword &r = MAIN_ROWS[KIND_INDEX.order[i]];
    if (r.value == masked) return &r;
  }
  return nullptr;
}

}  // namespace

const Keyword *ops_find(std::string_view word, KwTable table) {
  if (table >= KT_COUNT || word.empty() || word.size() > MAX_KEYWORD) return nullptr;
  char low[MAX_KEYWORD];
  for (size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    low[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  }
  const TableRef &t = TABLES[table];
  size_t h = kw_hash(low, word.size()) & t.mask;
  for (int16_t s; (s = t.slot[h]) >= 0; h = (h + 1) & t.mask) {
    const char *name = t.rows[s].name;
    size_t i = 0;
    while (i < word.size() && name[i] == low[i]) ++i;
    if (i == word.size() && name[i] == 0) return &t.rows[s];
  }
  return nullptr;
}

std::span<const Keyword> ops_rows(KwTable table) {
  if (table >= KT_COUNT) return {};
  return {TABLES[table].rows, TABLES[table].count};
}

const Keyword *ops_row_of(MsgState &m, uint32_t kind, uint32_t subop) {
  uint32_t masked = subop & ~modifier_mask(kind);
  if (const Keyword *r = row_of(kind, masked)) return r;
  msg_print_raw(m, "Can't find op (op = %d, subop == %X)\n", kind, subop, masked);
  msg_check_failed(m, "op found", __FILE__, __LINE__);
  return nullptr;
}

const char *ops_mnemonic(MsgState &m, uint32_t kind, uint32_t subop) {
  const Keyword *r = ops_row_of(m, kind, subop);
  return r ? r->name : nullptr;
}

uint32_t ops_flags_written(MsgState &m, uint32_t kind, uint32_t subop) {
  const Keyword *r = ops_row_of(m, kind, subop);
  return r ? r->writes : 0;
}

uint32_t ops_flags_read(MsgState &m, uint32_t kind, uint32_t subop) {
  const Keyword *r = ops_row_of(m, kind, subop);
  return r ? r->reads : 0;
}

const StatementClass &ops_class(uint32_t kind) {
  return CLASS_ROWS[kind < CLASS_ROWS.size() ? kind : uint32_t{OP_NONE}];
}

bool ops_is_instruction(uint32_t kind) { return ops_class(kind).form != OF_DIRECTIVE; }

InsnFacts ops_facts(uint32_t kind, uint32_t subop) {
  if (!ops_is_instruction(kind)) return {0, 0, 0};
  uint32_t fast = subop & fast_bit(kind);
  const Keyword *r = row_of(kind, subop & ~(modifier_mask(kind) | fast_bit(kind)));
  if (!r) return {};
  InsnFacts f{r->does | CLASS_ROWS[kind].facts, r->writes, r->reads};
  if (fast) f.does |= (f.does & FX_RETURN) ? FX_WRITES_W | FX_WRITES_BSR : FX_READS_W | FX_READS_BSR;
  return f;
}

// Reads op_type, op_subop, op_dest, op_access and the NF_INDEXED flag only: the peephole walk
// reuses the facts while those stay the same.
InsnFacts ops_statement_facts(const Statement &n) {
  InsnFacts f = ops_facts(n.op_type, n.op_subop);
  if (f.does & FX_WRITES_DEST) {
    f.does &= ~FX_WRITES_DEST;
    if (n.op_dest != F) f.does |= FX_WRITES_W;
    if (n.op_dest != W) f.does |= FX_WRITES_F;
  }
  if (n.op_flags & NF_INDEXED) f.does |= FX_READS_FSR | FX_MEMORY;
  if (n.op_access == BANKED) f.does |= FX_READS_BSR;
  return f;
}
