// SPDX-License-Identifier: MIT
#include "ui/PictureDecoder.h"
#include "ui/PictureLoader.h"

#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QSize kScreen(1024, 1024);
constexpr int kMaxTexture = 16384;

// Left half red, right half blue.
QImage TwoHalves(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

QByteArray Encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

void WriteFile(const std::string& path, const QByteArray& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
}

quint32 Crc32(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (24 - 8 * i));
}

// A real PNG whose header claims width x height, its checksum mended so
// only the size is wrong.
QByteArray PngDeclaring(quint32 width, quint32 height)
{
    QByteArray png = Encoded(TwoHalves(8, 8), "png");
    // Signature (8), length (4), "IHDR" at 12, width at 16, height at 20,
    // the chunk's CRC over type and data at 29.
    PutBigEndian(png, 16, width);
    PutBigEndian(png, 20, height);
    PutBigEndian(png, 29, Crc32(png.mid(12, 17)));
    return png;
}

// A JPEG with an EXIF segment saying how the camera was held.
QByteArray JpegWithOrientation(const QImage& image, quint16 orientation)
{
    const QByteArray jpeg = Encoded(image, "jpeg");
    // Big-endian TIFF with one IFD entry: Orientation (0x0112), SHORT, 1.
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xFF);
    tiff += QByteArray(2, '\0');
    tiff += QByteArray(4, '\0');  // no next IFD
    QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    const int length = app1.size() + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    return jpeg.left(2) + segment + app1 + jpeg.mid(2);
}

bool Reddish(QRgb p) { return qRed(p) > 180 && qBlue(p) < 80; }
bool Bluish(QRgb p) { return qBlue(p) > 180 && qRed(p) < 80; }

long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return -1;
}

// How far resident memory rose above where it stood (MB) while run ran;
// the kernel's peak mark is reset first. -1 when it cannot be reset.
long PeakGrowthMb(const std::function<void()>& run)
{
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS:");
    if (StatusKb("VmHWM:") > before + 1024)
        return -1;   // the mark was not reset
    run();
    return (StatusKb("VmHWM:") - before) >> 10;
}

// A 4-bit uncompressed BMP that declares width x height pixels but carries
// the data of a few rows only; Qt's reader shows the rows it finds.
QByteArray ShortBmpDeclaring(quint32 width, quint32 height)
{
    QByteArray bmp(14 + 40 + 16 * 4 + 64, '\x5a');
    const auto put = [&bmp](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, quint32(bmp.size()), 4);
    put(6, 0, 4);
    put(10, 14 + 40 + 16 * 4, 4);   // where the pixels start
    put(14, 40, 4);                 // BITMAPINFOHEADER
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, 4, 2);                  // bits per pixel
    for (int at = 30; at < 54; ++at)
        bmp[at] = 0;                // uncompressed, sizes and palette counts left to the reader
    return bmp;
}

// The JPEG with `count` empty comment segments after its start marker. The
// decoder links each one it keeps to the end of a list it walks from the
// start, so the cost grows with the square of the count.
QByteArray JpegWithComments(const QByteArray& jpeg, int count)
{
    QByteArray comments;
    comments.reserve(count * 6);
    for (int i = 0; i < count; ++i)
        comments += QByteArray("\xFF\xFE\x00\x04hi", 6);
    return jpeg.left(2) + comments + jpeg.mid(2);
}

// Bits into bytes, most significant first, with the 0x00 a JPEG puts after
// every 0xFF in scan data; the last byte is padded with ones.
class ScanBits {
public:
    void Put(unsigned value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_byte = (m_byte << 1) | ((value >> i) & 1);
            if (++m_used == 8)
                Flush();
        }
    }
    QByteArray Take()
    {
        while (m_used != 0)
            Put(1, 1);
        return std::move(m_bytes);
    }

private:
    void Flush()
    {
        m_bytes += char(m_byte);
        if (m_byte == 0xFF)
            m_bytes += '\0';
        m_byte = 0;
        m_used = 0;
    }
    QByteArray m_bytes;
    unsigned m_byte = 0;
    int m_used = 0;
};

QByteArray Segment(unsigned char marker, const QByteArray& body)
{
    const int length = body.size() + 2;
    return QByteArray("\xFF", 1) + char(marker) + char(length >> 8) + char(length & 0xFF) + body;
}

