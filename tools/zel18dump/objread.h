// Object-file reading shared by zel18dump and zel18sim: record framing, checked field reads and
// the postfix walk over complex expressions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

// A record whose fields do not fit its layout.
struct ObjBadRecord {
  std::string why;
};

// Reads the fields of one record's data; every read is checked against its end.
struct ObjCursor {
  const uint8_t *p;
  size_t n;
  size_t i = 0;

  size_t left() const { return n - i; }
  unsigned u8(const char *field);
  unsigned u16(const char *field);
  uint32_t u32(const char *field);
  std::string_view str(const char *field);  // up to its NUL, which is consumed
  void zeros(size_t count, const char *field);
  void end();  // nothing may be left
};

// One framed record of a file image.
struct ObjRecordView {
  size_t offset;     // of the record header in the image
  unsigned type;
  const char *name;  // "TEXT", ...
  ObjCursor data;    // the record's data bytes
};

// Walks the records of an image and calls visit for each. Framing problems go to problem with
// the offset: "Unknown record type: %d", "Record too long: "%s" (%d)" and "Incomplete record:
// "%s" (%d)" end the walk; a first record other than IDENT, a record after END and a missing
// END are reported and the walk goes on. Returns whether the framing was sound.
bool obj_walk(std::span<const uint8_t> image, const std::function<void(ObjRecordView &)> &visit,
              const std::function<void(size_t, const std::string &)> &problem);

// Arity of a complex-expression code: 0 for a leaf, 1 or 2 for an operator, -1 for a code that
// is neither (the terminators and range-check codes included).
int obj_expr_arity(unsigned code);

// The leaf of an expression: a constant (code CX_CONST, value set) or a name (name set).
struct ObjLeaf {
  unsigned code;
  uint32_t value = 0;
  std::string_view name;
};

// Reads postfix codes up to the code stop (consumed), calling leaf for every leaf and op for
// every operator in the order written. Unknown codes throw ObjBadRecord; stack depth is the
// caller's business.
void obj_read_expr(ObjCursor &c, unsigned stop, const std::function<void(const ObjLeaf &)> &leaf,
                   const std::function<void(unsigned code, int arity)> &op);
