// zel18sim's linker. Psects of the same name marked global are one psect across the files, each
// file's part following the previous one; local psects stay apart. Absolute psects keep their
// addresses; relocatable ones are placed first fit: program-memory psects from address 0 (the
// one named by a START record first), data psects by class (COMRAM in the access RAM, BANKn in
// bank n, any other class from bank 1 up, never across a bank boundary when it fits in one
// bank, never into the SFR banks).
#include "link.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>

#include "dump.h"
#include "objread.h"
#include "output/objout.h"

namespace {

struct LinkError {
  std::string why;
};

struct Reloc {
  uint32_t offset;            // in the TEXT record's data
  unsigned type;              // the relocation type byte
  std::string target;         // psect or symbol name (simple kinds)
  std::vector<uint8_t> expr;  // complex kind: the codes and the 0 byte; range check: from the description
};

struct Text {
  int psect;                   // index in the file's psects
  uint32_t loc;                // byte offset in the psect
  std::vector<uint8_t> bytes;
  std::vector<Reloc> relocs;
};

struct FilePsect {
  std::string name, cls;
  unsigned flags = 0, space = 0, delta = 1;
  uint32_t reloc = 0;
  uint32_t lo = UINT32_MAX, hi = 0;  // byte offsets covered by TEXT records
  uint32_t extent = 0;               // from extent records and PSECTBOUND
  bool bound = false;
  uint32_t bound_base = 0;           // lowest offset holding content (PSECTBOUND)
  int order = INT_MAX;               // position of its first TEXT record in the file
  int merged = -1;                   // index of the program-wide psect
  uint32_t base = 0;                 // byte address of this file's part