// A grey progressive JPEG of side x side pixels (side a multiple of 8): one
// scan of the DC values, then `acScans` scans of the AC values that each
// skip every block with end-of-band runs. An AC scan is 26 bytes, and each
// costs the decoder a pass over every block.
QByteArray ManyScanJpeg(int side, int acScans)
{
    const int blocks = (side / 8) * (side / 8);
    constexpr int kLongestRun = 32767;   // end-of-band run class 14, all extra bits set
    const int longRuns = blocks / kLongestRun, rest = blocks % kLongestRun;
    int restClass = 0;
    while ((2 << restClass) <= rest)
        ++restClass;
    const QByteArray sizeBytes = QByteArray(1, char(side >> 8)) + char(side & 0xFF);
    QByteArray jpeg("\xFF\xD8", 2);
    jpeg += Segment(0xDB, QByteArray(1, '\0') + QByteArray(64, '\1'));
    jpeg += Segment(0xC2, QByteArray(1, 8) + sizeBytes + sizeBytes + QByteArray("\x01\x01\x11\x00", 4));
    // DC table 0: difference class 0, code "0". AC table 0: the longest
    // run, code "0"; the last run, code "10".
    QByteArray counts(16, '\0');
    counts[0] = 1;
    jpeg += Segment(0xC4, QByteArray(1, '\x00') + counts + QByteArray(1, '\0'));
    counts[1] = 1;
    jpeg += Segment(0xC4, QByteArray(1, '\x10') + counts + char(0xE0) + char(restClass << 4));
    ScanBits dc;
    for (int i = 0; i < blocks; ++i)
        dc.Put(0, 1);
    jpeg += Segment(0xDA, QByteArray("\x01\x01\x00\x00\x00\x00", 6)) + dc.Take();
    ScanBits ac;
    for (int i = 0; i < longRuns; ++i) {
        ac.Put(0, 1);
        ac.Put(kLongestRun - (1 << 14), 14);
    }
    if (rest > 0) {
        ac.Put(2, 2);
        ac.Put(rest - (1 << restClass), restClass);
    }
    const QByteArray acScan = Segment(0xDA, QByteArray("\x01\x01\x00\x01\x3F\x00", 6)) + ac.Take();
    for (int i = 0; i < acScans; ++i)
        jpeg += acScan;
    return jpeg + QByteArray("\xFF\xD9", 2);
}

class PictureDecoderTest : public ::testing::Test {
protected:
    void SetUp() override { QImageReader::setAllocationLimit(PictureDecoder::kAllocationLimitMb); }
    std::string Path(const std::string& name) const { return m_dir.Path() + name; }
    DecodedPicture Decode(const std::string& path, QSize screen = kScreen, int maxTexture = kMaxTexture,
                          bool anySize = false) const
    {
        return PictureDecoder::Decode(QString::fromStdString(path), screen, maxTexture, anySize);
    }
    TempDir m_dir;
};

TEST_F(PictureDecoderTest, FilesThatAreNoPictureOrCannotBeReadGiveNothing)
{
    const QByteArray jpeg = Encoded(TwoHalves(256, 256), "jpeg");
    WriteFile(Path("truncated.jpg"), jpeg.left(jpeg.size() / 2));
    WriteFile(Path("bomb.png"), PngDeclaring(100000, 100000));
    // Inside the allocation limit, but far more pixels than the file can
    // hold: 57 MB of zeroed rows for 182 bytes.
    WriteFile(Path("claims.bmp"), ShortBmpDeclaring(13, 4587520));
    WriteFile(Path("text.png"), "This is not a picture.\n");
    WriteFile(Path("empty.bmp"), QByteArray());
    std::filesystem::create_directory(Path("folder.jpg"));
    ASSERT_EQ(::mkfifo(Path("pipe.png").c_str(), 0600), 0);
    WriteFile(Path("locked.png"), Encoded(TwoHalves(16, 16), "png"));
    ::chmod(Path("locked.png").c_str(), 0);
    const bool root = ::geteuid() == 0;   // root reads a file of mode 0 anyway

    const struct {
        const char* name;
        bool applies;
    } cases[] = {
        {"truncated.jpg", true}, {"bomb.png", true}, {"claims.bmp", true}, {"text.png", true}, {"empty.bmp", true},
        {"folder.jpg", true},    {"pipe.png", true}, {"vanished.png", true}, {"locked.png", !root},
    };
    for (const auto& c : cases) {
        if (!c.applies)
            continue;
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(Decode(Path(c.name)).Ok()) << c.name;
        // Refused from the header: nothing near the declared 40 GB is made.
        EXPECT_LT(clock.elapsed(), 5000) << c.name;
    }
    // The same bytes whole load, so the rows above fail for their fault.
    WriteFile(Path("whole.jpg"), jpeg);
    EXPECT_TRUE(Decode(Path("whole.jpg")).Ok());
}

