// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

// Paints the track list's cells in its fixed colours: blue text on a sand
// background, green background for the row of the current track.
class TrackRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static const QColor kText;       // RGB(0, 0, 255)
    static const QColor kRow;        // RGB(196, 184, 130)
    static const QColor kCurrentRow; // RGB(0, 255, 0)

    // currentRow: the row to highlight, read at every paint (-1: none); it
    // must outlive the delegate.
    TrackRowDelegate(const int* currentRow, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const int* m_currentRow;
};
