// Message engine: database parsing and merging, lookups, line layout, counting.
#include "driver/alert.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host/kvinstdir.h"
#include "host/os.h"

extern const unsigned char msg_embedded_db[];
extern const std::size_t msg_embedded_db_len;

namespace {

constexpr size_t MSG_TEXT_CAP = 511;   // formatted message text, "(n) " prefix included
constexpr size_t MSG_LINE_CAP = 8191;  // finished line, line feed included
constexpr size_t DB_LINE_MAX = 255;
constexpr size_t DB_FILE_MAX = size_t{16} << 20;
constexpr const char *NO_DESCRIPTION = "An error, warning or message was generated, but no description is available";
constexpr const char *EMBEDDED_NAME = "(embedded)";

std::string_view embedded_text() {
  return {reinterpret_cast<const char *>(msg_embedded_db), msg_embedded_db_len};
}

bool parse_int(std::string_view s, long long &out) {
  if (s.empty()) return false;
  size_t i = 0;
  bool neg = false;
  if (s[0] == '-') {
    neg = true;
    i = 1;
  }
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    if (v > 100000000) return false;
    v = v * 10 + (s[i] - '0');
  }
  out = neg ? -v : v;
  return true;
}

// Parses one database line; false if it is malformed.
bool parse_db_line(std::string_view line, MessageRecord &rec) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  size_t i = 0;
  auto blank = [&](size_t k) { return k < line.size() && (line[k] == ' ' || line[k] == '\t'); };
  while (blank(i)) ++i;
  size_t b = i;
  while (i < line.size() && !blank(i)) ++i;
  long long num;
  if (!parse_int(line.substr(b, i - b), num) || num < 0 || num >= 10001) return false;
  while (blank(i)) ++i;
  b = i;
  while (i < line.size() && !blank(i)) ++i;
  std::string_view type = line.substr(b, i - b);
  if (type.empty() || i >= line.size()) return false;
  ++i;  // the single separator after the type
  std::string_view text = line.substr(i);
  if (text.empty()) return false;
  rec.number = static_cast<uint32_t>(num);
  rec.level = 0;
  if (type == "F" || type == "f") rec.type = MT_FATAL;
  else if (type == "E" || type == "e") rec.type = MT_ERROR;
  else if (type == "M" || type == "m") rec.type = MT_MESSAGE;
  else {
    long long lvl;
    if (!parse_int(type, lvl) || lvl < -1000 || lvl > 1000) return false;
    rec.type = MT_WARNING;
    rec.level = static_cast<int32_t>(lvl);
  }
  rec.text.assign(text);
  return true;
}

// Parses database text; with an override table, only the override's numbers replace records.
MessageTable parse_db(MsgState &m, std::string_view text, std::string_view filename, const MessageTable *over) {
  MessageTable t;
  unsigned lineno = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    // Each read takes at most 255 characters, as a line of its own.
    size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl + 1;
    if (end - pos > DB_LINE_MAX) end = pos + DB_LINE_MAX;
    std::string_view line = text.substr(pos, end - pos);
    pos = end;
    ++lineno;
    if (!line.empty() && line[0] == '#') continue;
    MessageRecord rec;
    if (!parse_db_line(line, rec)) {
      msg_report_typed(m, MSG_MALFORMED_MSG_LINE, "M", "Malformed error information on line %u, in file %s", lineno,
                       filename);
      continue;
    }
    t.highest = rec.number;
    if (over) {
      auto it = over->recs.find(rec.number);
      if (it != over->recs.end()) rec = it->second;
    }
    t.recs[rec.number] = std::move(rec);
  }
  return t;
}

// The embedded database never changes: it is parsed once per process and shared.
std::shared_ptr<const MessageTable> load_embedded(MsgState &) {
  static const std::shared_ptr<const MessageTable> table = [] {
    MsgState scratch;
    return std::make_shared<const MessageTable>(parse_db(scratch, embedded_text(), EMBEDDED_NAME, nullptr));
  }();
  return table;
}

// A message file is read whole; its lines are split at DB_LINE_MAX as they are parsed, so only
// its size is bounded here: no real database comes near it.
bool read_file(const std::string &path, std::string &out) {
  FileId id;
  return os_read_text(path, out, SIZE_MAX - 1, DB_FILE_MAX, id);
}

