// SPDX-License-Identifier: MIT
#pragma once

#include "sound/PlayerMessage.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QProcess;

// The aquarium's end of its music player process (plovi-player, see
// PlayerHelper): starts it, sends it PlayerMessages and turns its output
// into message() signals. The process can be replaced at any time: Kill()
// ends the running one at once and a later Start() begins a fresh one;
// nothing from a killed process is reported afterwards.
//
// It never waits for the process: starting, writing and killing return at
// once, so a player that hangs cannot hold the aquarium's thread.
class PlayerProcess : public QObject {
    Q_OBJECT

public:
    explicit PlayerProcess(QObject* parent = nullptr);
    ~PlayerProcess() override;  // kills a running process

    // The player program: the one set here, else "plovi-player" beside the
    // running executable, else where the install puts it relative to that.
    static void SetProgram(const QString& path);
    static QString Program();

    // Starts a process unless one runs. False (Error() says why) when the
    // program cannot be found.
    bool Start();
    bool Running() const { return m_process != nullptr; }
    // The running process's id, 0 with none.
    qint64 ProcessId() const;
    // Milliseconds since the process last said anything (or was started).
    qint64 SilentMs() const { return m_heard.isValid() ? m_heard.elapsed() : 0; }
    // The running process has said something (it is up and its media
    // stack is ready).
    bool HasSpoken() const { return m_spoken; }
    // Sends a message; nothing without a running process.
    void Send(const PlayerMessage& message);
    // Ends the running process with SIGKILL, without a died() signal.
    void Kill();
    const QString& Error() const { return m_error; }

signals:
    void message(const PlayerMessage& message);
    // The process ended on its own, could not start, or wrote what no player
    // writes; it is gone and `why` says so in a few words.
    void died(const QString& why);

private:
    void OnOutput();
    void OnFinished(int exitCode, int exitStatus);
    void OnError(int error);
    void Lose(const QString& why);

    QProcess* m_process = nullptr;  // owned; killed processes are deleted once reaped
    QByteArray m_pending;
    QElapsedTimer m_heard;
    bool m_spoken = false;
    QString m_error;
};
