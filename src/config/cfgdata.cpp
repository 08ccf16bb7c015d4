// Configuration data file loader.
#include "config/cfgdata.h"

#include "driver/assembly.h"

// The file's records (CWORD, CSETTING, CVALUE, CMSG) are read here once the configuration model exists.
void cfg_load_data(Assembly &as, const std::string &path) { static_cast<void>(as), static_cast<void>(path); }
