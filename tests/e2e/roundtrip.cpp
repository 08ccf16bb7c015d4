// Assembly-text round trip. For every source under the given directories that assembles with -A
// without a message, the text is assembled again with -A: that must succeed without a message
// and give the same text back (a fixed point).
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
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string read_all(const fs::path &p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

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

// Runs the assembler in dir; the error stream is collected.
Result assemble(const std::string &aszel18, const fs::path &dir, const std::vector<std::string> &opts,
                const std::string &out, const std::string &src) {
  std::string cmd = "cd '" + dir.string() + "' && '" + aszel18 + "'";
  for (const auto &o : opts) cmd += " '" + o + "'";
  cmd += " -A '-O" + out + "' '" + src + "' </dev/null >/dev/null 2>stderr.txt";
  Result r;
  int st = std::system(cmd.c_str());
  r.status = st != -1 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = read_all(dir / "stderr.txt");
  return r;
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
