// SPDX-License-Identifier: MIT
#pragma once

// Helpers of the widget tests: pictures of widgets, pixel searches and real
// pointer moves under the test's X server.

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QTest>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

namespace PixelProbe {

// What the widget paints now, as 32-bit ARGB.
inline QImage Render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Whether every channel of c is within tolerance of ref.
inline bool Near(const QColor& c, const QColor& ref, int tolerance)
{
    return qAbs(c.red() - ref.red()) <= tolerance && qAbs(c.green() - ref.green()) <= tolerance &&
           qAbs(c.blue() - ref.blue()) <= tolerance;
}

// The smallest rectangle holding every pixel of region that differs from
// background by more than tolerance in some channel; empty when none does.
inline QRect BoxOfPixelsUnlike(const QImage& image, const QColor& background, QRect region = QRect(),
                               int tolerance = 24)
{
    QRect box;
    region = region.isNull() ? image.rect() : region;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (!Near(image.pixelColor(x, y), background, tolerance))
                box |= QRect(x, y, 1, 1);
    return box;
}

// How many opaque pixels have this colour, within tolerance per channel.
inline int CountPixels(const QImage& image, const QColor& colour, int tolerance = 0)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).alpha() == 255 && Near(image.pixelColor(x, y), colour, tolerance);
    return count;
}

// Moves the real pointer (an X event comes back) and waits up to 2 s for
// done; without a condition it just lets the move arrive.
inline bool MovePointer(const QPoint& global, const std::function<bool()>& done = {})
{
    QCursor::setPos(global);
    if (done)
        return QTest::qWaitFor(done, 2000);
    QTest::qWait(100);
    return true;
}

// A plain top-level window at a fixed place that the tests put widgets on.
inline void ShowHost(QWidget& host, const QRect& geometry = QRect(100, 100, 400, 300))
{
    host.setGeometry(geometry);
    host.show();
    (void)QTest::qWaitForWindowExposed(&host);
}

// The child of type T (a label or a button) that shows `text`; a failure of
// the test when there is none.
template <typename T>
T* ChildWithText(const QWidget& parent, const QString& text)
{
    for (T* child : parent.findChildren<T*>())
        if (child->text() == text)
            return child;
    ADD_FAILURE() << "no control " << text.toStdString();
    return nullptr;
}

}  // namespace PixelProbe
