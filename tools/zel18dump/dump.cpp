// zel18dump's decoder. The text form, one record at a time:
//
//   <NAME> len=<data length> <field>=<value> ...      the record's header line
//     <entry>                                         entries and bytes, indented two spaces
//
// Numbers: addresses, values, flags, memory sizes and offsets in hexadecimal ("0x1F4", capital
// digits, no padding); data lengths, field sizes, memory spaces, deltas, group numbers and the
// FNCONF number in decimal. Strings in double quotes; bytes outside 0x20-0x7E and the characters
// " and \ are written \xHH, \" and \\.
//
//   IDENT len=N order32=0,1,2,3 order16=0,1 machine="..." tail=3,11
//   TEXT len=N loc=0x0 psect="text"
//     0000: 12 0E 80 6E                   location of the line's first byte, up to 16 bytes a line
//   TEXT len=N extent=0xA psect="data"    a TEXT record without bytes: the psect's extent
//   RELOC len=N
//     offset=0x2 type=0x11 psect bytes=1 target="text"
//     offset=0x2 type=0x22 symbol bytes=2 target="ext"
//     offset=0x0 type=0xFC complex bits=12 expr=(a - b)
//     offset=0x0 type=0x30 check desc="bit number" value=b limit=0x7
//   PSECT len=N flags=0xD0(global,ovrld,abs) name="text"
//   XPSECT len=N size=0x0 reloc=0x0 space=0 delta=1 psect="text" class="CODE" with=""
//   PSECTLIM len=N limit=0x100 psect="text"
//   PSECTBOUND len=N lead=13 flags=0xD0(global,ovrld,abs) base=0x0 size=0x10 space=0 delta=1
//              psect="text" class="CODE"                         (one line)
//   SYM len=N
//     value=0x10 type=16(global) base="text" name="main"
//   START len=N offset=0x0 psect="text"
//   END len=2
//   SIGNAT len=N signat=0x1234 name="_f"
//   FNINFO len=N
//     FNCALL caller="a" callee="b"  |  FNARG function="a" args="b"  |  FNINDIR name="a" signat=0x1
//     FNADDR function="a"  |  FNSIZE function="a" first=0x2 second=0x4  |  FNROOT function="a"
//     FNBREAK first="a" second="b"
//   FNCONF len=N first="a" second="b" third="c" number=2
//   FNALIGN len=N group=0
//     member="a"
//   DABS len=N
//     space=1 addr=0x10 size=0x2 name="x"
//   COND_EXPR len=N expr=...
//   LISTRELOC len=N rlf="x.rlf" lst="x.lst"
//   LR_TEXT len=N
//     "   1 0000  0E12  movlw 12h\n"    one quoted piece per listing line (the last may be cut)
//   LR_RELOC len=N base=0x0 bytes=2 format=3 expr=...     (bits=11 for a bit-sized field)
//   SEGMENT len=N data=01 02 ...           records the assembler does not write: raw data
//
// Symbol types carry a name where they have one: 4(line) 5(file) 6(extern-local) 7(local)
// 16(global) 22(extern) 24(symrel). Psect flag names: global pure ovrld abs bit note; other
// bits are listed in hexadecimal.
//
// Expressions are printed infix. The operand written last (top of the stack) is the left one,
// so the bytes "16 b 16 a 5" print as a - b. Binary operators: + - * / << >> & | ^ mod, and
// op15, op22 for the two codes written as stored; binary operands of binary nodes are
// parenthesized.
// Unary: low(x) high(x) not(x) neg(x) op21(x) op23(x). Leaves: constants 0x5, psect or symbol
// names (quoted unless made of letters, digits and _ $ ? @ .), seg(name), extern(name),
// seg(extern(name)), text("...").
//
// With -x each record is followed by "  hex: " and its data bytes.
//
// Problems go to the error stream as "zel18dump: <file>: offset 0x<n>: <message>" with the
// offset of the record: "Unknown record type: %d", "Record too long: "%s" (%d)" and
// "Incomplete record: "%s" (%d)" with the record's name and length end the dump; a record whose
// fields do not fit its layout is printed as "<NAME> len=N (malformed)" with its data, reported
// as "Bad <NAME> record: ...", and the dump goes on. A file must begin with IDENT and end with
// END. Any problem makes the exit status 1.
#include "dump.h"

