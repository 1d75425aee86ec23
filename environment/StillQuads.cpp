// SPDX-License-Identifier: MIT
#include "environment/StillQuads.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLines = PictureCover::kLines;

// Still coordinates are kept on a grid of 2^-20 (a five-hundredth of a pixel
// on the widest screens): sums and differences of such values below 8 are
// exact in a float, which is what makes a rectangle exactly affine.
double Snap(double value)
{
    constexpr double kStep = 1.0 / (1 << 20);
    return std::round(value / kStep) * kStep;
}

// An affine function of window position: value = at + perX * (x - x0) +
// perY * (y - y0), with (x0, y0) the rectangle's first corner.
struct Affine {
    double at, perX, perY;
};

void Emit(double x0, double y0, double x1, double y1, const Affine& u, const Affine& v,
          std::vector<StillQuad>& quads)
{
    StillQuad q{};
    q.x0 = float(x0);
    q.y0 = float(y0);
    q.x1 = float(x1);
    q.y1 = float(y1);
    const double w = double(q.x1) - double(q.x0), h = double(q.y1) - double(q.y0);
    const Affine* fs[2] = {&u, &v};
    float* outs[2] = {q.u, q.v};
    for (int k = 0; k < 2; ++k) {
        const float a = float(Snap(fs[k]->at));
        const float dx = float(Snap(fs[k]->perX * w));
        const float dy = float(Snap(fs[k]->perY * h));
        outs[k][0] = a;
        outs[k][1] = a + dx;
        outs[k][2] = (a + dx) + dy;
        outs[k][3] = a + dy;
    }
    quads.push_back(q);
}

// The part of [x0, x1] x [y0, y1] inside the window, with the affine
// functions moved to its first corner; nothing when none is inside.
void EmitClipped(double x0, double y0, double x1, double y1, Affine u, Affine v, int width,
                 int height, std::vector<StillQuad>& quads)
{
    const double cx0 = std::max(x0, 0.0), cy0 = std::max(y0, 0.0);
    const double cx1 = std::min(x1, double(width)), cy1 = std::min(y1, double(height));
    if (!(cx0 < cx1 && cy0 < cy1))
        return;
    u.at += u.perX * (cx0 - x0) + u.perY * (cy0 - y0);
    v.at += v.perX * (cx0 - x0) + v.perY * (cy0 - y0);
    Emit(cx0, cy0, cx1, cy1, u, v, quads);
}

// A corner of the grid counts as at rest when the ripple has moved its
// texture coordinate by less than this many window pixels: a cell at rest
// is drawn as the still itself, and a sixty-fourth of a pixel changes no
// channel by more than 4 even across the sharpest edge.
constexpr double kRestPixels = 1.0 / 64;
constexpr double kShearPixels = 1.0 / 4;
// From this share of the window at rest on, the whole still goes first and
// the moving cells over it. The renderer fills a window-size rectangle a
// tile at a time, at about two fifths of what the same pixels cost it in
// rectangles whose edges cut its tiles; the pixels moving cells cover
// twice cost less than those edges once this much is at rest.
constexpr double kWholeStillShare = 0.4;

bool AtRest(const RippleGrid::Cell& c, double spanX, double spanY)
{
    return std::fabs(double(c.s) - double(c.s0)) * spanX < kRestPixels &&
           std::fabs(double(c.t) - double(c.t0)) * spanY < kRestPixels;
}

// [column][row] of the grid's cells.
using CellMask = bool[kLines - 1][kLines - 1];

// Cells [column0, column1) x [row0, row1).
struct CellRun {
    int column0, column1, row0, row1;
};

// The marked cells as few rectangles: the runs of each row, a run grown
// upwards while the rows above hold the same run. A renderer pays for every
// rectangle it fills, above all for those that cut its tiles, so the
// still's share of the window comes in as few as can be.
std::vector<CellRun> StillRuns(CellMask& marked)
{
    std::vector<CellRun> runs;
    constexpr int n = kLines - 1;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n;) {
            if (!marked[i][j]) {
                ++i;
                continue;
            }
            int end = i;
            while (end < n && marked[end][j])
                ++end;
            const auto sameRun = [&](int row) {
                for (int k = i; k < end; ++k)
                    if (!marked[k][row])
                        return false;
                return (i == 0 || !marked[i - 1][row]) && (end == n || !marked[end][row]);
            };
            int top = j + 1;
            while (top < n && sameRun(top))
                ++top;
            for (int row = j; row < top; ++row)
                for (int k = i; k < end; ++k)
                    marked[k][row] = false;
            runs.push_back({i, end, j, top});
            i = end;
        }
    }
    return runs;
}

bool Rising(const double (&lines)[kLines])
{
    for (int i = 0; i < kLines; ++i)
        if (!std::isfinite(lines[i]) || (i > 0 && !(lines[i] > lines[i - 1])))
            return false;
    return true;
}

}  // namespace

