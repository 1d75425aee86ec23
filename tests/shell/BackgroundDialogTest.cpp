// SPDX-License-Identifier: MIT
#include "ui/BackgroundDialog.h"

#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"
#include "widgets/CheckButton.h"
#include "widgets/IconButton.h"

#include <GL/gl.h>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using Dialog = BackgroundDialog;

// A dialog over a real GL context, on its own settings directory, with
// every picture a real file it writes.
class BackgroundDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        ASSERT_TRUE(m_gl.Ok());
        m_oldHandler = SetMessageBoxHandler(
            [this](const std::string& text, const std::string&, MessageIcon) { m_messages.push_back(text); });
    }
    void TearDown() override
    {
        m_dialog.reset();
        SetMessageBoxHandler(m_oldHandler);
    }

    void Open()
    {
        m_dialog = std::make_unique<Dialog>([] { return true; }, QSize(1024, 768));
        m_dialog->ShowDialog();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    // A picture file of one colour; format from the name.
    std::string Picture(const std::string& name, QColor colour = Qt::green) const
    {
        const std::string path = m_pictures.Path() + name;
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }
    // Adds the files and waits until every one has come back.
    void Add(const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths)
            m_dialog->AddFile(QString::fromStdString(path));
        ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->PendingCount() == 0; }, 10000));
    }
    void AddThree() { Add({Picture("a.jpg", Qt::red), Picture("b.png", Qt::green), Picture("c.bmp", Qt::blue)}); }
    void ClickBox(int id)
    {
        QTest::mouseClick(&m_dialog->Box(id), Qt::LeftButton);
        QCoreApplication::processEvents();   // the box posts its command
    }
    // The row whose State is "ON", -1 when none.
    int OnRow() const
    {
        int on = -1;
        for (int row = 0; row < m_dialog->Count(); ++row)
            if (m_dialog->RowState(row) == "ON") {
                EXPECT_EQ(on, -1) << "two rows ON";
                on = row;
            }
        return on;
    }
    void WriteSettings(const std::string& text) const
    {
        std::filesystem::create_directories(m_config.Path() + "plovi");
        std::ofstream(m_config.Path() + "plovi/PloviSet.ini") << text;
    }

    TempDir m_config;
    ScopedEnv m_xdg{"XDG_CONFIG_HOME", m_config.Path().c_str()};
    TempDir m_pictures;
    GlTestContext m_gl;
    std::unique_ptr<Dialog> m_dialog;
    std::vector<std::string> m_messages;
    MessageBoxHandler m_oldHandler;
};

TEST_F(BackgroundDialogTest, TenPicturesAtMostAllInViewAndTheEleventhSaysSo)
{
    Open();
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i)
        paths.push_back(Picture("p" + std::to_string(i) + (i % 3 == 0 ? ".jpg" : i % 3 == 1 ? ".png" : ".bmp")));
    Add(paths);
    ASSERT_EQ(m_dialog->Count(), 10);
    EXPECT_TRUE(m_messages.empty());
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_TRUE(glIsTexture(m_dialog->SlotTexture(slot))) << slot;
    // All ten rows show in the template's box, each a whole line of text.
    QTableWidget& list = m_dialog->List();
    QTest::qWait(50);
    EXPECT_EQ(list.verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(list.viewport()->rect().contains(list.visualItemRect(list.item(9, 0))));
    EXPECT_GE(list.rowHeight(0), list.fontMetrics().height());

    Add({Picture("eleventh.png")});
    EXPECT_EQ(m_dialog->Count(), 10);
    EXPECT_EQ(m_messages, std::vector<std::string>{"The maximum number of background is: 10"});
}

TEST_F(BackgroundDialogTest, BadPicturesSayWhichAndAddNothing)
{
    Open();
    const std::string text = m_pictures.Path() + "notes.png";
    std::ofstream(text) << "not a picture\n";
    const std::string gone = m_pictures.Path() + "gone.jpg";
    Add({text, gone, m_pictures.Path()});
    EXPECT_EQ(m_dialog->Count(), 0);
    const std::vector<std::string> expected = {"(" + text + ")image loading error.", "(" + gone + ")image loading error.",
                                               "(" + m_pictures.Path() + ")image loading error."};
    EXPECT_EQ(m_messages, expected);
    // A good one still comes after them.
    Add({Picture("fine.png")});
    EXPECT_EQ(m_dialog->Count(), 1);
}