#include <cstdio>
#include <string>
#include <vector>

#include "objread.h"
#include "output/objout.h"

namespace {

std::string hex(uint64_t v) {
  char b[24];
  std::snprintf(b, sizeof b, "0x%llX", static_cast<unsigned long long>(v));
  return b;
}

std::string hex_bytes(const uint8_t *p, size_t n) {
  std::string s;
  char b[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(b, sizeof b, i ? " %02X" : "%02X", p[i]);
    s += b;
  }
  return s;
}

std::string quote(std::string_view s) {
  std::string q = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      q += '\\';
      q += static_cast<char>(c);
    } else if (c < 0x20 || c > 0x7E) {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02X", c);
      q += b;
    } else {
      q += static_cast<char>(c);
    }
  }
  return q + "\"";
}

bool plain_name(std::string_view s) {
  if (s.empty()) return false;
  for (unsigned char c : s)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
          c == '?' || c == '@' || c == '.'))
      return false;
  return true;
}

std::string name_leaf(std::string_view s) { return plain_name(s) ? std::string(s) : quote(s); }

// One operand on the decoding stack: its text, and whether it is a binary node (parenthesized).
struct Operand {
  std::string text;
  bool binary = false;
};

const char *binary_op(unsigned code) {
  switch (code) {
    case CX_ADD: return "+";
    case CX_SUB: return "-";
    case CX_MUL: return "*";
    case CX_DIV: return "/";
    case CX_SHL: return "<<";
    case CX_SHR: return ">>";
    case CX_AND: return "&";
    case CX_OR: return "|";
    case CX_XOR: return "^";
    case CX_BIN15: return "op15";
    case CX_MOD: return "mod";
    case CX_SHR22: return "op22";
    default: return nullptr;
  }
}

const char *unary_op(unsigned code) {
  switch (code) {
    case CX_LOW: return "low";
    case CX_HIGH: return "high";
    case CX_NOT: return "not";
    case CX_NEG: return "neg";
    case CX_UN21: return "op21";
    case CX_UN23: return "op23";
    default: return nullptr;
  }
}

std::string top_text(const Operand &o) {
  if (o.binary && o.text.size() >= 2) return o.text.substr(1, o.text.size() - 2);
  return o.text;
}

// Decodes postfix codes up to the code `stop` (consumed) and leaves the operands on the stack.
void decode_codes(ObjCursor &c, unsigned stop, std::vector<Operand> &st) {
  auto leaf = [&](const ObjLeaf &l) {
    switch (l.code) {
      case CX_CONST: st.push_back({hex(l.value)}); break;
      case CX_REL: st.push_back({name_leaf(l.name)}); break;
      case CX_REL | CX_SEG: st.push_back({"seg(" + name_leaf(l.name) + ")"}); break;
      case CX_EXT: st.push_back({"extern(" + name_leaf(l.name) + ")"}); break;
      case CX_EXT | CX_SEG: st.push_back({"seg(extern(" + name_leaf(l.name) + "))"}); break;
      default: st.push_back({"text(" + quote(l.name) + ")"}); break;
    }
  };
  auto op = [&](unsigned code, int arity) {
    if (arity == 2) {
      if (st.size() < 2) throw ObjBadRecord{"operator " + std::to_string(code) + " without two operands"};
      Operand left = std::move(st.back());
      st.pop_back();
      Operand &right = st.back();
      right.text = "(" + left.text + " " + binary_op(code) + " " + right.text + ")";
      right.binary = true;
      return;
    }
    if (st.empty()) throw ObjBadRecord{"operator " + std::to_string(code) + " without an operand"};
    st.back().text = std::string(unary_op(code)) + "(" + top_text(st.back()) + ")";
    st.back().binary = false;
  };
  obj_read_expr(c, stop, leaf, op);
}

