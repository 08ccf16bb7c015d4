// The ZEL18 core of zel18sim: data memory with the core registers in it, the return stack and
// the fetch-decode-execute loop over the standard instruction set.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "device.h"

// Why a run ended. SLEEP and HALT end it well, the others are failures.
enum SimStop : uint8_t {
  STOP_NONE,
  STOP_SLEEP,
  STOP_HALT,
  STOP_STEP_LIMIT,
  STOP_STACK_OVERFLOW,
  STOP_STACK_UNDERFLOW,
  STOP_UNKNOWN_OPCODE,
  STOP_RESET,
  STOP_PC_RANGE,  // execution left program memory
};

// STATUS bits.
enum : uint8_t { ST_C = 0x01, ST_DC = 0x02, ST_Z = 0x04, ST_OV = 0x08, ST_N = 0x10 };

// Low bytes of the core SFR addresses (the page is the device's SFR page).
enum SfrLow : uint8_t {
  R_STATUS = 0xD8, R_FSR2L = 0xD9, R_FSR2H = 0xDA, R_PLUSW2 = 0xDB, R_PREINC2 = 0xDC, R_POSTDEC2 = 0xDD,
  R_POSTINC2 = 0xDE, R_INDF2 = 0xDF, R_BSR = 0xE0, R_FSR1L = 0xE1, R_FSR1H = 0xE2, R_PLUSW1 = 0xE3,
  R_PREINC1 = 0xE4, R_POSTDEC1 = 0xE5, R_POSTINC1 = 0xE6, R_INDF1 = 0xE7, R_PRODL = 0xE8, R_FSR0L = 0xE9,
  R_FSR0H = 0xEA, R_PLUSW0 = 0xEB, R_PREINC0 = 0xEC, R_POSTDEC0 = 0xED, R_POSTINC0 = 0xEE, R_INDF0 = 0xEF,
  R_WREG = 0xF3, R_PRODH = 0xF4, R_TABLAT = 0xF5, R_TBLPTRL = 0xF6, R_TBLPTRH = 0xF7, R_TBLPTRU = 0xF8,
  R_PCL = 0xF9, R_PCLATH = 0xFA, R_PCLATU = 0xFB, R_STKPTR = 0xFC, R_TOSL = 0xFD, R_TOSH = 0xFE, R_TOSU = 0xFF,
};

struct Cpu {
  const SimDevice &dev;
  const std::vector<uint8_t> &prog;           // program memory
  const std::map<uint32_t, uint8_t> &other;   // bytes beyond it (table reads only)
  std::vector<uint8_t> mem;                   // data memory; one more byte: the sink of bad indirection
  uint32_t page = 0;                          // the SFR page (0xF00 or 0x3F00)
  uint32_t special_lo = 0;                    // addresses from here on need more than a plain access
  uint32_t pc = 0;
  uint32_t stack[32] = {};                    // return stack, entries 1 .. depth
  unsigned sp = 0;                            // STKPTR
  uint8_t shadow_w = 0, shadow_status = 0, shadow_bsr = 0;  // fast-register save
  uint64_t steps = 0;
  SimStop stop = STOP_NONE;
  uint32_t stop_pc = 0;                       // address of the instruction that ended the run
  std::ostream *trace = nullptr;              // with --trace: one line per instruction

  Cpu(const SimDevice &d, const std::vector<uint8_t> &program, const std::map<uint32_t, uint8_t> &beyond,
      const std::vector<uint8_t> &data);

  // Runs from the current PC until the run ends or limit instructions have been executed.
  void run(uint64_t limit);

  uint8_t reg(uint8_t low) const { return mem[page | low]; }
  uint32_t fsr(int n) const;
  uint32_t tblptr() const;

  // --- the parts of one instruction (cpu.cpp)
  uint32_t next_pc = 0;     // where the instruction continues
  int post_fsr = -1;        // FSR to step after the access, and by how much
  int post_delta = 0;

  bool step();
  bool exec_low(unsigned w);         // words 0x0000-0x0FFF
  bool exec_byte_op(unsigned w);     // 0x1000-0x5FFF and 0x0200-0x07FF
  bool exec_file_op(unsigned w);     // 0x6000-0xBFFF
  bool exec_high(unsigned w);        // 0xC000-0xFFFF
  bool exec_control(unsigned w);     // 0x0000-0x00FF
  uint32_t file_addr(unsigned w);    // the file operand's address, indirection resolved
  uint32_t resolve(uint32_t a);
  uint8_t read(uint32_t a);
  void write(uint32_t a, uint8_t v);
  void store_result(unsigned w, uint32_t a, uint8_t v, bool sets_flags);
  void finish_access();
  void set_fsr(int n, uint32_t v);
  void set_zn(uint8_t v);
  uint8_t add_flags(unsigned a, unsigned b, unsigned carry);
  void skip();
  unsigned length_at(uint32_t a) const;
  unsigned word_at(uint32_t a) const;
  bool push(uint32_t addr);
  bool pop(uint32_t &addr);
  bool end_run(SimStop why);  // records the stop; false, so that callers can return it
  uint8_t table_byte(uint32_t a) const;
};

// A short text for a stop reason: "sleep", "stack overflow", ...
const char *sim_stop_name(SimStop s);
