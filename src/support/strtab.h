// String interning: each distinct text is stored once per run and compared by pointer. Every
// stored text carries one pointer-sized slot for its owner's use (the symbol table keeps the
// newest symbol of that name there), so a name costs one hash lookup in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "support/pool.h"

class StringTable {
 public:
  StringTable() = default;
  StringTable(const StringTable &) = delete;
  StringTable &operator=(const StringTable &) = delete;

  // Returns the one stored, NUL-terminated copy of s; equal texts give equal pointers.
  const char *intern(std::string_view s);
  // The stored copy of s, or null when s was never interned.
  const char *find(std::string_view s) const;
  // The slot of a text returned by intern or find; null until set.
  static void *&slot(const char *interned) { return header(interned)->slot; }
  size_t size() const { return count_; }
  // Sets every slot back to null.
  void clear_slots();

 private:
  struct Header {
    void *slot;
    uint32_t len;
    uint32_t hash;
  };
  static Header *header(const char *text) {
    return reinterpret_cast<Header *>(const_cast<char *>(text) - sizeof(Header));
  }
  static uint32_t hash_of(std::string_view s);
  const char *lookup(std::string_view s, uint32_t h, size_t &at) const;
  void grow();
  char *alloc(size_t n);

  // Texts are stored in whole units, so that every header is aligned.
  struct alignas(Header) Unit {
    unsigned char bytes[alignof(Header)];
  };

  PageVector<const char *> table_;   // open addressing, linear probing; null is empty
  size_t count_ = 0;
  Slab<Unit> text_{512};             // headers and texts
};
