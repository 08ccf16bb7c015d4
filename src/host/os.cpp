// POSIX implementation of the operating-system layer.
#include "host/os.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>

std::string os_self_path(const char *argv0) {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) return std::string(buf, static_cast<size_t>(n));
  return argv0 ? argv0 : "";
}

bool os_dir_exists(const std::string &path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool os_file_exists(const std::string &path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool os_stdin_is_tty() { return ::isatty(0) == 1; }

// SOURCE_DATE_EPOCH (seconds since 1970, taken as UTC) fixes the time for reproducible output.
std::string os_ctime_now() {
  std::time_t t = std::time(nullptr);
  char buf[64];
  struct tm tmv;
  const char *epoch = std::getenv("SOURCE_DATE_EPOCH");
  char *end = nullptr;
  long long fixed = epoch && *epoch ? std::strtoll(epoch, &end, 10) : -1;
  if (fixed >= 0 && end && *end == 0 && fixed <= 253402300799LL) {
    t = static_cast<std::time_t>(fixed);
    ::gmtime_r(&t, &tmv);
  } else {
    ::localtime_r(&t, &tmv);
  }
  std::strftime(buf, sizeof buf, "%a %b %e %H:%M:%S %Y", &tmv);
  return buf;
}

std::string os_errtext(int err) { return std::system_category().message(err); }

std::string os_dir_part(std::string_view path) {
  size_t k = path.find_last_of("/\\");
  if (k == std::string_view::npos) return {};
  return std::string(path.substr(0, k));
}

namespace {
constexpr size_t HUGE_PAGE = size_t{2} << 20;
size_t page_bytes(size_t bytes) { return bytes >= HUGE_PAGE ? (bytes + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1) : bytes; }
}  // namespace

// Large regions are mapped with room to spare and trimmed to a 2 MiB boundary, so that the
// kernel can back them with huge pages. They are not populated up front: the last region of
// an arena is seldom filled, and touching it would count all of it in the run's memory.
void *os_alloc_pages(size_t bytes) {
  size_t n = page_bytes(bytes);
  if (n < HUGE_PAGE) {
    void *p = mmap(nullptr, n, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
  }
  void *raw = mmap(nullptr, n + HUGE_PAGE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  uintptr_t aligned = (start + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
  if (aligned > start) munmap(raw, aligned - start);
  size_t tail = (start + n + HUGE_PAGE) - (aligned + n);
  if (tail) munmap(reinterpret_cast<void *>(aligned + n), tail);
  void *p = reinterpret_cast<void *>(aligned);
#ifdef MADV_HUGEPAGE
  madvise(p, n, MADV_HUGEPAGE);
#endif
  return p;
}

void os_free_pages(void *p, size_t bytes) {
  if (p) munmap(p, page_bytes(bytes));
}

namespace {

// The registered temporary files. A slot's path is complete before its flag is set, and the
// handler reads nothing else, so it may run at any moment.
constexpr int TEMP_SLOTS = 16;
char temp_paths[TEMP_SLOTS][PATH_MAX];
volatile sig_atomic_t temp_used[TEMP_SLOTS];
constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

// Only async-signal-safe calls: unlink, sigaction, raise.
void remove_temps_and_reraise(int sig) {
  for (int i = 0; i < TEMP_SLOTS; ++i)
    if (temp_used[i]) ::unlink(temp_paths[i]);
  struct sigaction dfl {};
  dfl.sa_handler = SIG_DFL;
  ::sigaction(sig, &dfl, nullptr);
  ::raise(sig);
}

void install_cleanup() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (int sig : CLEANUP_SIGNALS) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
    struct sigaction sa {};
    sa.sa_handler = remove_temps_and_reraise;
    sigemptyset(&sa.sa_mask);
    for (int other : CLEANUP_SIGNALS) sigaddset(&sa.sa_mask, other);
    ::sigaction(sig, &sa, nullptr);
  }
}

}  // namespace

int os_temp_register(const char *path) {
  size_t len = std::strlen(path);
  if (len >= PATH_MAX) return -1;
  install_cleanup();
  for (int i = 0; i < TEMP_SLOTS; ++i) {
    if (temp_used[i]) continue;
    std::memcpy(temp_paths[i], path, len + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    temp_used[i] = 1;
    return i;
  }
  return -1;
}

void os_temp_release(int slot) {
  if (slot >= 0 && slot < TEMP_SLOTS) temp_used[slot] = 0;
}

bool os_file_id(const std::string &path, FileId &id) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return true;
}

std::FILE *os_open_input(const std::string &path, FileId &id) {
  if (path.find('\0') != std::string::npos) {
    errno = ENOENT;
    return nullptr;
  }
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f) return nullptr;
  struct stat st;
  if (::fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
    int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
    std::fclose(f);
    errno = err;
    return nullptr;
  }
  id = {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
  return f;
}

bool os_read_text(const std::string &path, std::string &out, size_t line_max, size_t total_max, FileId &id) {
  out.clear();
  std::FILE *f = os_open_input(path, id);
  if (!f) return false;
  char buf[16384];
  size_t total = 0, line_len = 0;
  int err = 0;
  for (;;) {
    size_t n = std::fread(buf, 1, sizeof buf, f);
    total += n;
    if (total > total_max) {
      err = EFBIG;
      break;
    }
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
      if (buf[i] != '\n') continue;
      size_t keep = line_len <= line_max ? std::min(i - start, line_max + 1 - line_len) : 0;
      out.append(buf + start, keep);
      out.push_back('\n');
      start = i + 1;
      line_len = 0;
    }
    size_t rest = n - start;
    size_t keep = line_len <= line_max ? std::min(rest, line_max + 1 - line_len) : 0;
    out.append(buf + start, keep);
    line_len += rest;
    if (n < sizeof buf) {
      if (std::ferror(f)) err = errno ? errno : EIO;
      break;
    }
  }
  std::fclose(f);
  if (err) {
    out.clear();
    errno = err;
    return false;
  }
  return true;
}
