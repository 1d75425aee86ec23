// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

class QWidget;

// Icons of the built-in art ("ICON" entries) as pixmaps for the owner-drawn
// controls.
class ArtIcon {
public:
    // The icon with this id scaled to width x height pixels (the stored size
    // when either is 0 or less); a null pixmap when there is no such icon or
    // its bytes cannot be decoded.
    static QPixmap Load(int id, int width = 0, int height = 0);

    // The icon's own size in pixels, taken as twice its hot spot's x (the hot
    // spot of an icon is its centre); 0 when there is no such icon.
    static int Size(int id);

    // The greyed (disabled) look of an icon, as the widget's style draws it.
    static QPixmap Greyed(const QPixmap& icon, const QWidget* widget);
};
