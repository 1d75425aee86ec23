// SPDX-License-Identifier: MIT
#include "ui/PictureDecoder.h"

#include "platform/qt/FileNameText.h"
#include "ui/BudgetedBuffer.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int NextPowerOfTwo(int side)
{
    int p = 1;
    while (p < side && p < (1 << 30))
        p *= 2;
    return p;
}

int LargestPowerOfTwoNotAbove(int side)
{
    int p = 1;
    while (p <= side / 2)
        p *= 2;
    return p;
}

// The whole file, or nothing when it is not a regular file, too large or
// unreadable. Opened without blocking, so a named pipe cannot hang the
// worker, and checked on the open descriptor, so what is read is what was
// checked.
QByteArray ReadRegularFile(const QString& path)
{
    const int fd = ::open(FileNameText::ToBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat info {};
    QByteArray data;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        info.st_size <= PictureDecoder::kMaxFileBytes) {
        // The size it has, not the largest allowed: QIODevice::read sets
        // aside all it is asked for before it reads.
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly, QFile::DontCloseHandle))
            data = file.read(info.st_size);
        if (data.size() != info.st_size || !file.atEnd())
            data.clear();  // the file changed while it was read
    }
    ::close(fd);
    return data;
}

// A picture far larger than its texture, cut down by sampling to
// kThinningMargin times the texture on each side, in the format it was
// decoded in. The smooth scaling after it then averages kThinningMargin
// squared samples per texel, which looks the same as averaging them all,
// while the conversion and scaling cost what the texture weighs instead of
// what the file claims: a 300-byte BMP may declare sixty million pixels.
constexpr int kThinningMargin = 4;

QImage Thinned(const QImage& image, const QSize& target)
{
    const QSize most(int(std::min<qint64>(image.width(), qint64(target.width()) * kThinningMargin)),
                     int(std::min<qint64>(image.height(), qint64(target.height()) * kThinningMargin)));
    if (most == image.size())
        return image;
    return image.scaled(most, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The picture at its texture size, premultiplied for filtering.
QImage ReadScaled(QImageReader& reader, qint64 fileBytes, const QSize& screen, int maxTextureSize,
                  bool anySize)
{
    const QSize raw = reader.size();
    const qint64 pixels = qint64(raw.width()) * raw.height();
    if (!raw.isValid() || pixels * 4 > qint64(PictureDecoder::kAllocationLimitMb) << 20 ||
        pixels > fileBytes * PictureDecoder::kMaxPixelsPerByte)
        return {};
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? raw.transposed() : raw;
    const QSize target(PictureDecoder::TextureSide(upright.width(), screen.width(), maxTextureSize, anySize),
                       PictureDecoder::TextureSide(upright.height(), screen.height(), maxTextureSize, anySize));
    // A JPEG can be decoded at a fraction of its size, which saves most of
    // the time and memory a large photo would take. Other readers that take
    // a scaled size decode at full size and then scale in 32-bit colour,
    // which costs more than thinning first.
    const QSize rawTarget = turned ? target.transposed() : target;
    if (reader.format() == "jpeg" && rawTarget.width() < raw.width() &&
        rawTarget.height() < raw.height())
        reader.setScaledSize(rawTarget);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // ARGB32 is the smooth scaler's own format: given any other, it makes a
    // full-size copy in it first.
    image = Thinned(image, target).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

QImage TextureLevel(const QImage& premultiplied)
{
    QImage level = premultiplied.convertToFormat(QImage::Format_RGBA8888).mirrored(false, true);
    PictureDecoder::MakeNtscSafe(level);
    return level;
}

}  // namespace

int PictureDecoder::TextureSide(int pictureSide, int screenSide, int maxTextureSize, bool anySize)
{
    if (anySize)
        return std::max(1, std::min({pictureSide, screenSide, maxTextureSize}));
    int side = std::min(NextPowerOfTwo(std::max(pictureSide, 1)), NextPowerOfTwo(std::max(screenSide, 1)));
    return std::min(side, LargestPowerOfTwoNotAbove(std::max(maxTextureSize, 1)));
}

bool PictureDecoder::JpegIsComplete(const QByteArray& data)
{
    const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype n = data.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return false;
    qsizetype at = 2;
    while (at + 1 < n) {
        if (p[at] != 0xFF)
            return false;
        const unsigned char marker = p[at + 1];
        at += 2;
        if (marker == 0xD9)
            return true;                               // end of image
        if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at -= 1;                                   // fill byte or a marker without length
            continue;
        }
        if (at + 1 >= n)
            return false;
        const qsizetype length = (qsizetype(p[at]) << 8) | p[at + 1];
        if (length < 2 || at + length > n)
            return false;
        at += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data: runs to the next marker that is neither a
        // stuffed zero nor a restart marker.
        while (at + 1 < n && !(p[at] == 0xFF && p[at + 1] != 0x00 && (p[at + 1] < 0xD0 || p[at + 1] > 0xD7)))
            ++at;
    }
    return false;
}

void PictureDecoder::MakeNtscSafe(QImage& rgba)
{
    for (int y = 0; y < rgba.height(); ++y) {
        uchar* line = rgba.scanLine(y);
        for (int x = 0; x < rgba.width(); ++x)
            for (int c = 0; c < 3; ++c)
                line[4 * x + c] = uchar(16 + (line[4 * x + c] * 219 + 127) / 255);
    }
}

DecodedPicture PictureDecoder::Decode(const QString& path, const QSize& screen, int maxTextureSize,
                                      bool anySize)
{
    return Decode(path, screen, maxTextureSize, DecodeBudget(kBudgetSeconds), anySize);
}

DecodedPicture PictureDecoder::Decode(const QString& path, const QSize& screen, int maxTextureSize,
                                      const DecodeBudget& budget, bool anySize)
{
    DecodedPicture result;
    QByteArray data = ReadRegularFile(path);
    if (data.isEmpty())
        return result;
    BudgetedBuffer buffer(data, budget);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (format != "jpeg" && format != "png" && format != "bmp")
        return result;
    if (format == "jpeg" && !JpegIsComplete(data))
        return result;
    QImage level = ReadScaled(reader, data.size(), screen, maxTextureSize, anySize);
    // A decoder cut short by the budget may still have made a picture of
    // what it read: grey where the rest would have been.
    if (level.isNull() || budget.Spent())
        return result;
    result.levels.push_back(TextureLevel(level));
    while (!anySize && (level.width() > 1 || level.height() > 1)) {
        if (budget.Cancelled())
            return DecodedPicture();
        level = level.scaled(std::max(1, level.width() / 2), std::max(1, level.height() / 2),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        result.levels.push_back(TextureLevel(level));
    }
    return result;
}
