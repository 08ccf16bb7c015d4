// Chip-info files: finding the file for a device, reading its section into the device record.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct Assembly;
struct ChipInfo;

// Longest line of a chip-info file, line feed excluded.
constexpr size_t CHIPINFO_LINE_MAX = 3072;

// The chip-info file for a device in the data area: "ini/<D>.ini", "<D>.ini", then the combined
// file. Nothing when the data area can't be located.
std::optional<std::string> chipinfo_locate(Assembly &as, std::string_view device);

// Reads the section of device from chip-info text into c. Syntax and validation problems are
// reported as chip-info messages (most end the run); false when no section matches.
bool chipinfo_parse(Assembly &as, std::string_view text, const char *file, std::string_view device, ChipInfo &c);

// Loads the device into as.dev.chip, from path when given, else from the data area.
// A missing file, device or required key ends the run with its message.
void chipinfo_load(Assembly &as, std::string_view device, const std::string &path);
