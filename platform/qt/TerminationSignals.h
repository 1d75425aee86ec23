// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a desktop's logout, Ctrl-C in a
// terminal, a closed terminal) into a call on the event loop's thread, so
// the program can end the way its Exit button does instead of being killed
// with its work unsaved. The signal handler only writes the signal's number
// to a pipe (async-signal-safe); a QSocketNotifier on the other end calls
// `onSignal` from the event loop. One instance per process.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers. Ok() is false when the pipe could not be made;
    // the signals then keep their default action.
    explicit TerminationSignals(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;  // restores the default actions

    bool Ok() const { return m_notifier != nullptr; }

private:
    void OnReadable();

    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};
