// SPDX-License-Identifier: MIT
#include "platform/qt/BrowserLauncher.h"

#include "platform/qt/ChildEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

int BrowserLauncher::Open(const QString& address)
{
    QString browser = qEnvironmentVariable("BROWSER");
    if (browser.isEmpty()) {
        browser = QStringLiteral("x-www-browser");
    }
    const int named = Start(browser, {address});
    if (named > 32) {
        return named;
    }
    int handlerCode = 0;
    if (Resolve(QStringLiteral("xdg-open"), &handlerCode).isEmpty()) {
        return named;
    }
    return Start(QStringLiteral("xdg-open"), {address});
}

int BrowserLauncher::Start(const QString& program, const QStringList& arguments)
{
    int code = 0;
    const QString file = Resolve(program, &code);
    if (file.isEmpty()) {
        return code;
    }
    QProcess process;
    process.setProgram(file);
    process.setArguments(arguments);
    process.setProcessEnvironment(ChildEnvironment());
    return process.startDetached() ? kStarted : kBadFormat;
}

QString BrowserLauncher::Resolve(const QString& program, int* code)
{
    if (!program.contains(QLatin1Char('/'))) {
        const QString found = QStandardPaths::findExecutable(program);
        *code = kFileNotFound;
        return found;
    }
    const QFileInfo info(program);
    if (!info.absoluteDir().exists()) {
        *code = kPathNotFound;
        return QString();
    }
    if (!info.exists()) {
        *code = kFileNotFound;
        return QString();
    }
    if (info.isDir() || !info.isExecutable()) {
        *code = kAccessDenied;
        return QString();
    }
    return info.absoluteFilePath();
}
