// Object-file reading shared by the dumper and the simulator: framing, fields, expressions.
#include "objread.h"

#include "output/objout.h"

unsigned ObjCursor::u8(const char *field) {
  if (left() < 1) throw ObjBadRecord{std::string(field) + " cut short"};
  return p[i++];
}

unsigned ObjCursor::u16(const char *field) {
  if (left() < 2) throw ObjBadRecord{std::string(field) + " cut short"};
  unsigned v = p[i] | p[i + 1] << 8;
  i += 2;
  return v;
}

uint32_t ObjCursor::u32(const char *field) {
  if (left() < 4) throw ObjBadRecord{std::string(field) + " cut short"};
  uint32_t v = p[i] | p[i + 1] << 8 | p[i + 2] << 16 | static_cast<uint32_t>(p[i + 3]) << 24;
  i += 4;
  return v;
}

std::string_view ObjCursor::str(const char *field) {
  for (size_t k = i; k < n; ++k)
    if (p[k] == 0) {
      std::string_view s(reinterpret_cast<const char *>(p + i), k - i);
      i = k + 1;
      return s;
    }
  throw ObjBadRecord{std::string(field) + " without NUL"};
}

void ObjCursor::zeros(size_t count, const char *field) {
  for (size_t k = 0; k < count; ++k)
    if (u8(field) != 0) throw ObjBadRecord{std::string(field) + " not zero"};
}

void ObjCursor::end() {
  if (left()) throw ObjBadRecord{"bytes left after the last field: " + std::to_string(left())};
}

bool obj_walk(std::span<const uint8_t> image, const std::function<void(ObjRecordView &)> &visit,
              const std::function<void(size_t, const std::string &)> &problem) {
  size_t pos = 0;
  unsigned count = 0;
  bool ended = false, sound = true;
  auto report = [&](size_t at, const std::string &msg) {
    problem(at, msg);
    sound = false;
  };
  if (image.empty()) report(0, "empty file");
  while (pos < image.size()) {
    size_t avail = image.size() - pos;
    if (avail < 3) {
      report(pos, "Incomplete record: \"(header)\" (" + std::to_string(avail) + ")");
      return false;
    }
    unsigned len = image[pos] | image[pos + 1] << 8, type = image[pos + 2];
    const char *name = obj_record_name(type);
    if (!name || type > OR_PSECTBOUND) {
      report(pos, "Unknown record type: " + std::to_string(type));
      return false;
    }
    if (len > OBJ_READER_MAXDATA) {
      report(pos, "Record too long: \"" + std::string(name) + "\" (" + std::to_string(len) + ")");
      return false;
    }
    if (avail - 3 < len) {
      report(pos, "Incomplete record: \"" + std::string(name) + "\" (" + std::to_string(len) + ")");
      return false;
    }
    if (ended) report(pos, "record after END");
    if (count == 0 && type != OR_IDENT) report(pos, "the first record is " + std::string(name) + ", not IDENT");
    ObjRecordView r{pos, type, name, ObjCursor{image.data() + pos + 3, len}};
    visit(r);
    ended |= type == OR_END;
    ++count;
    pos += 3 + len;
  }
  if (!ended && !image.empty()) report(pos, "no END record");
  return sound;
}

int obj_expr_arity(unsigned code) {
  switch (code) {
    case CX_CONST: case CX_REL: case CX_REL | CX_SEG: case CX_EXT: case CX_EXT | CX_SEG: case CX_TEXT:
      return 0;
    case CX_LOW: case CX_HIGH: case CX_NOT: case CX_NEG: case CX_UN21: case CX_UN23:
      return 1;
    case CX_ADD: case CX_SUB: case CX_MUL: case CX_DIV: case CX_SHL: case CX_SHR: case CX_AND: case CX_OR:
    case CX_XOR: case CX_BIN15: case CX_MOD: case CX_SHR22:
      return 2;
    default:
      return -1;
  }
}

void obj_read_expr(ObjCursor &c, unsigned stop, const std::function<void(const ObjLeaf &)> &leaf,
                   const std::function<void(unsigned code, int arity)> &op) {
  for (;;) {
    unsigned code = c.u8("expression");
    if (code == stop) return;
    int arity = obj_expr_arity(code);
    if (arity < 0) throw ObjBadRecord{"unknown expression code " + std::to_string(code)};
    if (arity > 0) {
      op(code, arity);
    } else if (code == CX_CONST) {
      leaf(ObjLeaf{code, c.u32("constant"), {}});
    } else {
      leaf(ObjLeaf{code, 0, c.str(code == CX_TEXT ? "text" : "name")});
    }
  }
}
