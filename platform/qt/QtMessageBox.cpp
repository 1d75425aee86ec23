// SPDX-License-Identifier: MIT
#include "platform/qt/QtMessageBox.h"

#include "platform/MessageBox.h"

#include <QMessageBox>
#include <QString>

namespace {

void Show(const std::string& text, const std::string& caption, MessageIcon icon)
{
    const QMessageBox::Icon qtIcon =
        icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.exec();
}

}  // namespace

void QtMessageBox::Install() { SetMessageBoxHandler(Show); }
