// POSIX implementation of the operating-system layer.
#include "host/os.h"

#include <sys/stat.h>
#include <unistd.h>

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

std::string os_ctime_now() {
  std::time_t t = std::time(nullptr);
  char buf[64];
  struct tm tmv;
  ::localtime_r(&t, &tmv);
  std::strftime(buf, sizeof buf, "%a %b %e %H:%M:%S %Y", &tmv);
  return buf;
}

std::string os_errtext(int err) { return std::system_category().message(err); }

std::string os_dir_part(std::string_view path) {
  size_t k = path.find_last_of("/\\");
  if (k == std::string_view::npos) return {};
  return std::string(path.substr(0, k));
}
