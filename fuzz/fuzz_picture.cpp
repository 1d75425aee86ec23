// SPDX-License-Identifier: MIT
// The path a user's photo takes before it reaches the GL thread, on any
// bytes: the loader's worker decodes the file (regular files only, the
// allocation limit, JPEGs checked for completeness, the EXIF orientation),
// scales it to its texture size, builds the mipmap chain and maps every
// colour into the television-safe range. The result must keep every promise
// the decoder makes about it.
//
// Input: six bytes of parameters (screen width and height, 1..2048 each,
// GL_MAX_TEXTURE_SIZE 0..65535, little-endian), then the file.
#include "fuzz/FuzzScratch.h"
#include "ui/PictureDecoder.h"
#include "ui/PictureLoader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

namespace {

struct Parameters {
    QSize screen;
    int maxTextureSize = 0;
};

constexpr std::size_t kParameterBytes = 6;

Parameters ReadParameters(const std::uint8_t* data)
{
    const auto word = [data](int at) { return int(data[at] | (data[at + 1] << 8)); };
    return {QSize(1 + word(0) % 2048, 1 + word(2) % 2048), word(4)};
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// TextureSide's promise on any three numbers, also those no file gives.
void CheckTextureSide(int picture, int screen, int maxTexture)
{
    const int side = PictureDecoder::TextureSide(picture, screen, maxTexture);
    FUZZ_CHECK(PowerOfTwo(side));
    FUZZ_CHECK(side <= std::max(maxTexture, 1));
    FUZZ_CHECK(side < 2 * qint64(std::max(screen, 1)));
    FUZZ_CHECK(side < 2 * qint64(std::max(picture, 1)));
    // Never smaller than all three bounds allow.
    FUZZ_CHECK(2 * qint64(side) > std::min({qint64(std::max(picture, 1)), qint64(std::max(screen, 1)),
                                             qint64(std::max(maxTexture, 1))}));
}

// The size a full, unscaled decode stands the picture in; only for small
// pictures, so a run stays short. Invalid when it is larger or unreadable.
QSize UprightSize(const QByteArray& file)
{
    QByteArray copy = file;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize raw = reader.size();
    if (!raw.isValid() || qint64(raw.width()) * raw.height() > 256 * 256)
        return {};
    const QImage image = reader.read();
    return image.isNull() ? QSize() : image.size();
}

void CheckPicture(const DecodedPicture& picture, const QByteArray& file, const Parameters& p)
{
    if (!picture.Ok())
        return;
    const QImage& first = picture.levels.front();
    const QSize upright = UprightSize(file);
    if (upright.isValid())
        FUZZ_CHECK(first.size() == QSize(PictureDecoder::TextureSide(upright.width(), p.screen.width(), p.maxTextureSize),
                                         PictureDecoder::TextureSide(upright.height(), p.screen.height(),
                                                                     p.maxTextureSize)));
    FUZZ_CHECK(first.width() <= PictureDecoder::TextureSide(1 << 30, p.screen.width(), p.maxTextureSize));
    FUZZ_CHECK(first.height() <= PictureDecoder::TextureSide(1 << 30, p.screen.height(), p.maxTextureSize));
    QSize expected = first.size();
    for (const QImage& level : picture.levels) {
        FUZZ_CHECK(level.size() == expected);
        FUZZ_CHECK(PowerOfTwo(level.width()) && PowerOfTwo(level.height()));
        FUZZ_CHECK(level.format() == QImage::Format_RGBA8888);
        for (int y = 0; y < level.height(); ++y) {
            const uchar* line = level.constScanLine(y);
            for (int x = 0; x < level.width(); ++x)
                for (int c = 0; c < 3; ++c)
                    FUZZ_CHECK(line[4 * x + c] >= 16 && line[4 * x + c] <= 235);
        }
        expected = QSize(std::max(1, expected.width() / 2), std::max(1, expected.height() / 2));
    }
    FUZZ_CHECK(picture.levels.back().size() == QSize(1, 1));
}

// Whatever follows a JPEG's end marker cannot make it incomplete.
void CheckJpegCompleteness(const QByteArray& file)
{
    if (PictureDecoder::JpegIsComplete(file))
        FUZZ_CHECK(PictureDecoder::JpegIsComplete(file + file));
}

// The loader as the dialog runs it: a request, then the interface thread's
// events until the result is delivered.
DecodedPicture LoadThroughLoader(PictureLoader& loader, const QString& path)
{
    DecodedPicture result;
    bool delivered = false;
    const auto connection = QObject::connect(&loader, &PictureLoader::decoded,
                                             [&](const QString& from, const DecodedPicture& picture) {
                                                 FUZZ_CHECK(from == path);
                                                 result = picture;
                                                 delivered = true;
                                             });
    loader.Request(path);
    while (!delivered)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QObject::disconnect(connection);
    FUZZ_CHECK(loader.Pending() == 0);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static const FuzzScratch scratch;
    if (size < kParameterBytes)
        return 0;
    const Parameters p = ReadParameters(data);
    // The program's screen, as the background dialog makes its loader.
    static PictureLoader loader(QSize(1920, 1080), 8192, false);
    const std::uint8_t* bytes = data + kParameterBytes;
    const std::size_t length = size - kParameterBytes;
    const QByteArray file(reinterpret_cast<const char*>(bytes), qsizetype(length));
    const std::string path = scratch.Write("picture", bytes, length);

    CheckTextureSide(int(data[0] | data[1] << 8 | data[2] << 16) - (1 << 20), p.screen.width(), p.maxTextureSize);
    CheckJpegCompleteness(file);
    // Odd inputs through the loader's thread, the others straight through
    // the decoder with this input's screen and texture limit.
    if (data[5] & 1)
        CheckPicture(LoadThroughLoader(loader, QString::fromStdString(path)), file, {QSize(1920, 1080), 8192});
    else
        CheckPicture(PictureDecoder::Decode(QString::fromStdString(path), p.screen, p.maxTextureSize), file, p);
    return 0;
}
