// End-to-end case runner. Each case is a source file carrying its own runs and expectations
// in comment lines:
//
//   ; RUN: <arguments>          run the assembler (or "; RUN <tool>: ..." a tool beside it)
//   ; ENV: NAME=value            environment of the run (NTX_* are cleared otherwise)
//   ; STDIN: text                a line of standard input (STDIN-NOEOL: without its line feed)
//   ; EXIT: n                    expected exit status (default 0)
//   ; ERR: text                  the error stream, line by line, exactly
//   ; OUT: text                  standard output, line by line, exactly (checked when given)
//   ; EXISTS: name / ABSENT: name   files after the run
//   ; FILE: name                 an auxiliary file; its lines follow as "; | text"
//   ; HEXFILE: name              a binary auxiliary file, its lines as "; | bytes": pairs of hex
//                                digits, "text" for the bytes of a text, # to the line's end a comment
//   ; OUTFILE: name              after a RUN: the exact text of a file that the run writes, its
//                                lines following as "; | text"
//   ... ; ERROR n / ; WARNING n  on a source line: that message is expected on that line
//
// Substitutions: %% a percent sign, %s the case file's name, %t the run directory, %rep(N,text) N copies of text.
// Runs happen in a fresh directory holding the case file and its auxiliary files.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Run {
  std::string tool;  // empty: the assembler
  std::string args;
  std::vector<std::pair<std::string, std::string>> env;
  std::string stdin_text;
  int exit_status = 0;
  std::vector<std::string> err, out;
  bool check_out = false, check_err = false;
  std::vector<std::string> exists, absent;
  std::vector<std::pair<std::string, std::string>> outfiles;  // name, expected text
};

struct Case {
  std::string name;
  std::vector<Run> runs;
  std::map<std::string, std::string> files;
  std::set<std::string> hex_files;  // files written from hex text
  std::vector<std::pair<long, std::string>> markers;  // line, "ERROR n"/"WARNING n"
};

