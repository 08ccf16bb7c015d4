// Record storage. A slab hands out uninitialised cells in creation order from chunks that grow
// geometrically (a small first chunk, doubling up to about 4 MiB), so a small run stays small
// and a large one makes few, large allocations; big chunks come straight from the system's
// pages. A pool adds construction, a free list, and destruction of the live records; an arena
// only construction, for records that live as long as the run.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "host/os.h"

// Storage blocks this big come straight from the system's pages.
constexpr size_t POOL_PAGES_FROM = size_t{64} << 10;

template <class T>
class Slab {
 public:
  explicit Slab(size_t first = 64) : first_(first ? first : 1) {}
  Slab(const Slab &) = delete;
  Slab &operator=(const Slab &) = delete;
  ~Slab() {
    for (Chunk &c : chunks_) release(c);
  }

  // Storage for one T, not constructed.
  T *take() {
    if (left_ == 0) grow();
    --left_;
    return next_++;
  }

  // Storage for n adjacent T, not constructed; the rest of a chunk too small for them is left
  // unused.
  T *take_adjacent(size_t n) {
    if (left_ < n) grow(n);
    left_ -= n;
    T *p = next_;
    next_ += n;
    return p;
  }

  // Storage for one T with all bits zero, for records whose zero bits are their initial
  // state: cells of fresh system pages are zero already and are not written again.
  T *take_zeroed() {
    T *p = take();
    if (!chunks_.back().pages) std::memset(static_cast<void *>(p), 0, sizeof(T));
    return p;
  }

  // Calls f(T *) for every cell handed out so far, in order.
  template <class F>
  void for_each(F &&f) {
    for (size_t i = 0; i < chunks_.size(); ++i) {
      const Chunk &c = chunks_[i];
      size_t n = i + 1 == chunks_.size() ? c.count - left_ : c.count;
      for (size_t k = 0; k < n; ++k) f(c.cells + k);
    }
  }

  size_t chunks() const { return chunks_.size(); }

 private:
  static constexpr size_t MAX_BYTES = size_t{4} << 20;   // largest chunk

  struct Chunk {
    T *cells;
    size_t count;
    size_t bytes;
    bool pages;  // from os_alloc_pages
  };

  void grow(size_t least = 1) {
    size_t most = std::max<size_t>(1, MAX_BYTES / sizeof(T));
    size_t count = chunks_.empty() ? first_ : std::min(chunks_.back().count * 2, most);
    count = std::max({count, least, chunks_.empty() ? size_t{1} : chunks_.back().count});
    size_t bytes = count * sizeof(T);
    chunks_.reserve(chunks_.size() + 1);  // no allocation can fail after the chunk's
    void *mem = nullptr;
    bool pages = false;
    if (bytes >= POOL_PAGES_FROM && alignof(T) <= 4096) pages = (mem = os_alloc_pages(bytes)) != nullptr;
    if (!mem) mem = ::operator new(bytes, std::align_val_t{alignof(T)});
    chunks_.push_back({static_cast<T *>(mem), count, bytes, pages});
    next_ = chunks_.back().cells;
    left_ = count;
  }

  static void release(Chunk &c) {
    if (c.pages) os_free_pages(c.cells, c.bytes);
    else ::operator delete(c.cells, std::align_val_t{alignof(T)});
  }

  std::vector<Chunk> chunks_;
  T *next_ = nullptr;
  size_t left_ = 0;
  size_t first_;
};

// Records that are never freed and need no destruction: each takes only its own size.
template <class T, size_t FIRST = 64>
class Arena {
  static_assert(std::is_trivially_destructible_v<T>);

 public:
  template <class... A>
  T *make(A &&...a) {
    return new (cells_.take()) T(std::forward<A>(a)...);
  }

  // Two adjacent records, copies of a and b.
  T *make_pair(const T &a, const T &b) {
    T *p = cells_.take_adjacent(2);
    new (p) T(a);
    new (p + 1) T(b);
    return p;
  }

 private:
  Slab<T> cells_{FIRST};
};

template <class T, size_t FIRST = 64>
class Pool {
 public:
  Pool() = default;
  Pool(const Pool &) = delete;
  Pool &operator=(const Pool &) = delete;
  ~Pool() {
    if constexpr (!std::is_trivially_destructible_v<T>)
      cells_.for_each([](Cell *c) {
        if (c->live) std::destroy_at(c->obj());
      });
  }

  template <class... A>
  T *make(A &&...a) {
    Cell *c;
    if (!free_.empty()) {
      c = free_.back();
      free_.pop_back();
    } else {
      c = new (cells_.take()) Cell;
    }
    T *p = new (c->mem) T(std::forward<A>(a)...);
    c->live = true;
    ++live_;
    return p;
  }

  // Destroys the record and keeps its cell for reuse.
  void free(T *p) {
    if (!p) return;
    Cell *c = reinterpret_cast<Cell *>(p);  // mem is the cell's first member
    if (!c->live) return;
    std::destroy_at(p);
    c->live = false;
    --live_;
    free_.push_back(c);
  }

  size_t live() const { return live_; }
  size_t blocks() const { return cells_.chunks(); }

 private:
  struct Cell {
    alignas(T) unsigned char mem[sizeof(T)];
    bool live = false;
    T *obj() { return std::launder(reinterpret_cast<T *>(mem)); }
  };

  Slab<Cell> cells_{FIRST};
  std::vector<Cell *> free_;
  size_t live_ = 0;
};

// An allocator for large tables that are filled soon after they are made (hash tables, tables
// indexed by statement number): big blocks come straight from the system's pages, populated in
// one call or backed by huge pages, rather than from the heap a page fault per 4 KiB.
template <class T>
struct PageAllocator {
  using value_type = T;
  PageAllocator() = default;
  template <class U>
  PageAllocator(const PageAllocator<U> &) {}
  T *allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    if (!big(n)) return static_cast<T *>(::operator new(n * sizeof(T)));
    void *p = os_alloc_pages(n * sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T *>(p);
  }
  void deallocate(T *p, size_t n) {
    if (big(n))
      os_free_pages(p, n * sizeof(T));
    else
      ::operator delete(p);
  }
  template <class U>
  bool operator==(const PageAllocator<U> &) const { return true; }

 private:
  static bool big(size_t n) { return n * sizeof(T) >= POOL_PAGES_FROM && alignof(T) <= 4096; }
};

template <class T>
using PageVector = std::vector<T, PageAllocator<T>>;
