// Assembly-text round trip. For every source under the given directories that assembles with -A
// without a message, the text is assembled again with -A: that must succeed without a message
// and give the same text back (a fixed point). The source and its text must also give object
// files with the same code, data, relocations and symbols: their dumps are compared as sets of
// lines, leaving out line-number and file-name symbols and the lengths of symbol records.
//
// The device and the options that change the text (-H, --xinst, -no_trans) come from the
// source's first "; RUN:" line; a source without one names its device by PROCESSOR (else
// ZEL18A44). Sources that report anything on the first run (cases about errors, or that need
// files of their own) are skipped.
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "../common/textio.h"

namespace fs = std::filesystem;

namespace {

std::string lower(std::string s) {
  for (char &c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The options of the source's first assembler RUN line that matter here.
std::vector<std::string> options_of(const std::string &text) {
  std::vector<std::string> opts;
  std::istringstream in(text);
  std::string line;
  bool have_device = false;
  bool run_seen = false;
  while (std::getline(in, line)) {
    size_t p = line.find_first_not_of(" \t");
    if (p == std::string::npos) continue;
    if (!run_seen && line.compare(p, 6, "; RUN:") == 0) {
      run_seen = true;
      std::istringstream args(line.substr(p + 6));
      for (std::string a; args >> a;) {
        if (a.rfind("-mcpu=", 0) == 0) have_device = true;
        if (a.rfind("-mcpu=", 0) == 0 || a == "-H" || a == "--xinst" || a == "-no_trans") opts.push_back(a);
      }
      continue;
    }
    if (!have_device && !run_seen) {
      std::istringstream words(line);
      std::string w, dev;
      if (words >> w && lower(w) == "processor" && words >> dev) {
        opts.push_back("-mcpu=" + dev);
        have_device = true;
      }
    }
  }
  if (!have_device) opts.push_back("-mcpu=ZEL18A44");
  return opts;
}

struct Result {
  int status = -1;
  std::string err;
};

// Runs the assembler in dir (-A unless an object file is asked for); the error stream is
// collected.
Result assemble(const std::string &aszel18, const fs::path &dir, const std::vector<std::string> &opts,
                const std::string &out, const std::string &src, bool object = false) {
  std::string cmd = "cd '" + dir.string() + "' && '" + aszel18 + "'";
  for (const auto &o : opts) cmd += " '" + o + "'";
  cmd += std::string(object ? "" : " -A") + " '-O" + out + "' '" + src + "' </dev/null >/dev/null 2>stderr.txt";
  Result r;
  int st = std::system(cmd.c_str());
  r.status = st != -1 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = read_all(dir / "stderr.txt");
  return r;
}

// The dump of an object file as a sorted list of lines, without what only positions decide.
std::vector<std::string> object_lines(const std::string &dumper, const fs::path &dir, const std::string &obj) {
  std::string cmd = "cd '" + dir.string() + "' && '" + dumper + "' '" + obj + "' >dump.txt 2>&1";
  std::vector<std::string> lines;
  if (std::system(cmd.c_str()) != 0) lines.push_back("(dump failed)");
  std::istringstream in(read_all(dir / "dump.txt"));
  for (std::string l; std::getline(in, l);) {
    if (l.find("type=4(line)") != std::string::npos || l.find("type=5(file)") != std::string::npos) continue;
    if (l.rfind("SYM len=", 0) == 0) continue;
    lines.push_back(l);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The first differing line of two texts, for the report.
std::string first_difference(const std::string &a, const std::string &b) {
  std::istringstream x(a), y(b);
  std::string la, lb;
  for (int n = 1;; ++n) {
    bool ga = static_cast<bool>(std::getline(x, la)), gb = static_cast<bool>(std::getline(y, lb));
    if (!ga && !gb) return "texts differ only in their ends";
    if (ga != gb || la != lb)
      return "line " + std::to_string(n) + ":\n      first:  " + (ga ? la : "(end)") + "\n      second: " + (gb ? lb : "(end)");
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::cerr << "usage: asm_roundtrip <assembler> <directory or source>...\n";
    return 2;
  }
  std::string aszel18 = fs::absolute(argv[1]).string();
  std::string dumper = (fs::path(aszel18).parent_path() / "zel18dump").string();
  std::vector<fs::path> sources;
  for (int i = 2; i < argc; ++i) {
    fs::path p = argv[i];
    if (fs::is_regular_file(p)) {
      sources.push_back(p);
      continue;
    }
    if (!fs::is_directory(p)) continue;
    for (const auto &e : fs::recursive_directory_iterator(p))
      if (e.is_regular_file() && e.path().extension() == ".as") sources.push_back(e.path());
  }
  std::sort(sources.begin(), sources.end());

  int passed = 0, failed = 0, skipped = 0;
  for (const auto &src : sources) {
    char tmpl[] = "/tmp/aszel18-roundtrip-XXXXXX";
    if (!mkdtemp(tmpl)) {
      std::cerr << "cannot make a directory\n";
      return 2;
    }
    fs::path dir = tmpl;
    std::string text = read_all(src);
    std::string name = src.filename().string();
    fs::copy_file(src, dir / name);
    auto opts = options_of(text);

    Result first = assemble(aszel18, dir, opts, "first.opt", name);
    if (first.status != 0 || !first.err.empty()) {
      ++skipped;
    } else {
      Result second = assemble(aszel18, dir, opts, "second.opt", "first.opt");
      std::string a = read_all(dir / "first.opt"), b = read_all(dir / "second.opt");
      if (second.status != 0 || !second.err.empty()) {
        ++failed;
        std::cout << "FAIL " << src.string() << ": the text does not assemble cleanly (status " << second.status
                  << ")\n" << second.err;
      } else if (a != b) {
        ++failed;
        std::cout << "FAIL " << src.string() << ": the text is not reproduced, " << first_difference(a, b) << "\n";
      } else if (assemble(aszel18, dir, opts, "source.obj", name, true).status != 0) {
        ++passed;  // the source reports at emission (MESSG, ERROR): only its text is compared
      } else if (assemble(aszel18, dir, opts, "text.obj", "first.opt", true).status != 0) {
        ++failed;
        std::cout << "FAIL " << src.string() << ": the text gives no object file\n";
      } else if (object_lines(dumper, dir, "source.obj") != object_lines(dumper, dir, "text.obj")) {
        auto x = object_lines(dumper, dir, "source.obj"), y = object_lines(dumper, dir, "text.obj");
        std::vector<std::string> only_x, only_y;
        std::set_difference(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(only_x));
        std::set_difference(y.begin(), y.end(), x.begin(), x.end(), std::back_inserter(only_y));
        ++failed;
        std::cout << "FAIL " << src.string() << ": the text's object file differs\n";
        for (size_t i = 0; i < only_x.size() && i < 5; ++i) std::cout << "      source: " << only_x[i] << "\n";
        for (size_t i = 0; i < only_y.size() && i < 5; ++i) std::cout << "      text:   " << only_y[i] << "\n";
      } else {
        ++passed;
      }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::cout << passed << " passed, " << failed << " failed, " << skipped << " skipped\n";
  return failed || passed == 0 ? 1 : 0;
}