// One expression ending with the 0 byte.
std::string decode_expr(ObjCursor &c) {
  std::vector<Operand> st;
  decode_codes(c, CX_END, st);
  if (st.size() != 1) throw ObjBadRecord{"expression leaves " + std::to_string(st.size()) + " values"};
  return top_text(st.back());
}

std::string psect_flags(unsigned f) {
  static const struct {
    unsigned bit;
    const char *name;
  } names[] = {{0x10, "global"}, {0x20, "pure"}, {0x40, "ovrld"}, {0x80, "abs"}, {0x400, "bit"}, {0x1000, "note"}};
  std::string s = hex(f) + "(";
  bool first = true;
  for (const auto &n : names)
    if (f & n.bit) {
      s += first ? "" : ",";
      s += n.name;
      first = false;
      f &= ~n.bit;
    }
  if (f) s += (first ? "" : ",") + hex(f);
  return s + ")";
}

std::string sym_type(unsigned t) {
  const char *n = nullptr;
  switch (t) {
    case ST_LINE: n = "line"; break;
    case ST_FILE: n = "file"; break;
    case ST_EXTERN_LOCAL: n = "extern-local"; break;
    case ST_LOCAL: n = "local"; break;
    case 0x10: n = "global"; break;
    case ST_EXTERN: n = "extern"; break;
    case ST_SYMREL: n = "symrel"; break;
  }
  return std::to_string(t) + (n ? std::string("(") + n + ")" : "");
}

std::string size_text(unsigned unit_bits, unsigned size) {
  return (unit_bits ? "bits=" : "bytes=") + std::to_string(size);
}

struct Dumper {
  std::string_view file;
  const DumpOptions &opt;
  std::ostream &out, &err;
  int status = 0;
  uint32_t text_loc = 0;  // location of the last TEXT record, for RELOC decoding

  void problem(size_t offset, const std::string &msg) {
    err << "zel18dump: " << file << ": offset " << hex(offset) << ": " << msg << "\n";
    status = 1;
  }

