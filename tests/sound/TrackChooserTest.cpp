// SPDX-License-Identifier: MIT
#include "platform/MsvcRandom.h"
#include "sound/TrackChooser.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

// The generator's nth draw from its start state, modulo count.
int Draw(int nth, int count)
{
    MsvcRandom::Reset();
    int v = 0;
    for (int i = 0; i <= nth; ++i)
        v = MsvcRandom::Next();
    MsvcRandom::Reset();
    return v % count;
}

TEST(ChooseTrack, ModeByStateTable)
{
    constexpr int kCount = 5;
    const int firstDraw = Draw(0, kCount);
    const struct {
        PlayMode mode;
        bool playing, picked;
        int selected, current;
        int row;
        int draws;  // generator calls the choice makes
    } cases[] = {
        // Not playing: the selected row, else row 0 (Random: a draw).
        {PlayMode::RepeatOne, false, false, 3, 1, 3, 0},
        {PlayMode::RepeatOne, false, false, -1, 2, 0, 0},
        {PlayMode::RepeatAll, false, false, 2, 4, 2, 0},
        {PlayMode::RepeatAll, false, false, -1, 4, 0, 0},
        {PlayMode::Random, false, false, 4, -1, 4, 0},
        {PlayMode::Random, false, false, -1, -1, firstDraw, 1},
        // Playing, a row clicked: that row, in every mode.
        {PlayMode::RepeatOne, true, true, 1, 3, 1, 0},
        {PlayMode::RepeatAll, true, true, 2, 3, 2, 0},
        {PlayMode::Random, true, true, 0, 3, 0, 0},
        // Playing, a track ended: same / next wrapping / a draw.
        {PlayMode::RepeatOne, true, false, 0, 3, 3, 0},
        {PlayMode::RepeatAll, true, false, 0, 3, 4, 0},
        {PlayMode::RepeatAll, true, false, 0, 4, 0, 0},
        {PlayMode::Random, true, false, 1, 3, firstDraw, 1},
    };
    for (const auto& c : cases) {
        MsvcRandom::Reset();
        TrackChoice choice;
        ASSERT_TRUE(ChooseTrack(c.mode, c.playing, c.picked, c.selected, c.current, kCount, &choice));
        EXPECT_EQ(choice.row, c.row) << int(c.mode) << c.playing << c.picked << c.selected << c.current;
        EXPECT_EQ(choice.current, c.row);
        const std::uint32_t after = MsvcRandom::State();
        MsvcRandom::Reset();
        for (int i = 0; i < c.draws; ++i)
            MsvcRandom::Next();
        EXPECT_EQ(after, MsvcRandom::State()) << "draws, case giving row " << c.row;
    }
}

TEST(ChooseTrack, RandomFollowsTheProgramsSequenceAndMayRepeat)
{
    MsvcRandom::Reset();
    std::vector<int> rows;
    for (int i = 0; i < 12; ++i) {
        TrackChoice choice;
        ASSERT_TRUE(ChooseTrack(PlayMode::Random, true, false, -1, 0, 3, &choice));
        rows.push_back(choice.row);
    }
    MsvcRandom::Reset();
    bool repeated = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i], MsvcRandom::Next() % 3);
        repeated = repeated || (i > 0 && rows[i] == rows[i - 1]);
    }
    EXPECT_TRUE(repeated) << "twelve draws from three rows repeat one";
}

TEST(ChooseTrack, EmptyListChoosesNothingAndDrawsNothing)
{
    MsvcRandom::Reset();
    TrackChoice choice{7, 7};
    for (PlayMode mode : {PlayMode::RepeatOne, PlayMode::RepeatAll, PlayMode::Random})
        for (bool playing : {false, true})
            EXPECT_FALSE(ChooseTrack(mode, playing, false, -1, 0, 0, &choice));
    EXPECT_EQ(choice.row, 7);
    EXPECT_EQ(MsvcRandom::State(), 1u);
}

// After a failure: Repeat All walks on past the unplayable rows and wraps,
// Random draws once among the playable ones, Repeat One and an all-bad list
// give no row and draw nothing.
TEST(NextPlayableRow, SkipsUnplayableRowsByModeAndEndsWhenNoneIsLeft)
{
    const struct {
        PlayMode mode;
        int failed, count;
        std::set<int> unplayable;
        int row;  // for Random: the index among the playable rows of the first draw
        int draws;
    } cases[] = {
        {PlayMode::RepeatAll, 1, 5, {1}, 2, 0},
        {PlayMode::RepeatAll, 1, 5, {1, 2, 3}, 4, 0},
        {PlayMode::RepeatAll, 3, 5, {3, 4, 0}, 1, 0},        // wraps past the end
        {PlayMode::RepeatAll, 4, 5, {0, 1, 2, 3, 4}, -1, 0},
        {PlayMode::RepeatAll, 0, 1, {0}, -1, 0},
        {PlayMode::Random, 2, 5, {2}, 0, 1},
        {PlayMode::Random, 2, 5, {0, 2, 4}, 0, 1},
        {PlayMode::Random, 2, 3, {0, 1, 2}, -1, 0},
        {PlayMode::RepeatOne, 0, 5, {0}, -1, 0},
    };
    for (const auto& c : cases) {
        MsvcRandom::Reset();
        int expected = c.row;
        if (c.mode == PlayMode::Random && c.row >= 0) {
            std::vector<int> playable;
            for (int r = 0; r < c.count; ++r)
                if (!c.unplayable.count(r))
                    playable.push_back(r);
            expected = playable[std::size_t(Draw(0, int(playable.size())))];
        }
        const int row = NextPlayableRow(c.mode, c.failed, c.count, c.unplayable);
        EXPECT_EQ(row, expected) << int(c.mode) << " failed " << c.failed;
        EXPECT_EQ(c.unplayable.count(row), 0u);
        MsvcRandom::Reset();
        for (int i = 0; i < c.draws; ++i)
            MsvcRandom::Next();
        const unsigned afterDraws = MsvcRandom::State();
        MsvcRandom::Reset();
        NextPlayableRow(c.mode, c.failed, c.count, c.unplayable);
        EXPECT_EQ(MsvcRandom::State(), afterDraws) << int(c.mode) << " failed " << c.failed;
    }
}

}  // namespace
