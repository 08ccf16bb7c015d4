// Output files that are whole or not there at all: written to a temporary file beside the
// target and renamed over it when complete, with every write checked.
#pragma once

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "host/os.h"

// A stream buffer over a file descriptor. The first failed write is remembered; later output
// is dropped, so a full disk costs nothing more than the check.
class CheckedBuf : public std::streambuf {
 public:
  CheckedBuf() { setp(buf_, buf_ + sizeof buf_); }
  void attach(int fd) { fd_ = fd; }
  int error() const { return err_; }  // errno of the first failed write; 0 when none
  bool drain();                       // writes what is buffered; false once anything failed

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char *s, std::streamsize n) override;
  int sync() override { return drain() ? 0 : -1; }

 private:
  bool put(const char *p, size_t n);
  int fd_ = -1;
  int err_ = 0;
  char buf_[1 << 16];
};

class OutFile : public std::ostream {
 public:
  OutFile() : std::ostream(&buf_) {}
  ~OutFile() override { discard(); }
  OutFile(const OutFile &) = delete;
  OutFile &operator=(const OutFile &) = delete;

  // Creates the output. A regular file (or a new one) is written as a temporary beside it; a
  // device or pipe is written directly, and so is everything in append mode. False with errno
  // set when nothing could be created.
  bool create(const std::string &target, bool append = false);
  // Writes what is buffered and closes; renames the temporary over the target unless the target
  // is one of `inputs`. False with errno set when anything failed (EEXIST: the target is an
  // input); the temporary is then removed and the target left as it was.
  bool commit(const std::vector<FileId> &inputs = {});
  // Removes the temporary of an uncommitted output; the target is untouched.
  void discard();
  // Writes what is buffered; false once any write has failed (errno set).
  bool check();

  const std::string &target() const { return target_; }

 private:
  CheckedBuf buf_;
  int fd_ = -1;
  std::string target_;  // the name the user gave
  std::string final_;   // the file the temporary is renamed to (links resolved)
  std::string temp_;    // empty when writing directly
  int temp_slot_ = -1;  // the temporary's registration for removal on an interrupt
};
