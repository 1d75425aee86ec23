// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Opens a web address in a browser. Programs are started detached, from an
// argument vector (never through a shell), and not waited for. Results use
// the codes of the hyperlink's error table: above 32 is success.
class BrowserLauncher {
public:
    static constexpr int kStarted = 33;
    static constexpr int kFileNotFound = 2;
    static constexpr int kPathNotFound = 3;
    static constexpr int kAccessDenied = 5;
    static constexpr int kBadFormat = 11;

    // First the named browser ($BROWSER when set and not empty, else
    // x-www-browser), then the desktop's handler for web pages (xdg-open).
    // Returns kStarted when one of them started; when the handler is not
    // installed, the named browser's failure code; else the handler's.
    static int Open(const QString& address);

    // Starts program (a name looked up in PATH, or a path) with the arguments.
    // Returns kStarted, or kFileNotFound, kPathNotFound (the path's directory
    // is missing), kAccessDenied (not an executable file) or kBadFormat (the
    // system could not run it).
    static int Start(const QString& program, const QStringList& arguments);

private:
    // The file to run for program, or an empty string with *code set.
    static QString Resolve(const QString& program, int* code);
};
