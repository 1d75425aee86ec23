// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// Number conversions for settings text.

// atoi as the settings file has always used it: leading white space, an
// optional sign, then decimal digits up to the first other character
// ("12.9" gives 12, "abc" gives 0). Unlike the C library's atoi it never
// overflows: values beyond the int range saturate to INT_MAX / INT_MIN.
int ProfileAtoi(const std::string& text);

// "%d" formatting of an int.
std::string ProfileItoa(int value);
