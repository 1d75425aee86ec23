// SPDX-License-Identifier: MIT
#include "environment/RippleGrid.h"

#include "environment/RippleDistanceTable.h"
#include "environment/RippleWaveTable.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kStartAge = 4;          // frames a new drop counts as already fallen
constexpr int kSilentAge = 256;       // from this age on a drop moves nothing
constexpr double kAmplitude = 0.02;   // texture units at age 0
// Free slots keep ageing; stopping far beyond every lifetime and delay keeps
// the counter from overflowing in a program that runs for years.
constexpr int kAgeCap = 1 << 30;
// Far beyond any real window; keeps every derived count inside an int.
constexpr int kMaxExtent = 1 << 16;

float Spread(int index)   // 0..31 -> -1..1
{
    return 2.0f * index / (RippleGrid::kCells - 1) - 1.0f;
}
}  // namespace

RippleGrid::RippleGrid()
{
    Setup(1, 1);
    for (Cell& cell : m_cells) {
        cell.s = cell.s0;
        cell.t = cell.t0;
    }
}

RippleGrid::~RippleGrid() = default;

void RippleGrid::Setup(int width, int height)
{
    m_width = std::clamp(width, 1, kMaxExtent);
    m_height = std::clamp(height, 1, kMaxExtent);
    m_diagonal = int(std::sqrt(double(m_width) * m_width + double(m_height) * m_height));
    for (int k = 0; k < kDrops; ++k) {
        m_column[k] = 0;
        m_row[k] = 0;
        m_age[k] = std::min(m_diagonal + kSilentAge, kAgeCap);   // free and silent
        m_lifetime[k] = 0;
    }
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            Cell& cell = m_cells[i * kCells + j];
            cell.x = Spread(i);
            cell.y = Spread(j);
            cell.s0 = float(i) / (kCells - 1);
            cell.t0 = float(j) / (kCells - 1);
        }
    }
}

int RippleGrid::CellIndex(double pixel, int extent) const
{
    // Clamped in floating point so that no pixel value, however far outside
    // the window, reaches an out-of-range integer conversion.
    double cell = pixel / extent * kCells;
    if (!(cell >= 0.0))   // also catches NaN
        cell = 0.0;
    return int(std::min(cell, double(kCells - 1)));
}

void RippleGrid::AddDrop(int x, int y)
{
    int slot = 0;
    while (slot < kDrops && m_age[slot] < m_lifetime[slot])
        ++slot;
    if (slot == kDrops)
        return;
    const int column = CellIndex(x, m_width);
    const int row = CellIndex(y, m_height);
    m_column[slot] = column;
    m_row[slot] = row;
    m_age[slot] = kStartAge;
    // The ring lives until it could have crossed to the farthest corner.
    double farthest = 0.0;
    const int corners[4][2] = {{0, 0}, {kCells, 0}, {kCells, kCells}, {0, kCells}};
    for (const auto& corner : corners)
        farthest = std::max(farthest, std::hypot(double(column - corner[0]),
                                                 double(row - corner[1])));
    m_lifetime[slot] = int(m_width * farthest / kCells + 42) / 5;
}

void RippleGrid::Update()
{
    for (int k = 0; k < kDrops; ++k) {
        if (m_age[k] < kAgeCap)
            ++m_age[k];
    }
    for (Cell& cell : m_cells) {
        cell.s = cell.s0;
        cell.t = cell.t0;
    }
    // Every cell sums the drops in slot order, as it would cell by cell.
    for (int k = 0; k < kDrops; ++k)
        ApplyDrop(k);
}

void RippleGrid::ApplyDrop(int slot)
{
    const int age = m_age[slot];
    if (age >= kSilentAge)
        return;
    const double fade = 1.0 - age / double(kSilentAge);
    const double amplitude = kAmplitude * fade * fade;
    // A cell whose delay is not below the age still has phase 0, where the
    // wave is 0: only cells closer than age * 31 / 800 can move.
    const int reach = age * (kCells - 1) / RippleDistanceTable::kFramesPer31Cells + 1;
    const int column = m_column[slot];
    const int row = m_row[slot];
    const RippleDistanceTable& distances = RippleDistanceTable::Get();
    const RippleWaveTable& wave = RippleWaveTable::Get();
    for (int i = std::max(0, column - reach); i <= std::min(kCells - 1, column + reach); ++i) {
        const int di = i - column;
        const double signI = di < 0 ? -1.0 : 1.0;
        for (int j = std::max(0, row - reach); j <= std::min(kCells - 1, row + reach); ++j) {
            const int dj = j - row;
            const RippleDistanceTable::Entry& e = distances.At(std::abs(di), std::abs(dj));
            const int phase = std::clamp(age - e.delay, 0, RippleWaveTable::kSize - 1);
            const double w = wave.At(phase);
            const double signJ = dj < 0 ? -1.0 : 1.0;
            Cell& cell = m_cells[i * kCells + j];
            cell.s = float(cell.s + amplitude * e.ux * signI * w);
            cell.t = float(cell.t + amplitude * e.uy * signJ * w);
        }
    }
}