// Whether decoding the file succeeds in a child process that has only
// spareMb of address space beyond what it already uses.
bool DecodesWithSpareMemory(const std::string& path, long spareMb)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlim_t bytes = rlim_t(StatusKb("VmSize:") + (spareMb << 10)) << 10;
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_AS, &limit);
        bool ok = false;
        try {
            ok = PictureDecoder::Decode(QString::fromStdString(path), kScreen, kMaxTexture).Ok();
        } catch (...) {
        }
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A picture costs what its texture weighs, not what its file claims.
// Address-space limits mean nothing under AddressSanitizer, whose shadow
// memory alone reserves terabytes.
TEST_F(PictureDecoderTest, DecodingCostsTheTextureNotWhatTheFileDeclares)
{
#ifdef PLOVI_SANITIZED
    GTEST_SKIP() << "address-space limits do not apply under AddressSanitizer";
#endif
    // A small picture: reading the file once set aside the whole 256 MB
    // file limit first.
    for (const char* format : {"png", "jpeg", "bmp"}) {
        const std::string path = Path(std::string("small.") + format);
        WriteFile(path, Encoded(TwoHalves(64, 48), format));
        Decode(path);   // image plugins loaded before the limit
        EXPECT_TRUE(DecodesWithSpareMemory(path, 64)) << format;
    }
    // An 8000 x 8000 grey PNG: 61 MB decoded at a byte per pixel, 244 MB
    // as 32-bit colour at full size, which the PNG reader's own scaling
    // once made of it (and its scaler then once more).
    QImage grey(8000, 8000, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        std::memset(grey.scanLine(y), y & 0xFF, size_t(grey.width()));
    const std::string large = Path("large.png");
    WriteFile(large, Encoded(grey, "png"));
    DecodedPicture picture;
    const long growthMb = PeakGrowthMb([&] { picture = Decode(large); });
    ASSERT_TRUE(picture.Ok());
    EXPECT_EQ(picture.levels.front().size(), QSize(1024, 1024));
    // The grey picture, a 4096 x 4096 sample of it in colour, the levels and
    // the reader's own buffers: about 200 MB, against 366 MB before.
    EXPECT_LT(growthMb, 250) << "(-1: the peak mark could not be reset)";
}

TEST_F(PictureDecoderTest, JpegCompletenessFollowsSegmentsAndScans)
{
    const QByteArray jpeg = Encoded(TwoHalves(64, 64), "jpeg");
    EXPECT_TRUE(PictureDecoder::JpegIsComplete(jpeg));
    for (const int cut : {2, 4, 20, int(jpeg.size()) / 2, int(jpeg.size()) - 2})
        EXPECT_FALSE(PictureDecoder::JpegIsComplete(jpeg.left(cut))) << cut;
    // A segment length running past the end.
    QByteArray lying = jpeg.left(4) + QByteArray("\xFF\xFF", 2);
    EXPECT_FALSE(PictureDecoder::JpegIsComplete(lying));
}

// Textures are powers of two up to the next one, capped by the screen's and
// GL's limits. Where the GL takes any size, a photo costs a screen-size
// texture of one level: a 6000 x 4000 photo on a 1920 x 1080 screen is 8 MB,
// not a mipmapped 2048 x 2048 of 22 MB; a picture smaller than the screen
// keeps its size.
TEST_F(PictureDecoderTest, TextureSizesFollowThePictureTheScreenAndGlsLimit)
{
    const struct {
        bool anySize;
        QSize picture, screen;
        int maxTexture;
        QSize texture;
    } cases[] = {
        {false, {300, 200}, {1024, 1024}, kMaxTexture, {512, 256}},    // up to the next power
        {false, {300, 200}, {256, 128}, kMaxTexture, {256, 128}},      // never past the screen's
        {false, {300, 200}, {1680, 1050}, 64, {64, 64}},               // nor past GL's limit
        {false, {256, 256}, {1680, 1050}, kMaxTexture, {256, 256}},    // already a power
        {false, {20, 10}, {1680, 1050}, kMaxTexture, {32, 16}},
        {true, {3000, 2000}, {1920, 1080}, kMaxTexture, {1920, 1080}},  // cut to the screen
        {true, {300, 200}, {1680, 1050}, kMaxTexture, {300, 200}},      // never enlarged
        {true, {3000, 2000}, {1920, 1080}, 1000, {1000, 1000}},         // nor past GL's limit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << "x" << c.picture.height() << " any size " << c.anySize);
        const std::string path = Path(c.anySize ? "p.jpg" : "p.bmp");
        WriteFile(path, Encoded(TwoHalves(c.picture.width(), c.picture.height()), c.anySize ? "jpeg" : "bmp"));
        const DecodedPicture picture = Decode(path, c.screen, c.maxTexture, c.anySize);
        ASSERT_TRUE(picture.Ok());
        EXPECT_EQ(picture.levels[0].size(), c.texture);
        EXPECT_TRUE(!c.anySize || picture.levels.size() == 1u) << picture.levels.size() << " levels";
    }
}

TEST_F(PictureDecoderTest, LevelsHalveDownToOnePixelFlippedAndInsideTheSafeColourRange)
{
    // Top half white, bottom half black.
    QImage image(256, 128, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(0, 0, 256, 64, Qt::white);
    WriteFile(Path("p.png"), Encoded(image, "png"));
    const DecodedPicture picture = Decode(Path("p.png"));
    ASSERT_EQ(picture.levels.size(), 9u);
    QSize expected(256, 128);
    for (const QImage& level : picture.levels) {
        EXPECT_EQ(level.size(), expected);
        EXPECT_EQ(level.format(), QImage::Format_RGBA8888);
        expected = QSize(std::max(1, expected.width() / 2), std::max(1, expected.height() / 2));
    }
    const QImage& full = picture.levels[0];
    // Bottom row first: the first line is the picture's black bottom.
    EXPECT_EQ(full.pixel(10, 0), qRgba(16, 16, 16, 255));
    EXPECT_EQ(full.pixel(10, 127), qRgba(235, 235, 235, 255));
    // The last level is the mean grey, still inside 16..235.
    const QRgb mean = picture.levels.back().pixel(0, 0);
    EXPECT_NEAR(qRed(mean), (16 + 235) / 2, 6);
}

TEST_F(PictureDecoderTest, ExifOrientationStandsAPhoneShotUpright)
{
    // 64 x 32, red left: held turned, orientation 6 wants 90 degrees
    // clockwise, which puts the red at the top of a 32 x 64 picture.
    WriteFile(Path("phone.jpg"), JpegWithOrientation(TwoHalves(64, 32), 6));
    const DecodedPicture turned = Decode(Path("phone.jpg"));
    ASSERT_TRUE(turned.Ok());
    const QImage& level = turned.levels[0];
    ASSERT_EQ(level.size(), QSize(32, 64));
    EXPECT_TRUE(Reddish(level.pixel(16, 60))) << "top (last line) is red";
    EXPECT_TRUE(Bluish(level.pixel(16, 4))) << "bottom (first line) is blue";

    WriteFile(Path("plain.jpg"), JpegWithOrientation(TwoHalves(64, 32), 1));
    const DecodedPicture plain = Decode(Path("plain.jpg"));
    ASSERT_TRUE(plain.Ok());
    EXPECT_EQ(plain.levels[0].size(), QSize(64, 32));
    EXPECT_TRUE(Reddish(plain.levels[0].pixel(4, 16)));
}

TEST_F(PictureDecoderTest, ProgressiveJpegAndInterlacedPngLoad)
{
    WriteFile(Path("progressive.jpg"), Encoded(TwoHalves(128, 64), "jpeg", true));
    const DecodedPicture progressive = Decode(Path("progressive.jpg"));
    ASSERT_TRUE(progressive.Ok());
    EXPECT_TRUE(Reddish(progressive.levels[0].pixel(10, 30)));
    EXPECT_TRUE(Bluish(progressive.levels[0].pixel(118, 30)));

    // Qt writes no interlaced PNG; ImageMagick does.
    WriteFile(Path("plain.png"), Encoded(TwoHalves(128, 64), "png"));
    const int rc = QProcess::execute("convert", {QString::fromStdString(Path("plain.png")), "-interlace", "PNG",
                                                 QString::fromStdString(Path("interlaced.png"))});
    if (rc != 0)
        GTEST_SKIP() << "no convert to write an interlaced PNG";
    QFile check(QString::fromStdString(Path("interlaced.png")));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    ASSERT_EQ(check.read(29).at(28), 1) << "IHDR says interlaced";
    const DecodedPicture interlaced = Decode(Path("interlaced.png"));
    ASSERT_TRUE(interlaced.Ok());
    EXPECT_TRUE(Reddish(interlaced.levels[0].pixel(10, 30)));
    EXPECT_TRUE(Bluish(interlaced.levels[0].pixel(118, 30)));
}

TEST_F(PictureDecoderTest, ClearPartsOfAPngStayClearSoTheBackdropShowsThrough)
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(32, 0, 32, 64, QColor(255, 0, 0));
    WriteFile(Path("clear.png"), Encoded(image, "png"));
    const DecodedPicture picture = Decode(Path("clear.png"));
    ASSERT_TRUE(picture.Ok());
    EXPECT_EQ(qAlpha(picture.levels[0].pixel(8, 8)), 0);
    EXPECT_EQ(qAlpha(picture.levels[0].pixel(56, 8)), 255);
    EXPECT_TRUE(Reddish(picture.levels[0].pixel(56, 8)));
}

TEST_F(PictureDecoderTest, LoaderDeliversEveryRequestInOrderOnItsOwnThread)
{
    WriteFile(Path("a.png"), Encoded(TwoHalves(64, 64), "png"));
    WriteFile(Path("c.bmp"), Encoded(TwoHalves(32, 32), "bmp"));
    PictureLoader loader(kScreen, kMaxTexture, false);
    std::vector<std::pair<QString, bool>> results;
    QObject::connect(&loader, &PictureLoader::decoded, [&](const QString& path, const DecodedPicture& picture) {
        EXPECT_EQ(QThread::currentThread(), loader.thread());
        results.emplace_back(QFileInfo(path).fileName(), picture.Ok());
    });
    for (const char* name : {"a.png", "missing.jpg", "c.bmp"})
        loader.Request(QString::fromStdString(Path(name)));
    EXPECT_EQ(loader.Pending(), 3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return results.size() == 3; }, 10000));
    EXPECT_EQ(loader.Pending(), 0);
    const std::vector<std::pair<QString, bool>> expected = {{"a.png", true}, {"missing.jpg", false}, {"c.bmp", true}};
    EXPECT_EQ(results, expected);
}

