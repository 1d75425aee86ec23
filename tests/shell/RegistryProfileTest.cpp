// SPDX-License-Identifier: MIT
#include "platform/qt/RegistryProfile.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

// Writes (or, with an invalid value, removes) the stored volume in the
// run's own configuration directory.
void Store(const QVariant& value)
{
    QSettings profile(QSettings::NativeFormat, QSettings::UserScope, "Local AppWizard-Generated Applications",
                      "PloviFishScr");
    if (value.isValid())
        profile.setValue("Settings/Volume", value);
    else
        profile.remove("Settings/Volume");
    profile.sync();
}

TEST(VolumeProfileTest, AbsentGivesFullVolumeAndStoredValuesAreClamped)
{
    const struct {
        QVariant stored;
        int expected;
    } cases[] = {
        {QVariant(), 1000},   {QVariant(350), 350},    {QVariant(0), 0},
        {QVariant("725"), 725}, {QVariant(5000), 1000}, {QVariant(-20), 0},
        {QVariant("loud"), 1000}, {QVariant("99999999999999999999"), 1000},
    };
    for (const auto& c : cases) {
        Store(c.stored);
        EXPECT_EQ(ReadVolumeProfile(), c.expected) << c.stored.toString().toStdString();
    }
    Store(QVariant());
}

}  // namespace
