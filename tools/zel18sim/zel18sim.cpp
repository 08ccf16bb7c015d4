// zel18sim: links object files written by aszel18 and runs the program on a simulated ZEL18
// core from address 0 until it executes sleep or halt, then prints the final state.
//
//   zel18sim [options] file.obj... [--compare file.obj...]...
//
//   -mcpu=<device>      the device (default: the one the first object file was assembled for)
//   --chipinfo=<file>   read the device from this chip-info file instead of the data area
//   --steps=<n>         stop with a failure after n instructions (default 10000000)
//   -s <name>[:<n>]     also print n bytes (default 1) of the global symbol name
//   --expect=<source>   check the final state against the source's "; EXPECT:" lines
//   --compare           the files after it are another program whose final state must equal
//                       the first one's (several --compare groups may follow)
//   --map               print where the psects were placed
//   --trace             print every instruction as it executes
//   -q                  print no state
//
// Exit status 0 when the run ended well (and agreed with the expectations or the other
// programs), 1 otherwise, with a message on the error stream.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cpu.h"
#include "host/os.h"
#include "link.h"
#include "state.h"

namespace {

struct Options {
  std::string device, chipinfo, expect;
  uint64_t steps = 10000000;
  std::vector<std::pair<std::string, unsigned>> show;  // -s name:count
  bool map = false, trace = false, quiet = false;
  std::vector<std::vector<std::string>> programs{{}};
};

const char kUsage[] =
    "usage: zel18sim [-mcpu=<device>] [--chipinfo=<file>] [--steps=<n>] [-s <name>[:<n>]] [--expect=<source>]\n"
    "                [--map] [--trace] [-q] file.obj... [--compare file.obj...]...\n";

bool parse_count(const std::string &s, uint64_t &n, uint64_t max) {
  if (s.empty() || s.size() > 19 || s.find_first_not_of("0123456789") != std::string::npos) return false;
  n = std::stoull(s);
  return n >= 1 && n <= max;
}

// Reads the command line; a problem is returned as its message.
std::string parse_args(int argc, char **argv, Options &o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    uint64_t n;
    if (a.compare(0, 6, "-mcpu=") == 0 && a.size() > 6) o.device = a.substr(6);
    else if (a.compare(0, 11, "--chipinfo=") == 0) o.chipinfo = a.substr(11);
    else if (a.compare(0, 9, "--expect=") == 0) o.expect = a.substr(9);
    else if (a.compare(0, 8, "--steps=") == 0) {
      if (!parse_count(a.substr(8), n, UINT64_MAX / 2)) return "bad step limit \"" + a.substr(8) + "\"";
      o.steps = n;
    } else if (a == "-s") {
      if (++i >= argc) return "-s needs a symbol name";
      std::string s = argv[i];
      size_t colon = s.find(':');
      n = 1;
      if (colon != std::string::npos && !parse_count(s.substr(colon + 1), n, 4096)) return "bad byte count in \"" + s + "\"";
      o.show.emplace_back(s.substr(0, colon), static_cast<unsigned>(n));
    } else if (a == "--compare") {
      if (o.programs.back().empty()) return "--compare needs object files before it";
      o.programs.emplace_back();
    } else if (a == "--map") o.map = true;
    else if (a == "--trace") o.trace = true;
    else if (a == "-q") o.quiet = true;
    else if (!a.empty() && a[0] == '-') return "unknown option " + a;
    else o.programs.back().push_back(a);
  }
  if (o.programs.back().empty()) return o.programs.size() > 1 ? "--compare needs object files after it" : "no object file";
  return "";
}

void print_map(const LinkedProgram &p) {
  static const char *spaces[] = {"program", "data", "other"};
  for (const PlacedPsect &ps : p.psects) {
    char line[160];
    std::snprintf(line, sizeof line, "psect %-20s class %-10s %-7s 0x%06X size 0x%X\n", ps.name.c_str(),
                  ps.cls.c_str(), spaces[ps.space], static_cast<unsigned>(ps.base), static_cast<unsigned>(ps.size));
    std::cout << line;
  }
}

void print_symbols(const Options &o, const SimRun &r) {
  for (const auto &[name, count] : o.show) {
    auto it = r.prog.symbols.find(name);
    if (it == r.prog.symbols.end()) {
      std::cout << name << ": no such global symbol\n";
      continue;
    }
    char b[16];
    std::snprintf(b, sizeof b, "0x%03X", static_cast<unsigned>(it->second.addr));
    if (it->second.space != SPACE_DATA) {
      std::cout << name << ": " << (it->second.space < 0 ? "the value " : "program address ") << b << "\n";
      continue;
    }
    std::cout << name << " (" << b << "):";
    for (unsigned k = 0; k < count; ++k) {
      uint32_t a = it->second.addr + k;
      std::snprintf(b, sizeof b, " %02X", a < r.cpu->dev.ram_size ? r.cpu->mem[a] : 0);
      std::cout << b;
    }
    std::cout << "\n";
  }
}

int compare_programs(const Options &o, const SimDevice &dev, const SimRun &first) {
  int status = 0;
  for (size_t k = 1; k < o.programs.size(); ++k) {
    SimRun other;
    sim_run(o.programs[k], dev, o.steps, o.trace ? &std::cout : nullptr, other);
    const std::string &name = o.programs[k][0];
    if (!other.error.empty()) {
      std::cerr << "zel18sim: " << other.error << "\n";
      status = 1;
      continue;
    }
    std::string diff = sim_compare(*first.cpu, *other.cpu);
    if (!diff.empty()) {
      std::cerr << "zel18sim: " << name << " ends unlike " << o.programs[0][0] << ": " << diff << "\n";
      status = 1;
    } else if (!o.quiet) {
      std::cout << name << ": same final state after " << other.cpu->steps << " instructions (" << first.cpu->steps
                << ")\n";
    }
  }
  return status;
}

}  // namespace

int main(int argc, char **argv) {
  Options o;
  if (std::string why = parse_args(argc, argv, o); !why.empty()) {
    std::cerr << "zel18sim: " << why << "\n" << kUsage;
    return 1;
  }
  if (o.device.empty()) o.device = sim_object_machine(o.programs[0][0]);
  if (o.device.empty()) o.device = "ZEL18A44";
  SimDevice dev;
  std::string why;
  if (!sim_load_device(o.device, o.chipinfo, os_self_path(argc > 0 ? argv[0] : nullptr), dev, why)) {
    std::cerr << "zel18sim: device " << o.device << ": " << why << "\n";
    return 1;
  }
  SimRun first;
  sim_run(o.programs[0], dev, o.steps, o.trace ? &std::cout : nullptr, first);
  if (first.cpu && o.map) print_map(first.prog);
  if (!o.expect.empty()) {
    if (!o.quiet && first.cpu) sim_print_state(*first.cpu, std::cout);
    return sim_check_expect(o.expect, first.cpu.get(), &first.prog, first.error, std::cerr) ? 0 : 1;
  }
  if (!first.error.empty()) {
    if (first.cpu && !o.quiet) sim_print_state(*first.cpu, std::cout);
    std::cerr << "zel18sim: " << first.error << "\n";
    return 1;
  }
  if (o.programs.size() > 1) return compare_programs(o, dev, first);
  if (!o.quiet) sim_print_state(*first.cpu, std::cout);
  print_symbols(o, first);
  return 0;
}
