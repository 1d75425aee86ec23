// SPDX-License-Identifier: MIT
#include "tests/e2e/ScreenFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

const QPoint kZoomInButton(297, 35);   // ZoomIn Fish: 119, 10, 59, 15 in dialog units of 2 pixels
const int kBarBottom = 64;
const int kGrid = 4;                   // a fish is looked at in every 4th pixel each way

// One fish on a black tank: the lit pixels that touch, found on the grid.
struct Blob {
    QRect box;
    int height = 0;   // of its lit pixels, in pixels
    QPointF Centre() const { return QRectF(box).center(); }
};

// The height of the lit pixels around a blob, to the pixel. A fish turning
// about its upright axis keeps its height, while its length on the screen
// changes with the turn, so the height is the measure of its size.
int LitHeight(const QImage& shot, const QRect& box)
{
    const QRect area = box.adjusted(-kGrid, -kGrid, kGrid, kGrid).intersected(shot.rect());
    int top = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsLit(shot.pixel(x, y))) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

// The fish below the bar: shapes of at least four lit cells of the grid.
std::vector<Blob> LitBlobs(const QImage& shot)
{
    std::vector<Blob> blobs;
    for (const LitShape& shape :
         LitShapes(shot, kGrid, kBarBottom + kGrid, [&](int x, int y) { return IsLit(shot.pixel(x, y)); }))
        if (shape.cells >= 4)
            blobs.push_back({shape.box, LitHeight(shot, shape.box)});
    return blobs;
}

double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

// A tall screen: the fish swim across nearly its whole width, so many of them
// come close to its side edges, where a pick through any projection but the
// frame's own lands on the wrong spot (through a 45-degree perspective, a
// click on a fish 300 pixels off the middle looks about 125 pixels nearer the
// middle and finds nothing).
class FishPickE2e : public ScreenFixture<1080, 1920> {
protected:
    void Click(QPointF at) const { s_screen->Click(at.toPoint()); }

    // A fish near a side edge with no other fish near it, seen in two looks
    // in a row: where it is and how fast it moves (pixels per second).
    struct Target {
        Blob blob;
        QPointF velocity;
        double seenAt = 0;
        int height = 0;   // the larger of the two looks
    };
    std::optional<Target> FindLoneFishNearASide() const
    {
        const std::vector<Blob> first = LitBlobs(s_screen->Screenshot());
        const double firstAt = Now();
        const std::vector<Blob> second = LitBlobs(s_screen->Screenshot());
        const double secondAt = Now();
        for (const Blob& b : second) {
            const double x = b.Centre().x();
            if (x > 250 && x < 1080 - 250)
                continue;
            bool alone = true;
            for (const Blob& other : second)
                alone = alone && (&other == &b || Distance(other.Centre(), b.Centre()) > 160);
            const Blob* before = nullptr;
            for (const Blob& f : first)
                if (!before || Distance(f.Centre(), b.Centre()) < Distance(before->Centre(), b.Centre()))
                    before = &f;
            if (!alone || !before || Distance(before->Centre(), b.Centre()) > 80)
                continue;
            return Target{b, (b.Centre() - before->Centre()) / std::max(0.05, secondAt - firstAt), secondAt,
                          std::max(b.height, before->height)};
        }
        return std::nullopt;
    }

    // The fish seen nearest to a point, within 80 pixels of it.
    std::optional<Blob> NearestBlob(QPointF near) const
    {
        std::optional<Blob> found;
        for (const Blob& b : LitBlobs(s_screen->Screenshot())) {
            const double d = Distance(b.Centre(), near);
            if (d < 80 && (!found || d < Distance(found->Centre(), near)))
                found = b;
        }
        return found;
    }
};

}  // namespace

// The fish under the pointer grows, near the screen's side edges as in its
// middle: the click lands in the middle of a lone fish there, led by its
// motion, and that fish is larger a moment later (from 3 to 4 units long,
// and a third taller).
TEST_F(FishPickE2e, ZoomInGrowsTheFishClickedNearASideEdge)
{
    // One fish of each of a few species.
    m_session.WriteSettings(DarkTankSettings({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1}));
    auto plovi = m_session.Start();
    ASSERT_TRUE(m_session.WaitForWindow(*plovi)) << plovi->Err();
    ASSERT_TRUE(WaitUntil([&] { return LitBlobs(s_screen->Screenshot()).size() >= 3; }, 10)) << "no fish in the tank";
    Click(kZoomInButton);
    Pause(0.3);

    std::string log;
    bool grew = false;
    const double start = Now();
    while (!grew && Now() - start < 12) {
        const std::optional<Target> target = FindLoneFishNearASide();
        if (!target) {
            Pause(0.3);
            continue;
        }
        const QPointF aim = target->blob.Centre() + target->velocity * (Now() - target->seenAt + 0.05);
        Click(aim);
        Pause(0.3);
        // Two looks after the click, the smaller height counting: a fish
        // that pitches up or down looks taller for a moment, a grown one
        // stays taller.
        std::optional<Blob> after = NearestBlob(aim);
        std::optional<Blob> later = after ? NearestBlob(after->Centre()) : std::nullopt;
        const int height = later ? std::min(after->height, later->height) : 0;
        const double ratio = double(height) / std::max(1, target->height);
        log += " clicked " + std::to_string(int(aim.x())) + "," + std::to_string(int(aim.y())) + ": height " +
               std::to_string(target->height) + " to " + std::to_string(height) + ";";
        grew = ratio > 1.15;
    }
    RecordProperty("clicks", log);
    EXPECT_TRUE(grew) << (log.empty() ? std::string(" no lone fish near a side edge") : log);
    EXPECT_TRUE(plovi->Running());
}
