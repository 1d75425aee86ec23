// SPDX-License-Identifier: MIT
#include "fish/FishMeshData.h"

#include "fish/FishTextureLayout.h"
#include "fish/ProfileCurve.h"

#include <cmath>

// Every table is computed from a few telling shapes: the body from seven key
// cross-sections joined by smooth curves, the snout as a rounded cap on the
// body's front ring, the fins as fans of spokes from a root line on the body
// to an outline, the eyes as small domes set onto the body surface.
namespace {

constexpr float kPi = 3.14159265f;
constexpr int kBodyRings = 18;
constexpr int kBodyPoints = 6;
constexpr int kKeyRings = 7;

struct V3 {
    float x, y, z;
};

V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length(V3 a) { return std::sqrt(Dot(a, a)); }
float Lerp(float a, float b, float f) { return a + (b - a) * f; }

V3 Position(const FishSubMesh& m, int ring, int point)
{
    const float* p = m.position[ring][point];
    return {p[0], p[1], p[2]};
}

void SetPosition(FishSubMesh& m, int ring, int point, V3 v)
{
    m.position[ring][point][0] = v.x;
    m.position[ring][point][1] = v.y;
    m.position[ring][point][2] = v.z;
}

void SetTex(FishSubMesh& m, int ring, int point, float s, float t)
{
    m.texCoord[ring][point][0] = s;
    m.texCoord[ring][point][1] = t;
}

// Texture regions are sampled a little inside their borders, so filtering
// never blends in the colours of the neighbouring region.
constexpr float kTexInset = 0.006f;

FishTextureLayout::Region Inset(const FishTextureLayout::Region& r)
{
    return {r.s0 + kTexInset, r.s1 - kTexInset, r.t0 + kTexInset, r.t1 - kTexInset};
}

// Key cross-sections of the body (x, y, z per profile point: dorsal
// midline, upper, middle, lower and belly side, ventral midline) at rings
// 0, 3, 6, 9, 12, 15 and 17. The last ring has no width: the body closes
// into a vertical edge at the tail root.
constexpr float kKeyRingIndex[kKeyRings] = {0, 3, 6, 9, 12, 15, 17};
constexpr float kKeyRing[kKeyRings][kBodyPoints][3] = {
    {{-0.427f, 0, 0.085f}, {-0.398f, -0.043f, 0.085f}, {-0.398f, -0.056f, 0.020f},
     {-0.398f, -0.060f, -0.060f}, {-0.398f, -0.037f, -0.111f}, {-0.398f, 0, -0.124f}},
    {{-0.322f, 0, 0.173f}, {-0.309f, -0.041f, 0.143f}, {-0.309f, -0.070f, 0.062f},
     {-0.309f, -0.077f, -0.039f}, {-0.322f, -0.049f, -0.132f}, {-0.322f, 0, -0.164f}},
    {{-0.182f, 0, 0.195f}, {-0.182f, -0.044f, 0.155f}, {-0.182f, -0.074f, 0.074f},
     {-0.182f, -0.082f, -0.028f}, {-0.182f, -0.063f, -0.127f}, {-0.182f, 0, -0.181f}},
    {{-0.029f, 0, 0.194f}, {-0.029f, -0.039f, 0.143f}, {-0.029f, -0.064f, 0.072f},
     {-0.029f, -0.070f, -0.027f}, {-0.042f, -0.058f, -0.129f}, {-0.042f, 0, -0.182f}},
    {{0.123f, 0, 0.150f}, {0.123f, -0.023f, 0.097f}, {0.123f, -0.038f, 0.043f},
     {0.123f, -0.042f, -0.019f}, {0.123f, -0.034f, -0.092f}, {0.123f, 0, -0.157f}},
    {{0.238f, 0, 0.052f}, {0.238f, -0.007f, 0.040f}, {0.238f, -0.015f, 0.014f},
     {0.238f, -0.018f, -0.011f}, {0.238f, -0.016f, -0.037f}, {0.250f, 0, -0.068f}},
    {{0.316f, 0, 0.060f}, {0.316f, 0, 0.035f}, {0.316f, 0, 0.003f},
     {0.316f, 0, -0.025f}, {0.316f, 0, -0.054f}, {0.316f, 0, -0.075f}},
};

// ---------------------------------------------------------------- normals

// Points whose outward direction is measured from the median line
// (x, 0, zCentre) of their ring: body, snout.
struct Outward {
    bool fromMedianLine;  // false: the stored side, -y
};

float RingMidHeight(const FishSubMesh& m, int ring)
{
    float top = m.position[ring][0][2], bottom = top;
    for (int p = 1; p < m.points; ++p) {
        top = std::fmax(top, m.position[ring][p][2]);
        bottom = std::fmin(bottom, m.position[ring][p][2]);
    }
    return 0.5f * (top + bottom);
}

// Which ends of a profile lie on the median plane, where the mirrored side
// continues the surface.
struct MedianEnds {
    bool first;
    bool last;
};

V3 Mirrored(V3 v) { return {v.x, -v.y, v.z}; }

V3 AcrossTangent(const FishSubMesh& m, int r, int p, MedianEnds median)
{
    V3 before = Position(m, r, p);
    V3 after = before;
    if (p > 0)
        before = Position(m, r, p - 1);
    else if (median.first)
        before = Mirrored(Position(m, r, 1));
    if (p + 1 < m.points)
        after = Position(m, r, p + 1);
    else if (median.last)
        after = Mirrored(Position(m, r, m.points - 2));
    return after - before;
}

V3 AlongTangent(const FishSubMesh& m, int r, int p)
{
    const int r0 = r > 0 ? r - 1 : r;
    const int r1 = r + 1 < m.rings ? r + 1 : r;
    return Position(m, r1, p) - Position(m, r0, p);
}

// Where the surface degenerates (a ring shrunk to a point or an edge) the
// nearest ring with a usable normal at the same point lends its own.
void FillDegenerateNormals(FishSubMesh& m, const bool (&valid)[FishSubMesh::kMaxRings][FishSubMesh::kMaxPoints])
{
    for (int r = 0; r < m.rings; ++r)
        for (int p = 0; p < m.points; ++p) {
            if (valid[r][p])
                continue;
            int source = -1;
            for (int d = 1; d < m.rings && source < 0; ++d) {
                if (r - d >= 0 && valid[r - d][p])
                    source = r - d;
                else if (r + d < m.rings && valid[r + d][p])
                    source = r + d;
            }
            const float fallback[3] = {0, -1, 0};
            const float* n = source >= 0 ? m.normal[source][p] : fallback;
            for (int c = 0; c < 3; ++c)
                m.normal[r][p][c] = n[c];
        }
}

// Per-vertex normals from the surface around each point, turned outwards.
void ComputeNormals(FishSubMesh& m, MedianEnds median, Outward outward)
{
    bool valid[FishSubMesh::kMaxRings][FishSubMesh::kMaxPoints] = {};
    for (int r = 0; r < m.rings; ++r) {
        const float zMid = RingMidHeight(m, r);
        for (int p = 0; p < m.points; ++p) {
            V3 n = Cross(AlongTangent(m, r, p), AcrossTangent(m, r, p, median));
            const float length = Length(n);
            if (length < 1e-7f)
                continue;
            n = {n.x / length, n.y / length, n.z / length};
            const V3 pos = Position(m, r, p);
            const V3 out = outward.fromMedianLine ? V3{0, pos.y, pos.z - zMid} : V3{0, -1, 0};
            if (Dot(n, out) < 0)
                n = {-n.x, -n.y, -n.z};
            m.normal[r][p][0] = n.x;
            m.normal[r][p][1] = n.y;
            m.normal[r][p][2] = n.z;
            valid[r][p] = true;
        }
    }
    FillDegenerateNormals(m, valid);
}

// ------------------------------------------------------------------- body

FishSubMesh BuildBody()
{
    FishSubMesh body;
    body.rings = kBodyRings;
    body.points = kBodyPoints;
    for (int p = 0; p < kBodyPoints; ++p)
        for (int c = 0; c < 3; ++c) {
            float values[kKeyRings];
            for (int k = 0; k < kKeyRings; ++k)
                values[k] = kKeyRing[k][p][c];
            const ProfileCurve curve(kKeyRingIndex, values, kKeyRings);
            for (int r = 0; r < kBodyRings; ++r)
                body.position[r][p][c] = curve(float(r));
        }
    // s along the fish by the ring's middle-side x; t from belly to back.
    const float xHead = body.position[0][2][0];
    const float xTail = body.position[kBodyRings - 1][2][0];
    const FishTextureLayout::Region band = Inset(FishTextureLayout::kBody);
    for (int r = 0; r < kBodyRings; ++r) {
        const float s = Lerp(band.s0, band.s1, (body.position[r][2][0] - xHead) / (xTail - xHead));
        const float top = body.position[r][0][2];
        const float bottom = body.position[r][kBodyPoints - 1][2];
        for (int p = 0; p < kBodyPoints; ++p) {
            const float height = (body.position[r][p][2] - bottom) / (top - bottom);
            SetTex(body, r, p, s, Lerp(band.t0, band.t1, height) + FishTextureLayout::kBodyTOffset);
        }
    }
    ComputeNormals(body, MedianEnds{true, true}, Outward{true});
    return body;
}

// Linear interpolation of one body profile point's z along the body by x.
float BodyLineZ(const FishSubMesh& body, int point, float x)
{
    if (x <= body.position[0][point][0])
        return body.position[0][point][2];
    for (int r = 0; r + 1 < body.rings; ++r) {
        const float x0 = body.position[r][point][0];
        const float x1 = body.position[r + 1][point][0];
        if (x <= x1)
            return Lerp(body.position[r][point][2], body.position[r + 1][point][2], (x - x0) / (x1 - x0));
    }
    return body.position[body.rings - 1][point][2];
}

// The body surface's y (<= 0) at (x, z): the cross-section at x taken
// between the two nearest rings, then the profile edge that spans z.
float BodySurfaceY(const FishSubMesh& body, float x, float z)
{
    int r = 0;
    while (r + 2 < body.rings && x > body.position[r + 1][2][0])
        ++r;
    const float x0 = body.position[r][2][0], x1 = body.position[r + 1][2][0];
    const float f = std::fmin(1.0f, std::fmax(0.0f, (x - x0) / (x1 - x0)));
    float ys[kBodyPoints], zs[kBodyPoints];
    for (int p = 0; p < kBodyPoints; ++p) {
        ys[p] = Lerp(body.position[r][p][1], body.position[r + 1][p][1], f);
        zs[p] = Lerp(body.position[r][p][2], body.position[r + 1][p][2], f);
    }
    for (int p = 0; p + 1 < kBodyPoints; ++p)
        if (z <= zs[p] && z >= zs[p + 1])
            return Lerp(ys[p], ys[p + 1], (zs[p] - z) / (zs[p] - zs[p + 1]));
    return 0.0f;
}

// ------------------------------------------------------------------ snout

constexpr int kSnoutRings = 7;
constexpr int kSnoutPoints = 4;
constexpr float kSnoutTipX = -0.50f;
constexpr float kMouthZ = -0.03f;

// The snout caps the body's front ring: each of its rings is that ring's
// profile (with a mouth-corner point added at the mouth line) shrunk
// towards the tip on a quarter ellipse, so the head ends in a rounded nose
// with the mouth at z = -0.03 between the upper and the lower piece.
void LoftSnoutPiece(const FishSubMesh& body, const V3* joint, FishSubMesh& piece, MedianEnds median)
{
    piece.rings = kSnoutRings;
    piece.points = kSnoutPoints;
    const float top = body.position[0][0][2], bottom = body.position[0][kBodyPoints - 1][2];
    const FishTextureLayout::Region band = Inset(FishTextureLayout::kBody);
    for (int r = 0; r < kSnoutRings; ++r) {
        const float angle = float(r) / float(kSnoutRings - 1) * kPi * 0.5f;
        const float reach = std::sin(angle), keep = std::cos(angle);
        for (int p = 0; p < kSnoutPoints; ++p) {
            const V3 j = joint[p];
            SetPosition(piece, r, p,
                        {Lerp(j.x, kSnoutTipX, reach), j.y * keep, kMouthZ + (j.z - kMouthZ) * keep});
            const float t = Lerp(band.t0, band.t1, (j.z - bottom) / (top - bottom));
            SetTex(piece, r, p, band.s0, t + FishTextureLayout::kBodyTOffset);
        }
    }
    ComputeNormals(piece, median, Outward{true});
}

void BuildSnout(const FishSubMesh& body, FishSubMesh& upper, FishSubMesh& lower)
{
    V3 joint[7];
    for (int p = 0; p < 3; ++p)
        joint[p] = Position(body, 0, p);
    const V3 middle = Position(body, 0, 2), low = Position(body, 0, 3);
    const float f = (middle.z - kMouthZ) / (middle.z - low.z);
    joint[3] = {Lerp(middle.x, low.x, f), Lerp(middle.y, low.y, f), kMouthZ};
    for (int p = 3; p < kBodyPoints; ++p)
        joint[p + 1] = Position(body, 0, p);
    LoftSnoutPiece(body, joint, upper, MedianEnds{true, false});
    LoftSnoutPiece(body, joint + 3, lower, MedianEnds{false, true});
    // The two pieces meet at the mouth line: one normal for both sides of it.
    for (int r = 0; r < kSnoutRings; ++r) {
        float* a = upper.normal[r][kSnoutPoints - 1];
        float* b = lower.normal[r][0];
        V3 n = {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
        const float length = Length(n);
        if (length < 1e-6f)
            continue;
        for (int c = 0; c < 3; ++c)
            a[c] = b[c] = (&n.x)[c] / length;
    }
}

// ------------------------------------------------------------------- fins

// Texture coordinates of a fin: s by the spoke's x (front to back) between
// xFront and xBack, t from the first point of each spoke to the second.
void MapFinByX(FishSubMesh& fin, const FishTextureLayout::Region& region, float xFront, float xBack,
               float tFirst, float tSecond)
{
    for (int r = 0; r < fin.rings; ++r) {
        const float x = 0.5f * (fin.position[r][0][0] + fin.position[r][1][0]);
        const float f = std::fmin(1.0f, std::fmax(0.0f, (x - xFront) / (xBack - xFront)));
        const float s = Lerp(region.s0, region.s1, f);
        SetTex(fin, r, 0, s, tFirst);
        SetTex(fin, r, 1, s, tSecond);
    }
}

// Texture coordinates of a fin: s runs across the spokes in order.
void MapFinBySpoke(FishSubMesh& fin, const FishTextureLayout::Region& region, float tFirst, float tSecond)
{
    for (int r = 0; r < fin.rings; ++r) {
        const float s = Lerp(region.s0, region.s1, float(r) / float(fin.rings - 1));
        SetTex(fin, r, 0, s, tFirst);
        SetTex(fin, r, 1, s, tSecond);
    }
}

FishSubMesh MakeFin(int spokes)
{
    FishSubMesh fin;
    fin.rings = spokes;
    fin.points = 2;
    return fin;
}

// x of one body profile point at a fractional ring index.
float BodyRingX(const FishSubMesh& body, int point, float ring)
{
    const int r = ring >= float(body.rings - 1) ? body.rings - 2 : int(ring);
    return Lerp(body.position[r][point][0], body.position[r + 1][point][0], ring - float(r));
}

// Dorsal fin: a long fin along the back, from behind the head to just past
// the tail root, its edge rising steeply in front and falling gently behind.
// The model sways spoke k < 11 with body ring k and the rear spokes with
// ring 16, so the front spokes stand where the body's sway is alike (from
// ring 4.6 at spoke 0 to ring 10 at spoke 10) and the rear ones over the
// tail root.
FishSubMesh BuildDorsalFin(const FishSubMesh& body)
{
    FishSubMesh fin = MakeFin(16);
    for (int r = 0; r < fin.rings; ++r) {
        const float baseX = r < 11 ? BodyRingX(body, 0, 4.6f + 0.54f * float(r))
                                   : Lerp(0.205f, 0.285f, float(r - 11) / 4.0f);
        const float u = (baseX + 0.26f) / 0.545f;  // 0 front .. 1 back
        const float baseZ = BodyLineZ(body, 0, baseX) + 0.003f;
        const float rise = std::sin(std::fmin(1.0f, u / 0.3f) * kPi * 0.5f);
        const float fall = u > 0.3f ? (u - 0.3f) / 0.7f : 0.0f;
        const float tipZ = 0.22f + 0.05f * rise - 0.05f * fall * fall;
        SetPosition(fin, r, 0, {baseX, 0.0f, baseZ});
        SetPosition(fin, r, 1, {baseX + 0.02f + 0.015f * u, 0.0f, tipZ});
    }
    const FishTextureLayout::Region region = Inset(FishTextureLayout::kDorsalFin);
    MapFinByX(fin, region, -0.25f, 0.3f, region.t0, region.t1);
    ComputeNormals(fin, MedianEnds{false, false}, Outward{false});
    return fin;
}

// Anal fin: along the belly behind the vent, reaching back past the tail
// root below it. Spokes 0..4 stand over body rings 10..14, whose turn and
// sway they follow; the rest share ring 14's and spread to the back.
FishSubMesh BuildAnalFin(const FishSubMesh& body)
{
    FishSubMesh fin = MakeFin(16);
    const int last = kBodyPoints - 1;
    for (int r = 0; r < fin.rings; ++r) {
        const float baseX = r <= 4 ? BodyRingX(body, last, 10.0f + float(r))
                                   : Lerp(BodyRingX(body, last, 14.0f), 0.30f, float(r - 4) / 11.0f);
        const float u = (baseX - BodyRingX(body, last, 10.0f)) / (0.30f - BodyRingX(body, last, 10.0f));
        const float baseZ = BodyLineZ(body, last, baseX) - 0.004f;
        const float drop = std::sin(std::fmin(1.0f, u / 0.3f) * kPi * 0.5f);
        const float back = u > 0.3f ? (u - 0.3f) / 0.7f : 0.0f;
        const float edgeZ = -0.20f - 0.044f * drop + 0.09f * back * std::sqrt(back);
        SetPosition(fin, r, 0, {baseX, 0.0f, baseZ});
        SetPosition(fin, r, 1, {baseX + 0.02f + 0.06f * u, 0.0f, edgeZ});
    }
    const FishTextureLayout::Region region = Inset(FishTextureLayout::kAnalFin);
    MapFinByX(fin, region, fin.position[0][0][0], 0.34f, region.t1, region.t0);
    ComputeNormals(fin, MedianEnds{false, false}, Outward{false});
    return fin;
}

// Caudal fin outline, bottom (v = 0) to top (v = 1): the lower lobe's
// leading edge, a slightly forked trailing edge, the upper lobe's leading
// edge back to the tail root.
V3 CaudalEdge(float v)
{
    if (v < 0.18f) {
        const float w = v / 0.18f;
        return {Lerp(0.303f, 0.500f, std::sin(w * kPi * 0.5f)), 0.0f,
                -0.085f - 0.051f * std::sin(w * kPi * 0.5f)};
    }
    if (v <= 0.82f) {
        const float w = (v - 0.18f) / 0.64f;
        return {0.500f - 0.05f * std::sin(w * kPi), 0.0f, Lerp(-0.136f, 0.135f, w)};
    }
    const float w = (v - 0.82f) / 0.18f;
    return {Lerp(0.500f, 0.303f, 1.0f - std::cos(w * kPi * 0.5f)), 0.0f,
            0.135f - 0.060f * (1.0f - std::cos(w * kPi * 0.5f))};
}

FishSubMesh BuildCaudalFin()
{
    FishSubMesh fin = MakeFin(24);
    for (int r = 0; r < fin.rings; ++r) {
        const float v = float(r) / float(fin.rings - 1);
        const float bend = 2.0f * v - 1.0f;
        SetPosition(fin, r, 0, CaudalEdge(v));
        SetPosition(fin, r, 1, {0.275f + 0.012f * bend * bend, 0.0f, Lerp(-0.062f, 0.050f, v)});
        const FishTextureLayout::Region region = Inset(FishTextureLayout::kCaudalFin);
        const float t = Lerp(region.t0, region.t1, v);
        SetTex(fin, r, 0, region.s1, t);
        SetTex(fin, r, 1, region.s0, t);
    }
    ComputeNormals(fin, MedianEnds{false, false}, Outward{false});
    return fin;
}

// Pectoral fin: a rounded fan from a short root behind the gill, pointing
// back and out from the flank, its upper rays leaning further out.
FishSubMesh BuildPectoralFin()
{
    FishSubMesh fin = MakeFin(23);
    const V3 rootTop = {-0.250f, -0.054f, -0.068f};
    const V3 rootBottom = {-0.240f, -0.054f, -0.102f};
    const V3 centre = {-0.245f, -0.054f, -0.080f};
    const V3 along = {0.87f, -0.49f, 0.0f};    // back and out
    const V3 across = {0.0f, -0.45f, 0.893f};  // up, leaning out
    for (int r = 0; r < fin.rings; ++r) {
        const float v = float(r) / float(fin.rings - 1);
        const float angle = Lerp(0.85f, -0.85f, v);
        const float reach = 0.155f * (0.7f + 0.3f * std::cos(angle * 1.8f));
        const float c = std::cos(angle) * reach, s = std::sin(angle) * reach;
        SetPosition(fin, r, 0, {centre.x + c * along.x + s * across.x,
                                centre.y + c * along.y + s * across.y,
                                centre.z + c * along.z + s * across.z});
        SetPosition(fin, r, 1, {Lerp(rootTop.x, rootBottom.x, v), rootTop.y, Lerp(rootTop.z, rootBottom.z, v)});
    }
    const FishTextureLayout::Region region = Inset(FishTextureLayout::kPectoralFin);
    MapFinBySpoke(fin, region, region.t1, region.t0);
    ComputeNormals(fin, MedianEnds{false, false}, Outward{false});
    return fin;
}

// Pelvic fin: a pointed fin hanging from the chest, its tip swept back.
FishSubMesh BuildPelvicFin(const FishSubMesh& body)
{
    FishSubMesh fin = MakeFin(10);
    for (int r = 0; r < fin.rings; ++r) {
        const float v = float(r) / float(fin.rings - 1);
        const float rootX = Lerp(-0.245f, -0.135f, v);
        const float rootZ = BodyLineZ(body, kBodyPoints - 1, rootX) + 0.004f;
        SetPosition(fin, r, 0, {Lerp(-0.24f, -0.02f, v), -0.02f - 0.02f * v,
                                -0.185f - 0.085f * std::sin(v * kPi * 0.5f)});
        SetPosition(fin, r, 1, {rootX, -0.012f, rootZ});
    }
    const FishTextureLayout::Region region = Inset(FishTextureLayout::kPelvicFin);
    MapFinBySpoke(fin, region, region.t0, region.t1);
    ComputeNormals(fin, MedianEnds{false, false}, Outward{false});
    return fin;
}

// ------------------------------------------------------------------- eyes

// An eye: a shallow dome (6 rings across, 3 points top, middle, bottom) set
// just outside the body surface, its texture a disc centred in the eye
// region.
FishSubMesh BuildEye(const FishSubMesh& body)
{
    FishSubMesh eye;
    eye.rings = 6;
    eye.points = 3;
    const float cx = -0.371f, cz = 0.014f, rx = 0.023f, rz = 0.024f;
    const FishTextureLayout::Region region = Inset(FishTextureLayout::kEye);
    const float sc = 0.5f * (region.s0 + region.s1), sh = 0.5f * (region.s1 - region.s0);
    const float tc = 0.5f * (region.t0 + region.t1), th = 0.5f * (region.t1 - region.t0);
    for (int r = 0; r < eye.rings; ++r) {
        const float u = -1.0f + 2.0f * float(r) / float(eye.rings - 1);
        const float round = std::sqrt(std::fmax(0.0f, 1.0f - u * u));
        const float x = cx + rx * u;
        const float zs[3] = {cz + rz * round, cz, cz - rz * round};
        for (int p = 0; p < 3; ++p) {
            const float bulge = p == 1 ? 0.011f * round : 0.0f;
            const float y = BodySurfaceY(body, x, zs[p]) - 0.003f - bulge;
            SetPosition(eye, r, p, {x, y, zs[p]});
            const float dz = (zs[p] - cz) / rz;
            V3 n = {0.8f * u, -1.0f, 0.8f * dz};
            const float length = Length(n);
            for (int c = 0; c < 3; ++c)
                eye.normal[r][p][c] = (&n.x)[c] / length;
            SetTex(eye, r, p, sc + sh * u, tc + th * dz);
        }
    }
    return eye;
}

}  // namespace

FishMeshData::FishMeshData()
{
    m_parts[kBody] = BuildBody();
    const FishSubMesh& body = m_parts[kBody];
    BuildSnout(body, m_parts[kUpperSnout], m_parts[kLowerSnout]);
    m_parts[kDorsalFin] = BuildDorsalFin(body);
    m_parts[kPectoralFin] = BuildPectoralFin();
    m_parts[kPelvicFin] = BuildPelvicFin(body);
    m_parts[kAnalFin] = BuildAnalFin(body);
    m_parts[kCaudalFin] = BuildCaudalFin();
    m_parts[kEye] = BuildEye(body);
}

const FishMeshData& FishMeshData::Instance()
{
    static const FishMeshData data;
    return data;
}
