// String interning: each distinct text is stored once per run and compared by pointer.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

class StringTable {
 public:
  StringTable() = default;
  StringTable(const StringTable &) = delete;
  StringTable &operator=(const StringTable &) = delete;

  // Returns the one stored, NUL-terminated copy of s; equal texts give equal pointers.
  const char *intern(std::string_view s);
  size_t size() const { return set_.size(); }

 private:
  static constexpr size_t CHUNK = 64 * 1024;
  char *alloc(size_t n);

  std::unordered_set<std::string_view> set_;
  std::vector<std::unique_ptr<char[]>> chunks_;
  char *cur_ = nullptr;
  size_t left_ = 0;
};