std::string read_all(const fs::path &p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::vector<std::string> split_lines(const std::string &s) {
  std::vector<std::string> v;
  std::string cur;
  for (char c : s) {
    if (c == '\n') {
      v.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) v.push_back(cur);
  return v;
}

std::string substitute(const std::string &s, const std::string &src, const std::string &dir) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 1 < s.size()) {
      if (s[i + 1] == '%') {
        out.push_back('%');
        ++i;
        continue;
      }
      if (s[i + 1] == 's') {
        out += src;
        ++i;
        continue;
      }
      if (s[i + 1] == 't') {
        out += dir;
        ++i;
        continue;
      }
      if (s.compare(i, 5, "%rep(") == 0) {
        size_t close = s.find(')', i);
        size_t comma = s.find(',', i);
        if (close != std::string::npos && comma != std::string::npos && comma < close) {
          long n = std::atol(s.substr(i + 5, comma - i - 5).c_str());
          std::string unit = s.substr(comma + 1, close - comma - 1);
          for (long k = 0; k < n; ++k) out += unit;
          i = close;
          continue;
        }
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

std::vector<std::string> split_args(const std::string &s) {
  std::vector<std::string> v;
  std::string cur;
  bool have = false;
  char q = 0;
  for (char c : s) {
    if (q) {
      if (c == q) q = 0;
      else cur.push_back(c);
    } else if (c == '"' || c == '\'') {
      q = c;
      have = true;
    } else if (c == ' ' || c == '\t') {
      if (have) v.push_back(cur);
      cur.clear();
      have = false;
    } else {
      cur.push_back(c);
      have = true;
    }
  }
  if (have) v.push_back(cur);
  return v;
}

bool parse_case(const fs::path &path, Case &c, std::string &why) {
  c.name = path.filename().string();
  std::string text = read_all(path);
  auto lines = split_lines(text);
  std::string cur_file;
  std::string *cur_expect = nullptr;  // expected text of an OUTFILE being read
  static const std::regex marker(R"(;\s*(ERROR|WARNING)\s+(\d+)\s*$)");
  for (size_t k = 0; k < lines.size(); ++k) {
    std::string l = lines[k];
    if (!l.empty() && l.back() == '\r') l.pop_back();
    std::smatch m;
    size_t p = l.find_first_not_of(" \t");
    bool directive = p != std::string::npos && l[p] == ';';
    std::string body = directive ? l.substr(p + 1) : "";
    if (!body.empty() && body[0] == ' ') body.erase(0, 1);
    auto starts = [&](const char *kw) { return body.compare(0, std::strlen(kw), kw) == 0; };
    auto value = [&](const char *kw) {
      std::string v = body.substr(std::strlen(kw));
      if (!v.empty() && v[0] == ' ') v.erase(0, 1);
      return v;
    };
    if (directive && (starts("| ") || body == "|") && (cur_expect || !cur_file.empty())) {
      std::string &text = cur_expect ? *cur_expect : c.files[cur_file];
      text += body == "|" ? "\n" : body.substr(2) + "\n";
      continue;
    }
    if (directive && starts("RUN")) {
      cur_expect = nullptr;
      size_t colon = body.find(':');
      if (colon == std::string::npos) {
        why = "RUN without ':'";
        return false;
      }
      Run r;
      std::string tool = body.substr(3, colon - 3);
      tool.erase(0, tool.find_first_not_of(' '));
      r.tool = tool;
      r.args = body.substr(colon + 1);
      c.runs.push_back(r);
      continue;
    }
    if (directive && starts("OUTFILE:") && !c.runs.empty()) {
      cur_file.clear();
      c.runs.back().outfiles.emplace_back(value("OUTFILE:"), "");
      cur_expect = &c.runs.back().outfiles.back().second;
      continue;
    }
    if (directive && starts("FILE:")) {
      cur_expect = nullptr;
      cur_file = value("FILE:");
      c.files[cur_file];
      continue;
    }
    if (directive && starts("HEXFILE:")) {
      cur_expect = nullptr;
      cur_file = value("HEXFILE:");
      c.files[cur_file];
      c.hex_files.insert(cur_file);
      continue;
    }
    Run *r = c.runs.empty() ? nullptr : &c.runs.back();
    if (directive && r) {
      if (starts("ENV:")) {
        std::string v = value("ENV:");
        size_t eq = v.find('=');
        r->env.emplace_back(v.substr(0, eq), eq == std::string::npos ? "" : v.substr(eq + 1));
        continue;
      }
      if (starts("STDIN:")) {
        r->stdin_text += value("STDIN:") + "\n";
        continue;
      }
      if (starts("STDIN-NOEOL:")) {
        r->stdin_text += value("STDIN-NOEOL:");
        continue;
      }
      if (starts("EXIT:")) {
        r->exit_status = std::atoi(value("EXIT:").c_str());
        continue;
      }
      if (starts("ERR:")) {
        r->err.push_back(value("ERR:"));
        r->check_err = true;
        continue;
      }
      if (starts("OUT:")) {
        r->out.push_back(value("OUT:"));
        r->check_out = true;
        continue;
      }
      if (starts("EXISTS:")) {
        r->exists.push_back(value("EXISTS:"));
        continue;
      }
      if (starts("ABSENT:")) {
        r->absent.push_back(value("ABSENT:"));
        continue;
      }
    }
    if (std::regex_search(l, m, marker) && !(directive && p == l.find(';')))
      c.markers.emplace_back(static_cast<long>(k + 1), m[2].str());
  }
  if (c.runs.empty()) {
    why = "no RUN line";
    return false;
  }
  return true;
}

struct Result {
  int status = -1;
  std::string out, err;
  bool timed_out = false;
};

Result execute(const std::string &prog, const std::vector<std::string> &args, const Run &r, const fs::path &dir) {
  Result res;
  fs::path in = dir / ".stdin", out = dir / ".stdout", err = dir / ".stderr";
  { std::ofstream(in, std::ios::binary) << r.stdin_text; }
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    int fi = open(in.c_str(), O_RDONLY), fo = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
        fe = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fi, 0), dup2(fo, 1), dup2(fe, 2);
    unsetenv("NTX_ERR_FORMAT"), unsetenv("NTX_WARN_FORMAT"), unsetenv("NTX_MSG_FORMAT");
    for (const auto &[k, v] : r.env) setenv(k.c_str(), v.c_str(), 1);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(prog.c_str()));
    for (const auto &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(prog.c_str(), argv.data());
    _exit(127);
  }
  auto start = std::chrono::steady_clock::now();
  int st = 0;
  for (;;) {
    pid_t w = waitpid(pid, &st, WNOHANG);
    if (w == pid) break;
    if (std::chrono::steady_clock::now() - start > std::chrono::seconds(120)) {
      kill(pid, SIGKILL);
      waitpid(pid, &st, 0);
      res.timed_out = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  res.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + (WIFSIGNALED(st) ? WTERMSIG(st) : 0);
  res.out = read_all(out);
  res.err = read_all(err);
  fs::remove(in), fs::remove(out), fs::remove(err);
  return res;
}

// Reports the differences of two line lists; true when equal.
bool compare_lines(const char *what, const std::vector<std::string> &want, const std::vector<std::string> &got,
                   std::ostream &os) {
  if (want == got) return true;
  os << "    " << what << " differs (- expected, + actual):\n";
  size_t n = std::max(want.size(), got.size());
  for (size_t i = 0; i < n; ++i) {
    bool w = i < want.size(), g = i < got.size();
    if (w && g && want[i] == got[i]) {
      os << "      " << want[i].substr(0, 300) << "\n";
      continue;
    }
    if (w) os << "    - " << want[i].substr(0, 300) << "\n";
    if (g) os << "    + " << got[i].substr(0, 300) << "\n";
  }
  return false;
}

// The bytes of a HEXFILE body; false on a character that is not part of the notation.
bool decode_hex(const std::string &text, std::string &bytes) {
  auto digit = [](char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r') continue;
    if (ch == '#') {
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    if (ch == '"') {
      size_t close = text.find('"', i + 1);
      if (close == std::string::npos) return false;
      bytes += text.substr(i + 1, close - i - 1);
      i = close;
      continue;
    }
    if (i + 1 >= text.size() || digit(ch) < 0 || digit(text[i + 1]) < 0) return false;
    bytes.push_back(static_cast<char>(digit(ch) * 16 + digit(text[i + 1])));
    ++i;
  }
  return true;
}

bool run_case(const fs::path &path, const fs::path &bindir, const std::string &assembler, std::ostream &os) {
  Case c;
  std::string why;
  if (!parse_case(path, c, why)) {
    os << "  bad case: " << why << "\n";
    return false;
  }
  char tmpl[] = "/tmp/aszel18-e2e-XXXXXX";
  if (!mkdtemp(tmpl)) {
    os << "  cannot make a directory\n";
    return false;
  }
  fs::path dir = tmpl;
  fs::copy_file(path, dir / c.name);
  for (const auto &[name, body] : c.files) {
    fs::path p = dir / name;
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::string text = substitute(body, c.name, dir.string());
    if (c.hex_files.count(name)) {
      std::string bytes;
      if (!decode_hex(text, bytes)) {
        os << "  bad case: HEXFILE " << name << " is not hex\n";
        std::error_code ec;
        fs::remove_all(dir, ec);
        return false;
      }
      text = bytes;
    }
    std::ofstream(p, std::ios::binary) << text;
  }
  bool ok = true;
  int n = 0;
  for (const auto &r : c.runs) {
    ++n;
    std::string prog = r.tool.empty() ? assembler : (bindir / r.tool).string();
    auto args = split_args(substitute(r.args, c.name, dir.string()));
    Run sub = r;
    sub.stdin_text = substitute(r.stdin_text, c.name, dir.string());
    Result res = execute(prog, args, sub, dir);
    std::ostringstream msgs;
    bool good = true;
    if (res.timed_out) {
      msgs << "    timed out\n";
      good = false;
    }
    if (res.status != r.exit_status) {
      msgs << "    exit status " << res.status << ", expected " << r.exit_status << "\n";
      good = false;
    }
    auto errl = split_lines(res.err);
    std::vector<std::string> want_err;
    for (const auto &e : r.err) want_err.push_back(substitute(e, c.name, dir.string()));
    if (r.check_err || c.markers.empty() || n > 1) {
      good &= compare_lines("error stream", want_err, errl, msgs);
    } else {
      // Inline markers: each expected number on its line, nothing else numbered.
      static const std::regex numbered(R"(^([^:]*): (\d+): \((\d+)\) )");
      std::vector<std::string> want, got;
      for (const auto &[line, num] : c.markers) want.push_back(std::to_string(line) + ": " + num);
      for (const auto &e : errl) {
        std::smatch m;
        if (std::regex_search(e, m, numbered)) got.push_back(m[2].str() + ": " + m[3].str());
        else got.push_back("unnumbered: " + e);
      }
      std::sort(want.begin(), want.end());
      std::sort(got.begin(), got.end());
      good &= compare_lines("messages by line", want, got, msgs);
    }
    if (r.check_out) {
      std::vector<std::string> want_out;
      for (const auto &e : r.out) want_out.push_back(substitute(e, c.name, dir.string()));
      good &= compare_lines("standard output", want_out, split_lines(res.out), msgs);
    }
    for (const auto &f : r.exists)
      if (!fs::exists(dir / f)) {
        msgs << "    missing file " << f << "\n";
        good = false;
      }
    for (const auto &f : r.absent)
      if (fs::exists(dir / f)) {
        msgs << "    unexpected file " << f << "\n";
        good = false;
      }
    for (const auto &[name, text] : r.outfiles) {
      if (!fs::exists(dir / name)) {
        msgs << "    missing file " << name << "\n";
        good = false;
        continue;
      }
      std::string what = "file " + name;
      good &= compare_lines(what.c_str(), split_lines(substitute(text, c.name, dir.string())),
                            split_lines(read_all(dir / name)), msgs);
    }
    if (!good) {
      os << "  run " << n << ": " << (r.tool.empty() ? "aszel18" : r.tool) << " " << r.args.substr(0, 200) << "\n"
         << msgs.str();
      ok = false;
    }
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::cerr << "usage: e2e_runner <assembler> <cases directory> [name filter]\n";
    return 2;
  }
  std::string assembler = fs::absolute(argv[1]).string();
  fs::path bindir = fs::path(assembler).parent_path();
  std::string filter = argc > 3 ? argv[3] : "";
  std::vector<fs::path> cases;
  for (const auto &e : fs::recursive_directory_iterator(argv[2]))
    if (e.is_regular_file() && e.path().extension() == ".as" &&
        (filter.empty() || e.path().filename().string().find(filter) != std::string::npos))
      cases.push_back(e.path());
  std::sort(cases.begin(), cases.end());
  int passed = 0, failed = 0;
  for (const auto &p : cases) {
    std::ostringstream os;
    if (run_case(p, bindir, assembler, os)) {
      ++passed;
    } else {
      ++failed;
      std::cout << "FAIL " << fs::relative(p, argv[2]).string() << "\n" << os.str();
    }
  }
  std::cout << passed << " passed, " << failed << " failed\n";
  return failed ? 1 : 0;
}
