// SPDX-License-Identifier: MIT
#pragma once

#include "fish/FishMeshBatch.h"
#include "fish/FishMeshData.h"
#include "fish/FishPose.h"

class FishVertexSink;

// Draws the shared fish model for one fish, deformed by that fish's ring
// headings and waves: the body bends with the per-ring yaw, sways with the
// tail wave, and the fins flap with their own waves. Every position is
// multiplied by the size; the lateral offsets of the waves are too, except
// the pectoral fins' flap. Normals are passed on as stored (not rotated).
//
// Drawing order: body, upper snout, lower snout, dorsal, pectoral, pelvic,
// anal and caudal fin, eyes; 820 vertices in 33 quad strips.
class FishModel {
public:
    FishModel();

    // Emits the whole model for the pose. With no sink set, into the current
    // GL context, with the species texture already bound by the caller.
    void Draw(const FishPose& pose);

    // Builds the ring matrix: a rotation by `degrees` about the axis
    // (x, y, z), normalised; an axis of length 0 gives the identity.
    void SetRingRotation(float degrees, float x, float y, float z);

    // Transforms the position by the ring matrix and emits the vertex
    // (normal, texture coordinate, position, in that order for GL).
    void EmitVertex(float x, float y, float z, float nx, float ny, float nz, float s, float t);

    // Column-major 4x4, as OpenGL lays it out.
    const float* RingMatrix() const { return m_ringMatrix; }

    // The box around every position the last Draw emitted, in the model
    // coordinates it emitted them in.
    const float (&BoundsMin() const)[3] { return m_boundsMin; }
    const float (&BoundsMax() const)[3] { return m_boundsMax; }

    // nullptr: draw with OpenGL. The sink must outlive its use here.
    void SetVertexSink(FishVertexSink* sink) { m_sink = sink; }

    // Whether OpenGL drawing leaves out the body's faces turned away from
    // the eye (off at first). The body is closed and each of its halves is
    // wound one way, so those faces always lie behind the ones turned
    // towards the eye; a software renderer is spared about a third of the
    // fish's triangles, and only a pixel or two where the body's faces meet
    // edge-on can change. The sink sees every strip either way.
    void SetCullHiddenBodyFaces(bool on) { m_cullHiddenBodyFaces = on; }

    // Whether OpenGL drawing gathers each group of parts (each culled body
    // half, then every other part) into one indexed draw instead of a
    // glBegin/glEnd per quad strip (off at first). The triangles are the
    // strips' own, in their order; the renderer transforms each shared
    // vertex once instead of twice. The sink sees strips either way.
    void SetIndexedDraw(bool on) { m_indexed = on; }

private:
    enum class Mirror {
        None,          // drawn once
        StoredY,       // again with the stored y negated, offsets kept
        WholeLateral   // again with stored y plus offset negated (fin pairs)
    };
    struct RingDeform;
    struct PassVertex {   // a vertex of a pass before the ring matrix
        float x, y, z, nx, ny, nz, s, t;
    };

    void DrawSubMesh(const FishSubMesh& mesh, const RingDeform* deform, Mirror mirror);
    void DrawPass(const FishSubMesh& mesh, const RingDeform* deform, Mirror mirror, bool second);
    void GatherPass(const FishSubMesh& mesh, const RingDeform* deform, Mirror mirror, bool second);
    PassVertex VertexOf(const FishSubMesh& mesh, const RingDeform& ring, Mirror mirror, bool second, int r,
                        int q) const;
    // The position by the ring matrix, counted into the bounds.
    void Place(float x, float y, float z, float (&v)[3]);
    bool Gathering() const { return m_indexed && !m_sink; }
    void UseRingYaw(float degrees);

    void DrawBody(const FishPose& pose);
    void DrawSnoutsAndEyes(const FishPose& pose, FishMeshData::Part part);
    void DrawDorsalFin(const FishPose& pose);
    void DrawPectoralFins(const FishPose& pose);
    void DrawPelvicFins(const FishPose& pose);
    void DrawAnalFin(const FishPose& pose);
    void DrawCaudalFin(const FishPose& pose);

    float m_ringMatrix[16];
    float m_matrixYaw;      // degrees the ring matrix holds about z
    bool m_matrixValid;     // false until the first rotation about z
    float m_size = 3.0f;    // of the draw in progress
    FishVertexSink* m_sink = nullptr;
    bool m_cullHiddenBodyFaces = false;
    bool m_indexed = false;
    FishMeshBatch m_batch;
    float m_boundsMin[3] = {};
    float m_boundsMax[3] = {};
};