void BuildStillQuads(const RippleGrid& grid, const double (&columnX)[kLines], const double (&rowY)[kLines],
                     int width, int height, std::vector<StillQuad>& quads)
{
    quads.clear();
    if (width <= 0 || height <= 0 || !Rising(columnX) || !Rising(rowY))
        return;
    // Texture coordinate s lies at window x = left + s * spanX on the still
    // (the base coordinates run 0..1 from the first grid line to the last).
    const double left = columnX[0], spanX = columnX[kLines - 1] - columnX[0];
    const double bottom = rowY[0], spanY = rowY[kLines - 1] - rowY[0];
    // Cells the ripple leaves in place show the still as it is; they are
    // gathered into few large rectangles below.
    CellMask still{};
    double movingPixels = 0.0;
    for (int i = 0; i + 1 < kLines; ++i) {
        const double x0 = columnX[i], x1 = columnX[i + 1];
        if (x1 <= 0.0 || x0 >= width)
            continue;
        for (int j = 0; j + 1 < kLines; ++j) {
            const double y0 = rowY[j], y1 = rowY[j + 1];
            if (y1 <= 0.0 || y0 >= height)
                continue;
            const RippleGrid::Cell& c00 = grid.CellAt(i, j);
            const RippleGrid::Cell& c10 = grid.CellAt(i + 1, j);
            const RippleGrid::Cell& c11 = grid.CellAt(i + 1, j + 1);
            const RippleGrid::Cell& c01 = grid.CellAt(i, j + 1);
            if (AtRest(c00, spanX, spanY) && AtRest(c10, spanX, spanY) && AtRest(c11, spanX, spanY) &&
                AtRest(c01, spanX, spanY)) {
                still[i][j] = true;
                continue;
            }
            // Texture coordinates: the corners' mean at the centre and the
            // mean edge slopes, then moved to the cell's first corner.
            const double sAcross = 0.5 * ((c10.s - c00.s) + (c11.s - c01.s));
            const double tUp = 0.5 * ((c01.t - c00.t) + (c11.t - c10.t));
            double sUp = 0.5 * ((c01.s - c00.s) + (c11.s - c10.s));
            double tAcross = 0.5 * ((c10.t - c00.t) + (c11.t - c01.t));
            // A shear that moves no pixel by more than a quarter (at the
            // cell's edges, half a pixel across it) is left out: an upright,
            // unsheared mapping is sampled a row at a time, far cheaper than
            // texel by texel, and the soft picture shows no difference.
            if (std::fabs(sUp) * spanX < 2 * kShearPixels && std::fabs(tAcross) * spanY < 2 * kShearPixels)
                sUp = tAcross = 0.0;
            const double sCorner = 0.25 * (c00.s + c10.s + c11.s + c01.s) - 0.5 * (sAcross + sUp);
            const double tCorner = 0.25 * (c00.t + c10.t + c11.t + c01.t) - 0.5 * (tAcross + tUp);
            const double w = x1 - x0, h = y1 - y0;
            movingPixels += (std::min(x1, double(width)) - std::max(x0, 0.0)) *
                            (std::min(y1, double(height)) - std::max(y0, 0.0));
            const Affine u{(left + sCorner * spanX) / width, sAcross * spanX / width / w,
                           sUp * spanX / width / h};
            const Affine v{(bottom + tCorner * spanY) / height, tAcross * spanY / height / w,
                           tUp * spanY / height / h};
            EmitClipped(x0, y0, x1, y1, u, v, width, height, quads);
        }
    }
    // Where the picture leaves the window uncovered the still shows as it is.
    const auto unmoved = [&](double x0, double y0, double x1, double y1) {
        EmitClipped(x0, y0, x1, y1, Affine{x0 / width, 1.0 / width, 0.0}, Affine{y0 / height, 0.0, 1.0 / height},
                    width, height, quads);
    };
    if (movingPixels <= (1.0 - kWholeStillShare) * double(width) * double(height)) {
        unmoved(0.0, 0.0, width, height);
        std::rotate(quads.begin(), quads.end() - 1, quads.end());   // drawn first
        return;
    }
    for (const CellRun& run : StillRuns(still))
        unmoved(columnX[run.column0], rowY[run.row0], columnX[run.column1], rowY[run.row1]);
    const double right = columnX[kLines - 1], top = rowY[kLines - 1];
    unmoved(0.0, 0.0, left, height);                         // left of the picture
    unmoved(right, 0.0, width, height);                      // right of it
    const double midX0 = std::max(left, 0.0), midX1 = std::min(right, double(width));
    unmoved(midX0, 0.0, midX1, bottom);                      // below
    unmoved(midX0, top, midX1, height);                      // above
}
