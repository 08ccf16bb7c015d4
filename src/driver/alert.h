// Message engine: the message database, overrides, line layout, counting and exit status.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "driver/msgnum.h"
#include "support/format.h"

struct HostState;

enum MsgType : uint32_t {
  MT_FATAL = 1,
  MT_MESSAGE = 2,
  MT_ERROR = 3,
  MT_WARNING = 4,
  MT_SUPPRESSED = 5,  // never in a database: the result of an override
};

struct MessageRecord {
  uint32_t type = MT_ERROR;
  uint32_t number = 0;
  std::string text;  // a printf-style format
  int32_t level = 0;  // warnings only
};

struct MessageTable {
  std::unordered_map<uint32_t, MessageRecord> recs;
  uint32_t highest = 0;  // number of the last line read
};

// A message position: a file name (null: none) and a line number.
struct MsgPos {
  const char *file = nullptr;
  long line = 0;
};

// Thrown to end the run at once (fatal message, error limit, --ver); main turns it into the status.
struct AsmExit {
  int status;
};

struct MsgState {
  std::ostream *err = nullptr;  // the error stream; every line is flushed at once

  std::string tmpl_err = "%f: %l: (%n) %s (error)";
  std::string tmpl_warn = "%f: %l: (%n) %s (warning)";
  std::string tmpl_msg = "%f: %l: %s";
  bool template_mode = false;

  int error_limit = 20;
  int warn_threshold = 0;
  bool warnings_fatal = false;
  unsigned errors = 0;
  unsigned warnings = 0;

  // Position of the next message.
  std::string pos_file;                // empty: none
  const long *pos_line = nullptr;      // null: no line
  const char *pos_line_start = nullptr;
  const char *pos_char = nullptr;
  bool nonline = false;                // set for the duration of a _nopos report
  bool at_set = false;                 // a MsgAt gives the position instead of the above
  MsgPos at;

  std::function<void()> prehook;
  std::set<std::tuple<unsigned, long, std::string>> reported;  // msg_report_once keys

  std::shared_ptr<const MessageTable> type_table;  // first table loaded: types and levels
  std::shared_ptr<const MessageTable> text_table;  // last table loaded: texts
  std::unordered_map<uint32_t, int> overrides;     // 1: drop warning/message, 4: drop unless fatal
  bool disable_all_wm = false;                     // "--msgdisable=0": every warning and message off
  std::vector<std::string> loaded_files;
  bool initialized = false;

  std::string saved_errtext;  // operating system text for "%m"

  std::ostream *trace = nullptr;  // debug trace that also receives every message line
  unsigned check_msg = 0;         // 0: consistency checks off; else 1501, 1502 or 1503
};

// Initializes the templates (from the environment) and loads the message database:
// "en_msgs.txt" from the data area, beside the program, or the current directory,
// else the embedded one. host may be null (no installation lookup).
void msg_init(MsgState &m, HostState *host);

// Parses database text into a table; malformed lines are reported as message 3.
MessageTable msg_parse_db(MsgState &m, std::string_view text, std::string_view filename);

// Loads a database file as the text table (merged over the embedded one).
bool msg_load_file(MsgState &m, const std::string &path);

void msg_disable_list(MsgState &m, std::string_view list);
void msg_set_templates(MsgState &m, const char *error, const char *warning, const char *message);
void msg_set_format_mode(MsgState &m, int mode);
int msg_set_error_limit(MsgState &m, int n);
int msg_set_warning_level(MsgState &m, int n);
void msg_set_warnings_fatal(MsgState &m, bool on);
void msg_set_position(MsgState &m, const char *file, const long *line, const char *line_start,
                      const char *cur);
void msg_set_prehook(MsgState &m, std::function<void()> hook);

