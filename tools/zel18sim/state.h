// The final state of a run: its printed form, the comparison of two runs and the check
// against the expectations written in a source file.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cpu.h"
#include "link.h"

// Prints the registers, every nonzero byte of data memory outside the core registers, and how
// the run ended.
void sim_print_state(const Cpu &cpu, std::ostream &out);

// The first difference between the final states of two runs that both ended well, as
// "W: 2A / 2B"; empty when they agree. Addresses of code (PCL, PCLATH, PCLATU, TBLPTR, the
// return stack) and the instruction counts are not compared: optimized code may differ there.
std::string sim_compare(const Cpu &a, const Cpu &b);

// Checks the state against the "; EXPECT:" lines of source (see state.cpp), or a failed run
// against its "; EXPECT-ERROR:" line (run_error: the message of a failed link or run, else
// empty). Problems go to err, one a line; returns whether all held.
bool sim_check_expect(const std::string &source, const Cpu *cpu, const LinkedProgram *prog,
                      const std::string &run_error, std::ostream &err);

// A linked program and the core that ran it.
struct SimRun {
  LinkedProgram prog;
  std::unique_ptr<Cpu> cpu;  // null when linking failed
  std::string error;         // why linking or running failed: "<file>: <what>"; empty when it ended well
};

// Links the files and runs the program for at most steps instructions.
void sim_run(const std::vector<std::string> &files, const SimDevice &dev, uint64_t steps, std::ostream *trace,
             SimRun &r);
