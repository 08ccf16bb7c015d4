// Final states: printing, comparing, checking against expectations.
//
// Expectations are comment lines of a source file:
//
//   ; EXPECT: W=2A C=1 Z=0 0x060=05 count=03 count+1=00 FSR0=0123 STEPS=14
//   ; EXPECT-ERROR: return stack overflow
//
// Keys: W STATUS BSR PRODH PRODL PROD TABLAT TBLPTR STKPTR PCLATH PCLATU FSR0 FSR1 FSR2 (hex),
// the flags C DC Z OV N (0 or 1), STEPS (decimal, instructions executed), a data address
// "0x..." or a global symbol with an optional "+n" (one byte, hex). Every nonzero byte of data
// memory outside the core registers must be expected. EXPECT-ERROR asks for a failed link or
// run whose message contains the text.
#include "state.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

namespace {

std::string hexw(uint64_t v, int digits) {
  char b[24];
  std::snprintf(b, sizeof b, "%0*llX", digits, static_cast<unsigned long long>(v));
  return b;
}

std::string addr_text(uint32_t a) { return "0x" + hexw(a, 3); }

// The core registers, shown by name rather than as memory.
bool is_core(const Cpu &cpu, uint32_t a) {
  if ((a & ~0xFFu) != cpu.page) return false;
  unsigned low = a & 0xFF;
  return (low >= R_STATUS && low <= R_INDF0) || low >= R_WREG;
}

// Core registers whose contents depend on where code was placed.
bool is_code_address(const Cpu &cpu, uint32_t a) {
  if ((a & ~0xFFu) != cpu.page) return false;
  unsigned low = a & 0xFF;
  return (low >= R_TBLPTRL && low <= R_PCLATU) || low >= R_TOSL;
}

struct Named {
  const char *name;
  int digits;
  uint64_t value;
};

std::vector<Named> registers(const Cpu &c) {
  return {{"W", 2, c.reg(R_WREG)},         {"STATUS", 2, c.reg(R_STATUS)}, {"BSR", 2, c.reg(R_BSR)},
          {"FSR0", 4, c.fsr(0)},            {"FSR1", 4, c.fsr(1)},          {"FSR2", 4, c.fsr(2)},
          {"PRODH", 2, c.reg(R_PRODH)},     {"PRODL", 2, c.reg(R_PRODL)},   {"TABLAT", 2, c.reg(R_TABLAT)},
          {"STKPTR", 2, c.sp},              {"TBLPTR", 6, c.tblptr()},      {"PCLATH", 2, c.reg(R_PCLATH)},
          {"PCLATU", 2, c.reg(R_PCLATU)},   {"PROD", 4, uint64_t{c.reg(R_PRODH)} << 8 | c.reg(R_PRODL)}};
}

constexpr struct {
  const char *name;
  uint8_t bit;
} kFlags[] = {{"C", ST_C}, {"DC", ST_DC}, {"Z", ST_Z}, {"OV", ST_OV}, {"N", ST_N}};

}  // namespace

void sim_print_state(const Cpu &cpu, std::ostream &out) {
  auto regs = registers(cpu);
  uint8_t st = cpu.reg(R_STATUS);
  out << "W=" << hexw(regs[0].value, 2) << " STATUS=" << hexw(st, 2);
  for (const auto &f : kFlags) out << " " << f.name << "=" << ((st & f.bit) ? 1 : 0);
  out << " BSR=" << hexw(cpu.reg(R_BSR), 2) << "\n";
  for (size_t k = 3; k < 11; ++k) out << (k > 3 ? " " : "") << regs[k].name << "=" << hexw(regs[k].value, regs[k].digits);
  out << "\n";
  for (uint32_t a = 0; a < cpu.dev.ram_size; ++a)
    if (cpu.mem[a] && !is_core(cpu, a)) out << addr_text(a) << ": " << hexw(cpu.mem[a], 2) << "\n";
  out << "stopped: " << sim_stop_name(cpu.stop) << " at 0x" << hexw(cpu.stop_pc, 6) << " after " << cpu.steps
      << " instructions\n";
}

std::string sim_compare(const Cpu &a, const Cpu &b) {
  auto ra = registers(a), rb = registers(b);
  for (size_t k = 0; k < 10; ++k)  // W to STKPTR
    if (ra[k].value != rb[k].value)
      return std::string(ra[k].name) + ": " + hexw(ra[k].value, ra[k].digits) + " / " + hexw(rb[k].value, rb[k].digits);
  for (uint32_t at = 0; at < a.dev.ram_size; ++at)
    if (a.mem[at] != b.mem[at] && !is_code_address(a, at))
      return addr_text(at) + ": " + hexw(a.mem[at], 2) + " / " + hexw(b.mem[at], 2);
  return "";
}

