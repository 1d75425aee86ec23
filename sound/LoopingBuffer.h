// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QIODevice>

// A read-only device that plays a block of bytes over and over: a read that
// reaches the end goes on from the start in the same call, so an audio sink
// pulling from it never sees a gap or an end. Reads are in whole frames.
class LoopingBuffer : public QIODevice {
    Q_OBJECT

public:
    // frameBytes: size of one audio frame, so a read never splits one.
    LoopingBuffer(QByteArray data, int frameBytes, QObject* parent = nullptr);

    // Always unbuffered: a read-ahead would hide Rewind() and Loops().
    bool open(OpenMode mode) override { return QIODevice::open(mode | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // Back to the first byte.
    void Rewind() { m_offset = 0; }
    // How many times the end has been passed since the last Rewind().
    int Loops() const { return m_loops; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    int m_frameBytes;
    qsizetype m_offset = 0;
    int m_loops = 0;
};
