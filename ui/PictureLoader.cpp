#include "ui/PictureLoader.h"

#include <QImageReader>
#include <memory>

PictureLoader::PictureLoader(const QSize& screen, int maxTextureSize, QObject* parent)
    : QObject(parent), m_screen(screen), m_maxTextureSize(maxTextureSize)
{
    // A file may declare any size: refuse to allocate more than this.
    QImageReader::setAllocationLimit(PictureDecoder::kAllocationLimitMb);
    m_pool.setMaxThreadCount(1);
}

PictureLoader::~PictureLoader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void PictureLoader::Request(const QString& path)
{
    ++m_pending;
    const QSize screen = m_screen;
    const int maxSize = m_maxTextureSize;
    // The destructor waits for a running task, so `this` outlives it; a
    // result still queued when the loader goes is dropped with its events.
    m_pool.start([this, path, screen, maxSize] {
        auto picture = std::make_shared<DecodedPicture>(PictureDecoder::Decode(path, screen, maxSize));
        QMetaObject::invokeMethod(
            this, [this, path, picture] { Deliver(path, *picture); }, Qt::QueuedConnection);
    });
}

void PictureLoader::Deliver(const QString& path, const DecodedPicture& picture)
{
    --m_pending;
    emit decoded(path, picture);
}