TEST_F(BackgroundDialogTest, PlayModesChooseByTheirRuleOnEachTick)
{
    Open();
    AddThree();
    m_dialog->IntervalEdit().setText("0");   // a change on every tick
    ClickBox(Dialog::kOwnImageBox);
    ASSERT_TRUE(m_dialog->Cycling());

    // Repeat One: the first row, and it stays.
    std::vector<int> rows;
    for (int tick = 0; tick < 6; ++tick) {
        m_dialog->OnTimer();
        rows.push_back(OnRow());
    }
    EXPECT_EQ(rows, std::vector<int>(6, 0));
    EXPECT_TRUE(Program().ownImageOn);

    // Repeat All with no current image: 1, 2, 0, 1.
    m_dialog->RemoveAll();
    AddThree();
    ClickBox(Dialog::kRepeatAllBox);
    EXPECT_EQ(m_dialog->Mode(), Dialog::RepeatAll);
    EXPECT_EQ(m_dialog->CurrentImage(), 0u);
    rows.clear();
    for (int tick = 0; tick < 4; ++tick) {
        m_dialog->OnTimer();
        rows.push_back(OnRow());
        EXPECT_EQ(m_dialog->CurrentImage(), m_dialog->SlotTexture(rows.back()));
    }
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 0, 1}));
}

TEST_F(BackgroundDialogTest, TheIntervalCountsInSecondsOfTicksAndEmptyMeansEveryTick)
{
    Open();
    AddThree();
    ClickBox(Dialog::kRepeatAllBox);
    ClickBox(Dialog::kOwnImageBox);
    const struct {
        const char* text;
        int ticksPerChange;
    } cases[] = {{"1", 5}, {"0", 1}, {"", 1}, {"2", 10}};
    for (const auto& c : cases) {
        m_dialog->IntervalEdit().setText(c.text);
        m_dialog->OnTimer();   // the first tick changes at once
        unsigned before = m_dialog->CurrentImage();
        int changes = 0;
        for (int tick = 0; tick < 20; ++tick) {
            m_dialog->OnTimer();
            changes += m_dialog->CurrentImage() != before;
            before = m_dialog->CurrentImage();
        }
        EXPECT_EQ(changes, 20 / c.ticksPerChange) << "interval '" << c.text << "'";
    }
    // Digits only.
    QTest::keyClicks(&m_dialog->IntervalEdit(), "-x3");
    EXPECT_EQ(m_dialog->IntervalEdit().text(), "23");
}

TEST_F(BackgroundDialogTest, ClearingTheBoxStopsTheShowAndGivesTheBuiltInPictureBack)
{
    Open();
    AddThree();
    ClickBox(Dialog::kRepeatAllBox);
    m_dialog->IntervalEdit().setText("0");
    ClickBox(Dialog::kOwnImageBox);
    m_dialog->OnTimer();
    ASSERT_NE(OnRow(), -1);
    ASSERT_TRUE(Program().ownImageOn);

    ClickBox(Dialog::kOwnImageBox);
    EXPECT_FALSE(m_dialog->Cycling());
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(m_dialog->RowState(row), "OFF") << row;
    const unsigned shown = m_dialog->CurrentImage();
    // The real timer carries the box into the program's values.
    EXPECT_TRUE(QTest::qWaitFor([] { return !Program().ownImageOn; }, Dialog::kTimerMs + 150));
    for (int tick = 0; tick < 5; ++tick)
        m_dialog->OnTimer();
    EXPECT_EQ(m_dialog->CurrentImage(), shown);
    EXPECT_EQ(OnRow(), -1);
}

TEST_F(BackgroundDialogTest, RemovingARowMovesTheLaterOnesUpDeletesItsTextureAndSelectsNothing)
{
    Open();
    AddThree();
    const std::vector<unsigned> textures = {m_dialog->SlotTexture(0), m_dialog->SlotTexture(1),
                                            m_dialog->SlotTexture(2)};
    const QString third = m_dialog->RowPath(2);
    QTableWidget& list = m_dialog->List();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1, 0)).center());
    ASSERT_EQ(list.selectedRanges().size(), 1);
    m_dialog->Button(Dialog::kRemoveButton).click();
    ASSERT_EQ(m_dialog->Count(), 2);
    // A second press without a click removes nothing.
    EXPECT_TRUE(list.selectedRanges().isEmpty());
    m_dialog->Button(Dialog::kRemoveButton).click();
    ASSERT_EQ(m_dialog->Count(), 2);
    EXPECT_EQ(m_dialog->RowPath(1), third);
    EXPECT_EQ(m_dialog->SlotTexture(0), textures[0]);
    EXPECT_EQ(m_dialog->SlotTexture(1), textures[2]);
    EXPECT_EQ(m_dialog->SlotTexture(2), 0u);
    EXPECT_FALSE(glIsTexture(textures[1]));

    m_dialog->RemoveAll();
    EXPECT_EQ(m_dialog->Count(), 0);
    EXPECT_FALSE(glIsTexture(textures[0]));
    EXPECT_FALSE(glIsTexture(textures[2]));
}

