// SPDX-License-Identifier: MIT
#include "fish/FishModel.h"

#include "fish/FishVertexSink.h"
#include "fish/FishWave.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

// How one ring is bent and moved: its heading (degrees about the model's z)
// and per profile point the lateral (y) and vertical (z) offsets, already in
// scaled units.
struct FishModel::RingDeform {
    float yaw = 0.0f;
    float lateral[FishSubMesh::kMaxPoints] = {};
    float lift[FishSubMesh::kMaxPoints] = {};
};

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

int Min(int a, int b) { return a < b ? a : b; }

}  // namespace

FishModel::FishModel() : m_matrixYaw(0.0f), m_matrixValid(false)
{
    SetRingRotation(0.0f, 0.0f, 0.0f, 0.0f);
}

void FishModel::SetRingRotation(float degrees, float x, float y, float z)
{
    for (float& m : m_ringMatrix)
        m = 0.0f;
    m_ringMatrix[0] = m_ringMatrix[5] = m_ringMatrix[10] = m_ringMatrix[15] = 1.0f;
    m_matrixValid = false;
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f)
        return;
    x /= length;
    y /= length;
    z /= length;
    const float angle = degrees * kDegreesToRadians;
    const float c = std::cos(angle), s = std::sin(angle), k = 1.0f - c;
    m_ringMatrix[0] = c + x * x * k;
    m_ringMatrix[1] = k * x * y + s * z;
    m_ringMatrix[2] = k * x * z - s * y;
    m_ringMatrix[4] = k * x * y - s * z;
    m_ringMatrix[5] = c + y * y * k;
    m_ringMatrix[6] = k * y * z + s * x;
    m_ringMatrix[8] = k * x * z + s * y;
    m_ringMatrix[9] = k * y * z - s * x;
    m_ringMatrix[10] = c + z * z * k;
}

void FishModel::UseRingYaw(float degrees)
{
    // Sub-meshes with one rotation and runs of rings with equal yaw reuse
    // the matrix instead of rebuilding it.
    if (m_matrixValid && m_matrixYaw == degrees)
        return;
    SetRingRotation(degrees, 0.0f, 0.0f, 1.0f);
    m_matrixYaw = degrees;
    m_matrixValid = true;
}

void FishModel::Place(float x, float y, float z, float (&v)[3])
{
    const float* m = m_ringMatrix;
    v[0] = m[0] * x + m[4] * y + m[8] * z + m[12];
    v[1] = m[1] * x + m[5] * y + m[9] * z + m[13];
    v[2] = m[2] * x + m[6] * y + m[10] * z + m[14];
    for (int k = 0; k < 3; ++k) {
        m_boundsMin[k] = std::min(m_boundsMin[k], v[k]);
        m_boundsMax[k] = std::max(m_boundsMax[k], v[k]);
    }
}

void FishModel::EmitVertex(float x, float y, float z, float nx, float ny, float nz, float s, float t)
{
    float v[3];
    Place(x, y, z, v);
    if (m_sink) {
        const float n[3] = {nx, ny, nz};
        const float tex[2] = {s, t};
        m_sink->Vertex(v, n, tex);
        return;
    }
    glNormal3f(nx, ny, nz);
    glTexCoord2f(s, t);
    glVertex3fv(v);
}

FishModel::PassVertex FishModel::VertexOf(const FishSubMesh& mesh, const RingDeform& ring, Mirror mirror,
                                          bool second, int r, int q) const
{
    const float* pos = mesh.position[r][q];
    const float* n = mesh.normal[r][q];
    const float* tex = mesh.texCoord[r][q];
    float y = pos[1] * m_size + ring.lateral[q];
    float ny = n[1];
    if (second) {
        y = mirror == Mirror::StoredY ? ring.lateral[q] - pos[1] * m_size : -y;
        ny = -ny;
    }
    return {pos[0] * m_size, y, pos[2] * m_size + ring.lift[q], n[0], ny, n[2], tex[0], tex[1]};
}

void FishModel::DrawPass(const FishSubMesh& mesh, const RingDeform* deform, Mirror mirror, bool second)
{
    if (Gathering()) {
        GatherPass(mesh, deform, mirror, second);
        return;
    }
    for (int p = 0; p + 1 < mesh.points; ++p) {
        if (m_sink)
            m_sink->BeginStrip();
        else
            glBegin(GL_QUAD_STRIP);
        for (int r = 0; r < mesh.rings; ++r) {
            UseRingYaw(deform[r].yaw);
            for (int q = p; q <= p + 1; ++q) {
                const PassVertex v = VertexOf(mesh, deform[r], mirror, second, r, q);
                EmitVertex(v.x, v.y, v.z, v.nx, v.ny, v.nz, v.s, v.t);
            }
        }
        if (m_sink)
            m_sink->EndStrip();
        else
            glEnd();
    }
}

// Every vertex of the pass once, then the strips' quads over them: strip p
// joins points p and p + 1 of each ring to the next ring's.
void FishModel::GatherPass(const FishSubMesh& mesh, const RingDeform* deform, Mirror mirror, bool second)
{
    unsigned index[FishSubMesh::kMaxRings][FishSubMesh::kMaxPoints];
    for (int r = 0; r < mesh.rings; ++r) {
        UseRingYaw(deform[r].yaw);
        for (int q = 0; q < mesh.points; ++q) {
            const PassVertex v = VertexOf(mesh, deform[r], mirror, second, r, q);
            float position[3];
            Place(v.x, v.y, v.z, position);
            index[r][q] = m_batch.Add(position, {v.nx, v.ny, v.nz}, {v.s, v.t});
        }
    }
    for (int p = 0; p + 1 < mesh.points; ++p)
        for (int r = 0; r + 1 < mesh.rings; ++r)
            m_batch.AddQuad(index[r][p], index[r][p + 1], index[r + 1][p], index[r + 1][p + 1]);
}