  uint32_t size() const { return std::max(extent, hi); }
  bool absolute() const { return flags & 0x80; }
};

struct FileSym {
  std::string name, base;
  uint32_t value;
  unsigned type;
};

struct Dabs {
  unsigned space;
  uint32_t addr, size;
};

struct ObjFile {
  std::string path;
  std::vector<FilePsect> psects;
  std::unordered_map<std::string, int> psect_index;
  std::vector<FileSym> syms;
  std::vector<Text> texts;
  std::vector<Dabs> dabs;
  std::string start_psect;  // named by a START record
};

// A symbol with the base of its psect, for seg().
struct Sym {
  LinkedSymbol pub;
  uint32_t seg = 0;
  const ObjFile *file = nullptr;  // where it was defined
};

// A psect of the whole program: the parts of the files that share it.
struct Psect {
  std::string name, cls;
  int space = SPACE_PROGRAM;
  bool absolute = false;
  uint32_t align = 1;
  std::vector<std::pair<int, int>> parts;  // (file, psect of the file)
  uint32_t base = 0, size = 0;
};

[[noreturn]] void fail(const std::string &file, const std::string &msg) {
  throw LinkError{file.empty() ? msg : file + ": " + msg};
}

std::string hex(uint64_t v) {
  std::ostringstream s;
  s << "0x" << std::uppercase << std::hex << v;
  return s.str();
}

// Reads the rest of a complex expression (through its 0 byte) and returns its bytes.
std::vector<uint8_t> take_expr(ObjCursor &c, unsigned stop) {
  size_t from = c.i;
  obj_read_expr(c, stop, [](const ObjLeaf &) {}, [](unsigned, int) {});
  return std::vector<uint8_t>(c.p + from, c.p + c.i);
}

void read_reloc_record(ObjFile &f, ObjCursor &c, bool after_text) {
  if (!after_text || f.texts.empty()) throw ObjBadRecord{"RELOC record not after a TEXT record"};
  Text &t = f.texts.back();
  while (c.left()) {
    Reloc r;
    r.offset = c.u16("offset");
    r.type = c.u8("type");
    if (r.type == RK_RANGE_CHECK) {
      if (c.u8("check head") != CX_CHECK_HEAD) throw ObjBadRecord{"range check without its head code"};
      size_t from = c.i;
      c.str("description");
      take_expr(c, CX_CHECK);
      r.expr.assign(c.p + from, c.p + c.i);
    } else if ((r.type & 0x30) == RK_COMPLEX) {
      r.expr = take_expr(c, CX_END);
    } else {
      r.target = c.str("target");
    }
    t.relocs.push_back(std::move(r));
  }
}

FilePsect &psect_named(ObjFile &f, std::string_view name, const char *record) {
  auto it = f.psect_index.find(std::string(name));
  if (it == f.psect_index.end())
    throw ObjBadRecord{std::string(record) + " names the psect \"" + std::string(name) + "\", which has no PSECT record"};
  return f.psects[it->second];
}

void read_psect_records(ObjFile &f, unsigned type, ObjCursor &c) {
  if (type == OR_PSECT) {
    FilePsect p;
    p.flags = c.u16("flags");
    p.name = c.str("psect name");
    if (f.psect_index.count(p.name)) throw ObjBadRecord{"a second PSECT record for \"" + p.name + "\""};
    f.psect_index[p.name] = static_cast<int>(f.psects.size());
    f.psects.push_back(std::move(p));
  } else if (type == OR_XPSECT) {
    c.u32("size");
    uint32_t reloc = c.u16("reloc");
    c.zeros(2, "reserved");
    unsigned space = c.u8("space"), delta = c.u8("delta");
    c.zeros(2, "reserved");
    FilePsect &p = psect_named(f, c.str("psect name"), "XPSECT");
    p.reloc = reloc, p.space = space, p.delta = delta ? delta : 1;
    p.cls = c.str("class name");
    c.str("with name");
  } else {  // PSECTBOUND
    c.u8("lead");
    c.u16("flags");
    uint32_t base = c.u32("base"), size = c.u32("size");
    c.u8("space");
    c.u8("delta");
    FilePsect &p = psect_named(f, c.str("psect name"), "PSECTBOUND");
    p.bound = true, p.bound_base = base, p.extent = std::max(p.extent, size);
    c.str("class name");
  }
}

void read_text_record(ObjFile &f, ObjCursor &c) {
  uint32_t loc = c.u32("location");
  std::string_view name = c.str("psect name");
  FilePsect &p = psect_named(f, name, "TEXT");
  if (!c.left()) {
    p.extent = std::max(p.extent, loc);
    return;
  }
  uint64_t end = uint64_t{loc} + c.left();
  if (end > UINT32_MAX) throw ObjBadRecord{"bytes beyond 4 GiB"};
  p.lo = std::min(p.lo, loc), p.hi = std::max(p.hi, static_cast<uint32_t>(end));
  p.order = std::min(p.order, static_cast<int>(f.texts.size()));
  f.texts.push_back(Text{f.psect_index[std::string(name)], loc, std::vector<uint8_t>(c.p + c.i, c.p + c.n), {}});
  c.i = c.n;
}

void read_record(ObjFile &f, ObjRecordView &r, unsigned prev) {
  ObjCursor &c = r.data;
  switch (r.type) {
    case OR_PSECT: case OR_XPSECT: case OR_PSECTBOUND: read_psect_records(f, r.type, c); break;
    case OR_TEXT: read_text_record(f, c); break;
    case OR_RELOC: read_reloc_record(f, c, prev == OR_TEXT || prev == OR_RELOC); break;
    case OR_SYM:
      while (c.left()) {
        FileSym s;
        s.value = c.u32("value");
        s.type = c.u16("type");
        s.base = c.str("base name");
        s.name = c.str("symbol name");
        f.syms.push_back(std::move(s));
      }
      break;
    case OR_START:
      c.u32("offset");
      f.start_psect = c.str("psect name");
      break;
    case OR_DABS:
      while (c.left()) {
        Dabs d{c.u8("space"), c.u32("address"), c.u32("size")};
        c.str("name");
        f.dabs.push_back(d);
      }
      break;
    case OR_COND_EXPR: throw ObjBadRecord{"conditional code (COND_EXPR) cannot be linked here"};
    case OR_LR_TEXT: case OR_LR_RELOC: throw ObjBadRecord{"a relocatable listing, not an object file"};
    default: c.i = c.n; break;  // IDENT, END and the function information: not needed here
  }
}

std::vector<uint8_t> read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) fail(path, "cannot open");
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) fail(path, "read error");
  return image;
}

