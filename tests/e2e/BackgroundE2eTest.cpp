// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QPoint kImageButton(802, 35);   // Custom Image on the bar: 369, 10, 64, 15 (2 px units)

// Places in the dialog, in its own pixels (1.5 x 1.625 px units).
QPoint DialogPoint(double xDu, double yDu) { return QPoint(int(xDu * 1.5), int(yDu * 1.625)); }
const QPoint kAddImage = DialogPoint(32, 122.5);
const QPoint kOwnImageBox = DialogPoint(12.5, 15);
const QRect kTank(0, 70, 1680, 980);

// The picture's magenta, after its colours are kept to 16..235.
bool IsMagenta(QRgb p) { return qRed(p) > 150 && qBlue(p) > 150 && qGreen(p) < 90; }

int Count(const QImage& shot, const QRect& area, bool (*test)(QRgb))
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            n += test(shot.pixel(x, y));
    return n;
}

class BackgroundE2eTest : public ScreenFixture<1680, 1050> {
protected:
    // The dialog window's top-left on the screen, once it is shown.
    std::optional<QPoint> DialogOrigin() const { return s_screen->WindowOrigin("^Custom Background - Plovi 1.0$"); }
    void Click(QPoint p) const { s_screen->Click(p); }
};

// Open the dialog from the bar, add a real picture through the file dialog,
// tick the box: the picture's colours ripple behind the fish.
TEST_F(BackgroundE2eTest, AddedPictureRipplesBehindTheFishOnceTheBoxIsTicked)
{
    TempDir pictures;
    const std::string path = pictures.Path() + "stripes.png";
    QImage stripes(800, 600, QImage::Format_RGB32);
    stripes.fill(QColor(255, 0, 255));
    QPainter painter(&stripes);
    for (int x = 0; x < 800; x += 40)
        painter.fillRect(x, 0, 12, 600, QColor(255, 255, 0));
    painter.end();
    ASSERT_TRUE(stripes.save(QString::fromStdString(path)));

    auto plovi = m_session.Start();
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    Pause(1.0);
    EXPECT_LT(Count(s_screen->Screenshot(), kTank, IsMagenta), 100) << "magenta before the picture";

    std::optional<QPoint> dialog;
    ASSERT_TRUE(WaitUntil([&] {
        Click(kImageButton);
        return WaitUntil([&] { return (dialog = DialogOrigin()).has_value(); }, 2);
    }, 12)) << "the dialog did not open";
    Pause(0.5);
    dialog = DialogOrigin();

    Click(*dialog + kAddImage);
    ASSERT_TRUE(WaitUntil([&] { return !s_screen->WindowsNamed("^Open$").empty(); }, 10)) << "no file dialog";
    Pause(0.5);
    s_screen->Tool({"xdotool", "type", "--delay", "20", path});
    s_screen->Tool({"xdotool", "key", "Return"});
    ASSERT_TRUE(WaitUntil([&] { return s_screen->WindowsNamed("^Open$").empty(); }, 10));
    Pause(0.5);   // decoded on the worker, the row comes with its texture

    Click(*dialog + kOwnImageBox);
    QImage first;
    EXPECT_TRUE(WaitUntil([&] {
        first = s_screen->Screenshot();
        return Count(first, kTank, IsMagenta) > 20000;
    }, 1.5)) << "the picture did not show; magenta samples: " << Count(first, kTank, IsMagenta);
    Pause(0.5);
    const QImage second = s_screen->Screenshot();
    EXPECT_GT(Count(second, kTank, IsMagenta), 20000);
    EXPECT_NE(first.copy(kTank), second.copy(kTank)) << "the picture stands still";
    EXPECT_TRUE(plovi->Running());
}

}  // namespace
