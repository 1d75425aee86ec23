// SPDX-License-Identifier: MIT
// The art generator: paints every built-in picture, icon and cursor, composes
// the tune, and writes them with the embedding files into the directory given
// as its only argument. Deterministic: the same files on every run.
#include "ArtPackage.h"
#include "Background.h"
#include "ContactSheet.h"
#include "FishPreview.h"
#include "FishDesigns.h"
#include "FishTexture.h"
#include "Icons.h"
#include "Panels.h"
#include "Tune.h"

#include <cstdio>
#include <filesystem>
#include <exception>

namespace {

Bytes EncodeFishTexture(const FishSpecies& species, const Canvas& texture)
{
    switch (species.bits) {
    case 8: return Encoders::Bmp8(texture, species.paletteColours, species.zeroPaletteCount);
    case 32: return Encoders::Bmp32(texture);
    default: return Encoders::Bmp24(texture);
    }
}

// The twenty fish textures (RCAD 10000 + i) and the species grid (BITMAP 129).
Canvas AddFish(ArtPackage& package, ContactSheet& sheet)
{
    const auto& all = AllSpecies();
    std::vector<Canvas> textures, views, cells;
    std::vector<std::string> names;
    sheet.Section("FISH TEXTURES: RCAD 10000 + N");
    for (std::size_t i = 0; i < all.size(); ++i) {
        textures.push_back(PaintFishTexture(all[i]));
        package.AddAsset(10000 + int(i), "fish" + std::to_string(i), ".bmp", EncodeFishTexture(all[i], textures.back()));
        sheet.Add("FISH" + std::to_string(i) + " " + std::to_string(all[i].bits) + " BIT", textures.back(), 160, 160);
        names.push_back(all[i].name);
    }
    sheet.Section("FISH AS THE MODEL WEARS THEM");
    for (std::size_t i = 0; i < all.size(); ++i) {
        views.push_back(RenderFishSideView(textures[i], 300, 170));
        cells.push_back(RenderFishSideView(textures[i], 94, 54));
        sheet.Add(std::to_string(i) + " " + all[i].name, views.back(), 300, 170);
    }
    const Canvas grid = PaintSpeciesGrid(cells, names);
    package.AddImage(129, "BITMAP", "bitmap129-species", ".bmp", Encoders::Bmp32(grid));
    return grid;
}

void AddScenePictures(ArtPackage& package, ContactSheet& sheet, const Canvas& grid)
{
    sheet.Section("BACKGROUND0: RCAD 154 (BLACK = SEE-THROUGH, SHOWN AS CHECKERBOARD)");
    const Canvas background = PaintBackground();
    package.AddAsset(154, "BackGround0", ".bmp", Encoders::Bmp24(KeyedForStorage(background)));
    sheet.Add("BACKGROUND0 1024 X 512", background, 1024, 512);
    sheet.Add("SPECIES GRID: BITMAP 129", grid, 500, 512);
}

void AddWindowArt(ArtPackage& package, ContactSheet& sheet)
{
    sheet.Section("CONTROL BAR: BITMAP 153 (2016 X 64, KEY 211 218 229)");
    const Canvas bar = PaintControlBar();
    package.AddImage(153, "BITMAP", "bitmap153-controlbar", ".bmp", Encoders::Bmp24(bar));
    sheet.Add("BITMAP 153 LEFT HALF", bar.Resized(1008, 32), 1008, 32);
    sheet.Section("ICONS AND CURSORS (SHOWN 3X)");
    for (int id : {136, 160, 134, 135, 180, 253, 232, 175, 184, 183}) {
        const Canvas icon = PaintIcon(id);
        package.AddImage(id, "ICON", "icon" + std::to_string(id), ".png", Encoders::Png(icon, true), icon.Width() / 2,
                         icon.Height() / 2);
        sheet.Add("ICON " + std::to_string(id), icon, 96, 96, 3);
    }
    for (int id : {158, 159, 163, 164, 167, 177, 169, 178}) {
        CursorArt cursor = PaintCursor(id);
        package.AddImage(id, "CURSOR", "cursor" + std::to_string(id), ".png", Encoders::Png(cursor.image, true),
                         cursor.hotX, cursor.hotY);
        // Mark the hot spot on the contact sheet's copy.
        cursor.image.Blend(cursor.hotX, cursor.hotY, Rgb{1, 0, 1}, 1.0f);
        sheet.Add("CURSOR " + std::to_string(id), cursor.image, 96, 96, 3);
    }
    const Canvas fishTexture = PaintFishTexture(AllSpecies()[0]);
    const Canvas icon = PaintProgramIcon(fishTexture, 64);
    package.AddImage(128, "ICON", "icon128-program", ".png", Encoders::Png(icon, true), 32, 32);
    sheet.Add("ICON 128", icon, 128, 128, 2);
}

// The program's icon for the desktop's icon theme, one file per size, in the
// hicolor layout (icons/hicolor/NxN/apps/plovi.png); installed, not embedded.
void AddThemeIcons(const std::string& directory, ContactSheet& sheet)
{
    sheet.Section("DESKTOP ICONS (HICOLOR THEME)");
    const Canvas fishTexture = PaintFishTexture(AllSpecies()[0]);
    for (int size : kThemeIconSizes) {
        const Canvas icon = PaintProgramIcon(fishTexture, size);
        const std::string dir = directory + "icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/";
        std::filesystem::create_directories(dir);
        Encoders::WriteFile(dir + "plovi.png", Encoders::Png(icon, true));
        sheet.Add(std::to_string(size) + " PX", icon, size, size);
    }
}

void AddTune(ArtPackage& package)
{
    package.AddAsset(227, "Music", ".wav", Encoders::Wav16(ComposeTune(), kTuneSampleRate));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    try {
        ArtPackage package(argv[1]);
        ContactSheet sheet(1600);
        const Canvas grid = AddFish(package, sheet);
        AddScenePictures(package, sheet, grid);
        AddWindowArt(package, sheet);
        AddTune(package);
        AddThemeIcons(package.Directory(), sheet);
        Encoders::WriteFile(package.Directory() + "contact-sheet.png", Encoders::Png(sheet.Render(), false));
        package.WriteIndex();
        std::printf("plovi_artgen: %zu bytes of art embedded\n", package.EmbeddedBytes());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plovi_artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
