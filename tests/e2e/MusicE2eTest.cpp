// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"
#include "tests/support/PrivateSoundServer.h"
#include "tests/support/ToneFile.h"

#include <QColor>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>

namespace {

const QPoint kMusicButton(670, 35);   // Custom Music on the bar: 303, 10, 64, 15 (2 px units)

// Places in the music dialog, in its own pixels (1.5 x 1.625 px units).
QPoint DialogPoint(double xDu, double yDu) { return QPoint(int(xDu * 1.5), int(yDu * 1.625)); }
const QPoint kAddMusic = DialogPoint(289, 49.5);
const QPoint kPlay = DialogPoint(289, 88.5);
const QPoint kRepeatAll = DialogPoint(200, 24);
const QRect kList(int(15 * 1.5), int(44 * 1.625), int(250 * 1.5), int(95 * 1.625));

bool IsCurrentRowGreen(QRgb p) { return qGreen(p) > 230 && qRed(p) < 40 && qBlue(p) < 40; }

class MusicE2eTest : public ScreenFixture<1680, 1050> {
protected:
    // The dialog window's top-left on the screen, once it is shown.
    std::optional<QPoint> DialogOrigin() const { return s_screen->WindowOrigin("^Custom Music - Plovi 1.0$"); }
    void Click(QPoint p) const { s_screen->Click(p); }
    // Adds a file through the real file dialog: its name box has the focus.
    void AddThroughFileDialog(QPoint dialog, const std::string& path) const
    {
        Click(dialog + kAddMusic);
        ASSERT_TRUE(WaitUntil([&] { return !s_screen->WindowsNamed("^Open$").empty(); }, 10)) << "no file dialog";
        Pause(0.5);
        s_screen->Tool({"xdotool", "type", "--delay", "20", path});
        s_screen->Tool({"xdotool", "key", "Return"});
        ASSERT_TRUE(WaitUntil([&] { return s_screen->WindowsNamed("^Open$").empty(); }, 10));
    }
    // The highlighted row of the list: -1 for none, from the green band's place.
    int HighlightedRow(QPoint dialog) const
    {
        const QImage shot = s_screen->Screenshot();
        const int x = dialog.x() + kList.left() + 200;
        int top = -1;
        for (int y = dialog.y() + kList.top(); y < dialog.y() + kList.bottom(); ++y)
            if (IsCurrentRowGreen(shot.pixel(x, y))) {
                top = y;
                break;
            }
        if (top < 0)
            return -1;
        // Rows are 17 px under a header of about 20 px.
        return (top - (dialog.y() + kList.top()) - 14) / 17;
    }
};

// Open the dialog from the bar, add two real files through the file dialog,
// press Play in Repeat All: the first row plays and is highlighted, sound
// reaches the output, and after the first track ends the second plays.
TEST_F(MusicE2eTest, AddTwoFilesAndPlayThemInTurn)
{
    TempDir sound;
    PrivateSoundServer server(sound.Path());
    ASSERT_TRUE(server.Ok()) << server.Error();
    TempDir tracks;
    const std::string first = tracks.Path() + "first.wav", second = tracks.Path() + "second.wav";
    WriteToneFile(first, 2500);
    WriteToneFile(second, 30000);

    auto plovi = m_session.Start({}, {{"PULSE_SERVER", server.Address()}});
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    Pause(1.0);
    std::optional<QPoint> dialog;
    ASSERT_TRUE(WaitUntil([&] {
        Click(kMusicButton);
        return WaitUntil([&] { return (dialog = DialogOrigin()).has_value(); }, 2);
    }, 12)) << "the dialog did not open";
    Pause(0.5);
    dialog = DialogOrigin();

    AddThroughFileDialog(*dialog, first);
    AddThroughFileDialog(*dialog, second);
    Click(*dialog + kRepeatAll);
    EXPECT_EQ(HighlightedRow(*dialog), -1);
    Click(*dialog + kPlay);

    EXPECT_TRUE(WaitUntil([&] { return HighlightedRow(*dialog) == 0; }, 5)) << "first row not highlighted";
    // Sound flows into the private server's null sink.
    const Process::Env pulse = {{"PULSE_SERVER", server.Address()}};
    EXPECT_TRUE(WaitUntil([&] {
        return RunCommand({"pactl", "list", "short", "sink-inputs"}, pulse, 5).out.find("protocol-native") !=
               std::string::npos;
    }, 5));
    EXPECT_TRUE(WaitUntil([&] { return HighlightedRow(*dialog) == 1; }, 15)) << "the second track did not start";
    EXPECT_TRUE(plovi->Running());
    EXPECT_EQ(plovi->Err().find("cannot play"), std::string::npos) << plovi->Err();
}

}  // namespace
