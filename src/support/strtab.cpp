// String interning in 64 KiB chunks; nothing is freed before the table itself.
#include "support/strtab.h"

#include <cstring>

char *StringTable::alloc(size_t n) {
  if (n > left_) {
    size_t sz = n > CHUNK ? n : CHUNK;
    chunks_.push_back(std::make_unique<char[]>(sz));
    cur_ = chunks_.back().get();
    left_ = sz;
  }
  char *p = cur_;
  cur_ += n;
  left_ -= n;
  return p;
}

const char *StringTable::intern(std::string_view s) {
  auto it = set_.find(s);
  if (it != set_.end()) return it->data();
  char *p = alloc(s.size() + 1);
  if (!s.empty()) std::memcpy(p, s.data(), s.size());
  p[s.size()] = 0;
  set_.insert(std::string_view(p, s.size()));
  return p;
}
