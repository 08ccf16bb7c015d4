// Installation directory lookup: the version directory and data area found from the program's path.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Subdirectories of the version directory.
enum KvInstDir {
  KVINSTDIR_INSTALL = 0,  // the installation directory itself
  KVINSTDIR_VERSION = 1,  // the version directory itself
  KVINSTDIR_BIN = 2,
  KVINSTDIR_DOCS = 3,
  KVINSTDIR_INCLUDE = 4,
  KVINSTDIR_ETC = 5,
  KVINSTDIR_ZEL = 6,
  KVINSTDIR_SIBLING1 = 7,  // sibling products, unused here
  KVINSTDIR_SIBLING2 = 8,
  KVINSTDIR_ZELAS = 9,
  KVINSTDIR_LAST = 10,
};

// Subdirectories of the data area.
enum RegInstDir {
  RI_ROOT = 0,
  RI_BIN = 1,
  RI_LIB = 2,
  RI_HELP = 3,
  RI_INCLUDE = 4,
  RI_DAT = 5,
  RI_SOURCES = 6,
  RI_RESOURCES = 7,
  RI_DOCS = 8,
  RI_LAST = 9,
};

struct HostState {
  std::string self_path;      // the program's own full path (set at start; tests may set another)
  bool cached = false;
  std::string version_dir;
  std::string install_dir;
};

const std::string &host_self_path(HostState &h);

std::optional<std::string> kvinstdir(HostState &h, int kind);
std::optional<std::string> reg_instdir(HostState &h, int type);
std::optional<std::string> reg_mkpath(HostState &h, int type, std::string_view name);

// Joins with exactly one "/" between the parts; either part may be empty.
std::string path_join(std::string_view a, std::string_view b);
// "/..." and "\\..." and "X:..." are absolute.
bool path_is_absolute(std::string_view name);
