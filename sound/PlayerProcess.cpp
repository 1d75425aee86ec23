// SPDX-License-Identifier: MIT
#include "sound/PlayerProcess.h"

#include "platform/qt/ChildEnvironment.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

QString g_program;

// Of the system's two AC-3 decoders, the one from the "ugly" set has
// corrupted memory on damaged program streams; the other is preferred where
// both are installed. The player survives either way, but a track that
// plays beats one that is skipped.
const char* kDecoderRanks = "avdec_ac3:129";

QString FoundProgram()
{
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {dir + "/plovi-player", dir + "/" PLOVI_PLAYER_FROM_BINDIR "/plovi-player"}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return {};
}

}  // namespace

PlayerProcess::PlayerProcess(QObject* parent) : QObject(parent) {}

PlayerProcess::~PlayerProcess()
{
    Kill();
    // Killed processes not yet reaped are reaped here; a SIGKILLed process
    // ends at once unless the kernel holds it, and then it is left behind.
    for (QProcess* process : findChildren<QProcess*>()) {
        if (process->state() != QProcess::NotRunning && !process->waitForFinished(1000))
            process->setParent(nullptr);  // never block on it; the kernel reaps it at our exit
    }
}

void PlayerProcess::SetProgram(const QString& path) { g_program = path; }

QString PlayerProcess::Program() { return g_program.isEmpty() ? FoundProgram() : g_program; }

bool PlayerProcess::Start()
{
    if (m_process)
        return true;
    const QString program = Program();
    if (program.isEmpty()) {
        m_error = "the music player plovi-player is not installed beside plovi";
        return false;
    }
    m_error.clear();
    m_pending.clear();
    m_spoken = false;
    m_process = new QProcess(this);
    QProcessEnvironment env = ChildEnvironment();
    const QString ranks = env.value("GST_PLUGIN_FEATURE_RANK");
    env.insert("GST_PLUGIN_FEATURE_RANK", ranks.isEmpty() ? kDecoderRanks : ranks + "," + kDecoderRanks);
#if defined(PLOVI_SANITIZED)
    // A sanitizer build would turn the player's crash into a report and an
    // exit code; the supervision under test is about a player that dies by
    // its signal, as a release build's does. Memory errors in the player's
    // own code are still caught where they happen.
    const QString asan = env.value("ASAN_OPTIONS");
    env.insert("ASAN_OPTIONS", (asan.isEmpty() ? QString() : asan + ":") +
                                   "handle_segv=0:handle_abort=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0");
#endif
    m_process->setProcessEnvironment(env);
    // The media stack's warnings about damaged files are not the user's
    // concern; the aquarium says in one line what became of a file.
    m_process->setStandardErrorFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &PlayerProcess::OnOutput);
    connect(m_process, &QProcess::finished, this,
            [this](int code, QProcess::ExitStatus status) { OnFinished(code, int(status)); });
    connect(m_process, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError error) { OnError(int(error)); });
    m_heard.start();
    m_process->start(program, {QString::number(QCoreApplication::applicationPid())});
    return true;
}

qint64 PlayerProcess::ProcessId() const { return m_process ? m_process->processId() : 0; }

void PlayerProcess::Send(const PlayerMessage& message)
{
    if (!m_process)
        return;
    const QByteArray line = message.Encode();
    if (!line.isEmpty())
        m_process->write(line);
}

void PlayerProcess::Kill()
{
    if (!m_process)
        return;
    QProcess* process = m_process;
    m_process = nullptr;
    m_pending.clear();
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    // Reaped when it has ended; a process stuck in the kernel never holds us.
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->kill();
}

void PlayerProcess::OnOutput()
{
    if (!m_process)
        return;
    m_heard.restart();
    m_spoken = true;
    m_pending += m_process->readAllStandardOutput();
    int end;
    // A handler may Kill() (which empties m_pending) or even Start() anew;
    // the loop then stops, so nothing of the old process is reported.
    QProcess* const from = m_process;
    while (m_process == from && (end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        const auto decoded = PlayerMessage::Decode(line);
        if (!decoded) {
            Lose("the music player sent nonsense");
            return;
        }
        emit message(*decoded);
    }
    if (m_process == from && m_pending.size() >= PlayerMessage::kMaxLine)
        Lose("the music player sent nonsense");
}

void PlayerProcess::OnFinished(int exitCode, int exitStatus)
{
    if (exitStatus == QProcess::CrashExit)
        Lose(QString("the music player crashed (signal %1)").arg(exitCode));
    else
        Lose(QString("the music player ended (code %1)").arg(exitCode));
}

void PlayerProcess::OnError(int error)
{
    if (error == QProcess::FailedToStart)
        Lose("the music player could not be started");
}

void PlayerProcess::Lose(const QString& why)
{
    m_error = why;
    Kill();
    emit died(why);
}
