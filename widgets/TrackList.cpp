// SPDX-License-Identifier: MIT
#include "widgets/TrackList.h"

#include "widgets/TrackRowDelegate.h"

#include <QHeaderView>

TrackList::TrackList(QWidget* parent)
    : QTableWidget(parent), m_delegate(new TrackRowDelegate(&m_highlightedTrack, this))
{
    setItemDelegate(m_delegate);
    setShowGrid(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
}

void TrackList::SetHighlightedTrack(int row)
{
    m_highlightedTrack = row;
    viewport()->update();
}

int TrackList::HighlightedTrack() const
{
    return m_highlightedTrack;
}

void TrackList::ClearSelectionAndCurrent()
{
    selectionModel()->clear();
}
