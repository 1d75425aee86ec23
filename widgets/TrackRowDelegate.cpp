// SPDX-License-Identifier: MIT
#include "widgets/TrackRowDelegate.h"

const QColor TrackRowDelegate::kText(0, 0, 255);
const QColor TrackRowDelegate::kRow(196, 184, 130);
const QColor TrackRowDelegate::kCurrentRow(0, 255, 0);

TrackRowDelegate::TrackRowDelegate(const int* currentRow, QObject* parent)
    : QStyledItemDelegate(parent), m_currentRow(currentRow)
{
}

void TrackRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->palette.setColor(QPalette::Text, kText);
    option->backgroundBrush = index.row() == *m_currentRow ? kCurrentRow : kRow;
}
