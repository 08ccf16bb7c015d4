// CONFIG directives: classifying names, programming registers, settings and switches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct Assembly;

enum CfgClass { CFG_UNKNOWN, CFG_REG, CFG_SETTING, CFG_SWITCH };

// What a name after CONFIG stands for; marks the memory it touches.
CfgClass cfg_classify(Assembly &as, std::string_view name);

// NAME = word.
void cfg_prog_with_name(Assembly &as, std::string_view name, std::string_view word);
// NAME = number.
void cfg_prog_with_value(Assembly &as, std::string_view name, uint64_t value);
// CONFIG "text": pairs separated by blanks or commas.
void cfg_prog_from_string(Assembly &as, std::string_view text);

// After parsing: the "config" and "idloc" psects holding the final register values (an ORG and
// one data item per register), with explanatory lines in the summary comments.
void cfg_make_psects(Assembly &as);
