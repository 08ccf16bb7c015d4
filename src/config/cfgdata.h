// Configuration data file: the device's configuration registers, settings and values.
#pragma once

#include <string>

struct Assembly;

// Loads the configuration data file named by --cfgdata=.
void cfg_load_data(Assembly &as, const std::string &path);