// Reads one object file; the dumper's decoder vets every record first.
ObjFile read_object(const std::string &path, const std::vector<uint8_t> &image) {
  std::ostringstream sink, problems;
  if (dump_object(image, path, DumpOptions{}, sink, problems) != 0) {
    std::string first = problems.str().substr(0, problems.str().find('\n'));
    const std::string prefix = "zel18dump: ";
    if (first.compare(0, prefix.size(), prefix) == 0) first.erase(0, prefix.size());
    fail("", first);
  }
  ObjFile f;
  f.path = path;
  unsigned prev = 0;
  auto visit = [&](ObjRecordView &r) {
    try {
      read_record(f, r, prev);
    } catch (const ObjBadRecord &b) {
      fail(path, "offset " + hex(r.offset) + ": " + b.why);
    }
    prev = r.type;
  };
  obj_walk(image, visit, [&](size_t at, const std::string &msg) { fail(path, "offset " + hex(at) + ": " + msg); });
  return f;
}

}  // namespace

// The linker proper; everything it needs to keep while it works.
struct Linker {
  const SimDevice &dev;
  std::vector<ObjFile> files;
  std::vector<Psect> psects;
  std::unordered_map<std::string, Sym> globals;
  std::vector<std::unordered_map<std::string, Sym>> locals;  // per file
  LinkedProgram &out;

  void merge_psects();
  void place_all();
  void place_relocatable(Psect &p, const std::vector<std::pair<uint32_t, uint32_t>> &windows, bool one_bank);
  void define_symbols();
  void load_texts();
  int64_t eval(const ObjFile &f, const std::vector<uint8_t> &codes, unsigned stop, std::vector<int64_t> &st,
               std::string *desc);
  int64_t name_value(const ObjFile &f, const ObjLeaf &l);
  void apply(const ObjFile &f, const Text &t, const Reloc &r, std::vector<uint8_t> &bytes);

  // Occupied byte ranges [lo, hi) per space, with the psect that holds each.
  std::vector<std::tuple<uint32_t, uint32_t, std::string>> used[3];
  void occupy(int space, uint32_t lo, uint32_t hi, const std::string &who);
  const std::string *overlap(int space, uint32_t lo, uint32_t hi) const;
  uint32_t space_end(int space) const {
    return space == SPACE_PROGRAM ? dev.rom_size : space == SPACE_DATA ? dev.ram_size : UINT32_MAX;
  }
};

namespace {

std::string upper(std::string s) {
  for (char &ch : s) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return s;
}

// The bank of a class named BANKn, else -1.
int class_bank(const std::string &cls) {
  std::string u = upper(cls);
  if (u.size() < 5 || u.size() > 8 || u.compare(0, 4, "BANK") != 0) return -1;
  if (u.find_first_not_of("0123456789", 4) != std::string::npos) return -1;
  return std::stoi(u.substr(4));
}

bool data_class(const std::string &cls) {
  std::string u = upper(cls);
  return u == "RAM" || u == "COMRAM" || u == "BIGRAM" || u == "ABS1" || u == "SFR" || class_bank(cls) >= 0;
}

int space_of(const FilePsect &p) {
  if (p.space == 1 || data_class(p.cls)) return SPACE_DATA;
  return p.space == 0 ? SPACE_PROGRAM : SPACE_OTHER;
}

const char *space_name(int space) {
  return space == SPACE_PROGRAM ? "program memory" : space == SPACE_DATA ? "data memory" : "its memory space";
}

}  // namespace

void Linker::merge_psects() {
  // Program-wide order: by file, then by the first TEXT record, then by PSECT record.
  std::unordered_map<std::string, int> by_key;
  for (size_t fi = 0; fi < files.size(); ++fi) {
    ObjFile &f = files[fi];
    std::vector<int> order(f.psects.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return f.psects[a].order < f.psects[b].order; });
    for (int k : order) {
      FilePsect &fp = f.psects[k];
      std::string key = (fp.flags & 0x10) ? fp.name : f.path + '\0' + fp.name;
      auto [it, fresh] = by_key.emplace(key, static_cast<int>(psects.size()));
      if (fresh) {
        Psect p;
        p.name = fp.name, p.cls = fp.cls, p.space = space_of(fp), p.absolute = fp.absolute();
        psects.push_back(p);
      }
      Psect &p = psects[it->second];
      if (p.space != space_of(fp) || p.absolute != fp.absolute())
        fail(f.path, "psect \"" + fp.name + "\" differs in space or absoluteness from an earlier file's");
      p.align = std::max({p.align, fp.reloc, fp.delta});
      p.parts.emplace_back(static_cast<int>(fi), k);
      fp.merged = it->second;
    }
  }
}

void Linker::occupy(int space, uint32_t lo, uint32_t hi, const std::string &who) {
  if (lo < hi) used[space].emplace_back(lo, hi, who);
}