// Files that cost a decoder far more than their size (the quadratic comment
// list, thousands of scans over a large picture) are given up once their
// budget is spent. The same shapes at a harmless size decode, so it is the
// budget that stops the large ones, not a fault in the files.
TEST_F(PictureDecoderTest, CostlyJpegsAreGivenUpWhenTheirBudgetIsSpent)
{
    const QByteArray photo = Encoded(TwoHalves(64, 64), "jpeg");
    WriteFile(Path("few-comments.jpg"), JpegWithComments(photo, 50));
    WriteFile(Path("comments.jpg"), JpegWithComments(photo, 200000));
    WriteFile(Path("few-scans.jpg"), ManyScanJpeg(64, 5));
    WriteFile(Path("scans.jpg"), ManyScanJpeg(4096, 4000));
    for (const char* name : {"few-comments.jpg", "few-scans.jpg"})
        EXPECT_TRUE(Decode(Path(name)).Ok()) << name;

    // Processor time, not the clock, so a busy machine does not matter.
    constexpr double kBudget = 0.5;
    for (const char* name : {"comments.jpg", "scans.jpg"}) {
        const double before = DecodeBudget::ThreadSeconds();
        EXPECT_FALSE(PictureDecoder::Decode(QString::fromStdString(Path(name)), kScreen, kMaxTexture,
                                            DecodeBudget(kBudget))
                         .Ok())
            << name;
        const double used = DecodeBudget::ThreadSeconds() - before;
        EXPECT_GE(used, kBudget) << name << ": refused before its budget";
        EXPECT_LT(used, kBudget + 1.5) << name << ": went on long after its budget";
    }
}