  // The lines of one record after its name and length.
  std::string decode(unsigned type, ObjCursor &c) {
    std::string s;
    switch (type) {
      case OR_IDENT: {
        unsigned b[6];
        for (unsigned &x : b) x = c.u8("byte order");
        s = " order32=" + std::to_string(b[0]) + "," + std::to_string(b[1]) + "," + std::to_string(b[2]) + "," +
            std::to_string(b[3]) + " order16=" + std::to_string(b[4]) + "," + std::to_string(b[5]);
        s += " machine=" + quote(c.str("machine"));
        unsigned t1 = c.u8("tail"), t2 = c.u8("tail");
        s += " tail=" + std::to_string(t1) + "," + std::to_string(t2);
        break;
      }
      case OR_TEXT: {
        uint32_t loc = c.u32("location");
        std::string_view psect = c.str("psect name");
        text_loc = loc;
        if (!c.left()) return " extent=" + hex(loc) + " psect=" + quote(psect);
        s = " loc=" + hex(loc) + " psect=" + quote(psect);
        for (size_t k = 0; c.left(); k += 16) {
          size_t m = std::min<size_t>(16, c.left());
          char b[16];
          std::snprintf(b, sizeof b, "%04llX: ", static_cast<unsigned long long>(loc) + k);
          s += "\n  " + std::string(b) + hex_bytes(c.p + c.i, m);
          c.i += m;
        }
        break;
      }
      case OR_RELOC:
        while (c.left()) s += "\n  " + reloc_entry(c);
        break;
      case OR_PSECT: {
        unsigned f = c.u16("flags");
        s = " flags=" + psect_flags(f) + " name=" + quote(c.str("psect name"));
        break;
      }
      case OR_XPSECT: {
        uint32_t size = c.u32("size");
        unsigned reloc = c.u16("reloc");
        c.zeros(2, "reserved");
        unsigned space = c.u8("space"), delta = c.u8("delta");
        c.zeros(2, "reserved");
        s = " size=" + hex(size) + " reloc=" + hex(reloc) + " space=" + std::to_string(space) +
            " delta=" + std::to_string(delta);
        s += " psect=" + quote(c.str("psect name"));
        s += " class=" + quote(c.str("class name"));
        s += " with=" + quote(c.str("with name"));
        break;
      }
      case OR_PSECTLIM: {
        unsigned limit = c.u16("limit");
        c.zeros(14, "reserved");
        s = " limit=" + hex(limit) + " psect=" + quote(c.str("psect name"));
        break;
      }
      case OR_PSECTBOUND: {
        unsigned lead = c.u8("lead");
        unsigned f = c.u16("flags");
        uint32_t base = c.u32("base"), size = c.u32("size");
        unsigned space = c.u8("space"), delta = c.u8("delta");
        s = " lead=" + std::to_string(lead) + " flags=" + psect_flags(f) + " base=" + hex(base) +
            " size=" + hex(size) + " space=" + std::to_string(space) + " delta=" + std::to_string(delta);
        s += " psect=" + quote(c.str("psect name"));
        s += " class=" + quote(c.str("class name"));
        break;
      }
      case OR_SYM:
        while (c.left()) {
          uint32_t v = c.u32("value");
          unsigned t = c.u16("type");
          std::string base = quote(c.str("base name"));
          s += "\n  value=" + hex(v) + " type=" + sym_type(t) + " base=" + base + " name=" + quote(c.str("name"));
        }
        break;
      case OR_START: {
        uint32_t off = c.u32("offset");
        s = " offset=" + hex(off) + " psect=" + quote(c.str("psect name"));
        break;
      }
      case OR_END:
        c.zeros(2, "END data");
        break;
      case OR_SIGNAT: {
        unsigned sig = c.u16("signature");
        s = " signat=" + hex(sig) + " name=" + quote(c.str("name"));
        break;
      }
      case OR_FNINFO:
        while (c.left()) s += "\n  " + fn_entry(c);
        break;
      case OR_FNCONF: {
        s = " first=" + quote(c.str("first name"));
        s += " second=" + quote(c.str("second name"));
        s += " third=" + quote(c.str("third name"));
        s += " number=" + std::to_string(c.u16("number"));
        break;
      }
      case OR_FNALIGN:
        s = " group=" + std::to_string(c.u16("group"));
        while (c.left()) s += "\n  member=" + quote(c.str("member"));
        break;
      case OR_DABS:
        while (c.left()) {
          unsigned space = c.u8("space");
          uint32_t addr = c.u32("address"), size = c.u32("size");
          s += "\n  space=" + std::to_string(space) + " addr=" + hex(addr) + " size=" + hex(size) +
               " name=" + quote(c.str("name"));
        }
        break;
      case OR_COND_EXPR:
        s = " expr=" + decode_expr(c);
        break;
      case OR_LISTRELOC:
        s = " rlf=" + quote(c.str("rlf name"));
        s += " lst=" + quote(c.str("lst name"));
        break;
      case OR_LR_TEXT:
        while (c.left()) {
          size_t k = c.i;
          while (k < c.n && c.p[k] != '\n') ++k;
          if (k < c.n) ++k;
          s += "\n  " + quote(std::string_view(reinterpret_cast<const char *>(c.p + c.i), k - c.i));
          c.i = k;
        }
        break;
      case OR_LR_RELOC: {
        uint32_t base = c.u32("base");
        c.zeros(1, "reserved");
        unsigned size = (c.u8("size") - '0') & 0xFF;
        unsigned format = c.u8("format");
        s = " base=" + hex(base) + " " +
            ((size & RK_BITS) == RK_BITS ? size_text(1, size - RK_BITS) : size_text(0, size)) +
            " format=" + std::to_string(format) + " expr=" + decode_expr(c);
        break;
      }
      default:  // records the assembler does not write
        s = " data=" + hex_bytes(c.p, c.n);
        c.i = c.n;
        break;
    }
    c.end();
    return s;
  }

