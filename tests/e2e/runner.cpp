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
//   ; FILES: name ...            after the run the directory holds exactly these files
//   ; FSIZE: n                   no file the run writes may grow beyond n bytes (a full disk)
//   ; FILE: name                 an auxiliary file; its lines follow as "; | text"
//   ; HEXFILE: name              a binary auxiliary file, its lines as "; | bytes": pairs of hex
//                                digits, "text" for the bytes of a text, # to the line's end a comment
//   ; OUTFILE: name              after a RUN: the exact text of a file that the run writes, its
//                                lines following as "; | text"
//   ; OUTPSECT: name psect       the same for one psect's statements in assembly text: the lines
//                                after its "psect" line up to a blank line or the core register
//                                equates that end the text
//   ; WORDS: name.obj            after a RUN of the assembler with -V: the object's words, found
//                                line by line through its line-number symbols, against the ";="
//                                lines; every line of the case that encodes something must say so
//   ; WORDS tag: name.obj        the same, a line's ";=tag" taking the place of its ";="
//   ... ; ERROR n / ; WARNING n  on a source line: that message is expected on that line
//   ... ;= 0E12 F000             on a source line: what it encodes, as words of four hex digits
//                                (little-endian) or bytes of two, then its relocation entries
//                                as the dumper prints them without offset and type, led by their
//                                byte offset in the line: [+0 psect bytes=1 target="ram"]. A
//                                line of ";=" alone continues the line above. The fill of an
//                                ALIGN counts to the line before it.
//
// Substitutions: %% a percent sign, %s the case file's name, %t the run directory, %rep(N,text) N copies of text,
// %lines(N,text) N lines of text (its parentheses paired; in ERR and OUT too),
// %equates(H) the core register equates at the end of an assembly text for core registers at page H
// (F or 3F), %equates(H,N) the same as listing lines numbered from N, %equates(H,N,I,K) K of those
// lines from the I-th, %rows(A,N,B) the dumper's rows of N bytes B from the hex address A.
// Runs happen in a fresh directory holding the case file and its auxiliary files.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
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

#include "../common/textio.h"

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
  std::string files;     // FILES: the whole directory, names sorted and separated by blanks
  bool check_files = false;
  long fsize = -1;       // FSIZE: the file size limit
  struct OutFile {
    std::string name, psect, text;  // psect: only that psect's statements are compared
  };
  std::vector<OutFile> outfiles;
  std::string words_tag, words_file;  // WORDS: which ";=" lines, and the object to check
};

// What one source line encodes: its bytes and its relocation entries ("+offset text").
struct LineCode {
  std::string bytes;
  std::vector<std::string> relocs;
  bool operator==(const LineCode &) const = default;
};

struct Case {
  std::string name;
  std::vector<Run> runs;
  std::map<std::string, std::string> files;
  std::set<std::string> hex_files;  // files written from hex text
  std::vector<std::pair<long, std::string>> markers;  // line, "ERROR n"/"WARNING n"
  std::map<long, std::map<std::string, std::pair<LineCode, std::string>>> words;  // line, tag: code, as written
};