TEST_F(BackgroundDialogTest, LongPathsAndTheSwitchesSurviveASaveAndAReload)
{
    // Nested folders to a real file whose path takes 4000 bytes and more.
    std::string folder = m_pictures.Path();
    while (folder.size() < 3900)
        folder += std::string(200, 'd') + "/";
    std::filesystem::create_directories(folder);
    const std::string longPath = folder + std::string(4000 - std::min<size_t>(folder.size(), 3990), 'x') + ".png";
    QImage(8, 8, QImage::Format_RGB32).save(QString::fromStdString(longPath));
    ASSERT_GE(longPath.size(), 4000u);
    ASSERT_TRUE(std::filesystem::exists(longPath));

    Open();
    Add({Picture(" spaced .jpg"), longPath});
    ClickBox(Dialog::kRandomBox);
    ClickBox(Dialog::kOwnImageBox);
    m_dialog->IntervalEdit().setText("17");
    m_dialog->SaveSettings();
    m_dialog.reset();

    Open();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->Count() == 2; }, 10000)) << m_messages.size();
    EXPECT_EQ(m_dialog->RowPath(0).toStdString(), m_pictures.Path() + " spaced .jpg");
    EXPECT_EQ(m_dialog->RowPath(1).toStdString(), longPath);
    EXPECT_EQ(m_dialog->Mode(), Dialog::Random);
    EXPECT_EQ(m_dialog->Box(Dialog::kOwnImageBox).GetCheck(), 1);
    EXPECT_EQ(m_dialog->IntervalEdit().text(), "17");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(BackgroundDialogTest, ASettingsFileListingFiftyPicturesLoadsTheFirstTen)
{
    std::string text = "[Custom Images]\nImageSum=50\nOwnImage=0\n";
    for (int i = 0; i < 50; ++i)
        text += "ImageList" + std::to_string(i) + "=" + Picture("s" + std::to_string(i) + ".png") + "\n";
    WriteSettings(text);
    Open();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->PendingCount() == 0; }, 10000));
    ASSERT_EQ(m_dialog->Count(), 10);
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(m_dialog->RowPath(row).toStdString(), m_pictures.Path() + "s" + std::to_string(row) + ".png");
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(BackgroundDialogTest, SavedPicturesWithTheBoxTickedShowAtTheFirstTickAfterTheyArrive)
{
    // Decoding takes longer than a tick: the show must not wait out the
    // interval once the first picture is there.
    WriteSettings("[Custom Images]\nImageSum=2\nOwnImage=1\nCycImage=1\nImageTime=30\nImageList0=" +
                  Picture("one.jpg") + "\nImageList1=" + Picture("two.png") + "\n");
    m_dialog = std::make_unique<Dialog>([] { return true; }, QSize(1024, 768));
    ASSERT_TRUE(m_dialog->Cycling());
    m_dialog->OnTimer();   // results come through the event loop: none yet
    EXPECT_EQ(m_dialog->CurrentImage(), Dialog::kNoChoice);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->PendingCount() == 0; }, 10000));
    ASSERT_EQ(m_dialog->Count(), 2);
    m_dialog->OnTimer();
    EXPECT_NE(m_dialog->CurrentImage(), Dialog::kNoChoice);
    EXPECT_NE(m_dialog->CurrentImage(), 0u);
    EXPECT_EQ(OnRow(), m_dialog->CurrentImage() == m_dialog->SlotTexture(0) ? 0 : 1);
}

// A drive not mounted yet at start-up must not cost the user the picture:
// it keeps its row and its place in the saved list, and the show passes
// over it.
TEST_F(BackgroundDialogTest, ASavedPictureMissingAtStartKeepsItsPlaceAndTheShowPassesOverIt)
{
    const std::string gone = m_pictures.Path() + "on-a-drive-not-mounted.jpg";
    const std::string a = Picture("a.png", Qt::red), c = Picture("c.bmp", Qt::blue);
    WriteSettings("[Custom Images]\nImageSum=3\nOwnImage=1\nCycImage=1\nImageTime=0\nImageList0=" + a +
                  "\nImageList1=" + gone + "\nImageList2=" + c + "\n");
    // A real message box runs its own event loop, which lets the next
    // pictures arrive while it is open.
    SetMessageBoxHandler([this](const std::string& text, const std::string&, MessageIcon) {
        m_messages.push_back(text);
        QTest::qWait(300);
    });
    Open();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->PendingCount() == 0; }, 10000));
    ASSERT_EQ(m_dialog->Count(), 3);
    EXPECT_EQ(m_dialog->RowPath(1).toStdString(), gone);
    EXPECT_EQ(m_dialog->RowState(1), "N/A");
    EXPECT_EQ(m_dialog->SlotTexture(1), 0u);
    EXPECT_EQ(m_messages, std::vector<std::string>{"(" + gone + ")image loading error."});

    // Repeat All every tick: rows 0 and 2 in turn, never the missing one.
    int last = OnRow();
    for (int tick = 0; tick < 4; ++tick) {
        m_dialog->OnTimer();
        EXPECT_NE(m_dialog->CurrentImage(), 0u);
        const int row = OnRow();
        EXPECT_TRUE(row == 0 || row == 2) << row;
        EXPECT_NE(row, last);
        last = row;
    }
    EXPECT_EQ(m_dialog->RowState(1), "N/A");

    m_dialog->SaveSettings();
    m_dialog.reset();
    const std::string saved = ReadWholeFile(m_config.Path() + "plovi/PloviSet.ini");
    EXPECT_NE(saved.find("ImageSum=3"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ImageList1=" + gone + "\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("ImageList2=" + c + "\n"), std::string::npos) << saved;
}

