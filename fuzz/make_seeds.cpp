// SPDX-License-Identifier: MIT
// Writes the fuzz targets' starting inputs into <dir>/bmp, <dir>/settings,
// <dir>/unscramble and <dir>/picture: the program's own built-in pictures
// and their scrambled entries, small files of each BMP kind the loaders
// accept, the settings file a first start writes, and small photos of each
// kind a user may pick (and a few the decoder must refuse). Run by the
// build; nothing of it is kept in the source tree.
//
//   make_seeds DIR
#include "environment/AssetCipher.h"
#include "environment/AssetStore.h"
#include "platform/MessageBox.h"
#include "resources/BuiltinArt.h"
#include "settings/ReadSettings.h"
#include "tests/support/TestEnvironment.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(value >> (8 * i)));
}

// An uncompressed BMP of the given depth with rows padded to 4 bytes (or
// packed when `padded` is false), its pixels a simple pattern.
std::vector<std::uint8_t> MakeBmp(int width, int height, int bits, int paletteEntries, bool padded = true)
{
    const std::uint32_t rowBytes = padded ? ((bits * width + 31) / 32) * 4 : std::uint32_t(width * bits / 8);
    const std::uint32_t palette = bits == 8 ? 4u * (paletteEntries ? paletteEntries : 256) : 0;
    const std::uint32_t offset = 54 + palette, image = rowBytes * height;
    std::vector<std::uint8_t> out = {'B', 'M'};
    Put(out, offset + image, 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    for (std::uint32_t v : {40u, std::uint32_t(width), std::uint32_t(height)})
        Put(out, v, 4);
    Put(out, 1, 2);
    Put(out, std::uint32_t(bits), 2);
    for (std::uint32_t v : {0u, image, 2835u, 2835u, std::uint32_t(paletteEntries), 0u})
        Put(out, v, 4);
    for (std::uint32_t i = 0; i < palette / 4; ++i)
        Put(out, (i * 0x010203u) & 0xFFFFFFu, 4);
    const int entries = paletteEntries ? paletteEntries : 256;
    for (int y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < rowBytes; ++x)
            out.push_back(std::uint8_t(bits == 8 ? (x + y) % entries : (x * 37 + y * 11) & 0xFF));
    return out;
}

void Save(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
void Save(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    Save(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> Scrambled(const std::vector<std::uint8_t>& plain)
{
    AssetCipher cipher;
    std::vector<std::uint8_t> out;
    for (std::uint8_t b : plain)
        out.push_back(cipher.Scramble(b));
    return out;
}

QByteArray Encoded(const QImage& image, const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        std::fprintf(stderr, "make_seeds: no %s writer: %s\n", format, qPrintable(writer.errorString()));
    return bytes;
}

// A JPEG with an EXIF segment (big-endian TIFF, one IFD entry) holding the
// camera's orientation, 1..8.
QByteArray WithOrientation(const QByteArray& jpeg, int orientation)
{
    QByteArray app1("Exif\0\0MM\0\x2a\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0", 25);
    app1 += char(orientation);
    app1 += QByteArray(6, '\0');  // padding, no next IFD
    const int length = app1.size() + 2;
    return jpeg.left(2) + QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + app1 + jpeg.mid(2);
}

// Pictures for the photo target, each behind its six parameter bytes
// (screen 1920 x 1080, GL_MAX_TEXTURE_SIZE 8192), once straight through the
// decoder and once through the loader's thread (the last byte's low bit).
// Not square, so a turn shows.
void SavePictures(const fs::path& dir)
{
    QImage opaque(13, 6, QImage::Format_RGB32);
    opaque.fill(Qt::blue);
    QPainter(&opaque).fillRect(0, 0, 6, 6, Qt::red);
    QImage clear(9, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QPainter(&clear).fillRect(2, 1, 4, 2, QColor(200, 40, 10, 128));
    const QByteArray jpeg = Encoded(opaque, "jpeg");
    const QByteArray parameters[] = {QByteArray("\x7f\x07\x37\x04\x00\x20", 6),
                                     QByteArray("\x7f\x07\x37\x04\x00\x21", 6)};
    const struct {
        const char* name;
        QByteArray bytes;
    } pictures[] = {
        {"opaque.png", Encoded(opaque, "png")},
        {"alpha.png", Encoded(clear, "png")},
        {"grey.png", Encoded(opaque.convertToFormat(QImage::Format_Grayscale8), "png")},
        {"plain.jpg", jpeg},
        {"progressive.jpg", Encoded(opaque, "jpeg", true)},
        {"turned.jpg", WithOrientation(jpeg, 6)},
        {"mirrored.jpg", WithOrientation(jpeg, 5)},
        {"truncated.jpg", jpeg.left(jpeg.size() / 2)},
        {"opaque.bmp", Encoded(opaque, "bmp")},
        {"indexed.bmp", Encoded(opaque.convertToFormat(QImage::Format_Indexed8), "bmp")},
        // Qt reads GIF but cannot write it: the smallest one, 1 x 1.
        {"refused.gif", QByteArray("GIF89a\x01\0\x01\0\x80\0\0\xff\xff\xff\0\0\0!\xf9\x04\x01\0\0\0\0"
                                   ",\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;", 43)},
    };
    for (const auto& p : pictures)
        for (int way = 0; way < 2 && !p.bytes.isEmpty(); ++way) {
            const QByteArray input = parameters[way] + p.bytes;
            Save(dir / ((way ? "loader-" : "") + std::string(p.name)), std::string(input.constData(), std::size_t(input.size())));
        }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const fs::path root = argv[1];
    for (const char* sub : {"bmp", "settings", "unscramble", "picture"})
        fs::create_directories(root / sub);
    SavePictures(root / "picture");
    SetMessageBoxHandler([](const std::string&, const std::string&, MessageIcon) {});

    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } small[] = {
        {"palette-all.bmp", MakeBmp(5, 3, 8, 0)},   {"palette-4.bmp", MakeBmp(6, 2, 8, 4)},
        {"rgb-padded.bmp", MakeBmp(5, 3, 24, 0)},   {"rgb-packed.bmp", MakeBmp(4, 2, 24, 0, false)},
        {"rgba.bmp", MakeBmp(4, 4, 32, 0)},         {"rgb-square.bmp", MakeBmp(8, 8, 24, 0, false)},
    };
    for (const auto& s : small) {
        Save(root / "bmp" / s.name, s.bytes);
        Save(root / "unscramble" / (std::string(s.name) + ".ad"), Scrambled(s.bytes));
    }

    // The built-in art as the loaders see it, and its scrambled entries
    // (the first 16 KiB: enough for the fuzzer to work on the headers).
    TempDir work;
    const struct {
        int id;
        const char* base;
    } art[] = {{AssetStore::kBackgroundId, "BackGround0"}, {AssetStore::kFishIdBase, "fish0"},
               {AssetStore::kFishIdBase + 1, "fish1"}};
    for (const auto& a : art) {
        if (!AssetStore::ExtractAsset(a.id, work.Path(), a.base))
            continue;
        fs::copy_file(AssetStore::UsablePath(work.Path(), a.base), root / "bmp" / (std::string(a.base) + ".bmp"),
                      fs::copy_options::overwrite_existing);
        const BuiltinArt::Entry* entry = BuiltinArt::Find(a.id, "RCAD");
        Save(root / "unscramble" / (std::string(a.base) + ".ad"),
             std::string(reinterpret_cast<const char*>(entry->data), std::min<std::size_t>(entry->size, 16384)));
    }

    // The settings file of a first start, and one with the dialogs' lists;
    // each behind the change line the settings target reads first.
    ::setenv("XDG_CONFIG_HOME", work.Path().c_str(), 1);
    ReadSettings();
    const std::string firstRun = ReadWholeFile(work.Path() + "plovi/PloviSet.ini");
    Save(root / "settings" / "first-run.ini", "Aquarium Settings|FOGNONGDU|12\n" + firstRun);
    Save(root / "settings" / "lists.ini",
         "Custom Images|ImageList1|/home/u/b.png\n" + firstRun +
             "\n[Custom Images]\nOwnImage=1\nImageSum=2\nImageList0=/home/u/a b.jpg\nImageList1=\"/x/y.bmp\"\n"
             "[Custom Settings]\r\nOwnMusic=1\r\nMusicSum=1\r\nMusicList0=/m/song.mp3\r\n; end\r\n");
    return 0;
}
