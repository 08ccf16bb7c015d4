// Build constants shown by --ver and in the identification text.
#pragma once

inline constexpr const char *ASZEL18_VERSION = "1.00";
inline constexpr const char *ASZEL18_BUILD_DATE = "Dec 05 2026";
inline constexpr const char *ASZEL18_BUILD_NUMBER = "20261205120000";
inline constexpr const char *ASZEL18_NOTICE = "Orvane Microsystems. All rights reserved.";