void install_table(MsgState &m, std::shared_ptr<const MessageTable> t) {
  m.text_table = t;
  if (!m.type_table) m.type_table = t;
}

const char *env_or(const char *var, const char *given, const char *dflt) {
  const char *e = std::getenv(var);
  if (e) return e;
  if (given) return given;
  return dflt;
}

// Expands "%m" into the saved error text, escaping it for the formatter.
std::string expand_m(const MsgState &m, std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == 'm') {
        for (char c : m.saved_errtext) {
          out.push_back(c);
          if (c == '%') out.push_back('%');
        }
        ++i;
        continue;
      }
      out.push_back('%');
      out.push_back(text[++i]);
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

void print_line(MsgState &m, std::string &line) {
  if (line.size() >= MSG_LINE_CAP) {
    line.resize(MSG_LINE_CAP);
    line.back() = '\n';
  } else {
    line.push_back('\n');
  }
  if (m.trace) {
    m.trace->write(line.data(), static_cast<std::streamsize>(line.size()));
    m.trace->flush();
  }
  std::ostream &os = m.err ? *m.err : std::cerr;
  os.write(line.data(), static_cast<std::streamsize>(line.size()));
  os.flush();
}

// The file and line of the message being raised: a MsgAt's, else the last msg_set_position's.
std::string_view where_file(const MsgState &m) {
  if (m.at_set) return m.at.file ? m.at.file : "";
  return m.pos_file;
}
const long *where_line(const MsgState &m) { return m.at_set ? &m.at.line : m.pos_line; }

// Lays out and prints one message of the given type and number with its formatted text.
void emit(MsgState &m, uint32_t type, unsigned number, std::string_view format, std::span<const FmtArg> args) {
  std::string text;
  bool numbered = type == MT_ERROR || type == MT_FATAL || type == MT_WARNING;
  if (numbered && !m.template_mode) text = fmt_str("(%u) ", number);
  fmt_append(text, expand_m(m, format), args, MSG_TEXT_CAP);

  std::string_view file = where_file(m);
  const long *lineno = where_line(m);
  bool has_file = !file.empty();
  bool has_line = lineno != nullptr;
  std::string line;
  if (m.template_mode) {
    const std::string &t = (type == MT_ERROR || type == MT_FATAL) ? m.tmpl_err
                           : type == MT_MESSAGE                    ? m.tmpl_msg
                                                                   : m.tmpl_warn;
    for (size_t i = 0; i < t.size() && line.size() < MSG_LINE_CAP; ++i) {
      if (t[i] != '%') {
        line.push_back(t[i]);
        continue;
      }
      if (++i >= t.size()) break;
      switch (t[i]) {
      case 'f':
        if (m.nonline) line += "Non line specific message";
        else if (has_file) line += file;
        break;
      case 'l':
        if (!m.nonline && has_line) line += std::to_string(*lineno);
        break;
      case 'n': line += std::to_string(number); break;
      case 's': line += text; break;
      case 'm': line += m.saved_errtext; break;
      case 'a': line += "assembler"; break;
      case 'c':
        if (!m.at_set && m.pos_line_start && m.pos_char) line += std::to_string(m.pos_char - m.pos_line_start);
        break;
      default: line.push_back(t[i]); break;
      }
    }
  } else {
    if (m.nonline) line += "Non line specific message: ";
    else if (has_file) (line += file) += ": ";
    if (!m.nonline && has_line) line += std::to_string(*lineno) + ": ";
    line += text;
    if (type == MT_WARNING) line += " (warning)";
  }
  print_line(m, line);
}

void save_errno(MsgState &m) {
  int e = errno;
  m.saved_errtext = e ? std::strerror(e) : "";
}

// Counts an error; at the limit, prints message 1 instead and ends the run.
void count_error(MsgState &m) {
  unsigned before = m.errors++;
  if (static_cast<long long>(before) >= m.error_limit) {
    MessageRecord r = msg_lookup(m, MSG_TOO_MANY_ERRORS);
    const FmtArg a[] = {FmtArg(m.errors)};
    emit(m, MT_MESSAGE, MSG_TOO_MANY_ERRORS, r.text, a);
    throw AsmExit{1};
  }
}

}  // namespace

