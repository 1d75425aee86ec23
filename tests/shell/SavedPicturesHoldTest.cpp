// SPDX-License-Identifier: MIT
// Saved pictures wait for the aquarium's first frame before they are decoded
// (a photo's decoding takes a core that frame needs), but never for long.
#include "ui/BackgroundDialog.h"

#include "settings/ProgramValues.h"
#include "tests/support/GlTestContext.h"
#include "tests/support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

class SavedPicturesHold : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramValues();
        ASSERT_TRUE(m_gl.Ok());
        std::filesystem::create_directories(m_config.Path() + "plovi");
        std::ofstream settings(m_config.Path() + "plovi/PloviSet.ini");
        settings << "[Custom Images]\nOwnImage=1\nImageSum=2\n";
        for (int i = 0; i < 2; ++i) {
            const std::string path = m_pictures.Path() + "saved" + std::to_string(i) + ".png";
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(i ? Qt::blue : Qt::red);
            ASSERT_TRUE(image.save(QString::fromStdString(path)));
            settings << "ImageList" << i << "=" << path << "\n";
            m_paths.push_back(QString::fromStdString(path));
        }
    }
    std::unique_ptr<BackgroundDialog> Make(BackgroundDialog::SavedPictures saved) const
    {
        return std::make_unique<BackgroundDialog>([] { return true; }, QSize(1024, 768), saved);
    }

    TempDir m_config;
    ScopedEnv m_xdg{"XDG_CONFIG_HOME", m_config.Path().c_str()};
    TempDir m_pictures;
    GlTestContext m_gl;
    std::vector<QString> m_paths;
};

TEST_F(SavedPicturesHold, HeldPicturesWaitForTheFirstFrameThenComeInTheirOrder)
{
    const auto dialog = Make(BackgroundDialog::SavedPictures::DecodeLater);
    QTest::qWait(500);   // far longer than two small pictures take
    EXPECT_EQ(dialog->Count(), 0);
    EXPECT_EQ(dialog->PendingCount(), 2);
    dialog->StartDecoding();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->PendingCount() == 0; }, 10000));
    ASSERT_EQ(dialog->Count(), 2);
    EXPECT_EQ(dialog->RowPath(0), m_paths[0]);
    EXPECT_EQ(dialog->RowPath(1), m_paths[1]);
    EXPECT_NE(dialog->CurrentImage(), 0u) << "the own picture is shown once decoded";
}

TEST_F(SavedPicturesHold, WithoutAFirstFrameTheyAreDecodedAfterTheHoldLimit)
{
    QElapsedTimer clock;
    clock.start();
    const auto dialog = Make(BackgroundDialog::SavedPictures::DecodeLater);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->Count() == 2; }, 10000));
    // Qt's coarse timers may fire up to 5 % early.
    EXPECT_GE(clock.elapsed(), BackgroundDialog::kDecodeHoldLimitMs * 95 / 100);
}

}  // namespace
