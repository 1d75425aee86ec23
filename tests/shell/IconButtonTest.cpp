// SPDX-License-Identifier: MIT
#include "widgets/IconButton.h"

#include "tests/shell/PixelProbe.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace PixelProbe;

namespace {

const QColor kIdle(0, 0, 160);      // inactive background
const QColor kLit(255, 255, 0);     // active background
const QColor kMagenta(255, 0, 255);

// A flat button at (50, 50) on a host window at (100, 100) of the screen.
class IconButtonHover : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_button = new IconButton("Feed", &m_host);
        m_button->setGeometry(50, 50, 120, 40);
        m_button->SetInactiveColours(kIdle, Qt::white);
        m_button->SetActiveColours(kLit, Qt::black);
        ShowHost(m_host);
        MovePointer(m_host.mapToGlobal(QPoint(5, 5)));
    }
    void TearDown() override { MovePointer(QPoint(1600, 1000)); }

    QPoint Inside() const { return m_button->mapToGlobal(QPoint(60, 20)); }
    QRgb Fill() { return Render(*m_button).pixel(60, 5); }
    bool Hovered() const { return m_button->IsMouseOver() && QWidget::mouseGrabber() == m_button; }
    bool Idle() const { return !m_button->IsMouseOver() && QWidget::mouseGrabber() == nullptr; }

    QWidget m_host;
    IconButton* m_button = nullptr;
};

TEST_F(IconButtonHover, PointerOverLightsAndGrabsAClickFreesTheMouseAndLeavingClears)
{
    ASSERT_TRUE(MovePointer(Inside(), [&] { return Hovered(); }));
    EXPECT_EQ(Fill(), kLit.rgb());
    // Raised hover border: highlight on the top edge, shadow on the bottom.
    const QImage lit = Render(*m_button);
    EXPECT_EQ(lit.pixel(60, 0), m_button->palette().color(QPalette::Light).rgb());
    EXPECT_EQ(lit.pixel(60, 39), m_button->palette().color(QPalette::Dark).rgb());
    // Within the host window: the grab sees the pointer leave.
    ASSERT_TRUE(MovePointer(m_host.mapToGlobal(QPoint(10, 10)), [&] { return Idle(); }));
    EXPECT_EQ(Fill(), kIdle.rgb());

    // A click reports once and frees the mouse for whatever it opens.
    QSignalSpy clicks(m_button, &QAbstractButton::clicked);
    QWidget* grabberAtClick = m_button;
    QObject::connect(m_button, &QAbstractButton::clicked, [&] { grabberAtClick = QWidget::mouseGrabber(); });
    ASSERT_TRUE(MovePointer(Inside(), [&] { return Hovered(); }));
    QTest::mouseClick(m_button, Qt::LeftButton, {}, QPoint(60, 20));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(grabberAtClick, nullptr);
    EXPECT_TRUE(m_button->IsMouseOver());
    // The next move over the button takes the grab again; leaving far
    // outside the host window clears.
    ASSERT_TRUE(MovePointer(Inside() + QPoint(3, 0), [&] { return Hovered(); }));
    ASSERT_TRUE(MovePointer(QPoint(1500, 900), [&] { return Idle(); }));
}

TEST_F(IconButtonHover, PressDraggedOffKeepsTheGrabButLosesTheLook)
{
    QSignalSpy clicks(m_button, &QAbstractButton::clicked);
    ASSERT_TRUE(MovePointer(Inside(), [&] { return Hovered(); }));
    QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(60, 20));
    EXPECT_TRUE(m_button->isDown());
    EXPECT_EQ(Fill(), kLit.rgb());

    QTest::mouseMove(m_button, QPoint(200, 20));
    EXPECT_EQ(QWidget::mouseGrabber(), m_button);
    EXPECT_FALSE(m_button->IsMouseOver());
    EXPECT_FALSE(m_button->isDown());
    EXPECT_EQ(Fill(), kIdle.rgb());

    QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(200, 20));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(IconButtonHover, NonFlatNeverHoversAndDrawsTheClassicFrame)
{
    m_button->SetFlat(false);
    MovePointer(Inside());
    MovePointer(Inside() + QPoint(4, 2));
    EXPECT_FALSE(m_button->IsMouseOver());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    const QImage image = Render(*m_button);
    const QPalette& colours = m_button->palette();
    EXPECT_EQ(image.pixel(60, 0), colours.color(QPalette::Light).rgb());
    EXPECT_EQ(image.pixel(60, 39), colours.color(QPalette::Shadow).rgb());
    EXPECT_EQ(image.pixel(60, 5), kIdle.rgb());
}

// Icon 136 (32 x 32) on a magenta button: where its pixels land.
TEST(IconButtonIcon, PlacementByAlignCaptionAndPress)
{
    const struct {
        int align;
        bool showText;
        bool pressed;
        QSize button;
        QPoint origin;  // where the icon's top-left corner must be
        QRect search;   // the part of the button that holds only the icon
    } cases[] = {
        {0, true, false, {200, 48}, {3, 8}, {0, 0, 60, 48}},
        {0, true, true, {200, 48}, {4, 9}, {0, 0, 60, 48}},
        {0, false, false, {200, 48}, {84, 8}, {0, 0, 200, 48}},
        {1, true, false, {120, 64}, {44, 0}, {0, 0, 120, 32}},
        {1, true, true, {120, 64}, {45, 1}, {0, 0, 120, 33}},
        {1, false, false, {120, 64}, {44, 16}, {0, 0, 120, 64}},
    };
    QPoint offset(-1, -1);  // of the icon's drawn pixels inside its square
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "align " << c.align << " text " << c.showText << " pressed " << c.pressed);
        IconButton button("Feed");
        button.SetHoverBorder(false);
        button.SetInactiveColours(kMagenta, Qt::black);
        button.SetActiveColours(kMagenta, Qt::black);
        button.resize(c.button);
        button.SetIcon(136, 0, 32, 32);
        button.SetAlign(c.align);
        button.SetShowText(c.showText);
        button.setDown(c.pressed);
        const QImage image = Render(button);
        const QRect box = BoxOfPixelsUnlike(image, kMagenta, c.search);
        ASSERT_FALSE(box.isEmpty());
        EXPECT_TRUE(QRect(c.origin, QSize(32, 32)).contains(box)) << box.x() << "," << box.y();
        if (offset == QPoint(-1, -1)) {
            offset = box.topLeft() - c.origin;
        }
        EXPECT_EQ(box.topLeft() - c.origin, offset);
    }
}

}  // namespace