TEST_F(PictureDecoderTest, LoaderGivesUpACostlyPictureThenLoadsTheNextAndCancelsOnItsWayOut)
{
    WriteFile(Path("comments.jpg"), JpegWithComments(Encoded(TwoHalves(64, 64), "jpeg"), 200000));
    WriteFile(Path("next.png"), Encoded(TwoHalves(64, 64), "png"));
    {
        PictureLoader loader(kScreen, kMaxTexture, false, nullptr, 0.5);
        std::vector<std::pair<QString, bool>> results;
        QObject::connect(&loader, &PictureLoader::decoded, [&](const QString& path, const DecodedPicture& picture) {
            results.emplace_back(QFileInfo(path).fileName(), picture.Ok());
        });
        for (const char* name : {"comments.jpg", "next.png"})
            loader.Request(QString::fromStdString(Path(name)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return results.size() == 2; }, 10000));
        const std::vector<std::pair<QString, bool>> expected = {{"comments.jpg", false}, {"next.png", true}};
        EXPECT_EQ(results, expected);
    }
    // With a budget of minutes, the loader going away stops the decoder at
    // its next read instead of waiting for the budget to run out.
    auto loader = std::make_unique<PictureLoader>(kScreen, kMaxTexture, false, nullptr, 600.0);
    loader->Request(QString::fromStdString(Path("comments.jpg")));
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    loader.reset();
    EXPECT_LT(clock.elapsed(), 10000);
}

}  // namespace
