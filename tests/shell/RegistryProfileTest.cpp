#include "app/RegistryProfile.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class VolumeProfileTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }

    static void Store(const QVariant& value)
    {
        QSettings profile(QSettings::NativeFormat, QSettings::UserScope,
                          "Local AppWizard-Generated Applications", "PloviFishScr");
        profile.setValue("Settings/Volume", value);
        profile.sync();
    }
    static void Clear()
    {
        QSettings profile(QSettings::NativeFormat, QSettings::UserScope,
                          "Local AppWizard-Generated Applications", "PloviFishScr");
        profile.remove("Settings/Volume");
        profile.sync();
    }
};

TEST_F(VolumeProfileTest, LivesInTheRunsOwnConfigurationDirectory)
{
    QSettings profile(QSettings::NativeFormat, QSettings::UserScope,
                      "Local AppWizard-Generated Applications", "PloviFishScr");
    const std::string file = profile.fileName().toStdString();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(file.rfind(config, 0), 0u) << file;
    EXPECT_NE(file.find("PloviFishScr"), std::string::npos) << file;
}

TEST_F(VolumeProfileTest, AbsentGivesFullVolumeAndStoredValuesAreClamped)
{
    EXPECT_EQ(ReadVolumeProfile(), 1000);
    const struct {
        QVariant stored;
        int expected;
    } cases[] = {
        {QVariant(350), 350}, {QVariant(0), 0},        {QVariant("725"), 725},
        {QVariant(5000), 1000}, {QVariant(-20), 0},    {QVariant("loud"), 1000},
        {QVariant("99999999999999999999"), 1000},
    };
    for (const auto& c : cases) {
        Store(c.stored);
        EXPECT_EQ(ReadVolumeProfile(), c.expected) << c.stored.toString().toStdString();
    }
}

}  // namespace
