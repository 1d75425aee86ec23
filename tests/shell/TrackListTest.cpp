// SPDX-License-Identifier: MIT
#include "widgets/TrackList.h"

#include "tests/shell/PixelProbe.h"

#include <gtest/gtest.h>

using namespace PixelProbe;

namespace {

const QColor kSand(196, 184, 130);
const QColor kCurrent(0, 255, 0);
const QColor kBlue(0, 0, 255);

TEST(TrackListLook, OnlyTheCurrentTracksRowIsGreen)
{
    TrackList list;
    list.resize(400, 200);
    list.setColumnCount(2);
    list.setRowCount(3);
    for (int row = 0; row < 3; ++row) {
        list.setItem(row, 0, new QTableWidgetItem(QStringLiteral("Track %1").arg(row)));
        list.setItem(row, 1, new QTableWidgetItem("/music/reef.mp3"));
    }
    EXPECT_EQ(list.HighlightedTrack(), -1);
    const struct {
        int highlighted;
        QColor rows[3];
    } cases[] = {
        {-1, {kSand, kSand, kSand}},
        {1, {kSand, kCurrent, kSand}},
        {2, {kSand, kSand, kCurrent}},
        {7, {kSand, kSand, kSand}},
        {-1, {kSand, kSand, kSand}},
    };
    for (const auto& c : cases) {
        list.SetHighlightedTrack(c.highlighted);
        const QImage image = list.viewport()->grab().toImage();
        for (int row = 0; row < 3; ++row) {
            const QRect cell = list.visualRect(list.model()->index(row, 1));
            EXPECT_EQ(image.pixel(cell.right() - 2, cell.center().y()), c.rows[row].rgb())
                << "highlighted " << c.highlighted << " row " << row;
            // Blue text in the first column's cell.
            const QImage text = image.copy(list.visualRect(list.model()->index(row, 0)));
            EXPECT_GT(CountPixels(text, kBlue, 60), 3) << row;
        }
    }
}

}  // namespace
