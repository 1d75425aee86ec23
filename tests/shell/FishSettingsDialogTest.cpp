// SPDX-License-Identifier: MIT
#include "ui/FishSettingsDialog.h"

#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "resources/BuiltinArt.h"
#include "settings/ProgramValues.h"
#include "tests/shell/PixelProbe.h"
#include "tests/support/TestEnvironment.h"
#include "widgets/HyperLink.h"
#include "widgets/IconButton.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace PixelProbe;

namespace {

using Dialog = FishSettingsDialog;

// A dialog on its own settings directory, with fresh program values.
class FishSettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        MsvcRandom::Reset();
        Dialog::PreviousSelection() = Dialog::kNoSelection;
        m_oldHandler = SetMessageBoxHandler([this](const std::string& text, const std::string&, MessageIcon) {
            m_messages.push_back(text);
        });
    }
    void TearDown() override { SetMessageBoxHandler(m_oldHandler); }

    std::string SettingsPath() const { return m_config.Path() + "plovi/PloviSet.ini"; }
    void WriteFishNumbers(const std::string& lines) const
    {
        std::filesystem::create_directories(m_config.Path() + "plovi");
        std::ofstream(SettingsPath()) << "[Fish Number]\n" << lines;
    }
    // The dialog shown as the program shows it.
    void Open()
    {
        m_dialog = std::make_unique<Dialog>();
        m_dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : m_dialog.get();
        QTest::keyClick(target, key, modifiers);
    }
    IconButton* Button(const QString& text) const { return ChildWithText<IconButton>(*m_dialog, text); }
    std::vector<int> Counts() const
    {
        std::vector<int> counts;
        for (int i = 0; i < kSpeciesCount; ++i)
            counts.push_back(m_dialog->Count(i));
        return counts;
    }
    static std::vector<int> Only(int species, int count)
    {
        std::vector<int> counts(kSpeciesCount, 0);
        counts[species] = count;
        return counts;
    }
    // Waits for the save-and-apply timer to have run.
    bool AppliedWithin(int species, int count, int ms = 1500)
    {
        return QTest::qWaitFor([&] { return g_speciesCount[species] == count; }, ms);
    }
    QPoint Centre(int cell) const { return Dialog::CellRect(cell).center(); }

    TempDir m_config;
    ScopedEnv m_xdg{"XDG_CONFIG_HOME", m_config.Path().c_str()};
    std::unique_ptr<Dialog> m_dialog;
    std::vector<std::string> m_messages;
    MessageBoxHandler m_oldHandler;
};

TEST_F(FishSettingsDialogTest, ClicksSelectByCellWithoutTheGridOffset)
{
    Open();
    const struct {
        QPoint at;
        int selection;
    } clicks[] = {
        {{1, 1}, 0},      {{99, 89}, 0},   {{100, 89}, 1},   {{100, 90}, 6},   {{450, 300}, 19},
        {{10, 400}, 20},  {{499, 449}, 24}, {{50, 450}, 25},  {{50, 451}, -1},  {{250, 500}, -1},
        {{150, 150}, 6},
    };
    for (const auto& click : clicks) {
        QTest::mouseClick(m_dialog.get(), Qt::LeftButton, {}, click.at);
        EXPECT_EQ(m_dialog->Selection(), click.selection) << click.at.x() << "," << click.at.y();
    }
    // The row below the grid matches no species: Add and Delete do nothing.
    QTest::mouseClick(m_dialog.get(), Qt::LeftButton, {}, QPoint(250, 400));
    Press(Qt::Key_A);
    Press(Qt::Key_D);
    EXPECT_EQ(m_dialog->Total(), 0);
}

