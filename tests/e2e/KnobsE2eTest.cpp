// SPDX-License-Identifier: MIT
// The screensaver module's options as a settings dialog's preview passes
// them: the module's usual --root, the preview's window and the knobs.
#include "tests/e2e/HostWindow.h"
#include "tests/e2e/ScreenFixture.h"

#include <gtest/gtest.h>
#include <QRect>
#include <csignal>
#include <sys/stat.h>

namespace {

struct Brightness {
    double mean = 0;        // 0..255 over the region
    double keyShare = 1;    // pixels still in the host's magenta
};

Brightness Measure(const QImage& shot, const QRect& region)
{
    Brightness b;
    long key = 0, n = 0;
    double sum = 0;
    for (int y = region.top(); y <= region.bottom(); y += 2)
        for (int x = region.left(); x <= region.right(); x += 2, ++n) {
            const QRgb p = shot.pixel(x, y);
            sum += (qRed(p) + qGreen(p) + qBlue(p)) / 3.0;
            key += qRed(p) > 240 && qGreen(p) < 15 && qBlue(p) > 240;
        }
    b.mean = sum / double(n);
    b.keyShare = double(key) / double(n);
    return b;
}

// Pixels of the frame-rate text: white, and the dark box around it.
int TextPixels(const QImage& shot, const QRect& corner)
{
    int white = 0;
    for (int y = corner.top(); y <= corner.bottom(); ++y)
        for (int x = corner.left(); x <= corner.right(); ++x) {
            const QRgb p = shot.pixel(x, y);
            white += qRed(p) > 235 && qGreen(p) > 235 && qBlue(p) > 235;
        }
    return white;
}

}  // namespace

using Knobs = ScreenFixture<1024, 768>;

TEST_F(Knobs, APreviewCommandLineWithKnobsDrawsThemAndLeavesTheSettingsAlone)
{
    // Two previews side by side: the module as configured, and one with the
    // light turned down and the frame rate shown.
    HostWindow plain(s_screen->Display(), 20, 100, 400, 300);
    HostWindow knobs(s_screen->Display(), 500, 100, 400, 300);
    ASSERT_TRUE(plain.Ok() && knobs.Ok());
    auto first = m_session.Start({"--root", "--window-id", plain.HexIdText()});
    auto second = m_session.Start({"-root", "-window-id", knobs.HexIdText(), "-light", "85", "-fps", "-delay", "30000"});
    const QRect plainArea(20, 100, 400, 300), knobsArea(500, 100, 400, 300);
    Brightness a, b;
    int text = 0, plainText = 0;
    EXPECT_TRUE(WaitUntil([&] {
        const QImage shot = s_screen->Screenshot();
        a = Measure(shot, plainArea);
        b = Measure(shot, knobsArea);
        text = TextPixels(shot, QRect(500, 320, 120, 80));
        plainText = TextPixels(shot, QRect(20, 320, 120, 80));
        return a.keyShare < 0.001 && b.keyShare < 0.001 && b.mean < 0.5 * a.mean && text > 25;
    }, 15)) << "plain mean " << a.mean << ", dimmed mean " << b.mean << ", key " << a.keyShare << "/" << b.keyShare
            << ", text pixels " << text << " (plain " << plainText << ")\n" << first->Err() << second->Err();
    EXPECT_LT(plainText * 4, text) << "the frame rate shows only where asked for";
    EXPECT_EQ(second->Err().find("fps:"), std::string::npos) << "a daemon shows a module's standard error";

    for (Process* p : {first.get(), second.get()}) {
        ::kill(p->Pid(), SIGTERM);
        const auto result = p->Wait(2.0);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->exitCode, 0) << p->Err();
    }
    struct stat st;
    EXPECT_NE(::stat(m_session.SettingsPath().c_str(), &st), 0) << "a module wrote settings";
}
