// Checked, atomically replaced output files (POSIX).
#include "host/outfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

bool CheckedBuf::put(const char *p, size_t n) {
  if (err_) return false;
  while (n) {
    ssize_t w = ::write(fd_, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      err_ = w < 0 ? errno : EIO;
      return false;
    }
    p += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

bool CheckedBuf::drain() {
  size_t n = static_cast<size_t>(pptr() - pbase());
  setp(buf_, buf_ + sizeof buf_);
  return (n == 0 || put(buf_, n)) && !err_;
}

CheckedBuf::int_type CheckedBuf::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize CheckedBuf::xsputn(const char *s, std::streamsize n) {
  size_t len = static_cast<size_t>(n), room = static_cast<size_t>(epptr() - pptr());
  if (len <= room) {
    std::memcpy(pptr(), s, len);
    pbump(static_cast<int>(len));
    return n;
  }
  if (!drain()) return 0;
  if (len >= sizeof buf_) return put(s, len) ? n : 0;
  std::memcpy(pptr(), s, len);
  pbump(static_cast<int>(len));
  return n;
}

namespace {

std::string dir_of(const std::string &path) {
  size_t k = path.rfind('/');
  if (k == std::string::npos) return ".";
  return k == 0 ? "/" : path.substr(0, k);
}

mode_t creation_mode() {
  mode_t m = ::umask(0);
  ::umask(m);
  return 0666 & ~m;
}

}  // namespace

bool OutFile::create(const std::string &target, bool append) {
  discard();
  target_ = final_ = target;
  if (target.empty() || target.find('\0') != std::string::npos) {
    errno = ENOENT;
    return false;
  }
  struct stat st;
  bool exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return false;
  if (append || (exists && !S_ISREG(st.st_mode))) {
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    fd_ = ::open(target.c_str(), flags, 0666);
    if (fd_ < 0) return false;
  } else {
    if (exists && ::access(target.c_str(), W_OK) != 0) return false;
    struct stat lst;
    if (exists && ::lstat(target.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
      // The link stays; the file it leads to is replaced.
      if (char *real = ::realpath(target.c_str(), nullptr)) {
        final_ = real;
        std::free(real);
      }
    }
    size_t slash = final_.rfind('/');
    std::string base = slash == std::string::npos ? final_ : final_.substr(slash + 1);
    if (base.size() > NAME_MAX - 16) base = "asz";
    std::string tmpl = dir_of(final_) + "/." + base + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
      if (errno == EEXIST || errno == EINVAL) errno = EACCES;
      return false;
    }
    temp_ = name.data();
    temp_slot_ = os_temp_register(temp_.c_str());
    ::fchmod(fd_, creation_mode());
  }
  buf_.attach(fd_);
  clear();
  return true;
}

bool OutFile::check() {
  if (fd_ < 0) return true;
  if (buf_.drain()) return true;
  errno = buf_.error();
  return false;
}

bool OutFile::commit(const std::vector<FileId> &inputs) {
  if (fd_ < 0) return true;
  bool ok = buf_.drain();
  int err = buf_.error();
  if (::close(fd_) != 0 && ok) {
    ok = false;
    err = errno;
  }
  fd_ = -1;
  FileId id;
  if (ok && !temp_.empty() && os_file_id(final_, id) && std::find(inputs.begin(), inputs.end(), id) != inputs.end()) {
    ok = false;
    err = EEXIST;
  }
  if (ok && !temp_.empty() && ::rename(temp_.c_str(), final_.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (ok) {
    temp_.clear();
    os_temp_release(temp_slot_);
    temp_slot_ = -1;
  }
  discard();
  errno = err;
  return ok;
}

void OutFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  os_temp_release(temp_slot_);
  temp_slot_ = -1;
  setstate(std::ios::badbit);
}
