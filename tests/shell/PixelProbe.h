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

namespace PixelProbe {

// What the widget paints now, as 32-bit ARGB.
inline QImage Render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// The smallest rectangle holding every pixel of region that differs from
// background by more than tolerance in some channel; empty when none does.
inline QRect BoxOfPixelsUnlike(const QImage& image, const QColor& background, QRect region = QRect(),
                               int tolerance = 24)
{
    if (region.isNull()) {
        region = image.rect();
    }
    QRect box;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool unlike = qAbs(c.red() - background.red()) > tolerance ||
                                qAbs(c.green() - background.green()) > tolerance ||
                                qAbs(c.blue() - background.blue()) > tolerance;
            if (unlike) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// How many opaque pixels have this colour, within tolerance per channel.
inline int CountPixels(const QImage& image, const QColor& colour, int tolerance = 0)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.alpha() == 255 && qAbs(c.red() - colour.red()) <= tolerance &&
                     qAbs(c.green() - colour.green()) <= tolerance && qAbs(c.blue() - colour.blue()) <= tolerance;
        }
    }
    return count;
}

// Moves the real pointer (an X event comes back) and waits up to 2 s for
// done; without a condition it just lets the move arrive.
inline bool MovePointer(const QPoint& global, const std::function<bool()>& done = {})
{
    QCursor::setPos(global);
    if (!done) {
        QTest::qWait(100);
        return true;
    }
    return QTest::qWaitFor(done, 2000);
}

// A plain top-level window at a fixed place that the tests put widgets on.
inline void ShowHost(QWidget& host, const QRect& geometry = QRect(100, 100, 400, 300))
{
    host.setGeometry(geometry);
    host.show();
    (void)QTest::qWaitForWindowExposed(&host);
}

}  // namespace PixelProbe