void msg_set_templates(MsgState &m, const char *error, const char *warning, const char *message) {
  m.tmpl_err = env_or("NTX_ERR_FORMAT", error, "%f: %l: (%n) %s (error)");
  m.tmpl_warn = env_or("NTX_WARN_FORMAT", warning, "%f: %l: (%n) %s (warning)");
  m.tmpl_msg = env_or("NTX_MSG_FORMAT", message, "%f: %l: %s");
}

void msg_init(MsgState &m, HostState *host) {
  m.initialized = true;
  msg_set_templates(m, nullptr, nullptr, nullptr);
  const std::string name = "en_msgs.txt";
  std::vector<std::string> places;
  if (host) {
    if (auto p = reg_mkpath(*host, RI_DAT, name)) places.push_back(*p);
    std::string dir = os_dir_part(host_self_path(*host));
    while (!dir.empty() && (dir.back() == '.' || dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    if (!dir.empty()) places.push_back(path_join(path_join(os_dir_part(dir), "dat"), name));
  }
  places.push_back(name);
  for (const auto &p : places)
    if (os_file_exists(p) && msg_load_file(m, p)) return;
  install_table(m, load_embedded(m));
}

MessageTable msg_parse_db(MsgState &m, std::string_view text, std::string_view filename) {
  return parse_db(m, text, filename, nullptr);
}

bool msg_load_file(MsgState &m, const std::string &path) {
  for (const auto &f : m.loaded_files)
    if (f == path) return true;
  std::string text;
  if (!read_file(path, text)) return false;
  MessageTable file = parse_db(m, text, path, nullptr);
  auto merged = std::make_shared<const MessageTable>(parse_db(m, embedded_text(), EMBEDDED_NAME, &file));
  install_table(m, merged);
  m.loaded_files.push_back(path);
  return true;
}

void msg_disable_list(MsgState &m, std::string_view list) {
  if (!list.empty() && list[0] == '0') {
    m.disable_all_wm = true;
    return;
  }
  size_t i = 0;
  while (i < list.size()) {
    size_t comma = list.find(',', i);
    std::string_view item = list.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i);
    i = comma == std::string_view::npos ? list.size() : comma + 1;
    size_t k = 0;
    long long n = 0;
    while (k < item.size() && item[k] >= '0' && item[k] <= '9' && n < 100000) n = n * 10 + (item[k++] - '0');
    if (k == 0) continue;
    std::string_view rest = item.substr(k);
    bool off = rest.size() >= 4 && rest[0] == ':' && (rest[1] | 0x20) == 'o' && (rest[2] | 0x20) == 'f' &&
               (rest[3] | 0x20) == 'f';
    m.overrides[static_cast<uint32_t>(n)] = off ? 4 : 1;
  }
}

void msg_set_format_mode(MsgState &m, int mode) { m.template_mode = mode != 0; }

int msg_set_error_limit(MsgState &m, int n) {
  int old = m.error_limit;
  m.error_limit = n;
  return old;
}

int msg_set_warning_level(MsgState &m, int n) {
  int old = m.warn_threshold;
  m.warn_threshold = n;
  return old;
}

void msg_set_warnings_fatal(MsgState &m, bool on) { m.warnings_fatal = on; }

void msg_set_position(MsgState &m, const char *file, const long *line, const char *line_start, const char *cur) {
  m.pos_file = file ? file : "";
  m.pos_line = line;
  m.pos_line_start = line_start;
  m.pos_char = cur;
}

void msg_set_prehook(MsgState &m, std::function<void()> hook) { m.prehook = std::move(hook); }

bool msg_check_failed(MsgState &m, const char *cond, const char *file, int line) {
  if (m.check_msg) {
    std::string_view f(file);
    size_t k = f.find_last_of("/\\");
    if (k != std::string_view::npos) f.remove_prefix(k + 1);
    msg_report_nopos(m, m.check_msg, cond, f, line);
  }
  return false;
}

int msg_exit_status(const MsgState &m) {
  if (m.errors) return 1;
  if (m.warnings_fatal && m.warnings) return 1;
  return 0;
}

bool msg_is_known(const MsgState &m, long n) {
  return m.type_table && n >= 0 && n <= static_cast<long>(m.type_table->highest);
}

MessageRecord msg_lookup(const MsgState &m, uint32_t number) {
  MessageRecord r;
  r.type = MT_ERROR;
  r.number = number;
  r.text = NO_DESCRIPTION;
  if (m.type_table) {
    auto it = m.type_table->recs.find(number);
    if (it != m.type_table->recs.end()) {
      r.type = it->second.type;
      r.level = it->second.level;
      r.text = it->second.text;
    }
  }
  if (m.text_table) {
    auto it = m.text_table->recs.find(number);
    if (it != m.text_table->recs.end()) r.text = it->second.text;
  }
  bool wm = r.type == MT_WARNING || r.type == MT_MESSAGE;
  if (m.disable_all_wm && wm) r.type = MT_SUPPRESSED;
  auto o = m.overrides.find(number);
  if (o != m.overrides.end()) {
    if (o->second == 1 && wm) r.type = MT_SUPPRESSED;
    if (o->second == 4 && r.type != MT_FATAL) r.type = MT_SUPPRESSED;
  }
  return r;
}

int msg_report_v(MsgState &m, unsigned number, std::span<const FmtArg> args, bool nopos, bool once) {
  save_errno(m);
  struct NonLine {
    MsgState &m;
    bool old;
    NonLine(MsgState &ms, bool on) : m(ms), old(ms.nonline) { m.nonline = on; }
    ~NonLine() { m.nonline = old; }
  } guard(m, nopos);

  MessageRecord r = msg_lookup(m, number);
  bool dropped = r.type == MT_SUPPRESSED || (r.type == MT_WARNING && r.level < m.warn_threshold);
  if (once) {
    if (m.prehook) m.prehook();
    const long *line = where_line(m);
    auto key = std::make_tuple(number, line ? *line : 0L, std::string(where_file(m)));
    if (m.reported.count(key)) return 0;
    if (!dropped) m.reported.insert(key);
  }
  if (dropped) return 0;
  if (m.prehook) m.prehook();
  if (r.type == MT_ERROR) count_error(m);
  if (r.type == MT_WARNING) ++m.warnings;
  emit(m, r.type, number, r.text, args);
  if (r.type == MT_FATAL) throw AsmExit{1};
  return 1;
}

int msg_report_typed_v(MsgState &m, unsigned number, std::string_view type, std::string_view format,
                       std::span<const FmtArg> args) {
  save_errno(m);
  int level = 10;
  size_t k = 0;
  if (!type.empty() && ((type[0] >= '0' && type[0] <= '9') ||
                        (type[0] == '-' && type.size() > 1 && type[1] >= '0' && type[1] <= '9'))) {
    bool neg = type[0] == '-';
    k = neg ? 1 : 0;
    long long v = 0;
    while (k < type.size() && type[k] >= '0' && type[k] <= '9') {
      if (v < 100000) v = v * 10 + (type[k] - '0');
      ++k;
    }
    level = static_cast<int>(neg ? -v : v);
  }
  if (m.warn_threshold > level) return 0;
  char first = type.empty() ? 0 : type[0];
  uint32_t t = MT_WARNING;
  if (first == 'f' || first == 'F') t = MT_FATAL;
  else if (first == 'e' || first == 'E') t = MT_ERROR;
  else if (first == 'm' || first == 'M') t = MT_MESSAGE;
  if (m.prehook) m.prehook();
  if (t == MT_ERROR) count_error(m);
  emit(m, t, number, format, args);
  if (t == MT_FATAL) throw AsmExit{1};
  return 1;
}

void msg_error_raw_v(MsgState &m, std::string_view format, std::span<const FmtArg> args) {
  if (m.prehook) m.prehook();
  count_error(m);
  msg_print_raw_v(m, format, args);
}

void msg_print_raw_v(MsgState &m, std::string_view format, std::span<const FmtArg> args) {
  save_errno(m);
  std::string line;
  fmt_append(line, expand_m(m, format), args, MSG_LINE_CAP);
  // A trailing line feed in the format is the line's own end.
  if (!line.empty() && line.back() == '\n') line.pop_back();
  print_line(m, line);
}
