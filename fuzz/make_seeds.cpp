// Writes the fuzz targets' starting inputs into <dir>/bmp, <dir>/settings
// and <dir>/unscramble: the program's own built-in pictures and their
// scrambled entries, small files of each BMP kind the loaders accept, and
// the settings file a first start writes. Run by the build; nothing of it
// is kept in the source tree.
//
//   make_seeds DIR
#include "environment/AssetCipher.h"
#include "environment/AssetStore.h"
#include "platform/MessageBox.h"
#include "resources/BuiltinArt.h"
#include "settings/ReadSettings.h"
#include "tests/support/TestEnvironment.h"

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const fs::path root = argv[1];
    for (const char* sub : {"bmp", "settings", "unscramble"})
        fs::create_directories(root / sub);
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