const std::string *Linker::overlap(int space, uint32_t lo, uint32_t hi) const {
  for (const auto &[a, b, who] : used[space])
    if (lo < b && a < hi) return &who;
  return nullptr;
}

void Linker::place_relocatable(Psect &p, const std::vector<std::pair<uint32_t, uint32_t>> &windows, bool one_bank) {
  uint64_t total = 0;
  for (auto [fi, k] : p.parts) {
    total = (total + p.align - 1) / p.align * p.align;
    total += files[fi].psects[k].size();
  }
  for (auto [wlo, whi] : windows) {
    if (total > whi) continue;
    for (uint64_t a = (uint64_t{wlo} + p.align - 1) / p.align * p.align; a + total <= whi;) {
      uint32_t lo = static_cast<uint32_t>(a), hi = static_cast<uint32_t>(a + total);
      if (one_bank && total <= 0x100 && total && (lo >> 8) != ((hi - 1) >> 8)) {
        a = ((uint64_t{lo} >> 8) + 1) << 8;  // the next bank
        a = (a + p.align - 1) / p.align * p.align;
        continue;
      }
      auto hit = std::find_if(used[p.space].begin(), used[p.space].end(),
                              [&](const auto &u) { return lo < std::get<1>(u) && std::get<0>(u) < hi; });
      if (hit == used[p.space].end()) {
        p.base = lo, p.size = static_cast<uint32_t>(total);
        occupy(p.space, lo, hi, p.name);
        return;
      }
      a = (uint64_t{std::get<1>(*hit)} + p.align - 1) / p.align * p.align;
    }
  }
  fail("", "psect \"" + p.name + "\" (" + hex(total) + " bytes, class \"" + p.cls + "\") does not fit in " +
               space_name(p.space));
}

void Linker::place_all() {
  for (Psect &p : psects) {  // absolute psects and DABS ranges first
    if (!p.absolute) continue;
    for (auto [fi, k] : p.parts) {
      const FilePsect &fp = files[fi].psects[k];
      uint32_t lo = fp.bound ? fp.bound_base : fp.lo == UINT32_MAX ? fp.size() : fp.lo;
      if (uint64_t{fp.size()} > space_end(p.space))
        fail(files[fi].path, "absolute psect \"" + p.name + "\" ends beyond " + space_name(p.space));
      if (const std::string *who = overlap(p.space, lo, fp.size()); who && *who != p.name)
        fail(files[fi].path, "absolute psect \"" + p.name + "\" overlaps psect \"" + *who + "\"");
      occupy(p.space, lo, fp.size(), p.name);
      if (lo < fp.size()) {
        uint32_t end = std::max(p.base + p.size, fp.size());
        p.base = p.size ? std::min(p.base, lo) : lo;
        p.size = end - p.base;
      }
    }
  }
  for (const ObjFile &f : files)
    for (const Dabs &d : f.dabs)
      if (d.space <= 1 && d.size) occupy(d.space == 1 ? SPACE_DATA : SPACE_PROGRAM, d.addr, d.addr + d.size, "DABS");
  std::vector<Psect *> order;
  for (Psect &p : psects)
    if (!p.absolute) order.push_back(&p);
  std::string start = files.empty() ? "" : files[0].start_psect;
  std::stable_partition(order.begin(), order.end(), [&](Psect *p) { return !start.empty() && p->name == start; });
  uint32_t gpr = dev.gpr_end;
  for (Psect *p : order) {
    int bank = class_bank(p->cls);
    uint32_t b = static_cast<uint32_t>(bank);
    if (p->space == SPACE_PROGRAM) place_relocatable(*p, {{0, dev.rom_size}}, false);
    else if (p->space == SPACE_OTHER) p->base = 0;  // nothing runs there; its symbols count from 0
    else if (upper(p->cls) == "COMRAM") place_relocatable(*p, {{0, dev.access_ram_end}}, false);
    else if (bank >= 0) place_relocatable(*p, {{b ? b << 8 : dev.access_ram_end, std::min(gpr, (b + 1) << 8)}}, false);
    else place_relocatable(*p, {{0x100, gpr}, {dev.access_ram_end, 0x100}}, true);
  }
  for (Psect &p : psects) {  // the parts of each psect
    uint32_t at = p.absolute ? 0 : p.base;
    for (auto [fi, k] : p.parts) {
      FilePsect &fp = files[fi].psects[k];
      if (!p.absolute) at = (at + p.align - 1) / p.align * p.align;
      fp.base = at;
      if (!p.absolute) at += fp.size();
    }
    out.psects.push_back({p.name, p.cls, p.space, p.base, p.size});
  }
}

