// The random program generator of the optimizer's behaviour checks.
#pragma once

#include <cstdint>
#include <string>

// The source text of the program for a seed; the same seed gives the same text everywhere.
std::string gen_program(uint64_t seed);
