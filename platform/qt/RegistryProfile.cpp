// SPDX-License-Identifier: MIT
#include "platform/qt/RegistryProfile.h"

#include <QSettings>
#include <QVariant>

#include <algorithm>

namespace {
constexpr const char* kOrganization = "Local AppWizard-Generated Applications";
constexpr const char* kApplication = "PloviFishScr";
constexpr int kDefaultVolume = 1000;
constexpr int kMaxVolume = 1000;
}  // namespace

int ReadVolumeProfile()
{
    const QSettings profile(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kApplication);
    bool ok = false;
    const qlonglong volume = profile.value("Settings/Volume", kDefaultVolume).toLongLong(&ok);
    if (!ok)
        return kDefaultVolume;
    return static_cast<int>(std::clamp<qlonglong>(volume, 0, kMaxVolume));
}