void Linker::define_symbols() {
  locals.resize(files.size());
  std::vector<std::tuple<int, const FileSym *>> relative;
  for (size_t fi = 0; fi < files.size(); ++fi) {
    const ObjFile &f = files[fi];
    for (const FileSym &s : f.syms) {
      if (s.type == ST_LINE || s.type == ST_FILE || s.type == ST_EXTERN || s.type == ST_EXTERN_LOCAL) continue;
      if (s.type == ST_SYMREL) {
        relative.emplace_back(static_cast<int>(fi), &s);
        continue;
      }
      Sym sym;
      sym.file = &f;
      sym.pub.addr = s.value;
      if (!s.base.empty()) {
        auto it = f.psect_index.find(s.base);
        if (it == f.psect_index.end()) fail(f.path, "symbol \"" + s.name + "\" is relative to an unknown psect");
        const FilePsect &fp = f.psects[it->second];
        sym.pub.addr += fp.base / fp.delta;
        sym.pub.space = psects[fp.merged].space;
        sym.seg = (psects[fp.merged].absolute ? 0 : psects[fp.merged].base) / fp.delta;  // absolute: 0
      }
      bool global = (s.type & 0x10) && s.type != ST_LOCAL;
      auto &table = global ? globals : locals[fi];
      auto [it, fresh] = table.emplace(s.name, sym);
      if (!fresh && (it->second.pub.addr != sym.pub.addr || it->second.pub.space != sym.pub.space))
        fail(f.path, "symbol \"" + s.name + "\" is also defined in " + it->second.file->path);
    }
  }
  // Symbols defined as another symbol plus an offset; chains resolve in as many rounds.
  for (size_t round = 0; !relative.empty(); ++round) {
    std::vector<std::tuple<int, const FileSym *>> left;
    for (auto [fi, s] : relative) {
      const Sym *base = locals[fi].count(s->base) ? &locals[fi][s->base] : globals.count(s->base) ? &globals[s->base] : nullptr;
      if (!base) {
        left.emplace_back(fi, s);
        continue;
      }
      Sym sym = *base;
      sym.pub.addr += s->value;
      sym.file = &files[fi];
      locals[fi].emplace(s->name, sym);
      globals.emplace(s->name, sym);
    }
    if (left.size() == relative.size())
      fail(files[std::get<0>(left[0])].path, "symbol \"" + std::get<1>(left[0])->name + "\" is defined as the undefined symbol \"" +
                                                 std::get<1>(left[0])->base + "\"");
    relative.swap(left);
  }
  for (const auto &[name, s] : globals) out.symbols[name] = s.pub;
}

int64_t Linker::name_value(const ObjFile &f, const ObjLeaf &l) {
  bool seg = l.code & CX_SEG;
  std::string name(l.name);
  if ((l.code & ~CX_SEG) == CX_REL) {
    auto it = f.psect_index.find(name);
    if (it != f.psect_index.end()) {
      const FilePsect &fp = f.psects[it->second];
      const Psect &p = psects[fp.merged];
      return (seg ? (p.absolute ? 0 : p.base) : fp.base) / fp.delta;
    }
  }
  size_t fi = static_cast<size_t>(&f - files.data());
  const Sym *s = locals[fi].count(name) ? &locals[fi][name] : globals.count(name) ? &globals[name] : nullptr;
  if (!s) fail(f.path, "undefined symbol \"" + name + "\"");
  return seg ? s->seg : s->pub.addr;
}

