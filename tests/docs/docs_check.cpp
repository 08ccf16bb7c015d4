// Keeps the user documentation true to the program.
//
//   docs_check samples <aszel18> <data dir> <file.md>...
//     Every fenced block opened with ```asm is a sample. It is assembled alone in a fresh
//     directory as sample.as, with the arguments of a "<!-- aszel18 ARGS -->" line directly
//     above its fence (default -mcpu=ZEL18A44; %dat names the data directory), and must end
//     with status 0 and no message. A block whose fence is preceded by "<!-- result: FILE
//     PSECT -->" is not assembled: it must equal the statements of PSECT in FILE as the
//     previous sample's run wrote them (the lines after "psect PSECT" up to a blank line or the
//     core register equates that end the text).
//
//   docs_check options <aszel18> <page>...
//     Every option of "aszel18 --help" must be named in each page (a manual page or a guide).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../common/textio.h"

namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string &s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

int run_shell(const std::string &cmd) {
  int st = std::system(cmd.c_str());
  return st != -1 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::string trim(const std::string &s) {
  size_t a = s.find_first_not_of(" \t");
  size_t b = s.find_last_not_of(" \t");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// The text inside "<!-- KEY ... -->" when the line is one, else empty.
bool comment_arg(const std::string &line, const std::string &key, std::string &arg) {
  std::string t = trim(line);
  std::string open = "<!-- " + key;
  if (t.compare(0, open.size(), open) != 0 || t.size() < open.size() + 3 || t.substr(t.size() - 3) != "-->")
    return false;
  arg = trim(t.substr(open.size(), t.size() - 3 - open.size()));
  return true;
}

// Lines of PSECT's statements in assembly text, as the e2e runner takes them.
std::vector<std::string> psect_lines(const std::string &text, const std::string &psect) {
  std::vector<std::string> out;
  bool in = false;
  for (const std::string &l : split_lines(text)) {
    if (!in) {
      in = l == "\tpsect\t" + psect;
      continue;
    }
    if (l.empty() || l.compare(0, 5, "tosu\t") == 0) break;
    out.push_back(l);
  }
  return out;
}

int check_samples(const std::string &aszel18, const std::string &datadir, const std::vector<std::string> &pages) {
  fs::path work = fs::temp_directory_path() / ("docs_check." + std::to_string(getpid()));
  int failures = 0, count = 0;
  for (const std::string &page : pages) {
    std::vector<std::string> lines = split_lines(read_all(page));
    fs::path last_dir;  // the previous sample's run directory
    for (size_t i = 0; i < lines.size(); ++i) {
      if (trim(lines[i]) != "```asm") continue;
      size_t start = i + 1, end = start;
      while (end < lines.size() && trim(lines[end]) != "```") ++end;
      std::string where = page + ":" + std::to_string(i + 1);
      std::string before = i > 0 ? lines[i - 1] : std::string();
      std::string body;
      std::vector<std::string> block(lines.begin() + static_cast<long>(start), lines.begin() + static_cast<long>(end));
      for (const std::string &l : block) body += l + "\n";
      i = end;
      ++count;

      std::string result;
      if (comment_arg(before, "result:", result)) {
        std::istringstream in(result);
        std::string file, psect;
        in >> file >> psect;
        std::vector<std::string> got = psect_lines(read_all(last_dir / file), psect);
        if (last_dir.empty() || got != block) {
          std::cerr << where << ": the block is not what the sample above it gives in " << file << ", psect "
                    << psect << ":\n";
          for (const std::string &l : got) std::cerr << "  | " << l << "\n";
          ++failures;
        }
        continue;
      }
      std::string args = "-mcpu=ZEL18A44";
      comment_arg(before, "aszel18", args);
      for (size_t p; (p = args.find("%dat")) != std::string::npos;) args.replace(p, 4, datadir);
      fs::path dir = work / std::to_string(count);
      fs::create_directories(dir);
      std::ofstream(dir / "sample.as", std::ios::binary) << body;
      std::string cmd = "cd " + quoted(dir.string()) + " && " + quoted(aszel18) + " " + args +
                        " sample.as >run.out 2>run.err";
      int st = run_shell(cmd);
      std::string err = read_all(dir / "run.err");
      if (st != 0 || !err.empty()) {
        std::cerr << where << ": the sample does not assemble (aszel18 " << args << ", status " << st << "):\n"
                  << err;
        ++failures;
      }
      last_dir = dir;
    }
  }
  fs::remove_all(work);
  if (count == 0) {
    std::cerr << "no samples found\n";
    return 1;
  }
  std::cout << count << " samples, " << failures << " failing\n";
  return failures ? 1 : 0;
}

// "-mcpu=<device>" names -mcpu=, "-L, -L<file>" names -L, "--help" itself.
std::set<std::string> usage_options(const std::string &usage) {
  std::set<std::string> opts;
  for (const std::string &l : split_lines(usage)) {
    std::string t = trim(l);
    if (l.compare(0, 2, "  ") != 0 || t.empty() || t[0] != '-') continue;
    std::istringstream in(t);
    for (std::string w; in >> w && w[0] == '-';) {
      size_t cut = w.find_first_of("<,!");
      std::string key = w.substr(0, cut);
      if (key.find_first_not_of('-') != std::string::npos) opts.insert(key);
      if (w.back() != ',') break;
    }
  }
  return opts;
}

// A manual page read as text: "\-" is a dash and font changes go.
std::string plain(std::string s) {
  std::string o;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == '-') {
      o += '-';
      ++i;
    } else if (s[i] == '\\' && i + 2 < s.size() && s[i + 1] == 'f') {
      i += 2;
    } else {
      o += s[i];
    }
  }
  return o;
}

bool names_option(const std::string &text, const std::string &opt) {
  auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'; };
  for (size_t p = text.find(opt); p != std::string::npos; p = text.find(opt, p + 1)) {
    bool left = p == 0 || !word(text[p - 1]);
    char after = p + opt.size() < text.size() ? text[p + opt.size()] : ' ';
    bool right = opt.back() == '=' || !(std::isalnum(static_cast<unsigned char>(after)) || after == '_');
    if (left && right) return true;
  }
  return false;
}

int check_options(const std::string &aszel18, const std::vector<std::string> &pages) {
  std::string usage;
  if (FILE *p = popen((quoted(aszel18) + " --help").c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) usage.append(buf, n);
    if (pclose(p) != 0) usage.clear();
  }
  std::set<std::string> opts = usage_options(usage);
  if (opts.size() < 20) {
    std::cerr << "aszel18 --help gave too few options (" << opts.size() << ")\n";
    return 1;
  }
  int missing = 0;
  for (const std::string &page : pages) {
    std::string text = plain(read_all(page));
    for (const std::string &o : opts)
      if (!names_option(text, o)) {
        std::cerr << page << ": does not name the option " << o << "\n";
        ++missing;
      }
  }
  std::cout << opts.size() << " options, " << missing << " missing\n";
  return missing ? 1 : 0;
}

}  // namespace

int main(int argc, char **argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "samples" && argc >= 5)
    return check_samples(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
  if (mode == "options" && argc >= 4) return check_options(argv[2], std::vector<std::string>(argv + 3, argv + argc));
  std::cerr << "usage: docs_check samples <aszel18> <data dir> <file.md>...\n"
               "       docs_check options <aszel18> <page>...\n";
  return 2;
}
