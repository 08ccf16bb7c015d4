// Fixed-size record pool: blocks of 64 records, a free list, released with the pool.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T, size_t BLOCK = 64>
class Pool {
 public:
  Pool() = default;
  Pool(const Pool &) = delete;
  Pool &operator=(const Pool &) = delete;
  ~Pool() {
    for (auto &b : blocks_)
      for (auto &c : b->cells)
        if (c.live) std::destroy_at(c.obj());
  }

  template <class... A>
  T *make(A &&...a) {
    Cell *c = take();
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
  size_t blocks() const { return blocks_.size(); }

 private:
  struct Cell {
    alignas(T) unsigned char mem[sizeof(T)];
    bool live = false;
    T *obj() { return std::launder(reinterpret_cast<T *>(mem)); }
  };
  struct Block {
    Cell cells[BLOCK];
  };

  Cell *take() {
    if (!free_.empty()) {
      Cell *c = free_.back();
      free_.pop_back();
      return c;
    }
    if (blocks_.empty() || used_ == BLOCK) {
      blocks_.push_back(std::make_unique<Block>());
      used_ = 0;
    }
    return &blocks_.back()->cells[used_++];
  }

  std::vector<std::unique_ptr<Block>> blocks_;
  std::vector<Cell *> free_;
  size_t used_ = BLOCK;
  size_t live_ = 0;
};
