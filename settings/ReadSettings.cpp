// SPDX-License-Identifier: MIT
#include "settings/ReadSettings.h"

#include "platform/MsvcRandom.h"
#include "settings/ProfileNumber.h"
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Values = AquariumSettingsValues;

enum class Rule {
    AsRead,  // the value in the file
    Forced,  // always `forced`, written back at every start
    Range,   // the value when inside min..max, otherwise the default (written)
};

struct AquariumKey {
    const char* key;
    const char* defaultText;
    Rule rule;
    int forcedOrMin;
    int max;
    int Values::*intField;      // exactly one of the two fields is set
    float Values::*floatField;
};

constexpr float Values::*kNoFloat = nullptr;
constexpr int Values::*kNoInt = nullptr;

// In file order; the first start writes them in this order.
const AquariumKey kAquariumKeys[] = {
    {"Show Water", "1", Rule::Forced, 0, 0, &Values::showWater, kNoFloat},
    {"Show Light", "1", Rule::Forced, 0, 0, &Values::showLight, kNoFloat},
    {"Show Terra", "1", Rule::Forced, 1, 0, &Values::showTerra, kNoFloat},
    {"FRONT GUDING", "1", Rule::AsRead, 0, 0, &Values::frontFixed, kNoFloat},
    {"FRONTCOLOR", "16777215", Rule::AsRead, 0, 0, &Values::frontColor, kNoFloat},
    {"FRONT MANJIANBIAN", "0", Rule::AsRead, 0, 0, &Values::frontGradual, kNoFloat},
    {"FRONT COLOR1", "16777215", Rule::AsRead, 0, 0, &Values::frontColor1, kNoFloat},
    {"FRONT COLOR2", "16777215", Rule::AsRead, 0, 0, &Values::frontColor2, kNoFloat},
    {"FRONT AUTOJIANBIAN", "0", Rule::AsRead, 0, 0, &Values::frontAutoGradient, kNoFloat},
    {"CHECK LOCKFORE", "0", Rule::AsRead, 0, 0, &Values::lockFore, kNoFloat},
    {"LOCKFORE ROT", "0", Rule::AsRead, 0, 0, kNoInt, &Values::lockForeRot},
    {"BACK GUDING", "0", Rule::Forced, 1, 0, &Values::backFixed, kNoFloat},
    {"BACKCOLOR", "0", Rule::Forced, 0, 0, &Values::backColor, kNoFloat},
    {"BACK MANJIANBIAN", "0", Rule::AsRead, 0, 0, &Values::backGradual, kNoFloat},
    {"BACK COLOR1", "65280", Rule::AsRead, 0, 0, &Values::backColor1, kNoFloat},
    {"BACK COLOR2", "0", Rule::AsRead, 0, 0, &Values::backColor2, kNoFloat},
    {"BACK AUTOJIANBIAN", "1", Rule::Forced, 0, 0, &Values::backAutoGradient, kNoFloat},
    {"CHECK LOCKBACK", "0", Rule::AsRead, 0, 0, &Values::lockBack, kNoFloat},
    {"LOCKBACK ROT", "0", Rule::AsRead, 0, 0, kNoInt, &Values::lockBackRot},
    {"YINLIANG", "32767.5", Rule::AsRead, 0, 0, &Values::volume, kNoFloat},
    {"QIPAONUM", "100", Rule::AsRead, 0, 0, &Values::bubbleCount, kNoFloat},
    {"BACKGROUND", "0", Rule::AsRead, 0, 0, &Values::background, kNoFloat},
    {"FOGNONGDU", "25", Rule::Range, 0, 25, &Values::fog, kNoFloat},
    {"LIGHTQIANGDU", "0", Rule::Range, 0, 100, &Values::light, kNoFloat},
    {"CHECK VIEWS", "1", Rule::AsRead, 0, 0, &Values::checkViews, kNoFloat},
    {"VIEWSLEFTRIGHT", "0", Rule::AsRead, 0, 0, &Values::viewsLeftRight, kNoFloat},
    {"VIEWSNEARFAR", "0", Rule::AsRead, 0, 0, &Values::viewsNearFar, kNoFloat},
};

