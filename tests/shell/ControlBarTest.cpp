// SPDX-License-Identifier: MIT
#include "ui/ControlBar.h"

#include "resources/BuiltinArt.h"
#include "tests/shell/PixelProbe.h"
#include "ui/DigitalClock.h"
#include "view/scene/AquariumScene.h"
#include "widgets/HyperLink.h"
#include "widgets/IconButton.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Action = AquariumScene::TickAction;

class ControlBarTest : public ::testing::Test {
protected:
    // The bar shown over a full-screen window, as the program shows it.
    void ShowBar()
    {
        m_frame.setGeometry(QGuiApplication::primaryScreen()->geometry());
        m_frame.show();
        m_bar.ShowOver(m_frame);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_bar));
    }
    IconButton* Button(const QString& text) const { return PixelProbe::ChildWithText<IconButton>(m_bar, text); }
    void Click(const QString& text) const
    {
        if (IconButton* button = Button(text))
            QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    QWidget m_frame;
    ControlBar m_bar;
};

TEST_F(ControlBarTest, ButtonsStoreCommandsThatTheViewsNextTickActsOn)
{
    ShowBar();
    AquariumScene scene;
    EXPECT_EQ(m_bar.Command(), CMD_FEED);
    QSignalSpy addFish(&m_bar, &ControlBar::addFishRequested);
    // In the order a user might press them; one view tick after each.
    struct Step {
        const char* button;
        int stored;          // the command right after the click
        Action action;       // what the tick tells the view to do
        int mode;            // the view's mode after the tick
        int left;            // the command after the tick
    } const steps[] = {
        {"Touch Fish", CMD_TOUCH, Action::None, CMD_TOUCH, CMD_TOUCH},
        {"ZoomIn Fish", CMD_ZOOMIN, Action::None, CMD_ZOOMIN, CMD_ZOOMIN},
        {"Add Fish", CMD_ZOOMIN, Action::None, CMD_ZOOMIN, CMD_ZOOMIN},  // only asks for its dialog
        {"Custom Music", CMD_MUSIC, Action::ShowMusicDialog, CMD_NONE, CMD_NONE},
        {"ZoomOut Fish", CMD_ZOOMOUT, Action::None, CMD_ZOOMOUT, CMD_ZOOMOUT},
        {"Custom Image", CMD_IMAGE, Action::ShowImageDialog, CMD_NONE, CMD_NONE},
        {"Feed Fish", CMD_FEED, Action::None, CMD_FEED, CMD_FEED},
        {"Exit", CMD_EXIT, Action::Exit, CMD_EXIT, CMD_EXIT},
    };
    for (const Step& step : steps) {
        Click(step.button);
        EXPECT_EQ(m_bar.Command(), step.stored) << step.button;
        int command = m_bar.Command();
        EXPECT_EQ(scene.PollCommand(command), step.action) << step.button;
        m_bar.SetCommand(command);
        EXPECT_EQ(scene.Mode(), step.mode) << step.button;
        EXPECT_EQ(m_bar.Command(), step.left) << step.button;
    }
    EXPECT_EQ(addFish.count(), 1);
}

// The bar hands every activation straight back to the aquarium. A press
// whose release comes after that hand-over (a busy program handles the two
// apart) is still a click.
TEST_F(ControlBarTest, AClickOutlastsTheKeyboardGoingBackToTheAquarium)
{
    ShowBar();
    IconButton* music = Button("Custom Music");
    ASSERT_NE(music, nullptr);
    QTest::mousePress(music, Qt::LeftButton, {}, music->rect().center());
    // The press activated the bar, which gives the activation back.
    m_bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == m_bar.windowHandle(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == m_frame.windowHandle(); }));
    QTest::mouseRelease(music, Qt::LeftButton, {}, music->rect().center());
    EXPECT_EQ(m_bar.Command(), CMD_MUSIC);
}

TEST_F(ControlBarTest, EnterAndEscapeDoNothing)
{
    ShowBar();
    Click("ZoomOut Fish");
    IconButton* exit = Button("Exit");
    ASSERT_NE(exit, nullptr);
    exit->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&m_bar, key);
        QTest::keyClick(exit, key);
        QTest::keyClick(&m_bar.Clock(), key);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_bar.isVisible());
    EXPECT_EQ(m_bar.Command(), CMD_ZOOMOUT);
}

