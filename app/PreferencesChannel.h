// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <string>

class QLocalServer;

// How `plovi --preferences` reaches the aquarium that runs already: the
// aquarium listens on a local socket in the user's private runtime directory,
// and a connection that says "preferences" asks it to show its Preferences.
// Only the one running aquarium listens (it holds the single-instance lock).
class PreferencesChannel : public QObject {
    Q_OBJECT
public:
    explicit PreferencesChannel(QObject* parent = nullptr);
    ~PreferencesChannel() override;

    // The socket's path ("" when there is no private runtime directory).
    static std::string SocketPath();

    // Starts listening (replacing a socket a crashed aquarium left behind).
    // False when there is no runtime directory or the socket cannot be made.
    // Call before the aquarium's window shows: whoever sees the window can
    // then reach the socket. Requests wait, connected but unread, until
    // Serve() is called.
    bool Listen();

    // From now on each request emits preferencesRequested(), those that came
    // before this call included. Call once whoever shows Preferences is
    // connected to that signal.
    void Serve();

    // Asks a running aquarium to show Preferences. True when one accepted
    // the connection and the request (it shows the dialog when it reads it);
    // false when none listens. Waits up to timeoutMs for each step.
    static bool AskRunningAquarium(int timeoutMs = 2000);

signals:
    void preferencesRequested();

private:
    void OnConnection();

    QLocalServer* m_server = nullptr;
    bool m_serving = false;
};
