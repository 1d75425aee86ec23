// SPDX-License-Identifier: MIT
#include "sound/LoopingBuffer.h"

#include <algorithm>
#include <cstring>

LoopingBuffer::LoopingBuffer(QByteArray data, int frameBytes, QObject* parent)
    : QIODevice(parent), m_data(std::move(data)), m_frameBytes(frameBytes < 1 ? 1 : frameBytes)
{
    m_data.truncate(m_data.size() - m_data.size() % m_frameBytes);
}

qint64 LoopingBuffer::bytesAvailable() const
{
    // Endless while there is anything to loop; a sink asks for what it needs.
    return m_data.isEmpty() ? QIODevice::bytesAvailable()
                            : QIODevice::bytesAvailable() + (qint64(1) << 30);
}

qint64 LoopingBuffer::readData(char* data, qint64 maxSize)
{
    if (m_data.isEmpty())
        return 0;
    const qint64 wanted = maxSize - maxSize % m_frameBytes;
    qint64 done = 0;
    while (done < wanted) {
        const qint64 chunk = std::min<qint64>(wanted - done, m_data.size() - m_offset);
        std::memcpy(data + done, m_data.constData() + m_offset, size_t(chunk));
        done += chunk;
        m_offset += chunk;
        if (m_offset == m_data.size()) {
            m_offset = 0;
            ++m_loops;
        }
    }
    return done;
}