namespace {

struct Expect {
  long line;
  std::string key, value;
};

// The address of a memory key ("0x60", "count", "count+1"), or a problem in why.
bool memory_key(const std::string &key, const LinkedProgram &prog, uint32_t &addr, std::string &why) {
  if (key.compare(0, 2, "0x") == 0 || key.compare(0, 2, "0X") == 0) {
    addr = static_cast<uint32_t>(std::stoul(key.substr(2), nullptr, 16));
    return true;
  }
  size_t plus = key.find('+');
  auto it = prog.symbols.find(key.substr(0, plus));
  if (it == prog.symbols.end()) {
    why = "no global symbol \"" + key.substr(0, plus) + "\"";
    return false;
  }
  if (it->second.space != SPACE_DATA) {
    why = "\"" + key.substr(0, plus) + "\" is not in data memory";
    return false;
  }
  addr = it->second.addr + (plus == std::string::npos ? 0 : static_cast<uint32_t>(std::stoul(key.substr(plus + 1), nullptr, 0)));
  return true;
}

// Checks one item; the memory addresses it covers go to seen.
std::string check_item(const Expect &e, const Cpu &cpu, const LinkedProgram &prog, std::set<uint32_t> &seen) {
  uint64_t want = std::stoull(e.value, nullptr, e.key == "STEPS" ? 10 : 16);
  if (e.key == "STEPS") return cpu.steps == want ? "" : "STEPS is " + std::to_string(cpu.steps);
  for (const auto &f : kFlags)
    if (e.key == f.name) {
      unsigned got = (cpu.reg(R_STATUS) & f.bit) ? 1 : 0;
      return got == want ? "" : e.key + " is " + std::to_string(got);
    }
  for (const Named &r : registers(cpu))
    if (e.key == r.name) return r.value == want ? "" : e.key + " is " + hexw(r.value, r.digits);
  uint32_t a;
  std::string why;
  if (!memory_key(e.key, prog, a, why)) return why;
  if (a >= cpu.dev.ram_size) return e.key + " lies outside data memory";
  seen.insert(a);
  return cpu.mem[a] == want ? "" : e.key + " (" + addr_text(a) + ") is " + hexw(cpu.mem[a], 2);
}

std::vector<Expect> read_expectations(const std::string &source, std::string &error_text, bool &has_error) {
  std::ifstream in(source);
  std::vector<Expect> v;
  std::string l;
  has_error = false;
  for (long n = 1; std::getline(in, l); ++n) {
    size_t p = l.find_first_not_of(" \t");
    if (p == std::string::npos || l[p] != ';') continue;
    size_t b = l.find_first_not_of(" \t", p + 1);
    std::string body = b == std::string::npos ? "" : l.substr(b);
    if (body.compare(0, 13, "EXPECT-ERROR:") == 0) {
      has_error = true;
      size_t t = body.find_first_not_of(' ', 13);
      error_text = t == std::string::npos ? "" : body.substr(t);
      continue;
    }
    if (body.compare(0, 7, "EXPECT:") != 0) continue;
    std::istringstream items(body.substr(7));
    for (std::string item; items >> item;) {
      size_t eq = item.find('=');
      v.push_back({n, item.substr(0, eq), eq == std::string::npos ? "" : item.substr(eq + 1)});
    }
  }
  return v;
}

}  // namespace

bool sim_check_expect(const std::string &source, const Cpu *cpu, const LinkedProgram *prog,
                      const std::string &run_error, std::ostream &err) {
  if (!std::ifstream(source)) {
    err << "zel18sim: " << source << ": cannot open\n";
    return false;
  }
  std::string error_text;
  bool has_error;
  std::vector<Expect> items = read_expectations(source, error_text, has_error);
  if (has_error || !run_error.empty()) {
    if (!has_error) err << "zel18sim: " << source << ": the run failed: " << run_error << "\n";
    else if (run_error.empty()) err << "zel18sim: " << source << ": expected a failure (" << error_text << "), the run ended well\n";
    else if (run_error.find(error_text) == std::string::npos)
      err << "zel18sim: " << source << ": expected a failure (" << error_text << "), got: " << run_error << "\n";
    else return true;
    return false;
  }
  bool ok = true;
  std::set<uint32_t> seen;
  for (const Expect &e : items) {
    std::string problem;
    try {
      problem = check_item(e, *cpu, *prog, seen);
    } catch (const std::exception &) {
      problem = "cannot read \"" + e.key + "=" + e.value + "\"";
    }
    if (!problem.empty()) {
      err << source << ":" << e.line << ": expected " << e.key << "=" << e.value << ": " << problem << "\n";
      ok = false;
    }
  }
  for (uint32_t a = 0; a < cpu->dev.ram_size; ++a)
    if (cpu->mem[a] && !is_core(*cpu, a) && !seen.count(a)) {
      err << source << ": unexpected byte " << addr_text(a) << ": " << hexw(cpu->mem[a], 2) << "\n";
      ok = false;
    }
  return ok;
}

void sim_run(const std::vector<std::string> &files, const SimDevice &dev, uint64_t steps, std::ostream *trace,
             SimRun &r) {
  if (!sim_link(files, dev, r.prog, r.error)) return;
  r.cpu = std::make_unique<Cpu>(dev, r.prog.prog, r.prog.other, r.prog.data);
  r.cpu->trace = trace;
  r.cpu->run(steps);
  if (r.cpu->stop != STOP_SLEEP && r.cpu->stop != STOP_HALT) {
    char at[16];
    std::snprintf(at, sizeof at, "0x%06X", static_cast<unsigned>(r.cpu->stop_pc));
    r.error = files[0] + ": " + sim_stop_name(r.cpu->stop) + " at " + at + " after " + std::to_string(r.cpu->steps) +
              (r.cpu->steps == 1 ? " instruction" : " instructions");
  }
}