void FishModel::DrawSubMesh(const FishSubMesh& mesh, const RingDeform* deform, Mirror mirror)
{
    DrawPass(mesh, deform, mirror, false);
    if (mirror != Mirror::None)
        DrawPass(mesh, deform, mirror, true);
}

void FishModel::Draw(const FishPose& pose)
{
    m_size = pose.size;
    m_matrixValid = false;
    for (int k = 0; k < 3; ++k) {
        m_boundsMin[k] = INFINITY;
        m_boundsMax[k] = -INFINITY;
    }
    DrawBody(pose);
    DrawSnoutsAndEyes(pose, FishMeshData::kUpperSnout);
    DrawSnoutsAndEyes(pose, FishMeshData::kLowerSnout);
    DrawDorsalFin(pose);
    DrawPectoralFins(pose);
    DrawPelvicFins(pose);
    DrawAnalFin(pose);
    DrawCaudalFin(pose);
    DrawSnoutsAndEyes(pose, FishMeshData::kEye);
    m_batch.Draw();   // what was gathered, when drawing indexed
}

// Each ring turns with its own heading and sways with the tail wave; the
// other side follows the same spine.
void FishModel::DrawBody(const FishPose& pose)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::kBody);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r) {
        deform[r].yaw = pose.yaw[r];
        for (int p = 0; p < mesh.points; ++p)
            deform[r].lateral[p] = m_size * (*pose.tail)[r];
    }
    if (m_sink || !m_cullHiddenBodyFaces) {
        DrawSubMesh(mesh, deform, Mirror::StoredY);
        return;
    }
    glPushAttrib(GL_POLYGON_BIT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    DrawPass(mesh, deform, Mirror::StoredY, false);
    m_batch.Draw();
    glFrontFace(GL_CW);   // the mirrored half is wound the other way
    DrawPass(mesh, deform, Mirror::StoredY, true);
    m_batch.Draw();
    glPopAttrib();
}

// Snout pieces and eyes sit on the head: they turn with the head ring only.
void FishModel::DrawSnoutsAndEyes(const FishPose& pose, FishMeshData::Part part)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(part);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r)
        deform[r].yaw = pose.yaw[0];
    DrawSubMesh(mesh, deform, Mirror::StoredY);
}

// The dorsal fin's spokes turn with body rings 5..15 and sway with rings
// 0..10 (its back spokes with ring 16); the tip ripples with its own wave
// and the base sinks a little into the back.
void FishModel::DrawDorsalFin(const FishPose& pose)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::kDorsalFin);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r) {
        const int ring = r < 11 ? r : 16;
        deform[r].yaw = pose.yaw[r < 11 ? 5 + r : 16];
        const float sway = m_size * (*pose.tail)[ring];
        deform[r].lateral[0] = sway;
        deform[r].lateral[1] = sway + m_size * (*pose.dorsal)[r];
        deform[r].lift[0] = -0.008f * m_size;
    }
    DrawSubMesh(mesh, deform, Mirror::None);
}

// The pectoral fins flap by a fixed distance, whatever the fish's size.
void FishModel::DrawPectoralFins(const FishPose& pose)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::kPectoralFin);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r) {
        deform[r].yaw = pose.yaw[5];
        deform[r].lateral[0] = (*pose.pectoral)[1];
    }
    DrawSubMesh(mesh, deform, Mirror::WholeLateral);
}

void FishModel::DrawPelvicFins(const FishPose& pose)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::kPelvicFin);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r) {
        deform[r].yaw = pose.yaw[r == 0 ? 5 : (r < 3 ? 6 : 7)];
        deform[r].lateral[0] = m_size * (*pose.pelvic)[r];
    }
    DrawSubMesh(mesh, deform, Mirror::WholeLateral);
}

void FishModel::DrawAnalFin(const FishPose& pose)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::kAnalFin);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r) {
        deform[r].yaw = pose.yaw[10 + Min(r, 4)];
        const float sway = m_size * (*pose.tail)[10 + Min(r, 4)];
        deform[r].lateral[0] = deform[r].lateral[1] = sway;
        deform[r].lift[0] = 0.01f * m_size;
    }
    DrawSubMesh(mesh, deform, Mirror::None);
}

// The caudal fin's edge ripples with its own wave on top of the sway of
// the tail root.
void FishModel::DrawCaudalFin(const FishPose& pose)
{
    const FishSubMesh& mesh = FishMeshData::Instance().Mesh(FishMeshData::kCaudalFin);
    RingDeform deform[FishSubMesh::kMaxRings];
    for (int r = 0; r < mesh.rings; ++r) {
        deform[r].yaw = pose.yaw[10 + Min(r, 4)];
        deform[r].lateral[0] = m_size * ((*pose.caudal)[r] + (*pose.tail)[17]);
        deform[r].lateral[1] = m_size * (*pose.tail)[16];
    }
    DrawSubMesh(mesh, deform, Mirror::None);
}
