#include "app/ScreensaverTarget.h"

#include <gtest/gtest.h>

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
    const auto parse = [](std::vector<std::string> args) {
        args.insert(args.begin(), "plovi");
        return CommandLine::Parse(args);
    };
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
        {{"--window-id=0x30"}, nullptr, Kind::Window, 0x30},
        {{"-window-id", "bad"}, nullptr, Kind::Invalid, 0},
        {{}, "bad", Kind::Invalid, 0},
    };
    for (const auto& c : cases) {
        const CommandLine options = parse(c.args);
        ASSERT_EQ(options.action, CommandLine::Action::Run);
        const ScreensaverTarget target = ScreensaverTarget::Resolve(options, c.env);
        EXPECT_EQ(target.kind, c.kind) << (c.args.empty() ? "" : c.args[0]) << " env " << (c.env ? c.env : "-");
        EXPECT_EQ(target.window, c.window);
        EXPECT_EQ(target.error.empty(), c.kind != Kind::Invalid);
    }
}
