// SPDX-License-Identifier: MIT
#include "widgets/ArtIcon.h"

#include "resources/BuiltinArt.h"

#include <QIcon>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

QPixmap ArtIcon::Load(int id, int width, int height)
{
    const BuiltinArt::Entry* entry = BuiltinArt::Find(id, "ICON");
    QPixmap icon;
    if (entry == nullptr || !icon.loadFromData(entry->data, static_cast<uint>(entry->size))) {
        return QPixmap();
    }
    if (width <= 0 || height <= 0 || icon.size() == QSize(width, height)) {
        return icon;
    }
    return icon.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

int ArtIcon::Size(int id)
{
    const BuiltinArt::Entry* entry = BuiltinArt::Find(id, "ICON");
    return entry == nullptr ? 0 : 2 * entry->hotX;
}

QPixmap ArtIcon::Greyed(const QPixmap& icon, const QWidget* widget)
{
    QStyleOption option;
    option.initFrom(widget);
    return widget->style()->generatedIconPixmap(QIcon::Disabled, icon, &option);
}