// What a new settings file begins with: every key, its range and meaning.
const std::vector<std::string> kFileComment = {
    "Plovi Aquarium settings. The program keeps this file: use Preferences",
    "(plovi --preferences, or the P key in the aquarium), Add Fish, Custom Music",
    "and Custom Image. Edit it by hand only while the aquarium is not running.",
    "",
    "[Aquarium Settings]",
    "  LIGHTQIANGDU      light, 0 (full light) to 100 (dark); default 0",
    "  FOGNONGDU         fog, 0 (densest) to 25 (no fog); default 25",
    "  YINLIANG          built-in tune attenuation, 0 (loudest) to 65535 (silent);",
    "                    default 32767",
    "  BACKGROUND        0 shows the background picture, any other number hides it",
    "  BACK MANJIANBIAN  1 draws a colour gradient behind the picture, 0 does not",
    "  BACK COLOR1       the gradient's top colour, 0 to 16777215",
    "                    (red + 256 * green + 65536 * blue)",
    "  BACK COLOR2       the gradient's bottom colour, as BACK COLOR1",
    "  Show Water, Show Light, Show Terra, BACK GUDING, BACKCOLOR, BACK AUTOJIANBIAN",
    "                    set by the program at every start",
    "  FRONT GUDING, FRONTCOLOR, FRONT MANJIANBIAN, FRONT COLOR1, FRONT COLOR2,",
    "  FRONT AUTOJIANBIAN, CHECK LOCKFORE, LOCKFORE ROT, CHECK LOCKBACK,",
    "  LOCKBACK ROT, QIPAONUM, CHECK VIEWS, VIEWSLEFTRIGHT, VIEWSNEARFAR",
    "                    kept, but they change nothing",
    "[Fish Number]",
    "  Fish0 .. Fish19   fish of each species, 0 to 20; at most 20 swim in all",
    "[Custom Images]     (Custom Image)",
    "  OwnImage          1 shows your own pictures instead of the built-in one",
    "  RepeatImage, CycImage, RandomImage",
    "                    play mode: 1 for the one in use",
    "  ImageTime         seconds between two pictures",
    "  ImageSum          number of pictures; ImageList0, ImageList1 ... their paths",
    "[Custom Settings]   (Custom Music)",
    "  OwnMusic          1 plays your own music instead of the built-in tune",
    "  RepeatMusic, CycMusic, RandomMusic",
    "                    play mode: 1 for the one in use",
    "  MusicSum          number of tracks; MusicList0, MusicList1 ... their paths",
};

// Reads one key of "Aquarium Settings" with its rule; returns the value.
int ReadAquariumKey(SettingsFile& file, const AquariumKey& entry)
{
    const char* section = SettingsSection::kAquarium;
    const std::string text = file.ReadString(section, entry.key);
    int value = ProfileAtoi(text);
    const bool outOfRange = entry.rule == Rule::Range && (value < entry.forcedOrMin || value > entry.max);
    if (text.empty() || outOfRange) {
        file.WriteString(section, entry.key, entry.defaultText);
        value = ProfileAtoi(entry.defaultText);
    }
    if (entry.rule == Rule::Forced) {
        value = entry.forcedOrMin;
        file.WriteInt(section, entry.key, value);
    }
    return value;
}

void ReadAquariumSection(SettingsFile& file, Values& values)
{
    for (const AquariumKey& entry : kAquariumKeys) {
        const int value = ReadAquariumKey(file, entry);
        if (entry.intField)
            values.*entry.intField = value;
        else
            values.*entry.floatField = static_cast<float>(value);
    }
    // The built-in tune's volume is 65535 minus this attenuation; keep it a
    // valid attenuation whatever the file says (the file is left as it is).
    values.volume = std::clamp(values.volume, 0, 65535);
}

void ReadFishNumbers(SettingsFile& file, int (&counts)[kSpeciesCount])
{
    for (int i = 0; i < kSpeciesCount; ++i) {
        const std::string key = "Fish" + std::to_string(i);
        const std::string text = file.ReadString(SettingsSection::kFishNumber, key);
        int count = 0;
        if (!text.empty()) {
            count = ProfileAtoi(text);
        } else {
            count = Rand() % 2;
            file.WriteInt(SettingsSection::kFishNumber, key, count);
        }
        counts[i] = std::min(count, kMaxFish);
    }
}

}  // namespace

void ReadSettings() { ReadSettings(Program()); }

void ReadSettings(ProgramValues& program, bool writeBack)
{
    SettingsFile file;
    file.StartWithComment(kFileComment);
    ReadAquariumSection(file, program.aquarium);
    ReadFishNumbers(file, program.speciesCount);
    if (writeBack) {
        // A save killed midway at an earlier run left its temporary file.
        file.RemoveLeftovers();
        file.Save();
    }
}