TEST_F(ControlBarTest, KeyColourIsCutOutAndNoControlStandsOverACutOut)
{
    const BuiltinArt::Entry* art = BuiltinArt::Find(ControlBar::kBitmapId, "BITMAP");
    ASSERT_NE(art, nullptr);
    const QImage picture = QImage::fromData(art->data, int(art->size)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(2016, 64));
    EXPECT_EQ(m_bar.size(), picture.size());
    const QRegion mask = m_bar.mask();
    // Whole rows: exactly the key's pixels are left out, including the
    // rounded end and the wavy lower edge.
    ASSERT_EQ(picture.pixel(1600, 10), ControlBar::kColourKey);
    for (int y : {0, 10, 30, 58, 60, 63})
        for (int x = 0; x < picture.width(); ++x)
            ASSERT_EQ(mask.contains(QPoint(x, y)), picture.pixel(x, y) != ControlBar::kColourKey)
                << x << "," << y;

    // A click on a control must never fall through to the aquarium, and all
    // eight buttons fit on the smallest screen.
    QList<QWidget*> controls{&m_bar.Clock()};
    for (IconButton* button : m_bar.findChildren<IconButton*>()) {
        controls << button;
        EXPECT_GE(button->height(), 32) << button->text().toStdString();
        EXPECT_LE(button->geometry().right(), 1023) << button->text().toStdString();
    }
    EXPECT_EQ(controls.size(), 9);
    for (QWidget* control : controls)
        EXPECT_EQ(mask.intersected(control->geometry()), QRegion(control->geometry()))
            << control->metaObject()->className() << " " << control->x();
    EXPECT_EQ(m_bar.Clock().geometry(), QRect(998, 22, 120, 30));
}

TEST_F(ControlBarTest, ShowsAtTheTopLeftWithAWhiteLink)
{
    // (The running green clock on the screen is checked end to end.)
    ShowBar();
    EXPECT_EQ(m_bar.geometry().topLeft(), QPoint(0, 0));
    EXPECT_TRUE(m_bar.Clock().isVisible());

    // White over the bar's blue in every state, hovered too.
    HyperLink& link = m_bar.Link();
    QTest::mouseMove(&link, link.rect().center());
    EXPECT_EQ(link.TextColour(), QColor(Qt::white));
}

// Every button, and each text that shows, lies whole within the screen's
// width; captions go where the buttons would not fit with them.
TEST_F(ControlBarTest, EveryButtonFitsTheScreenAndOnlyWholeTextsShow)
{
    const struct {
        int width;          // the screen's, in the bar's pixels
        bool captions;
        bool clock, link;   // shown
    } screens[] = {
        {2560, true, true, true}, {1680, true, true, true},
        {1280, true, true, false},    // the address would run off the edge
        {1024, true, false, false},   // the buttons fill it; clock and link would be cut
        {960, false, true, true},     // 1920 at twice the scale
        {800, false, true, true},
        {640, false, true, false},
    };
    for (const auto& s : screens) {
        SCOPED_TRACE(s.width);
        m_bar.LayOut(s.width);
        EXPECT_EQ(m_bar.width(), std::min(2016, s.width));
        const auto buttons = m_bar.findChildren<IconButton*>();
        ASSERT_EQ(buttons.size(), 8);
        int right = 0;
        for (IconButton* button : buttons) {
            EXPECT_LT(button->geometry().right(), s.width) << button->text().toStdString();
            EXPECT_GE(button->width(), 32);
            EXPECT_GT(button->x(), right) << "buttons overlap";
            right = button->geometry().right();
        }
        EXPECT_EQ(buttons.back()->width() > 60, s.captions);
        EXPECT_EQ(m_bar.Clock().isVisibleTo(&m_bar), s.clock);
        EXPECT_EQ(m_bar.Link().isVisibleTo(&m_bar), s.link);
        for (QWidget* text : {static_cast<QWidget*>(&m_bar.Clock()), static_cast<QWidget*>(&m_bar.Link())})
            EXPECT_TRUE(!text->isVisibleTo(&m_bar) || text->x() > right) << "a text over the buttons";
    }
}

}  // namespace