void RippleGrid::DrawCell(int i, int j) const
{
    const Cell* corners[4] = {&CellAt(i, j), &CellAt(i, j + 1), &CellAt(i + 1, j + 1), &CellAt(i + 1, j)};
    glBegin(GL_POLYGON);
    for (const Cell* c : corners) {
        const GLfloat st[2] = {c->s, c->t};
        glTexCoord2fv(st);
        glVertex3f(c->x, c->y, 0.0f);
    }
    glEnd();
}

void RippleGrid::Draw() const
{
    bool opaque[kPolygons * kPolygons];
    OpaqueCells(opaque);
    Draw(opaque);
}

void RippleGrid::Draw(const bool (&opaque)[kPolygons * kPolygons]) const
{
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    for (int i = 0; i < kPolygons; ++i)
        for (int j = 0; j < kPolygons; ++j)
            if (opaque[i * kPolygons + j])
                DrawCell(i, j);
    glPopAttrib();
    for (int i = 0; i < kPolygons; ++i)
        for (int j = 0; j < kPolygons; ++j)
            if (!opaque[i * kPolygons + j])
                DrawCell(i, j);
}

namespace {

// True when the fragments' alpha is the texel's alpha times exactly 1, and
// the blending is the see-through kind that alpha 1 turns into a plain copy.
bool BlendingCopiesAtAlphaOne()
{
    if (!glIsEnabled(GL_BLEND))
        return false;
    GLint source = 0, destination = 0, equation = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glGetIntegerv(GL_BLEND_EQUATION, &equation);
    if (source != GL_SRC_ALPHA || destination != GL_ONE_MINUS_SRC_ALPHA || equation != GL_FUNC_ADD)
        return false;
    GLfloat color[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, color);
    if (color[3] != 1.0f)
        return false;
    if (glIsEnabled(GL_LIGHTING)) {
        // Lit alpha is the material's diffuse alpha: the current colour's
        // only while colour tracking sets the diffuse colour of both faces.
        GLint face = 0, parameter = 0;
        glGetIntegerv(GL_COLOR_MATERIAL_FACE, &face);
        glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &parameter);
        if (!glIsEnabled(GL_COLOR_MATERIAL) || face != GL_FRONT_AND_BACK ||
            (parameter != GL_AMBIENT_AND_DIFFUSE && parameter != GL_DIFFUSE))
            return false;
    }
    if (glIsEnabled(GL_TEXTURE_2D)) {
        GLint mode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        if (mode != GL_MODULATE && mode != GL_REPLACE && mode != GL_DECAL)
            return false;
    }
    return true;
}

}  // namespace

void RippleGrid::OpaqueCells(bool (&opaque)[kPolygons * kPolygons]) const
{
    std::fill(std::begin(opaque), std::end(opaque), false);
    if (!BlendingCopiesAtAlphaOne())
        return;
    // Untextured, every fragment has the colour's alpha of 1.
    if (!glIsEnabled(GL_TEXTURE_2D)) {
        std::fill(std::begin(opaque), std::end(opaque), true);
        return;
    }
    if (!m_texels.Refresh())
        return;
    for (int i = 0; i < kPolygons; ++i) {
        for (int j = 0; j < kPolygons; ++j) {
            const Cell* corners[4] = {&CellAt(i, j), &CellAt(i, j + 1), &CellAt(i + 1, j + 1),
                                      &CellAt(i + 1, j)};
            float sMin = corners[0]->s, sMax = sMin, tMin = corners[0]->t, tMax = tMin;
            for (const Cell* c : corners) {
                sMin = std::min(sMin, c->s);
                sMax = std::max(sMax, c->s);
                tMin = std::min(tMin, c->t);
                tMax = std::max(tMax, c->t);
            }
            opaque[i * kPolygons + j] = m_texels.Opaque(sMin, sMax, tMin, tMax);
        }
    }
}

RippleGrid::DropInfo RippleGrid::Drop(int slot) const
{
    return {m_column[slot], m_row[slot], m_age[slot], m_lifetime[slot]};
}