TEST_F(BackgroundDialogTest, ANameThatIsNotUtf8LoadsAndIsSavedBackByteForByte)
{
    const std::string latin1 = m_pictures.Path() + "\xE9t\xE9 \xB5.png";   // "été µ" in ISO-8859-1
    {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(QString::fromStdString(m_pictures.Path() + "made.png")));
        std::filesystem::rename(m_pictures.Path() + "made.png", latin1);
    }
    WriteSettings("[Custom Images]\nImageSum=1\nImageList0=" + latin1 + "\n");
    Open();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->PendingCount() == 0; }, 10000));
    ASSERT_EQ(m_dialog->Count(), 1);
    EXPECT_NE(m_dialog->SlotTexture(0), 0u) << "the file was opened under its own name";
    EXPECT_TRUE(m_messages.empty());
    m_dialog->SaveSettings();
    const std::string saved = ReadWholeFile(m_config.Path() + "plovi/PloviSet.ini");
    EXPECT_NE(saved.find("ImageList0=" + latin1 + "\n"), std::string::npos) << saved;
}

TEST_F(BackgroundDialogTest, APathTheListCouldNotKeepIsRefusedAtAddAndTheUserIsToldWhy)
{
    Open();
    const std::string broken = Picture("two\nlines.png");
    // What a file dialog gives for a name that is not UTF-8: its bytes lost.
    const QString lost = QFile::decodeName(QByteArray::fromStdString(m_pictures.Path() + "\xE9t\xE9.png"));
    m_dialog->AddFile(QString::fromStdString(broken));
    m_dialog->AddFile(lost);
    Add({Picture("fine.png")});
    EXPECT_EQ(m_dialog->Count(), 1);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[0], "(" + broken + ") file name holds a line break, so it cannot be saved in the list.");
    EXPECT_EQ(m_messages[1], "(" + lost.toStdString() +
                                 ") file name is not valid UTF-8, so it cannot be opened. Rename the file and add it again.");
}

// Saved pictures wait for the aquarium's first frame before they are decoded
// (a photo's decoding takes a core that frame needs), then come in their
// order; without a first frame they come after the hold limit.
TEST_F(BackgroundDialogTest, SavedPicturesWaitForTheFirstFrameButNotForLong)
{
    const std::string first = Picture("saved0.png", Qt::red), second = Picture("saved1.png", Qt::blue);
    WriteSettings("[Custom Images]\nOwnImage=1\nImageSum=2\nImageList0=" + first + "\nImageList1=" + second + "\n");
    const auto held = [] { return std::make_unique<Dialog>([] { return true; }, QSize(1024, 768),
                                                           Dialog::SavedPictures::DecodeLater); };
    m_dialog = held();
    QTest::qWait(500);   // far longer than two small pictures take
    EXPECT_EQ(m_dialog->Count(), 0);
    EXPECT_EQ(m_dialog->PendingCount(), 2);
    m_dialog->StartDecoding();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->PendingCount() == 0; }, 10000));
    ASSERT_EQ(m_dialog->Count(), 2);
    EXPECT_EQ(m_dialog->RowPath(0).toStdString(), first);
    EXPECT_EQ(m_dialog->RowPath(1).toStdString(), second);
    EXPECT_NE(m_dialog->CurrentImage(), 0u) << "the own picture is shown once decoded";

    QElapsedTimer clock;
    clock.start();
    m_dialog = held();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_dialog->Count() == 2; }, 10000));
    // Qt's coarse timers may fire up to 5 % early.
    EXPECT_GE(clock.elapsed(), Dialog::kDecodeHoldLimitMs * 95 / 100);
}

}  // namespace
