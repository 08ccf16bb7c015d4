// Operating-system layer: the program's own path, file tests, time, terminals, error texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

std::string os_self_path(const char *argv0);  // /proc/self/exe, else argv0
bool os_dir_exists(const std::string &path);
bool os_file_exists(const std::string &path);
bool os_stdin_is_tty();
std::string os_ctime_now();  // ctime text without the line feed
std::string os_errtext(int err);

// Text before the last separator ("/" or "\"); empty when there is none.
std::string os_dir_part(std::string_view path);

// Zeroed memory straight from the system, for large arenas: regions of 2 MiB and more are
// offered huge pages, which saves a page fault per 4 KiB on first touch. Null on failure.
void *os_alloc_pages(size_t bytes);
void os_free_pages(void *p, size_t bytes);

// Temporary files that a run interrupted by SIGINT, SIGTERM or SIGHUP removes before it ends
// as the signal would have ended it. The first registration installs the handler for each of
// those signals that has its default action. A slot, or -1 when the table is full or the path
// too long (the file is then left behind by an interrupt, nothing worse).
int os_temp_register(const char *path);
void os_temp_release(int slot);  // -1 does nothing

// Identity of a file: device and inode. Two names are the same file when these agree.
struct FileId {
  uint64_t dev = 0, ino = 0;
  bool operator==(const FileId &) const = default;
};
bool os_file_id(const std::string &path, FileId &id);  // false when the file can't be had

// Opens an input file for reading. A directory fails with EISDIR, as it would on reading.
// Null with errno set on failure; id is the file's identity.
std::FILE *os_open_input(const std::string &path, FileId &id);

// Reads a whole text file whose lines hold at most line_max characters: of a longer line only
// the first line_max + 1 are kept (enough for the reader to see it is too long), so no input
// grows memory without bound. More than total_max bytes read fail with EFBIG. False with errno
// set on failure.
constexpr size_t DATA_FILE_MAX = size_t{64} << 20;  // a data file larger than this is refused
bool os_read_text(const std::string &path, std::string &out, size_t line_max, size_t total_max, FileId &id);
