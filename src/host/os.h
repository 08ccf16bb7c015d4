// Operating-system layer: the program's own path, file tests, time, terminals, error texts.
#pragma once

#include <cstddef>
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