// Evaluates codes up to stop on the stack st; with desc, the codes begin with a description.
int64_t Linker::eval(const ObjFile &f, const std::vector<uint8_t> &codes, unsigned stop, std::vector<int64_t> &st,
                     std::string *desc) {
  ObjCursor c{codes.data(), codes.size()};
  if (desc) *desc = c.str("description");
  auto leaf = [&](const ObjLeaf &l) {
    if (l.code == CX_CONST) st.push_back(static_cast<int32_t>(l.value));
    else if (l.code == CX_TEXT) fail(f.path, "a text value in a relocation cannot be linked");
    else st.push_back(name_value(f, l));
  };
  auto op = [&](unsigned code, int arity) {
    if (st.size() < static_cast<size_t>(arity)) fail(f.path, "relocation expression without its operands");
    int64_t a = st.back();  // the left operand of a binary operator
    if (arity == 1) {
      switch (code) {
        case CX_LOW: a &= 0xFF; break;
        case CX_HIGH: a = (a >> 8) & 0xFF; break;
        case CX_NOT: a = ~a; break;
        case CX_NEG: a = static_cast<int64_t>(0 - static_cast<uint64_t>(a)); break;
        default: fail(f.path, "relocation operator " + std::to_string(code) + " has no meaning here");
      }
      st.back() = a;
      return;
    }
    st.pop_back();
    int64_t b = st.back();
    if ((code == CX_DIV || code == CX_MOD) && b == 0) fail(f.path, "division by zero in a relocation");
    switch (code) {
      case CX_ADD: a = static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); break;
      case CX_SUB: a = static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); break;
      case CX_MUL: a = static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); break;
      case CX_DIV: a = b == -1 ? static_cast<int64_t>(0 - static_cast<uint64_t>(a)) : a / b; break;
      case CX_MOD: a = b == -1 ? 0 : a % b; break;
      case CX_SHL: a = static_cast<int64_t>(static_cast<uint64_t>(a) << (b & 63)); break;
      case CX_SHR: case CX_SHR22: a >>= (b & 63); break;
      case CX_AND: a &= b; break;
      case CX_OR: a |= b; break;
      case CX_XOR: a ^= b; break;
      default: fail(f.path, "relocation operator " + std::to_string(code) + " has no meaning here");
    }
    st.back() = a;
  };
  try {
    obj_read_expr(c, stop, leaf, op);
  } catch (const ObjBadRecord &b) {
    fail(f.path, b.why);
  }
  if (st.empty()) fail(f.path, "empty relocation expression");
  return st.back();
}

namespace {

// How a relocated field is checked, from the instruction it lies in.
enum FieldCheck { CHECK_ANY, CHECK_SIGNED, CHECK_NONE };

FieldCheck field_check(bool code, const std::vector<uint8_t> &bytes, uint32_t off, unsigned bits) {
  if (!code || off % 2 || off + 1 >= bytes.size()) return CHECK_ANY;
  unsigned op = bytes[off + 1];
  if (bits == 11 && (op & 0xF0) == 0xD0) return CHECK_SIGNED;  // bra, rcall
  if (bits != 8) return CHECK_ANY;
  if (op >= 0xE0 && op <= 0xE7) return CHECK_SIGNED;           // conditional branches
  // The file-register byte of a byte- or bit-oriented instruction: the bank comes from BSR.
  if ((op >= 0x02 && op <= 0x07) || (op >= 0x10 && op <= 0xBF)) return CHECK_NONE;
  return CHECK_ANY;
}

}  // namespace

void Linker::apply(const ObjFile &f, const Text &t, const Reloc &r, std::vector<uint8_t> &bytes) {
  const FilePsect &fp = f.psects[t.psect];
  std::string where = "psect \"" + fp.name + "\" offset " + hex(t.loc + r.offset);
  std::vector<int64_t> st;
  if (r.type == RK_RANGE_CHECK) {
    std::string desc;
    eval(f, r.expr, CX_CHECK, st, &desc);
    if (st.size() != 2) fail(f.path, where + ": malformed range check");
    if (st[0] < 0 || st[0] > st[1])
      fail(f.path, desc + " " + std::to_string(st[0]) + " is above its limit " + std::to_string(st[1]) + " (" + where + ")");
    return;
  }
  bool bits = (r.type & 0xC0) == RK_BITS;
  unsigned size = r.type & 0x0F, kind = r.type & 0x30;
  unsigned width = bits ? size : size * 8, nbytes = bits ? 2 : size;
  if (width > 32 || nbytes > 4) fail(f.path, where + ": relocation of " + std::to_string(width) + " bits is not supported");
  if (r.offset + nbytes > bytes.size()) fail(f.path, where + ": relocation beyond its TEXT record");
  int64_t value = 0;
  if (kind == RK_COMPLEX) value = eval(f, r.expr, CX_END, st, nullptr);
  else value = name_value(f, ObjLeaf{kind == RK_PSECT ? unsigned{CX_REL} : unsigned{CX_EXT}, 0, r.target});
  uint64_t word = 0;
  for (unsigned k = 0; k < nbytes; ++k) word |= uint64_t{bytes[r.offset + k]} << (8 * k);
  uint64_t mask = (uint64_t{1} << width) - 1;
  int64_t full = static_cast<int64_t>((word & mask) + static_cast<uint64_t>(value));
  FieldCheck check = field_check(psects[fp.merged].space == SPACE_PROGRAM, bytes, r.offset, width);
  int64_t lo = check == CHECK_SIGNED || check == CHECK_ANY ? -(int64_t{1} << (width - 1)) : INT64_MIN;
  int64_t hi = check == CHECK_SIGNED ? (int64_t{1} << (width - 1)) - 1 : check == CHECK_ANY ? int64_t(mask) : INT64_MAX;
  if (full < lo || full > hi)
    fail(f.path, where + ": value " + (full < 0 ? "-" + hex(0 - static_cast<uint64_t>(full)) : hex(full)) + " does not fit the " + std::to_string(width) +
                     "-bit field" + (kind == RK_COMPLEX ? "" : " (relocation against \"" + r.target + "\")"));
  word = (word & ~mask) | (static_cast<uint64_t>(full) & mask);
  for (unsigned k = 0; k < nbytes; ++k) bytes[r.offset + k] = static_cast<uint8_t>(word >> (8 * k));
}

