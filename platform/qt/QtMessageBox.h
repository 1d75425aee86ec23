// SPDX-License-Identifier: MIT
#pragma once

// The desktop's message box behind the core's ShowMessageBox seam: once
// installed, every message the program shows is a modal QMessageBox with the
// given caption and icon. Tests install their own recorder instead.
class QtMessageBox {
public:
    static void Install();
};
