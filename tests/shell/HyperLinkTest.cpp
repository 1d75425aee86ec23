// SPDX-License-Identifier: MIT
#include "widgets/HyperLink.h"

#include "platform/MessageBox.h"
#include "tests/shell/PixelProbe.h"

#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PixelProbe;

namespace {

const QColor kLink(0, 0, 238);
const QColor kVisited(85, 26, 139);

TEST(HyperLinkErrorMessage, TextsOfTheTable)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources."},
        {26, "Unable to open hyperlink:\n\nA sharing violation occurred. "},
        {-7, "Unable to open hyperlink:\n\nUnknown Error (-7) occurred."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HyperLink::ErrorMessage(c.code).toStdString(), c.text) << c.code;
}

// A link on a white host window at (100, 100); message boxes are recorded.
class HyperLinkOnHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = SetMessageBoxHandler(
            [this](const std::string& text, const std::string&, MessageIcon icon) {
                m_messages.push_back(text);
                m_exclamation = icon == MessageIcon::Exclamation;
            });
        m_host.setAutoFillBackground(true);
        QPalette white = m_host.palette();
        white.setColor(QPalette::Window, Qt::white);
        m_host.setPalette(white);
        m_link = new HyperLink("Plovi home", &m_host);
        m_link->SetAddress("https://plovi-aquarium.example.org/fish");
        m_link->setGeometry(40, 40, 300, 60);
        m_link->SetLauncher([this](const QString& address) {
            m_opened.push_back(address.toStdString());
            return m_result;
        });
        ShowHost(m_host);
        MovePointer(m_host.mapToGlobal(QPoint(5, 5)));
    }
    void TearDown() override
    {
        MovePointer(QPoint(1600, 1000));
        SetMessageBoxHandler(m_previous);
    }

    // Underline pixels of the colour: at least half the text's width.
    bool Shows(const QColor& colour) { return CountPixels(m_host.grab(m_link->geometry()).toImage(), colour) > m_link->width() / 2; }
    QPoint Over() const { return m_link->mapToGlobal(QPoint(10, m_link->height() / 2)); }

    QWidget m_host;
    HyperLink* m_link = nullptr;
    int m_result = 42;
    std::vector<std::string> m_opened;
    std::vector<std::string> m_messages;
    bool m_exclamation = false;  // the last box carried the exclamation icon
    MessageBoxHandler m_previous;
};

TEST_F(HyperLinkOnHost, FitsItsTextAndAClickVisitsOnSuccessAndAFailureRestoresTheLinkColour)
{
    const QSize text = m_link->fontMetrics().size(Qt::TextSingleLine, "Plovi home");
    EXPECT_EQ(m_link->geometry(), QRect(QPoint(40, 40), text));
    EXPECT_EQ(m_link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(m_link->toolTip(), "https://plovi-aquarium.example.org/fish");
    EXPECT_TRUE(Shows(kLink));

    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(m_opened, std::vector<std::string>{"https://plovi-aquarium.example.org/fish"});
    EXPECT_TRUE(m_link->IsVisited());
    EXPECT_TRUE(Shows(kVisited));
    EXPECT_TRUE(m_messages.empty());

    m_result = 26;
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(m_link->IsVisited());
    EXPECT_TRUE(Shows(kLink));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], HyperLink::ErrorMessage(26).toStdString());
    EXPECT_TRUE(m_exclamation);
}

TEST_F(HyperLinkOnHost, HoverColourComesAndGoesWithThePointerUnlessAColourIsForced)
{
    const QColor hover = m_link->palette().color(QPalette::Highlight);
    ASSERT_TRUE(MovePointer(Over(), [&] { return m_link->IsOver(); }));
    EXPECT_EQ(QWidget::mouseGrabber(), m_link);
    EXPECT_TRUE(Shows(hover));
    ASSERT_TRUE(MovePointer(QPoint(1500, 900), [&] { return !m_link->IsOver(); }));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(Shows(kLink));

    // After a visit, leaving goes back to the visited colour; the click
    // itself ends the hover so that the browser or a message box gets the mouse.
    ASSERT_TRUE(MovePointer(Over(), [&] { return m_link->IsOver(); }));
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_TRUE(Shows(kVisited));
    ASSERT_TRUE(MovePointer(Over() + QPoint(3, 0), [&] { return m_link->IsOver(); }));
    ASSERT_TRUE(MovePointer(QPoint(1500, 900), [&] { return !m_link->IsOver(); }));
    EXPECT_TRUE(Shows(kVisited));

    // A forced colour holds hovered and visited; clearing it brings the
    // visited colour back.
    m_link->SetForcedTextColor(Qt::white);
    m_host.setPalette(QPalette(Qt::black));
    ASSERT_TRUE(MovePointer(Over(), [&] { return m_link->IsOver(); }));
    EXPECT_TRUE(Shows(Qt::white));
    QTest::mouseClick(m_link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(Shows(Qt::white));
    m_link->SetForcedTextColor(QColor());
    EXPECT_TRUE(Shows(kVisited));
}

TEST(HyperLinkAttach, EmptyTextTakesTheAddressAndEmptyAddressTheText)
{
    HyperLink addressOnly;
    addressOnly.SetAddress(kMakerAddress);
    addressOnly.Attach();
    EXPECT_EQ(addressOnly.text(), QString(kMakerAddress));

    HyperLink textOnly("https://example.org/reef");
    textOnly.Attach();
    EXPECT_EQ(textOnly.Address(), "https://example.org/reef");
    EXPECT_EQ(textOnly.toolTip(), "https://example.org/reef");
}

}  // namespace
