// String interning: texts in 64 KiB chunks, each behind a header with its slot, length and
// hash; an open-addressing table of text pointers, kept at most half full.
#include "support/strtab.h"

#include <cstring>
#include <new>

uint32_t StringTable::hash_of(std::string_view s) {
  const unsigned char *p = reinterpret_cast<const unsigned char *>(s.data());
  size_t n = s.size();
  uint64_t h = 0x9E3779B97F4A7C15ULL ^ n;
  while (n >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    h = (h ^ w) * 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 29;
    p += 8;
    n -= 8;
  }
  uint64_t w = 0;
  for (size_t i = 0; i < n; ++i) w |= uint64_t{p[i]} << (8 * i);
  h = (h ^ w) * 0x94D049BB133111EBULL;
  h ^= h >> 32;
  return static_cast<uint32_t>(h);
}

// The stored text equal to s, or null with `at` the empty cell where it would go.
const char *StringTable::lookup(std::string_view s, uint32_t h, size_t &at) const {
  size_t mask = table_.size() - 1;
  for (size_t i = h & mask;; i = (i + 1) & mask) {
    const char *t = table_[i];
    if (!t) {
      at = i;
      return nullptr;
    }
    const Header *hd = header(t);
    if (hd->hash == h && hd->len == s.size() && std::memcmp(t, s.data(), s.size()) == 0) return t;
  }
}

void StringTable::grow() {
  PageVector<const char *> old;
  old.swap(table_);
  table_.assign(old.empty() ? 1024 : old.size() * 2, nullptr);
  size_t mask = table_.size() - 1;
  for (const char *t : old) {
    if (!t) continue;
    size_t i = header(t)->hash & mask;
    while (table_[i]) i = (i + 1) & mask;
    table_[i] = t;
  }
}

// Every byte is written before it is read.
char *StringTable::alloc(size_t n) {
  return reinterpret_cast<char *>(text_.take_adjacent((n + sizeof(Unit) - 1) / sizeof(Unit)));
}

const char *StringTable::find(std::string_view s) const {
  if (table_.empty() || s.size() > UINT32_MAX) return nullptr;
  size_t at;
  return lookup(s, hash_of(s), at);
}

const char *StringTable::intern(std::string_view s) {
  if (s.size() >= UINT32_MAX - sizeof(Header)) throw std::bad_alloc();
  if ((count_ + 1) * 2 > table_.size()) grow();
  uint32_t h = hash_of(s);
  size_t at;
  if (const char *t = lookup(s, h, at)) return t;
  char *mem = alloc(sizeof(Header) + s.size() + 1);
  Header *hd = reinterpret_cast<Header *>(mem);
  hd->slot = nullptr;
  hd->len = static_cast<uint32_t>(s.size());
  hd->hash = h;
  char *text = mem + sizeof(Header);
  if (!s.empty()) std::memcpy(text, s.data(), s.size());
  text[s.size()] = 0;
  table_[at] = text;
  ++count_;
  return text;
}

void StringTable::clear_slots() {
  for (const char *t : table_)
    if (t) header(t)->slot = nullptr;
}
