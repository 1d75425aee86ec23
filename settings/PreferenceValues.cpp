// SPDX-License-Identifier: MIT
#include "settings/PreferenceValues.h"

#include "settings/ProfileNumber.h"
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <cmath>

namespace {

using Values = PreferenceValues;

// How a field is kept in the file.
enum class Kind {
    Number,    // min..max as "%d"
    Switch,    // "1"/"0"; on when the text reads as 1
    Inverted,  // "0" when on ("BACKGROUND": 0 shows the picture); on only for 0
    Colour,    // the low three bytes as "%d"
};

struct Field {
    const char* key;
    Kind kind;
    int min, max;
    int Values::*number;
    bool Values::*flag;
    int AquariumSettingsValues::*memoryNumber;
};

constexpr int Values::*kNoNumber = nullptr;
constexpr bool Values::*kNoFlag = nullptr;

const Field kFields[] = {
    {"LIGHTQIANGDU", Kind::Number, 0, 100, &Values::light, kNoFlag, &AquariumSettingsValues::light},
    {"FOGNONGDU", Kind::Number, 0, 25, &Values::fog, kNoFlag, &AquariumSettingsValues::fog},
    {"BACKGROUND", Kind::Inverted, 0, 0, kNoNumber, &Values::picture, &AquariumSettingsValues::background},
    {"BACK MANJIANBIAN", Kind::Switch, 0, 0, kNoNumber, &Values::gradient, &AquariumSettingsValues::backGradual},
    {"BACK COLOR1", Kind::Colour, 0, 0xFFFFFF, &Values::topColour, kNoFlag, &AquariumSettingsValues::backColor1},
    {"BACK COLOR2", Kind::Colour, 0, 0xFFFFFF, &Values::bottomColour, kNoFlag, &AquariumSettingsValues::backColor2},
    {"YINLIANG", Kind::Number, 0, Values::kSilent, &Values::yinliang, kNoFlag, &AquariumSettingsValues::volume},
};

// A raw number as the field shows it.
void Take(Values& values, const Field& f, int raw)
{
    switch (f.kind) {
    case Kind::Number: values.*f.number = std::clamp(raw, f.min, f.max); break;
    case Kind::Colour: values.*f.number = raw & 0xFFFFFF; break;
    case Kind::Switch: values.*f.flag = raw == 1; break;
    case Kind::Inverted: values.*f.flag = raw == 0; break;
    }
}

// The number the field is kept as, in the file and in memory.
int Stored(const Values& values, const Field& f)
{
    switch (f.kind) {
    case Kind::Number:
    case Kind::Colour: return values.*f.number;
    case Kind::Switch: return values.*f.flag ? 1 : 0;
    case Kind::Inverted: return values.*f.flag ? 0 : 1;
    }
    return 0;
}

}  // namespace

PreferenceValues PreferenceValues::Read(const SettingsFile& file)
{
    PreferenceValues values;
    for (const Field& f : kFields) {
        const std::string text = file.ReadString(SettingsSection::kAquarium, f.key);
        if (!text.empty())
            Take(values, f, ProfileAtoi(text));
    }
    return values;
}

PreferenceValues PreferenceValues::From(const AquariumSettingsValues& memory)
{
    PreferenceValues values;
    for (const Field& f : kFields)
        Take(values, f, memory.*f.memoryNumber);
    return values;
}

int PreferenceValues::StageChanges(SettingsFile& file, const PreferenceValues& before) const
{
    int staged = 0;
    for (const Field& f : kFields)
        if (Stored(*this, f) != Stored(before, f) &&
            file.WriteInt(SettingsSection::kAquarium, f.key, Stored(*this, f)))
            ++staged;
    return staged;
}

void PreferenceValues::ApplyTo(AquariumSettingsValues& memory) const
{
    for (const Field& f : kFields)
        memory.*f.memoryNumber = Stored(*this, f);
}

int PreferenceValues::Percent(int yinliang)
{
    const int v = std::clamp(yinliang, 0, kSilent);
    return int(std::lround(100.0 * (kSilent - v) / kSilent));
}

int PreferenceValues::Attenuation(int percent)
{
    const int p = std::clamp(percent, 0, 100);
    return int(std::lround(kSilent * (100 - p) / 100.0));
}

bool PreferenceValues::operator==(const PreferenceValues& o) const
{
    for (const Field& f : kFields)
        if (Stored(*this, f) != Stored(o, f))
            return false;
    return true;
}
