// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// The scene's built-in assets (the background picture, the twenty fish
// textures and the tune) are carried scrambled inside the program as "RCAD"
// entries. None is read from memory: an entry is written out to the asset
// directory as base name + ".ad", unscrambled next to it into an ordinary
// file (base name + ".bmp", or ".wav" for "Music"), loaded from there by the
// caller, and both files are deleted again. The store keeps no state.
//
// Caller's order for one asset: dir = GetAssetDirectory(); ExtractAsset(id,
// dir, base); load UsablePath(dir, base); DeleteAssetFile(ScrambledPath(dir,
// base)); DeleteAssetFile(UsablePath(dir, base)). The load and the deletes run
// whether or not the entry was found. After the last asset of a batch,
// ReleaseAssetDirectory(dir).
class AssetStore {
public:
    static constexpr int kBackgroundId = 154;   // "BackGround0"
    static constexpr int kFishIdBase = 10000;   // "fish0".."fish19": 10000 + species
    static constexpr int kMusicId = 227;        // "Music"

    // The per-user directory for the asset files, ending with '/'. When it
    // cannot be found or created, shows "Error Find TempPath." / "ERROR" and
    // returns "" (the files then land in the current directory).
    static std::string GetAssetDirectory();

    // Writes the "RCAD" entry resourceId to ScrambledPath(directory, baseName),
    // replacing any older file, then unscrambles it (UnscrambleAssetFile).
    // Returns false and writes nothing when the program has no such entry.
    static bool ExtractAsset(int resourceId, const std::string& directory, const std::string& baseName);

    // Turns ScrambledPath(directory, baseName) into UsablePath(directory,
    // baseName), one output byte per input byte. Either file failing to open
    // is fatal: "cannot open infile\n" or " cannot open outfile\n" goes to
    // standard error and the process ends with exit code 1.
    static void UnscrambleAssetFile(const std::string& directory, const std::string& baseName);

    // Removes the file; a missing file is not an error.
    static void DeleteAssetFile(const std::string& path);

    // Removes the (process's own) asset directory when it is empty, so that
    // nothing is left behind; a later GetAssetDirectory makes it again. Does
    // nothing for "" (the current directory) or a directory still holding files.
    static void ReleaseAssetDirectory(const std::string& directory);

    // ".wav" when baseName is exactly "Music" (case matters), else ".bmp".
    static std::string UsableExtension(const std::string& baseName);
    static std::string ScrambledPath(const std::string& directory, const std::string& baseName);
    static std::string UsablePath(const std::string& directory, const std::string& baseName);
};
