// SPDX-License-Identifier: MIT
#include "settings/ProgramValues.h"
#include "ui/ControlBar.h"
#include "view/AquariumView.h"
#include "tests/support/TestEnvironment.h"
#include "widgets/IconButton.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int ActiveFlakes(AquariumScene& scene)
{
    int n = 0;
    for (int i = 0; i < FoodFlake::kSlots; ++i)
        n += scene.FlakeAt(i).Active() ? 1 : 0;
    return n;
}

// Real clicks from the X server (xdotool), not synthesised Qt events: the
// double click is recognised by Qt from the server's own timestamps.
void XClicks(int x, int y, int repeat, int delayMs)
{
    QProcess xdotool;
    xdotool.start("xdotool", {"mousemove", QString::number(x), QString::number(y), "click", "--repeat",
                              QString::number(repeat), "--delay", QString::number(delayMs), "1"});
    // The aquarium keeps ticking while the clicks arrive, as it would.
    QElapsedTimer clock;
    clock.start();
    while (xdotool.state() != QProcess::NotRunning && clock.elapsed() < 10000)
        QTest::qWait(10);
    ASSERT_EQ(xdotool.state(), QProcess::NotRunning);
    ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
}

void RunFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QTest::qWait(20);
}

}  // namespace

// The view, ticking, under real X clicks: a double click at any speed the
// desktop takes as one acts once in every mode (one press reaches the scene,
// one flake in feed mode); two clicks too slow to pair act twice.
TEST(ClickTest, ADoubleClickActsOnceInEveryMode)
{
    TempDir runtime;
    ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.Path().c_str());
    ControlBar bar;
    AquariumView view(bar);
    ASSERT_TRUE(view.OnCreate(800, 600));
    view.setGeometry(0, 0, 800, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // An empty tank: no fish eats a flake before it is counted.
    for (int& count : g_speciesCount)
        count = 0;
    view.StartTimer();
    const int pairLimit = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    ASSERT_GT(pairLimit, 300) << "the desktop's double-click time";

    struct Case {
        int mode, repeat, delayMs, presses;
    } const cases[] = {
        {CMD_FEED, 2, 80, 1},    {CMD_FEED, 2, 300, 1},    {CMD_TOUCH, 2, 80, 1},
        {CMD_ZOOMIN, 2, 80, 1},  {CMD_ZOOMOUT, 2, 300, 1}, {CMD_FEED, 2, pairLimit + 300, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " delay " + std::to_string(c.delayMs));
        bar.SetCommand(c.mode);
        RunFor(100);
        AquariumScene& scene = view.Scene();
        const int pressesBefore = scene.PressCount();
        const int flakesBefore = ActiveFlakes(scene);
        XClicks(400, 300, c.repeat, c.delayMs);
        RunFor(600);  // the feed pick may take a few frames
        EXPECT_EQ(scene.PressCount() - pressesBefore, c.presses);
        if (c.mode == CMD_FEED) {
            EXPECT_FALSE(scene.FeedClickPending());
            EXPECT_EQ(ActiveFlakes(scene) - flakesBefore, c.presses);
        }
        RunFor(pairLimit + 100);  // the next case's first click starts afresh
    }
}

// Each of the eight buttons draws its caption in white beside its icon, whole
// (no clipping in its slot), and carries the same text as its tooltip.
TEST(CaptionTest, EveryBarButtonShowsItsCaptionBesideItsIcon)
{
    ControlBar bar;
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    const QStringList captions = {"Feed Fish",    "Touch Fish",   "ZoomIn Fish",  "ZoomOut Fish",
                                  "Add Fish",     "Custom Music", "Custom Image", "Exit"};
    const QList<IconButton*> buttons = bar.findChildren<IconButton*>();
    ASSERT_EQ(buttons.size(), captions.size());
    const QImage shot = bar.grab().toImage();
    for (IconButton* button : buttons) {
        const QString text = button->text();
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(captions.contains(text));
        EXPECT_EQ(button->toolTip(), text);
        const QRect place = button->geometry();
        EXPECT_LE(place.right(), 1024) << "all eight fit a 1024-pixel screen";
        // The caption area is what the icon (32 px and a 3 px margin) leaves.
        const int captionWidth = place.width() - 35;
        EXPECT_LE(button->fontMetrics().horizontalAdvance(text), captionWidth) << "clipped";
        int white = 0;
        for (int y = place.top(); y <= place.bottom(); ++y)
            for (int x = place.left() + 35; x <= place.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                white += (c.red() > 230 && c.green() > 230 && c.blue() > 230) ? 1 : 0;
            }
        EXPECT_GT(white, 4 * text.size()) << "white caption pixels beside the icon";
    }
}
