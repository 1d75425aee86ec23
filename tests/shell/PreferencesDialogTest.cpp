// SPDX-License-Identifier: MIT
#include "ui/PreferencesDialog.h"

#include "tests/support/TestEnvironment.h"
#include "widgets/CheckButton.h"
#include "widgets/IconButton.h"
#include "widgets/RoundSlider.h"

#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// A hand-edited file: out-of-range values, a comment, keys of other owners.
const char kHandEdited[] =
    "; my own notes\n"
    "[Aquarium Settings]\n"
    "LIGHTQIANGDU=150\n"
    "YINLIANG=65535\n"
    "BACK COLOR1=65280\n"
    "QIPAONUM=100\n"
    "[Fish Number]\n"
    "Fish0=4\n";

class PreferencesDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir.Path() + "plovi");
        std::ofstream(Path(), std::ios::binary) << kHandEdited;
        m_dialog = std::make_unique<PreferencesDialog>();
        m_dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    }
    std::string Path() const { return m_dir.Path() + "plovi/PloviSet.ini"; }
    // A real click; the box settles through the event queue.
    static void Click(QWidget& w)
    {
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(8, w.height() / 2));
        QTest::qWait(20);
    }

    TempDir m_dir;
    ScopedEnv m_config{"XDG_CONFIG_HOME", m_dir.Path().c_str()};
    std::unique_ptr<PreferencesDialog> m_dialog;
};

}  // namespace

TEST_F(PreferencesDialogTest, ShowsTheFileClampedAndWritesNothingUntilSomethingChanges)
{
    EXPECT_EQ(m_dialog->LightSlider().value(), 0) << "LIGHTQIANGDU 150 shows as 100, the darkest";
    EXPECT_EQ(m_dialog->FogSlider().value(), 0) << "no fog";
    EXPECT_EQ(m_dialog->MuteBox().GetCheck(), 1);
    EXPECT_EQ(m_dialog->VolumeSlider().value(), 50) << "un-muting a silent file gives half volume";
    EXPECT_EQ(m_dialog->PictureBox().GetCheck(), 1);
    EXPECT_EQ(m_dialog->GradientBox().GetCheck(), 0);
    m_dialog->reject();
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(ReadWholeFile(Path()), kHandEdited);
}

TEST_F(PreferencesDialogTest, ChangesArePublishedAtOnceAndOnlyTheirKeysAreSaved)
{
    QSignalSpy published(m_dialog.get(), &PreferencesDialog::valuesChanged);
    m_dialog->LightSlider().setValue(70);   // 30 in the file's terms
    Click(m_dialog->GradientBox());
    m_dialog->SetColourPicker([](const QColor&, QWidget*) { return QColor(255, 128, 0); });
    QTest::mouseClick(&m_dialog->ColourButton(PreferencesDialog::Colour::Bottom), Qt::LeftButton);
    ASSERT_EQ(published.count(), 3);
    const PreferenceValues last = published.last().at(0).value<PreferenceValues>();
    EXPECT_EQ(last.light, 30);
    EXPECT_TRUE(last.gradient);
    EXPECT_EQ(last.bottomColour, 0x0080FF) << "red in the low byte";

    // Saved a moment after the last change, without closing.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ReadWholeFile(Path()) != kHandEdited; }, 3000));
    EXPECT_EQ(ReadWholeFile(Path()),
              "; my own notes\n[Aquarium Settings]\nLIGHTQIANGDU=30\nYINLIANG=65535\nBACK COLOR1=65280\nQIPAONUM=100\n"
              "BACK MANJIANBIAN=1\nBACK COLOR2=33023\n[Fish Number]\nFish0=4\n");
}

TEST_F(PreferencesDialogTest, MuteSilencesTheTuneAndUnmutingGivesTheSliderLevelBack)
{
    QSignalSpy published(m_dialog.get(), &PreferencesDialog::valuesChanged);
    Click(m_dialog->MuteBox());   // un-mute
    EXPECT_EQ(m_dialog->Values().yinliang, PreferenceValues::Attenuation(50));
    m_dialog->VolumeSlider().setValue(80);
    EXPECT_EQ(m_dialog->Values().yinliang, PreferenceValues::Attenuation(80));
    Click(m_dialog->MuteBox());
    EXPECT_EQ(m_dialog->Values().yinliang, PreferenceValues::kSilent);
    EXPECT_EQ(m_dialog->VolumeSlider().value(), 80);
    Click(m_dialog->MuteBox());
    EXPECT_EQ(m_dialog->Values().yinliang, PreferenceValues::Attenuation(80));
    // A slider pulled to nothing is a mute too.
    m_dialog->VolumeSlider().setValue(0);
    EXPECT_EQ(m_dialog->MuteBox().GetCheck(), 1);
    EXPECT_EQ(published.count(), 5);
    m_dialog->reject();
    EXPECT_NE(ReadWholeFile(Path()).find("\nYINLIANG=65535\n"), std::string::npos);
}
