// optcheck: the optimizer's behaviour check. Each program is assembled plain and with each
// optimizing option set, every object is run on zel18sim's core, and the final states must
// agree. The assemblies run inside this process, each in a fresh context.
//
//   optcheck [--seeds=<first>-<last>] [--keep=<dir>] [-v] [file.as...]
//
// A file is assembled for the device of its "; RUN:" line or PROCESSOR directive; one that does
// not assemble cleanly, holds several files or expects a failure, or whose plain program does
// not end in sleep or halt, is skipped: it has no behaviour to compare. A generated program
// (gen.cpp, one per seed) must assemble and end. A failure is reported with the commands that
// reproduce it; --keep writes the sources of failing programs into a directory. The last line
// reads "N passed, N failed, N skipped"; the exit status is 1 when any failed.
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/assembly.h"
#include "driver/run.h"
#include "gen.h"
#include "host/os.h"
#include "state.h"

namespace fs = std::filesystem;

namespace {

// A program that runs longer than this does not end (the generated ones take thousands).
constexpr uint64_t kSteps = 1000000;

// The option sets compared with the plain assembly.
const std::vector<std::vector<std::string>> kVariants = {{"-O"}, {"-O", "--opt=space"}, {"-O", "-auto_inline"}};

std::string join(const std::vector<std::string> &v) {
  std::string s;
  for (const std::string &x : v) s += (s.empty() ? "" : " ") + x;
  return s;
}

std::string read_text(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The device a source asks for, or empty; skip is set for sources that are no single program.
std::string source_device(const std::string &text, bool &skip) {
  skip = text.find("EXPECT-ERROR") != std::string::npos || text.find("; FILE:") != std::string::npos ||
         text.find("; HEXFILE:") != std::string::npos;
  std::istringstream in(text);
  std::string device;
  for (std::string l; std::getline(in, l);) {
    size_t at = l.find("-mcpu=");
    if (l.find("; RUN:") != std::string::npos && at != std::string::npos) {
      size_t end = l.find_first_of(" \t", at);
      return l.substr(at + 6, end == std::string::npos ? std::string::npos : end - at - 6);
    }
    std::istringstream words(l);
    std::string w, name;
    words >> w;
    for (char &c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (w == "processor" && words >> name && device.empty()) device = name;
  }
  return device.empty() ? "ZEL18A44" : device;
}

struct Checker {
  std::string self;  // this program's path: the assembler's data area is found from it
  std::string work;  // scratch directory
  std::string keep;  // where failing sources go, or empty
  bool verbose = false;
  std::map<std::string, SimDevice> devices;
  int passed = 0, failed = 0, skipped = 0;

  int assemble(const std::string &device, const std::vector<std::string> &opts, const std::string &src,
               const std::string &obj, std::string &msgs);
  const SimDevice *device(const std::string &name, std::string &why);
  void check(const std::string &name, const std::string &src, bool generated, const std::string &reproduce);
  void fail(const std::string &name, const std::string &src, const std::string &what, const std::string &how);
};

int Checker::assemble(const std::string &device, const std::vector<std::string> &opts, const std::string &src,
                      const std::string &obj, std::string &msgs) {
  Assembly as;
  std::ostringstream err, out;
  as.io.err = &err;
  as.io.out = &out;
  as.host.self_path = self;
  std::vector<std::string> args = {"aszel18", "-mcpu=" + device};
  args.insert(args.end(), opts.begin(), opts.end());
  args.push_back("-O" + obj);
  args.push_back(src);
  int status = run_assembly(as, args);
  msgs = err.str();
  return status;
}

const SimDevice *Checker::device(const std::string &name, std::string &why) {
  auto it = devices.find(name);
  if (it != devices.end()) return &it->second;
  SimDevice d;
  if (!sim_load_device(name, "", self, d, why)) return nullptr;
  return &devices.emplace(name, d).first->second;
}

void Checker::fail(const std::string &name, const std::string &src, const std::string &what, const std::string &how) {
  ++failed;
  std::cout << "FAIL " << name << ": " << what << "\n  reproduce: " << how << "\n";
  if (!keep.empty()) {
    std::error_code ec;
    fs::create_directories(keep, ec);
    fs::copy_file(src, fs::path(keep) / fs::path(src).filename(), fs::copy_options::overwrite_existing, ec);
  }
}

// One program: plain, then every option set.
void Checker::check(const std::string &name, const std::string &src, bool generated, const std::string &reproduce) {
  bool multi;
  std::string dev_name = source_device(read_text(src), multi), why, msgs;
  const SimDevice *dev = device(dev_name, why);
  std::string plain_obj = work + "/plain.obj", base = fs::path(src).filename().string();
  std::string how = reproduce + "aszel18 -mcpu=" + dev_name + " -Oplain.obj " + base;
  if (multi || !dev || assemble(dev_name, {}, src, plain_obj, msgs) != 0 || !msgs.empty()) {
    if (generated) fail(name, src, "the plain program does not assemble: " + (dev ? msgs : why), how);
    else ++skipped;
    if (verbose && !generated) std::cout << "skip " << name << ": no single program that assembles cleanly\n";
    return;
  }
  SimRun plain;
  sim_run({plain_obj}, *dev, kSteps, nullptr, plain);
  if (!plain.error.empty()) {
    if (generated) fail(name, src, "the plain program does not end: " + plain.error, how + " && zel18sim plain.obj");
    else ++skipped;
    if (verbose && !generated) std::cout << "skip " << name << ": " << plain.error << "\n";
    return;
  }
  for (const auto &opts : kVariants) {
    std::string obj = work + "/opt.obj", with = join(opts);
    std::string rep = how + " && aszel18 -mcpu=" + dev_name + " " + with + " -Oopt.obj " + base +
                      " && zel18sim plain.obj --compare opt.obj";
    if (assemble(dev_name, opts, src, obj, msgs) != 0) {
      fail(name, src, "with " + with + " the assembly fails: " + msgs, rep);
      return;
    }
    SimRun opt;
    sim_run({obj}, *dev, kSteps, nullptr, opt);
    std::string diff = opt.error.empty() ? sim_compare(*plain.cpu, *opt.cpu) : opt.error;
    if (!diff.empty()) {
      fail(name, src, "with " + with + ": " + diff, rep);
      return;
    }
  }
  ++passed;
  if (verbose) std::cout << "pass " << name << " (" << plain.cpu->steps << " instructions)\n";
}

bool parse_seeds(const std::string &s, uint64_t &first, uint64_t &last) {
  size_t dash = s.find('-');
  auto num = [](const std::string &t, uint64_t &v) {
    if (t.empty() || t.size() > 19 || t.find_first_not_of("0123456789") != std::string::npos) return false;
    v = std::stoull(t);
    return true;
  };
  if (dash == std::string::npos) return num(s, first) && num(s, last);
  return num(s.substr(0, dash), first) && num(s.substr(dash + 1), last) && first <= last;
}

}  // namespace

int main(int argc, char **argv) {
  Checker c;
  c.self = os_self_path(argc > 0 ? argv[0] : nullptr);
  std::vector<std::string> files;
  uint64_t first = 1, last = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a.compare(0, 8, "--seeds=") == 0) {
      if (!parse_seeds(a.substr(8), first, last)) {
        std::cerr << "optcheck: bad seed range \"" << a.substr(8) << "\"\n";
        return 1;
      }
    } else if (a.compare(0, 7, "--keep=") == 0) {
      c.keep = a.substr(7);
    } else if (a == "-v") {
      c.verbose = true;
    } else if (!a.empty() && a[0] == '-') {
      std::cerr << "optcheck: unknown option " << a << "\nusage: optcheck [--seeds=<first>-<last>] [--keep=<dir>] [-v] [file.as...]\n";
      return 1;
    } else {
      files.push_back(a);
    }
  }
  char tmpl[] = "/tmp/optcheck-XXXXXX";
  if (!mkdtemp(tmpl)) {
    std::cerr << "optcheck: cannot make a scratch directory\n";
    return 1;
  }
  c.work = tmpl;
  for (const std::string &f : files) c.check(f, f, false, "");
  for (uint64_t s = first; s <= last && s >= first; ++s) {
    std::string src = c.work + "/g" + std::to_string(s) + ".as";
    std::ofstream(src) << gen_program(s);
    c.check("seed " + std::to_string(s), src, true, "gen_prog " + std::to_string(s) + " > g" + std::to_string(s) + ".as && ");
    if (s == UINT64_MAX) break;
  }
  std::error_code ec;
  fs::remove_all(c.work, ec);
  std::cout << c.passed << " passed, " << c.failed << " failed, " << c.skipped << " skipped\n";
  return c.failed ? 1 : 0;
}
