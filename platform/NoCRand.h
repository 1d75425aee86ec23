// SPDX-License-Identifier: MIT
// Forced into every scene-core translation unit. The C library's rand() has
// another range than the generator the scene's formulas are written for
// (they divide by 32767), so using it by mistake must fail to compile.
// The standard headers that mention rand themselves are pulled in first.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>
#pragma GCC poison rand srand