// While a MsgAt lives, messages report at its position instead of at the one msg_set_position
// (the reader's, through the pre-message hook) gives; the position before it comes back at its
// end. A pass over statements opens one and moves it with msg_set_at.
class MsgAt {
 public:
  MsgAt(MsgState &m, MsgPos at) : m_(m), had_(m.at_set), prev_(m.at) {
    m.at_set = true;
    m.at = at;
  }
  // Keeps the current position; what msg_set_at does inside ends with the scope.
  explicit MsgAt(MsgState &m) : m_(m), had_(m.at_set), prev_(m.at) {}
  ~MsgAt() { end(); }
  MsgAt(const MsgAt &) = delete;
  MsgAt &operator=(const MsgAt &) = delete;
  // Brings the earlier position back before the scope ends.
  void end() {
    if (!open_) return;
    open_ = false;
    m_.at_set = had_;
    m_.at = prev_;
  }

 private:
  MsgState &m_;
  bool had_;
  MsgPos prev_;
  bool open_ = true;
};

// The messages that follow report at `at`, until the enclosing MsgAt ends (for good without one).
inline void msg_set_at(MsgState &m, MsgPos at) {
  m.at_set = true;
  m.at = at;
}
int msg_exit_status(const MsgState &m);
bool msg_is_known(const MsgState &m, long n);

// A failed internal consistency check: reported (non-line-specific) when checks are on.
bool msg_check_failed(MsgState &m, const char *cond, const char *file, int line);
#define MSG_CHECK(m, cond) ((cond) ? true : msg_check_failed((m), #cond, __FILE__, __LINE__))

// The looked-up record of a number, after overrides.
MessageRecord msg_lookup(const MsgState &m, uint32_t number);

// Engines behind the variadic front ends below. Each returns 1 when printed, 0 when dropped.
int msg_report_v(MsgState &m, unsigned number, std::span<const FmtArg> args, bool nopos, bool once);
int msg_report_typed_v(MsgState &m, unsigned number, std::string_view type, std::string_view format,
                       std::span<const FmtArg> args);
void msg_print_raw_v(MsgState &m, std::string_view format, std::span<const FmtArg> args);
void msg_error_raw_v(MsgState &m, std::string_view format, std::span<const FmtArg> args);

#define MSG_PACK_ARGS_                                          \
  if constexpr (sizeof...(A) == 0) return call(std::span<const FmtArg>{}); \
  else {                                                        \
    const FmtArg args[] = {FmtArg(a)...};                       \
    return call(std::span<const FmtArg>(args));                 \
  }

template <class... A>
int msg_report(MsgState &m, unsigned n, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { return msg_report_v(m, n, s, false, false); };
  MSG_PACK_ARGS_
}
template <class... A>
int msg_report_nopos(MsgState &m, unsigned n, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { return msg_report_v(m, n, s, true, false); };
  MSG_PACK_ARGS_
}
template <class... A>
int msg_report_once(MsgState &m, unsigned n, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { return msg_report_v(m, n, s, false, true); };
  MSG_PACK_ARGS_
}
template <class... A>
int msg_report_once_nopos(MsgState &m, unsigned n, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { return msg_report_v(m, n, s, true, true); };
  MSG_PACK_ARGS_
}
template <class... A>
int msg_report_typed(MsgState &m, unsigned n, std::string_view type, std::string_view fmt, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { return msg_report_typed_v(m, n, type, fmt, s); };
  MSG_PACK_ARGS_
}
// One message at an explicit position.
template <class... A>
int msg_report_at(MsgState &m, MsgPos at, unsigned n, const A &...a) {
  MsgAt here(m, at);
  return msg_report(m, n, a...);
}
template <class... A>
void msg_print_raw(MsgState &m, std::string_view fmt, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { msg_print_raw_v(m, fmt, s); };
  MSG_PACK_ARGS_
}
// An error without a number: printed as msg_print_raw does, but counted (with the limit).
template <class... A>
void msg_error_raw(MsgState &m, std::string_view fmt, const A &...a) {
  auto call = [&](std::span<const FmtArg> s) { msg_error_raw_v(m, fmt, s); };
  MSG_PACK_ARGS_
}
#undef MSG_PACK_ARGS_