// The core register equates that end every assembly text, in their order, for the core
// registers at page H (hex: "F" or "3F"); with ",N" as the lines of a listing numbered from N;
// with ",N,I,K" only K of them from the I-th (counting from 0), where pages break the list.
std::string core_equates(const std::string &arg) {
  static const std::pair<const char *, unsigned> regs[] = {
      {"tosu", 0xFF},     {"tosh", 0xFE},     {"tosl", 0xFD},     {"stkptr", 0xFC},   {"pclatu", 0xFB},
      {"pclath", 0xFA},   {"pcl", 0xF9},      {"tblptru", 0xF8},  {"tblptrh", 0xF7},  {"tblptrl", 0xF6},
      {"tablat", 0xF5},   {"prodh", 0xF4},    {"prodl", 0xE8},    {"indf0", 0xEF},    {"postinc0", 0xEE},
      {"postdec0", 0xED}, {"preinc0", 0xEC},  {"plusw0", 0xEB},   {"fsr0h", 0xEA},    {"fsr0l", 0xE9},
      {"wreg", 0xF3},     {"indf1", 0xE7},    {"postinc1", 0xE6}, {"postdec1", 0xE5}, {"preinc1", 0xE4},
      {"plusw1", 0xE3},   {"fsr1h", 0xE2},    {"fsr1l", 0xE1},    {"bsr", 0xE0},      {"indf2", 0xDF},
      {"postinc2", 0xDE}, {"postdec2", 0xDD}, {"preinc2", 0xDC},  {"plusw2", 0xDB},   {"fsr2h", 0xDA},
      {"fsr2l", 0xD9},    {"status", 0xD8},
  };
  std::vector<std::string> a = {""};
  for (char c : arg) {
    if (c == ',') a.emplace_back();
    else a.back().push_back(c);
  }
  long line = a.size() > 1 ? std::atol(a[1].c_str()) : 0;
  size_t from = a.size() > 2 ? std::strtoul(a[2].c_str(), nullptr, 10) : 0,
         count = a.size() > 3 ? std::strtoul(a[3].c_str(), nullptr, 10) : std::size(regs);
  const std::string &page = a[0];
  std::string out;
  char buf[80];
  for (size_t i = from; i < std::min(from + count, std::size(regs)); ++i) {
    const auto &[name, low] = regs[i];
    if (i > from) out += '\n';
    if (line) std::snprintf(buf, sizeof buf, "%6ld%27s", line++, "");
    else buf[0] = 0;
    out += buf + std::string(name) + "\tequ\t0x" + page;
    std::snprintf(buf, sizeof buf, "%02X", low);
    out += buf;
  }
  return out;
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
      if (s.compare(i, 9, "%equates(") == 0 && s.find(')', i) != std::string::npos) {
        size_t close = s.find(')', i);
        out += core_equates(s.substr(i + 9, close - i - 9));
        i = close;
        continue;
      }
      if (s.compare(i, 7, "%lines(") == 0) {
        size_t comma = s.find(',', i), close = comma;
        for (int depth = 1; close != std::string::npos && depth;) {
          close = s.find_first_of("()", close + 1);
          if (close != std::string::npos) depth += s[close] == '(' ? 1 : -1;
        }
        if (comma != std::string::npos && close != std::string::npos) {
          long n = std::atol(s.substr(i + 7, comma - i - 7).c_str());
          for (long k = 0; k < n; ++k) out += (k ? "\n" : "") + s.substr(comma + 1, close - comma - 1);
          i = close;
          continue;
        }
      }
      if (s.compare(i, 6, "%rows(") == 0 && s.find(')', i) != std::string::npos) {
        unsigned long at = 0, n = 0, byte = 0;
        std::sscanf(s.c_str() + i + 6, "%lx,%lu,%lx", &at, &n, &byte);
        char buf[16];
        for (unsigned long k = 0; k < n; ++k) {
          if (k % 16 == 0) {
            std::snprintf(buf, sizeof buf, "%s  %04lX:", k ? "\n" : "", at + k);
            out += buf;
          }
          std::snprintf(buf, sizeof buf, " %02lX", byte);
          out += buf;
        }
        i = s.find(')', i);
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

// An expected ERR or OUT line, or the lines a substitution made of it.
void add_lines(std::vector<std::string> &v, const std::string &s) {
  for (size_t at = 0;;) {
    size_t nl = s.find('\n', at);
    v.push_back(s.substr(at, nl - at));
    if (nl == std::string::npos) return;
    at = nl + 1;
  }
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

// The ";=" and ";=tag" statements of a source line, each up to the next ";" or the end.
bool parse_words(const std::string &l, std::map<std::string, std::pair<LineCode, std::string>> &out,
                 std::string &why) {
  for (size_t at = l.find(";="); at != std::string::npos; at = l.find(";=", at)) {
    size_t i = at + 2;
    std::string tag;
    while (i < l.size() && (std::isalnum(static_cast<unsigned char>(l[i])) || l[i] == '_')) tag += l[i++];
    LineCode code;
    size_t start = i;
    while (i < l.size() && l[i] != ';') {
      if (l[i] == ' ' || l[i] == '\t') {
        ++i;
      } else if (l[i] == '[') {
        size_t close = i + 1;
        for (bool quoted = false; close < l.size() && (quoted || l[close] != ']'); ++close)
          if (l[close] == '"' && l[close - 1] != '\\') quoted = !quoted;
        if (close >= l.size()) {
          why = "unclosed [ after ;=";
          return false;
        }
        code.relocs.push_back(l.substr(i + 1, close - i - 1));
        i = close + 1;
      } else {
        size_t j = i;
        while (j < l.size() && std::isxdigit(static_cast<unsigned char>(l[j]))) ++j;
        if ((j - i != 2 && j - i != 4) || (j < l.size() && l[j] != ' ' && l[j] != '\t' && l[j] != ';')) {
          why = "after ;= words of four hex digits, bytes of two and [relocations]";
          return false;
        }
        unsigned v = static_cast<unsigned>(std::stoul(l.substr(i, j - i), nullptr, 16));
        code.bytes.push_back(static_cast<char>(v & 0xFF));
        if (j - i == 4) code.bytes.push_back(static_cast<char>(v >> 8));
        i = j;
      }
    }
    std::string written = l.substr(start, i - start);
    written.erase(written.find_last_not_of(" \t") + 1);
    written.erase(0, written.find_first_not_of(" \t"));
    auto &[have, text] = out[tag];  // a continuation line adds to what the line said
    have.bytes += code.bytes;
    have.relocs.insert(have.relocs.end(), code.relocs.begin(), code.relocs.end());
    text += (text.empty() || written.empty() ? "" : " ") + written;
    at = i;
  }
  return true;
}

bool parse_case(const fs::path &path, Case &c, std::string &why) {
  c.name = path.filename().string();
  std::string text = read_all(path);
  auto lines = split_lines(text);
  std::string cur_file;
  std::string *cur_expect = nullptr;  // expected text of an OUTFILE being read
  static const std::regex marker(R"(;\s*(ERROR|WARNING)\s+(\d+)\s*$)");
  long code_line = 0;  // the last line that is not only a comment
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
      c.runs.back().outfiles.push_back({value("OUTFILE:"), "", ""});
      cur_expect = &c.runs.back().outfiles.back().text;
      continue;
    }
    if (directive && starts("OUTPSECT:") && !c.runs.empty()) {
      cur_file.clear();
      std::string v = value("OUTPSECT:");
      size_t sp = v.find(' ');
      if (sp == std::string::npos) {
        why = "OUTPSECT without a psect name";
        return false;
      }
      c.runs.back().outfiles.push_back({v.substr(0, sp), v.substr(sp + 1), ""});
      cur_expect = &c.runs.back().outfiles.back().text;
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
      if (starts("FSIZE:")) {
        r->fsize = std::atol(value("FSIZE:").c_str());
        continue;
      }
      if (starts("FILES:")) {
        std::istringstream in(value("FILES:"));
        std::set<std::string> names;
        for (std::string n; in >> n;) names.insert(n);
        for (const std::string &n : names) r->files += (r->files.empty() ? "" : " ") + n;
        r->check_files = true;
        continue;
      }
      struct ListForm {
        const char *kw;
        std::vector<std::string> Run::*lines;
        bool Run::*checked;  // the stream is compared only when one line is given
      };
      static const ListForm forms[] = {{"ERR:", &Run::err, &Run::check_err},
                                       {"OUT:", &Run::out, &Run::check_out},
                                       {"EXISTS:", &Run::exists, nullptr},
                                       {"ABSENT:", &Run::absent, nullptr}};
      auto form = std::find_if(std::begin(forms), std::end(forms), [&](const ListForm &f) { return starts(f.kw); });
      if (form != std::end(forms)) {
        (r->*form->lines).push_back(value(form->kw));
        if (form->checked) r->*form->checked = true;
        continue;
      }
      if (starts("WORDS")) {
        size_t colon = body.find(':');
        if (colon == std::string::npos) {
          why = "WORDS without ':'";
          return false;
        }
        r->words_tag = body.substr(5, colon - 5);
        r->words_tag.erase(0, r->words_tag.find_first_not_of(' '));
        r->words_file = value(body.substr(0, colon + 1).c_str());
        continue;
      }
    }
    if (std::regex_search(l, m, marker) && !(directive && p == l.find(';')))
      c.markers.emplace_back(static_cast<long>(k + 1), m[2].str());
    // ";=" on a line of its own continues the source line above it.
    bool continues = directive && l.compare(p, 2, ";=") == 0 && code_line;
    if (!directive) code_line = static_cast<long>(k + 1);
    if ((!directive || continues) && !parse_words(l, c.words[code_line], why)) {
      why = "line " + std::to_string(k + 1) + ": " + why;
      return false;
    }
    if (!directive && c.words[code_line].empty()) c.words.erase(code_line);
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
    if (r.fsize >= 0) {
      struct rlimit lim = {static_cast<rlim_t>(r.fsize), static_cast<rlim_t>(r.fsize)};
      signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails with EFBIG instead
      setrlimit(RLIMIT_FSIZE, &lim);
    }
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

// The code of each line of one source file, read from the dumper's text of an object file: the
// bytes from a line's line-number symbol up to the psect's next one or the first gap, and the
// relocation entries at those bytes.
std::map<long, LineCode> code_by_line(const std::string &dump, const std::string &source) {
  struct LineSym {
    std::string psect;
    uint64_t addr;
    long line;
    bool ours;
  };
  std::map<std::string, std::map<uint64_t, char>> bytes;  // psect: address: byte
  std::map<std::string, std::map<uint64_t, std::vector<std::string>>> relocs;
  std::map<std::string, uint64_t> delta;
  std::vector<LineSym> syms;
  static const std::regex xpsect(R"(^XPSECT .* delta=(\d+) psect=("(?:[^"\\]|\\.)*"))"),
      text(R"(^TEXT len=\d+ loc=0x([0-9A-F]+) psect=("(?:[^"\\]|\\.)*")$)"),
      data(R"(^  ([0-9A-F]+):((?: [0-9A-F]{2})+)$)"), reloc(R"(^  offset=0x([0-9A-F]+) type=0x[0-9A-F]+ (.*)$)"),
      sym(R"re(^  value=0x([0-9A-F]+) type=([45])\(\w+\) base=("(?:[^"\\]|\\.)*") name="(.*)"$)re");
  std::string header, psect, file;
  uint64_t loc = 0;
  for (const std::string &l : split_lines(dump)) {
    std::smatch m;
    if (!l.starts_with("  ")) {
      header = l.substr(0, l.find(' '));
      if (std::regex_search(l, m, xpsect)) delta[m[2]] = std::stoull(m[1]);
      if (header != "TEXT") continue;  // a RELOC belongs to the TEXT record before it
      if (!std::regex_match(l, m, text)) {
        header.clear();  // an extent record
        continue;
      }
      psect = m[2];
      loc = std::stoull(m[1], nullptr, 16);
    } else if (header == "TEXT" && std::regex_match(l, m, data)) {
      uint64_t a = std::stoull(m[1], nullptr, 16);
      std::istringstream in(m[2]);
      for (std::string b; in >> b; ++a) bytes[psect][a] = static_cast<char>(std::stoul(b, nullptr, 16));
    } else if (header == "RELOC" && std::regex_match(l, m, reloc)) {
      relocs[psect][loc + std::stoull(m[1], nullptr, 16)].push_back(m[2]);
    } else if (header == "SYM" && std::regex_match(l, m, sym)) {
      if (m[2] == "5") file = m[4];
      else
        syms.push_back({m[3], std::stoull(m[1], nullptr, 16), std::atol(m[4].str().c_str()),
                        fs::path(file).filename() == source});
    }
  }
  std::map<long, LineCode> out;
  for (size_t i = 0; i < syms.size(); ++i) {
    const LineSym &s = syms[i];
    if (!s.ours) continue;
    // Up to the next symbol: of several at one address (a macro expansion's), the last has the code.
    uint64_t d = delta.count(s.psect) ? std::max<uint64_t>(delta[s.psect], 1) : 1, a = s.addr * d, end = UINT64_MAX;
    for (size_t j = i + 1; j < syms.size(); ++j)
      if (syms[j].psect == s.psect) {
        if (syms[j].addr * d >= a) end = syms[j].addr * d;
        break;
      }
    LineCode &c = out[s.line];
    const auto &mem = bytes[s.psect];
    const auto &rel = relocs[s.psect];
    for (auto it = mem.find(a); it != mem.end() && it->first == a && a < end; ++it, ++a) {
      if (auto r = rel.find(a); r != rel.end())
        for (const std::string &e : r->second) c.relocs.push_back("+" + std::to_string(c.bytes.size()) + " " + e);
      c.bytes.push_back(it->second);
    }
  }
  return out;
}

// A line's code as a ";=" would state it: words, a last odd byte, relocation entries.
std::string show(const LineCode &c) {
  std::string s;
  char buf[8];
  for (size_t i = 0; i < c.bytes.size(); i += 2) {
    unsigned lo = static_cast<unsigned char>(c.bytes[i]);
    if (i + 1 < c.bytes.size()) std::snprintf(buf, sizeof buf, "%04X", lo | static_cast<unsigned char>(c.bytes[i + 1]) << 8);
    else std::snprintf(buf, sizeof buf, "%02X", lo);
    s += (s.empty() ? "" : " ") + std::string(buf);
  }
  for (const std::string &r : c.relocs) s += (s.empty() ? "[" : " [") + r + "]";
  return s.empty() ? "nothing" : s;
}

// Checks the ";=" lines of a case against the object a run wrote; true when all agree.
bool check_words(const Case &c, const Run &r, const fs::path &dir, const fs::path &bindir, std::ostream &os) {
  Run dump;
  Result res = execute((bindir / "zel18dump").string(), {r.words_file}, dump, dir);
  if (res.status != 0) {
    os << "    zel18dump " << r.words_file << " failed:\n" << res.err;
    return false;
  }
  std::map<long, LineCode> got = code_by_line(res.out, c.name);
  std::vector<std::string> bad;
  for (const auto &[line, tags] : c.words) {
    auto want = tags.find(r.words_tag);
    if (want == tags.end()) want = tags.find("");
    if (want == tags.end()) continue;
    auto have = got.find(line);
    LineCode none;
    const LineCode &g = have == got.end() ? none : have->second;
    std::string where = c.name + ":" + std::to_string(line) + ": ";
    if (have == got.end() && !want->second.first.bytes.empty())
      bad.push_back(where + "no line information; expected " + want->second.second);
    else if (!(g == want->second.first))
      bad.push_back(where + "expected " + want->second.second + ", got " + show(g));
  }
  for (const auto &[line, code] : got) {
    auto tags = c.words.find(line);
    bool stated = tags != c.words.end() && (tags->second.count(r.words_tag) || tags->second.count(""));
    if (!stated && !(code == LineCode{})) bad.push_back(c.name + ":" + std::to_string(line) + ": encodes " + show(code) + ", not stated");
  }
  if (bad.empty()) return true;
  os << "    words of " << r.words_file << (r.words_tag.empty() ? "" : " (" + r.words_tag + ")") << ":\n";
  for (const std::string &b : bad) os << "      " << b << "\n";
  return false;
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
    for (const auto &e : r.err) add_lines(want_err, substitute(e, c.name, dir.string()));
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
      for (const auto &e : r.out) add_lines(want_out, substitute(e, c.name, dir.string()));
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
    if (r.check_files) {
      std::set<std::string> names;
      for (const auto &e : fs::directory_iterator(dir)) {
        std::string n = e.path().filename().string();
        if (n != ".stdin" && n != ".stdout" && n != ".stderr") names.insert(n);
      }
      std::string have;
      for (const std::string &n : names) have += (have.empty() ? "" : " ") + n;
      if (have != r.files) {
        msgs << "    files: " << have << "\n    expected: " << r.files << "\n";
        good = false;
      }
    }
    if (!r.words_file.empty() && r.tool.empty()) good &= check_words(c, r, dir, bindir, msgs);
    for (const auto &[name, psect, text] : r.outfiles) {
      if (!fs::exists(dir / name)) {
        msgs << "    missing file " << name << "\n";
        good = false;
        continue;
      }
      std::string what = "file " + name;
      std::vector<std::string> have = split_lines(read_all(dir / name));
      if (!psect.empty()) {
        what += " psect " + psect;
        auto at = std::find(have.begin(), have.end(), "\tpsect\t" + psect);
        auto end = at == have.end() ? at : std::find_if(at + 1, have.end(), [](const std::string &l) {
          return l.empty() || l.starts_with("tosu\t");
        });
        have = at == have.end() ? std::vector<std::string>{} : std::vector<std::string>(at + 1, end);
      }
      good &= compare_lines(what.c_str(), split_lines(substitute(text, c.name, dir.string())), have, msgs);
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
