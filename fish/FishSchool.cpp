// SPDX-License-Identifier: MIT
#include "fish/FishSchool.h"

#include "fish/Fish.h"
#include "fish/FishDirections.h"

#include <cmath>

namespace {

constexpr float kAlignedDegrees = 10.0f;
constexpr float kSeparationReach = 5.0f;

bool Overlap(const Fish::Box& a, const Fish::Box& b)
{
    return a.xMin <= b.xMax && b.xMin <= a.xMax && a.yMin <= b.yMax && b.yMin <= a.yMax &&
           a.zMin <= b.zMax && b.zMin <= a.zMax;
}

// Slope of the line from the fish's centre through its nose, seen in the
// x-y plane (axis 1) or the x-z plane (axis 2).
float NoseSlope(const Fish& fish, int axis)
{
    const float centre[3] = {fish.X(), fish.Y(), fish.Z()};
    return LineSlope(fish.Nose()[axis] - centre[axis], fish.Nose()[0] - centre[0]);
}

void ReactToOverlap(Fish& self, Fish& other)
{
    self.SetTouching(true);
    other.SetTouching(true);
    const float a1 = AngleBetweenLines(NoseSlope(self, 1), NoseSlope(other, 1));
    const float a2 = AngleBetweenLines(NoseSlope(self, 2), NoseSlope(other, 2));
    if (a1 > kAlignedDegrees || a2 > kAlignedDegrees) {
        self.SteerHeading(0.0f, self.Z() > other.Z(), Fish::kAvoid);
        return;
    }
    const bool selfMinusX = FacesMinusX(self.TargetHeading());
    if (selfMinusX != FacesMinusX(other.TargetHeading())) {
        Fish& smaller = self.Size() < other.Size() ? self : other;
        smaller.SteerHeading(0.0f, true, Fish::kReverse);
        return;
    }
    const bool otherInFront = selfMinusX ? self.X() > other.X() : self.X() < other.X();
    Fish& front = otherInFront ? other : self;
    const Fish& behind = otherInFront ? self : other;
    front.AdjustSpeed(0.1f, behind.Speed() + 0.1f);
}

}  // namespace

void FishSchool::AvoidCollisions(Fish* fish, int activeCount, int index)
{
    if (activeCount > kSlots)
        activeCount = kSlots;
    if (index < 0 || index >= activeCount)
        return;
    Fish& self = fish[index];
    // Cleared before any pair too: a fish with no other fish to test (a lone
    // one) would otherwise keep an old overlap for good, and with it make no
    // wander decision again.
    self.SetTouching(false);
    for (int k = 0; k < activeCount; ++k) {
        if (k == index)
            continue;
        self.SetTouching(false);
        if (Overlap(self.CollisionBox(), fish[k].CollisionBox()))
            ReactToOverlap(self, fish[k]);
    }
}

void FishSchool::RecordPosition(int index, const Fish& fish)
{
    if (index < 0 || index >= kSlots)
        return;
    m_snapshot[index][0] = fish.X();
    m_snapshot[index][1] = fish.Y();
    m_snapshot[index][2] = fish.Z();
}

void FishSchool::Separate(Fish* fish, int activeCount) const
{
    if (activeCount > kSlots)
        activeCount = kSlots;
    for (int a = 0; a < activeCount; ++a)
        for (int b = a + 1; b < activeCount; ++b) {
            const float* pa = m_snapshot[a];
            const float* pb = m_snapshot[b];
            if (std::fabs(pa[0] - pb[0]) < kSeparationReach && std::fabs(pa[1] - pb[1]) < kSeparationReach &&
                std::fabs(pa[2] - pb[2]) < kSeparationReach)
                fish[a].SteerPitch(0.0f, pa[1] > pb[1], Fish::kOneDegree);
        }
}