void Linker::load_texts() {
  out.prog.assign(dev.rom_size, 0xFF);
  out.data.assign(dev.ram_size, 0);
  std::vector<uint8_t> written(dev.rom_size + dev.ram_size, 0);
  for (const ObjFile &f : files) {
    for (const Text &t : f.texts) {
      const FilePsect &fp = f.psects[t.psect];
      int space = psects[fp.merged].space;
      std::vector<uint8_t> bytes = t.bytes;
      for (const Reloc &r : t.relocs) apply(f, t, r, bytes);
      uint64_t at = uint64_t{fp.base} + t.loc;
      if (space == SPACE_OTHER) {
        for (size_t k = 0; k < bytes.size(); ++k) out.other[static_cast<uint32_t>(at + k)] = bytes[k];
        continue;
      }
      std::vector<uint8_t> &mem = space == SPACE_PROGRAM ? out.prog : out.data;
      if (at + bytes.size() > mem.size())
        fail(f.path, "psect \"" + fp.name + "\" ends beyond " + space_name(space) + " (at " + hex(at + bytes.size()) + ")");
      size_t mark = space == SPACE_PROGRAM ? 0 : dev.rom_size;
      for (size_t k = 0; k < bytes.size(); ++k) {
        uint8_t &w = written[mark + at + k];
        if (w && mem[at + k] != bytes[k])
          fail(f.path, "psect \"" + fp.name + "\" overlaps other code or data at " + hex(at + k));
        w = 1;
        mem[at + k] = bytes[k];
      }
    }
  }
}

bool sim_link(const std::vector<std::string> &paths, const SimDevice &dev, LinkedProgram &out, std::string &why) {
  std::vector<ObjImage> images;
  try {
    for (const std::string &p : paths) images.push_back({p, read_file(p)});
  } catch (const LinkError &e) {
    why = e.why;
    return false;
  }
  return sim_link_images(images, dev, out, why);
}

bool sim_link_images(const std::vector<ObjImage> &images, const SimDevice &dev, LinkedProgram &out, std::string &why) {
  Linker l{dev, {}, {}, {}, {}, out, {}};
  try {
    for (const ObjImage &im : images) l.files.push_back(read_object(im.name, im.bytes));
    l.merge_psects();
    l.place_all();
    l.define_symbols();
    l.load_texts();
  } catch (const LinkError &e) {
    why = e.why;
    return false;
  }
  return true;
}

std::string sim_object_machine(const std::string &file) {
  std::ifstream in(file, std::ios::binary);
  uint8_t head[512];
  in.read(reinterpret_cast<char *>(head), sizeof head);
  size_t got = static_cast<size_t>(in.gcount());
  if (got < 3 || head[2] != OR_IDENT) return "";
  ObjCursor c{head + 3, std::min<size_t>(got - 3, head[0] | head[1] << 8)};
  try {
    for (int k = 0; k < 6; ++k) c.u8("byte order");
    std::string_view m = c.str("machine");
    return std::string(m.substr(0, m.find(':')));
  } catch (const ObjBadRecord &) {
    return "";
  }
}
