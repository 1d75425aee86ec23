// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

class QWidget;

// Puts a dialog's client area at the centre of the primary screen, at every
// show. The math uses the client area alone, so a window manager's frame (or
// none) stands evenly around it, and Qt's guess of a frame for a window not
// yet shown never shifts it.
class DialogPlacement {
public:
    // Centres the dialog; call before each show. Before its native window
    // exists this also makes the place the client area's for good (the
    // window then asks for static gravity, which window managers keep).
    static void Centre(QWidget& dialog);

    // The client area of the given size centred on the primary screen (a
    // larger one keeps its top-left corner on the screen).
    static QRect CentredArea(QSize size);
};
