// SPDX-License-Identifier: MIT
#pragma once

#include <QTableWidget>

class TrackRowDelegate;

// The music dialog's list of tracks: a report view with columns whose rows
// are drawn in fixed colours (see TrackRowDelegate), the current track's row
// highlighted in green.
class TrackList : public QTableWidget {
    Q_OBJECT

public:
    explicit TrackList(QWidget* parent = nullptr);

    // The row of the current track, highlighted; -1 (the default) or a row
    // that does not exist highlights none. Repaints.
    void SetHighlightedTrack(int row);
    int HighlightedTrack() const;
    // Leaves no row selected and no current row, so nothing becomes selected
    // by itself afterwards (as the row after a removed one would).
    void ClearSelectionAndCurrent();

private:
    int m_highlightedTrack = -1;
    TrackRowDelegate* m_delegate;
};
