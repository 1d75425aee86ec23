// SPDX-License-Identifier: MIT
#pragma once

#include <QProcessEnvironment>

// The environment for a program this one starts: the user's, without what
// this process set for itself alone (the software renderer's thread count,
// see RasterThreads).
QProcessEnvironment ChildEnvironment();