TEST_F(FishSettingsDialogTest, AddStopsAtTwentyInAllDeleteAtZeroAndHandEditedCountsShowAsTheFileHoldsThem)
{
    // Missing keys, negative, non-numeric and too large values.
    WriteFishNumbers("Fish0=-3\nFish1=abc\nFish2=7x\nFish3= 4 \nFish4=35\n");
    Open();
    EXPECT_EQ(Counts(), (std::vector<int>{-3, 0, 7, 4, 35, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // The sum of what is shown, past the maximum: Add does nothing until it
    // is below. The scene gets at most 20 of a species.
    EXPECT_EQ(m_dialog->TotalText(), "Total: 43   (Max:20)");
    m_dialog->SaveAndApply();
    EXPECT_EQ(g_speciesCount[4], 20);
    m_dialog->Select(Centre(0));
    Press(Qt::Key_A);
    EXPECT_EQ(m_dialog->Count(0), -3);
    // Delete floors at 0, from below too.
    Press(Qt::Key_D);
    EXPECT_EQ(m_dialog->Count(0), 0);
    m_dialog->Select(Centre(4));
    for (int i = 0; i < 27; ++i)
        Press(Qt::Key_D);
    EXPECT_EQ(m_dialog->Count(4), 8);
    EXPECT_EQ(m_dialog->Total(), 19);
    m_dialog->Select(Centre(0));
    Press(Qt::Key_A);
    Press(Qt::Key_A);
    EXPECT_EQ(m_dialog->Count(0), 1);
    EXPECT_EQ(m_dialog->Total(), 20);
    EXPECT_EQ(m_dialog->TotalText(), "Total: 20   (Max:20)");
    Press(Qt::Key_D);
    Press(Qt::Key_D);
    EXPECT_EQ(m_dialog->Count(0), 0);
}

TEST_F(FishSettingsDialogTest, LetterKeysInEitherCaseComeBeforeTheFocusedButton)
{
    Open();
    m_dialog->Select(Centre(5));
    IconButton* clear = Button("Clear");
    ASSERT_NE(clear, nullptr);
    clear->setFocus();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int count;   // of species 5 afterwards
    } steps[] = {
        {Qt::Key_A, {}, 1}, {Qt::Key_A, Qt::ShiftModifier, 2}, {Qt::Key_D, Qt::ShiftModifier, 1},
        {Qt::Key_A, {}, 2}, {Qt::Key_D, {}, 1},                 {Qt::Key_C, Qt::ShiftModifier, 0},
    };
    for (const auto& step : steps) {
        Press(step.key, step.modifiers);
        EXPECT_EQ(m_dialog->Count(5), step.count) << step.key;
    }
    Press(Qt::Key_A);
    Press(Qt::Key_C);
    EXPECT_EQ(m_dialog->Total(), 0);
    Press(Qt::Key_R, Qt::ShiftModifier);
    EXPECT_GT(m_dialog->Total(), 0);
    EXPECT_EQ(m_dialog->Selection(), Dialog::kNoSelection);
    EXPECT_TRUE(m_dialog->isVisible());
}

TEST_F(FishSettingsDialogTest, RandomGivesOneAtMostPerSpeciesAndNeverTwenty)
{
    // Twenty draws of 1: the last species gets 0.
    std::array<int, kSpeciesCount> ones;
    ones.fill(1);
    ones.back() = 0;
    EXPECT_EQ(Dialog::RandomCounts([] { return 1; }), ones);
    EXPECT_EQ(Dialog::RandomCounts([] { return 32767; }), ones);
    EXPECT_EQ(Dialog::RandomCounts([] { return 32766; }), (std::array<int, kSpeciesCount>{}));

    // The dialog draws from the program's generator, twenty draws in species
    // order.
    Open();
    m_dialog->Select(Centre(3));
    MsvcRandom::Reset(12345);
    std::vector<int> parity;
    for (int i = 0; i < kSpeciesCount; ++i)
        parity.push_back(MsvcRandom::Next() % 2);
    const std::uint32_t after = MsvcRandom::State();
    MsvcRandom::Reset(12345);
    ASSERT_NE(Button("Random"), nullptr);
    Button("Random")->click();
    EXPECT_EQ(Counts(), parity);
    EXPECT_EQ(MsvcRandom::State(), after);
    EXPECT_EQ(m_dialog->Selection(), Dialog::kNoSelection);
}

TEST_F(FishSettingsDialogTest, ADoubleClickSelectsThenAddsOneAndARightDoubleClickDeletes)
{
    Open();
    // Through the window, so Qt itself turns the second press into the
    // double click.
    QWindow* window = m_dialog->windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, {}, Centre(8));
    EXPECT_EQ(m_dialog->Selection(), 8);
    EXPECT_EQ(Counts(), Only(8, 1));
    QTest::mouseDClick(window, Qt::LeftButton, {}, Centre(8));
    EXPECT_EQ(Counts(), Only(8, 2));
    QTest::mouseDClick(window, Qt::RightButton, {}, Centre(8));
    EXPECT_EQ(Counts(), Only(8, 1));
    // A right click alone selects nothing.
    QTest::mouseClick(window, Qt::RightButton, {}, Centre(2));
    EXPECT_EQ(m_dialog->Selection(), 8);
}

TEST_F(FishSettingsDialogTest, TheTimerAppliesAndSavesChangesOnlyAndEveryCloseKeepsThem)
{
    WriteFishNumbers("Fish0=2\nFish1=zz\n");
    Open();
    // Nothing changed: the scene gets the counts, the file keeps its text.
    ASSERT_TRUE(AppliedWithin(0, 2));
    EXPECT_EQ(ReadWholeFile(SettingsPath()), "[Fish Number]\nFish0=2\nFish1=zz\n");

    m_dialog->Select(Centre(6));
    Press(Qt::Key_A);
    ASSERT_TRUE(AppliedWithin(6, 1));
    const std::string saved = ReadWholeFile(SettingsPath());
    for (int i = 0; i < kSpeciesCount; ++i) {
        const std::string line = "Fish" + std::to_string(i) + "=" + (i == 0 ? "2" : i == 6 ? "1" : "0") + "\n";
        EXPECT_NE(saved.find(line), std::string::npos) << line;
    }
    // The next ticks change nothing: the file is not replaced again.
    struct stat before {};
    ASSERT_EQ(::stat(SettingsPath().c_str(), &before), 0);
    QTest::qWait(1100);
    struct stat later {};
    ASSERT_EQ(::stat(SettingsPath().c_str(), &later), 0);
    EXPECT_EQ(before.st_ino, later.st_ino);

    // A change just before closing is kept, whichever way the dialog closes.
    using Close = std::function<void(Dialog&)>;
    const struct {
        const char* how;
        Close close;
        int result;
    } closes[] = {
        {"Enter", [](Dialog& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
        {"Escape", [](Dialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
        {"close box", [](Dialog& d) { d.close(); }, QDialog::Accepted},
        {"Cancel", [](Dialog& d) { d.reject(); }, QDialog::Rejected},
    };
    int count = 1;
    for (const auto& close : closes) {
        Open();
        m_dialog->Select(Centre(6));
        Press(Qt::Key_A);
        ++count;
        close.close(*m_dialog);
        EXPECT_FALSE(m_dialog->isVisible()) << close.how;
        EXPECT_EQ(m_dialog->result(), close.result) << close.how;
        EXPECT_EQ(g_speciesCount[6], count) << close.how;
        EXPECT_NE(ReadWholeFile(SettingsPath()).find("Fish6=" + std::to_string(count)), std::string::npos)
            << close.how;
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(FishSettingsDialogTest, WithoutASettingsDirectoryTheSceneStillFollowsWithOneMessage)
{
    // The settings directory's place is taken by a file; the fallback file
    // lands in the current directory, here a temporary one.
    std::ofstream(m_config.Path() + "plovi") << "not a directory";
    TempDir cwd;
    const auto oldCwd = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    Open();
    EXPECT_EQ(m_messages.size(), 1u);   // the load
    m_dialog->Select(Centre(1));
    Press(Qt::Key_A);
    EXPECT_TRUE(AppliedWithin(1, 1));
    QTest::qWait(1200);                  // idle ticks ask for nothing
    EXPECT_EQ(m_messages, std::vector<std::string>{"Error Find TempPath."}) << "the change's write says nothing more";
    EXPECT_NE(ReadWholeFile(cwd.Path() + "PloviSet.ini").find("Fish1=1"), std::string::npos);
    m_dialog.reset();
    std::filesystem::current_path(oldCwd);
}

TEST_F(FishSettingsDialogTest, LayoutFollowsTheTemplateCentredOnTheScreen)
{
    Open();
    EXPECT_EQ(m_dialog->windowTitle(), "Fish Settings - Plovi 1.0");
    EXPECT_EQ(m_dialog->size(), QSize(500, 566));
    EXPECT_TRUE(m_dialog->isModal());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE((m_dialog->geometry().center() - screen.center()).manhattanLength(), 2);
    const struct {
        const char* text;
        QRect place;
        bool shown;
    } buttons[] = {
        {"Add", {182, 527, 40, 24}, true},     {"Delete", {225, 527, 48, 24}, true},
        {"Random", {276, 527, 47, 24}, true},  {"Clear", {326, 527, 40, 24}, true},
        {"OK", {317, 340, 70, 34}, false},     {"Cancel", {425, 340, 70, 34}, false},
    };
    for (const auto& expected : buttons) {
        IconButton* button = Button(expected.text);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), expected.place) << expected.text;
        EXPECT_EQ(button->isVisible(), expected.shown) << expected.text;
        EXPECT_TRUE(!expected.shown ||
                    button->fontMetrics().horizontalAdvance(expected.text) <= button->width() - 6)
            << expected.text;
    }
    EXPECT_LE(m_dialog->fontMetrics().horizontalAdvance(Dialog::TotalText(20)), m_dialog->TotalRect().width());
    auto* link = m_dialog->findChild<HyperLink*>();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Address().toStdString(), kMakerAddress);
    EXPECT_EQ(link->text().toStdString(), kMakerAddress) << "the address with its scheme";
    EXPECT_LT(link->geometry().right(), Button("Add")->x());
    EXPECT_EQ(link->geometry().topLeft(), QPoint(14, 540));
}

TEST_F(FishSettingsDialogTest, PaintsTheGridCountsAnInvertedSelectionAndTheTotal)
{
    WriteFishNumbers("Fish7=3\n");
    Open();
    const BuiltinArt::Entry* art = BuiltinArt::Find(Dialog::kBitmapId, "BITMAP");
    ASSERT_NE(art, nullptr);
    const QImage grid = QImage::fromData(art->data, int(art->size)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(grid.size(), QSize(500, 512));

    m_dialog->Select(Centre(12));
    const QImage shown = Render(*m_dialog);
    const QRect cell = Dialog::CellRect(12);
    auto inverted = [](QRgb p) { return qRgb(255 - qRed(p), 255 - qGreen(p), 255 - qBlue(p)); };
    // Inside the ellipse every pixel is inverted; the cell's corners and the
    // other cells are the picture itself.
    for (QPoint p : {cell.center(), cell.center() + QPoint(40, 0), cell.center() + QPoint(0, -40)})
        EXPECT_EQ(shown.pixel(p) | 0xFF000000, inverted(grid.pixel(p))) << p.x() << "," << p.y();
    for (QPoint p : {cell.topRight() + QPoint(-3, 3), cell.bottomRight() - QPoint(3, 3), Centre(13), Centre(2)})
        EXPECT_EQ(shown.pixel(p) | 0xFF000000, grid.pixel(p)) << p.x() << "," << p.y();
    // Every cell shows its count in its number area; that of 7 differs from 0's.
    for (int i = 0; i < kSpeciesCount; ++i) {
        const QRect area(Dialog::CellRect(i).topLeft(), QSize(20, 20));
        EXPECT_NE(shown.copy(area), grid.copy(area)) << i;
    }
    auto numberLook = [&](const QImage& image, int i) {
        return image.copy(QRect(Dialog::CellRect(i).topLeft() + QPoint(2, 2), QSize(16, 16)));
    };
    EXPECT_NE(numberLook(shown, 7).convertToFormat(QImage::Format_RGB32),
              numberLook(shown, 6).convertToFormat(QImage::Format_RGB32));
    // Blue text on light yellow.
    const QImage total = shown.copy(m_dialog->TotalRect());
    EXPECT_GT(CountPixels(total, QColor(255, 255, 239)), 100);
    EXPECT_GT(CountPixels(total, QColor(0, 0, 255), 40), 10);

    // What reaches the screen after changes that repaint only parts of the
    // dialog is what a whole repaint gives.
    m_dialog->Select(Centre(3));
    Press(Qt::Key_A);
    m_dialog->Select(Centre(18));
    Press(Qt::Key_R);
    m_dialog->Select(Centre(9));
    Press(Qt::Key_A);
    QTest::qWait(200);
    const QImage onScreen = m_dialog->screen()->grabWindow(m_dialog->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, Render(*m_dialog).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
