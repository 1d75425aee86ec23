// SPDX-License-Identifier: MIT
#include "widgets/CheckButton.h"

#include "tests/shell/PixelProbe.h"

#include <QTest>
#include <gtest/gtest.h>

#include <vector>

using namespace PixelProbe;

namespace {

const QColor kMark(0, 255, 0);
const QColor kDarkGreen(0, 127, 0);

// A 150 x 24 box: the lamp's square is 15 pixels at (3, 3), its centre at
// (10, 10); with the text on the left it is at (132, 3), centre (139, 10).
QRgb LampCentre(CheckButton& box, bool textOnLeft = false)
{
    return Render(box).pixel(textOnLeft ? 139 : 10, 10);
}

CheckButton* MakeBox(int id, QWidget* parent, int y)
{
    auto* box = new CheckButton(id, QStringLiteral("Mode %1").arg(id), parent);
    box->setGeometry(20, y, 150, 24);
    return box;
}

TEST(CheckButtonState, ParentSettlesARadioGroupSoTheClickedBoxStaysTicked)
{
    QWidget host;
    std::vector<CheckButton*> group = {MakeBox(1, &host, 10), MakeBox(2, &host, 40), MakeBox(3, &host, 70)};
    for (CheckButton* box : group) {
        box->SetColours(kMark, Qt::black);
        QObject::connect(box, &CheckButton::commandPosted, [&group](int id) {
            for (CheckButton* member : group)
                member->SetCheck(member->ControlId() == id ? 1 : 0, true);
        });
    }
    group[0]->SetCheck(1, true);
    ShowHost(host);

    const struct {
        int clicked;  // index into the group
        int ticked;
    } clicks[] = {{0, 0}, {2, 2}, {2, 2}, {1, 1}};
    for (const auto& c : clicks) {
        const int before = group[c.clicked]->GetCheck();
        QTest::mouseClick(group[c.clicked], Qt::LeftButton, {}, QPoint(60, 12));
        // Toggled at once; the parent's settling comes through the queue.
        EXPECT_EQ(group[c.clicked]->GetCheck(), 1 - before);
        QTest::qWait(20);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(group[i]->GetCheck(), i == c.ticked ? 1 : 0) << "click " << c.clicked << " box " << i;
            EXPECT_EQ(LampCentre(*group[i]), (i == c.ticked ? kMark : QColor(Qt::black)).rgb());
        }
    }
}

TEST(CheckButtonLook, LampColoursSideDisabledAndIconsOnlyWhenBothAreSet)
{
    CheckButton box(7, "Random");
    box.resize(150, 24);
    box.SetCheck(1, true);
    box.SetIcons(184, 99999);  // no such clear icon: the lamp stays
    EXPECT_EQ(LampCentre(box), kMark.rgb());
    box.SetCheck(0, true);
    EXPECT_EQ(LampCentre(box), kDarkGreen.rgb());
    // The inner ring is drawn in the clear colour: a ticked lamp shows it.
    box.SetColours(kMark, QColor(0, 0, 255));
    box.SetCheck(1, true);
    EXPECT_GT(CountPixels(Render(box).copy(3, 3, 15, 15), QColor(0, 0, 255), 60), 8);

    box.SetColours(QColor(255, 0, 0), QColor(0, 0, 0));
    EXPECT_EQ(LampCentre(box), QColor(255, 0, 0).rgb());
    box.SetTextOnLeft(true);
    EXPECT_EQ(LampCentre(box, true), QColor(255, 0, 0).rgb());
    EXPECT_EQ(LampCentre(box), box.palette().color(QPalette::Button).rgb());
    box.setEnabled(false);
    EXPECT_EQ(LampCentre(box, true), box.palette().color(QPalette::Dark).rgb());

    // With both icons: 16 x 16 at the top of the box, 3 pixels in.
    CheckButton icons(2, "On/Off");
    icons.resize(150, 24);
    icons.SetIcons(184, 183);
    icons.SetCheck(1, true);
    const QImage ticked = Render(icons);
    icons.SetCheck(0, true);
    EXPECT_NE(LampCentre(icons), kDarkGreen.rgb());
    EXPECT_NE(ticked.copy(3, 0, 16, 16), Render(icons).copy(3, 0, 16, 16));
    const QColor face = icons.palette().color(QPalette::Button);
    EXPECT_TRUE(QRect(3, 0, 16, 16).contains(BoxOfPixelsUnlike(ticked, face, QRect(0, 0, 22, 24))));
}

}  // namespace
