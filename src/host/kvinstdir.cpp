// Installation lookup: <version>/bin or <version>/zel/bin leads to <version>, whose "zel"
// subdirectory must exist; the data area is <version>/zel (or <version> itself).
#include "host/kvinstdir.h"

#include "host/os.h"
#include "support/ascii.h"

namespace {

bool is_sep(char c) { return c == '/' || c == '\\'; }

std::string_view last_component(std::string_view p) {
  size_t k = p.find_last_of("/\\");
  return k == std::string_view::npos ? p : p.substr(k + 1);
}

// Directory part for the program path: before the last "/" or "\", else before the last ":".
bool program_dir(std::string_view path, std::string &out) {
  size_t k = path.find_last_of("/\\");
  if (k == std::string_view::npos) k = path.rfind(':');
  if (k == std::string_view::npos) return false;
  out.assign(path.substr(0, k));
  return true;
}

bool locate(HostState &h) {
  if (h.cached) return true;
  std::string d;
  if (!program_dir(host_self_path(h), d)) return false;
  while (!d.empty() && (d.back() == '.' || is_sep(d.back()))) d.pop_back();
  if (!iequal(last_component(d), "bin")) return false;
  std::string p = os_dir_part(d);
  std::string_view last = last_component(p);
  size_t dot = last.rfind('.');
  if (dot != std::string_view::npos) last = last.substr(0, dot);
  if (iequal(last, "zel") || iequal(last, "zel-as")) p = os_dir_part(p);
  if (!os_dir_exists(path_join(p, "zel"))) return false;
  h.version_dir = p;
  h.install_dir = os_dir_part(p);
  h.cached = true;
  return true;
}

constexpr const char *KV_SUBDIR[KVINSTDIR_LAST] = {"", "", "bin", "docs", "include", "etc", "zel", "", "", "zel-as"};
constexpr const char *RI_SUBDIR[RI_LAST] = {"", "bin", "lib", "help", "include", "dat", "sources", "resources", "docs"};

}  // namespace

const std::string &host_self_path(HostState &h) {
  if (h.self_path.empty()) h.self_path = os_self_path(nullptr);
  return h.self_path;
}

std::string path_join(std::string_view a, std::string_view b) {
  if (a.empty()) return std::string(b);
  if (b.empty()) return std::string(a);
  std::string out(a);
  if (is_sep(out.back())) out.pop_back();
  if (is_sep(b.front())) b.remove_prefix(1);
  out += '/';
  out += b;
  return out;
}

bool path_is_absolute(std::string_view name) {
  if (name.size() >= 2 && name[1] == ':') return true;
  if (name.size() >= 2 && name[0] == '\\' && name[1] == '\\') return true;
  return !name.empty() && name[0] == '/';
}

std::optional<std::string> kvinstdir(HostState &h, int kind) {
  if (kind < 0 || kind >= KVINSTDIR_LAST) return std::nullopt;  // internal misuse
  if (!locate(h)) return std::nullopt;
  if (kind == KVINSTDIR_INSTALL) return h.install_dir;
  if (kind == KVINSTDIR_VERSION) return h.version_dir;
  return path_join(h.version_dir, KV_SUBDIR[kind]);
}

std::optional<std::string> reg_instdir(HostState &h, int type) {
  if (type < 0 || type >= RI_LAST) return std::nullopt;
  if (!locate(h)) return std::nullopt;
  std::string zel = path_join(h.version_dir, "zel");
  std::string root = os_dir_exists(zel) ? zel : h.version_dir;
  if (type == RI_ROOT) return root;
  return path_join(root, RI_SUBDIR[type]);
}

std::optional<std::string> reg_mkpath(HostState &h, int type, std::string_view name) {
  if (path_is_absolute(name)) return std::string(name);
  auto dir = reg_instdir(h, type);
  if (!dir) return std::nullopt;
  return path_join(*dir, name);
}