  std::string reloc_entry(ObjCursor &c) {
    unsigned off = c.u16("offset");
    unsigned type = c.u8("type");
    std::string s = "offset=" + hex(off) + " type=" + hex(type);
    if (type == RK_RANGE_CHECK) {
      if (c.u8("check head") != CX_CHECK_HEAD) throw ObjBadRecord{"range check without its head code"};
      s += " check desc=" + quote(c.str("description"));
      std::vector<Operand> st;
      decode_codes(c, CX_CHECK, st);
      if (st.size() != 2) throw ObjBadRecord{"range check with " + std::to_string(st.size()) + " values"};
      return s + " value=" + top_text(st[0]) + " limit=" + top_text(st[1]);
    }
    unsigned unit = type & 0xC0, kind = type & 0x30, size = type & 0x0F;
    if (unit != 0 && unit != RK_BITS) throw ObjBadRecord{"relocation type " + hex(type) + " with an unknown unit"};
    if (size == 0) throw ObjBadRecord{"relocation type " + hex(type) + " with size 0"};
    std::string sz = size_text(unit, size);
    switch (kind) {
      case RK_PSECT: return s + " psect " + sz + " target=" + quote(c.str("target"));
      case RK_SYMBOL: return s + " symbol " + sz + " target=" + quote(c.str("target"));
      case RK_COMPLEX: return s + " complex " + sz + " expr=" + decode_expr(c);
      default: throw ObjBadRecord{"relocation type " + hex(type) + " of kind 0"};
    }
  }

  std::string fn_entry(ObjCursor &c) {
    unsigned kind = c.u8("kind");
    switch (kind) {
      case FN_CALL: {
        std::string a = quote(c.str("caller"));
        return "FNCALL caller=" + a + " callee=" + quote(c.str("callee"));
      }
      case FN_ARG: {
        std::string a = quote(c.str("function"));
        return "FNARG function=" + a + " args=" + quote(c.str("argument block"));
      }
      case FN_INDIR: {
        std::string a = quote(c.str("name"));
        return "FNINDIR name=" + a + " signat=" + hex(c.u16("signature"));
      }
      case FN_ADDR: return "FNADDR function=" + quote(c.str("function"));
      case FN_SIZE: {
        std::string a = quote(c.str("function"));
        uint32_t first = c.u32("first size");
        return "FNSIZE function=" + a + " first=" + hex(first) + " second=" + hex(c.u32("second size"));
      }
      case FN_ROOT: return "FNROOT function=" + quote(c.str("function"));
      case FN_BREAK: {
        std::string a = quote(c.str("first name"));
        return "FNBREAK first=" + a + " second=" + quote(c.str("second name"));
      }
      default: throw ObjBadRecord{"unknown FNINFO kind " + std::to_string(kind)};
    }
  }

  int run(std::span<const uint8_t> image) {
    auto visit = [&](ObjRecordView &r) {
      ObjCursor &c = r.data;
      try {
        std::string body = decode(r.type, c);
        out << r.name << " len=" << c.n << body << "\n";
      } catch (const ObjBadRecord &b) {
        out << r.name << " len=" << c.n << " (malformed) data=" << hex_bytes(c.p, c.n) << "\n";
        problem(r.offset, "Bad " + std::string(r.name) + " record: " + b.why);
      }
      if (opt.hex) out << "  hex: " << hex_bytes(c.p, c.n) << "\n";
    };
    obj_walk(image, visit, [&](size_t at, const std::string &msg) { problem(at, msg); });
    return status;
  }
};

}  // namespace

int dump_object(std::span<const uint8_t> image, std::string_view file, const DumpOptions &opt, std::ostream &out,
                std::ostream &err) {
  Dumper d{file, opt, out, err};
  return d.run(image);
}
