// SPDX-License-Identifier: MIT
#include "app/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

QRect DialogPlacement::CentredArea(QSize size)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(QPoint(0, 0), size);
    const QRect area = screen->geometry();
    const QPoint topLeft(area.x() + std::max(0, (area.width() - size.width()) / 2),
                         area.y() + std::max(0, (area.height() - size.height()) / 2));
    return QRect(topLeft, size);
}

void DialogPlacement::Centre(QWidget& dialog)
{
    // setGeometry, not move: move places the frame Qt guesses the window
    // will get, which is off by that guess where there is no frame.
    dialog.setGeometry(CentredArea(dialog.size()));
}
