// SPDX-License-Identifier: MIT
#include "ui/PictureLoader.h"

#include <QImageReader>
#include <memory>
#include <utility>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

PictureLoader::PictureLoader(const QSize& screen, int maxTextureSize, bool anySize, QObject* parent,
                             double budgetSeconds)
    : QObject(parent),
      m_screen(screen),
      m_maxTextureSize(maxTextureSize),
      m_budgetSeconds(budgetSeconds),
      m_anySize(anySize)
{
    // A file may declare any size: refuse to allocate more than this.
    QImageReader::setAllocationLimit(PictureDecoder::kAllocationLimitMb);
    m_pool.setMaxThreadCount(1);
#if defined(__GLIBC__)
    // A photo's decoding buffers are tens of megabytes each. By default the
    // allocator raises its threshold for mapping blocks of their own once
    // such a block is freed, then serves later ones from a heap it keeps:
    // about 100 MB stayed resident after ten photos. A fixed threshold gives
    // every large buffer back to the system when it is freed.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

PictureLoader::~PictureLoader()
{
    m_pool.clear();
    m_cancel = true;
    m_pool.waitForDone();
}

void PictureLoader::Request(const QString& path)
{
    ++m_pending;
    if (m_held)
        m_waiting.append(path);
    else
        Start(path);
}

void PictureLoader::Release()
{
    m_held = false;
    const QStringList waiting = std::exchange(m_waiting, {});
    for (const QString& path : waiting)
        Start(path);
}

void PictureLoader::Start(const QString& path)
{
    const QSize screen = m_screen;
    const int maxSize = m_maxTextureSize;
    const double seconds = m_budgetSeconds;
    const bool anySize = m_anySize;
    // The destructor waits for a running task, so `this` outlives it; a
    // result still queued when the loader goes is dropped with its events.
    m_pool.start([this, path, screen, maxSize, seconds, anySize] {
        const DecodeBudget budget(seconds, &m_cancel);
        auto picture =
            std::make_shared<DecodedPicture>(PictureDecoder::Decode(path, screen, maxSize, budget, anySize));
        QMetaObject::invokeMethod(
            this, [this, path, picture] { Deliver(path, *picture); }, Qt::QueuedConnection);
    });
}

void PictureLoader::Deliver(const QString& path, const DecodedPicture& picture)
{
    --m_pending;
    emit decoded(path, picture);
}
