// SPDX-License-Identifier: MIT
#pragma once

// The constant geometry of the one fish model shared by every fish: nine
// sub-meshes of rings (cross-sections along the body, or spokes of a fin),
// each ring a row of 2 to 6 profile points with a position, a normal and a
// texture coordinate.
//
// Model space, before the fish's size is applied: x along the fish with the
// snout tip near x = -0.50 and the tail-fin edge near +0.50; y lateral, the
// stored points lying on the y <= 0 side of the median plane y = 0; z up.
// A fish of size 1 is thus about one unit long. Texture coordinates follow
// FishTextureLayout; body t carries the +1 offset and relies on repeat in t.
struct FishSubMesh {
    static constexpr int kMaxRings = 24;
    static constexpr int kMaxPoints = 6;

    int rings = 0;   // 1..kMaxRings
    int points = 0;  // 2..kMaxPoints per ring
    float position[kMaxRings][kMaxPoints][3] = {};
    float normal[kMaxRings][kMaxPoints][3] = {};    // unit length
    float texCoord[kMaxRings][kMaxPoints][2] = {};  // s, t
};

class FishMeshData {
public:
    enum Part {
        kBody,         // 18 rings x 6 points: dorsal, 4 side points, ventral
        kUpperSnout,   // 7 x 4, from the body's front ring to the mouth tip
        kLowerSnout,   // 7 x 4
        kDorsalFin,    // 16 spokes x (base, tip)
        kPectoralFin,  // 23 spokes x (outer edge, root)
        kPelvicFin,    // 10 spokes x (outer edge, root)
        kAnalFin,      // 16 spokes x (base, outer edge)
        kCaudalFin,    // 24 spokes x (outer edge, root), bottom to top
        kEye,          // 6 rings x 3 points
        kPartCount
    };

    // The tables, computed once on first use from smooth profile curves
    // through the body's key cross-sections.
    static const FishMeshData& Instance();

    const FishSubMesh& Mesh(Part part) const { return m_parts[part]; }

private:
    FishMeshData();

    FishSubMesh m_parts[kPartCount];
};
