// SPDX-License-Identifier: MIT
#include "app/ScreensaverTarget.h"

#include <gtest/gtest.h>

namespace {

CommandLine Parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "plovi");
    return CommandLine::Parse(args);
}

}  // namespace

TEST(ScreensaverTargetTest, WindowIdsAreWholeDecimalOrHexNumbersOfAtMost32Bits)
{
    const struct {
        const char* text;
        std::optional<std::uint32_t> id;
    } cases[] = {
        {"4194312", 4194312u}, {"0x400008", 0x400008u}, {"0X1f", 0x1fu}, {"0xFFFFFFFF", 0xFFFFFFFFu},
        {"0", std::nullopt}, {"0x0", std::nullopt}, {"0x", std::nullopt}, {"", std::nullopt},
        {"12abc", std::nullopt}, {" 12", std::nullopt}, {"-5", std::nullopt}, {"+5", std::nullopt},
        {"0x1_0", std::nullopt}, {"4294967296", std::nullopt}, {"0x100000000", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScreensaverTarget::ParseWindowId(c.text), c.id) << '"' << c.text << '"';
}

TEST(ScreensaverTargetTest, TheWindowComesFromTheOptionThenTheEnvironmentThenTheRoot)
{
    using Kind = ScreensaverTarget::Kind;
    const struct {
        std::vector<std::string> args;
        const char* env;
        Kind kind;
        std::uint32_t window;
    } cases[] = {
        {{}, nullptr, Kind::None, 0},
        {{}, "", Kind::None, 0},
        {{"--fps"}, "0x20", Kind::Window, 0x20},           // the daemon's variable alone
        {{"--root"}, "0x20", Kind::Window, 0x20},          // how the daemon starts its modules
        {{"-root"}, nullptr, Kind::Root, 0},
        {{"--window-id", "7"}, "0x20", Kind::Window, 7},    // the option wins
        {{"--root", "--window-id", "7"}, nullptr, Kind::Window, 7},   // a preview of a --root module
        {{"--window-id=0x30"}, nullptr, Kind::Window, 0x30},
        {{"-window-id", "bad"}, nullptr, Kind::Invalid, 0},
        {{}, "bad", Kind::Invalid, 0},
    };
    for (const auto& c : cases) {
        const CommandLine options = Parse(c.args);
        ASSERT_EQ(options.action, CommandLine::Action::Run);
        const ScreensaverTarget target = ScreensaverTarget::Resolve(options, c.env);
        EXPECT_EQ(target.kind, c.kind) << (c.args.empty() ? "" : c.args[0]) << " env " << (c.env ? c.env : "-");
        EXPECT_EQ(target.window, c.window);
        EXPECT_EQ(target.error.empty(), c.kind != Kind::Invalid);
    }
}

TEST(CommandLineTest, ScreensaverKnobsTakeWholeNumbersInTheirRangesInEverySpelling)
{
    const CommandLine knobs =
        Parse({"-root", "-delay", "40000", "--fish=3", "--light", "100", "-fog", "0", "-fps", "-platform", "xcb"});
    ASSERT_EQ(knobs.action, CommandLine::Action::Run) << knobs.error;
    EXPECT_TRUE(knobs.root && knobs.reportFps);
    EXPECT_EQ(knobs.delayUs, 40000);
    EXPECT_EQ(knobs.overrides.fish, 3);
    EXPECT_EQ(knobs.overrides.light, 100);
    EXPECT_EQ(knobs.overrides.fog, 0);
    EXPECT_FALSE(Parse({"--fps"}).overrides.Any());
    EXPECT_EQ(Parse({"--preferences"}).action, CommandLine::Action::Preferences);

    const struct {
        std::vector<std::string> args;
        const char* error;
    } bad[] = {
        {{"--fish", "21"}, "--fish takes a whole number from 0 to 20, not \"21\""},
        {{"--light=-1"}, "--light takes a whole number from 0 to 100"},
        {{"--fog", "2.5"}, "--fog takes a whole number from 0 to 25"},
        {{"--delay", "99999999999"}, "--delay takes a whole number"},
        {{"--delay"}, "--delay needs a number"},
        {{"--fps=1"}, "--fps takes no value"},
        {{"--preferences", "--root"}, "--preferences cannot be used with --root"},
        {{"--speed", "3"}, "unknown option: --speed"},
    };
    for (const auto& c : bad) {
        const CommandLine r = Parse(c.args);
        EXPECT_EQ(r.action, CommandLine::Action::Error) << c.args[0];
        EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << r.error;
    }
}
