// SPDX-License-Identifier: MIT
#pragma once
#include <string>

// Turns the built-in pictures into the scene's textures at start-up: each
// asset is extracted to the asset directory, loaded and deleted again before
// the next one, so no file of the built-in art is left on disk. An asset the
// program lacks gives a texture name without an image.
class BuiltinTextures {
public:
    static constexpr int kFishTextureCount = 20;

    // "BackGround0" (154) through the mipmapped loader, black keyed out.
    static unsigned LoadBackground(const std::string& assetDirectory);

    // "fish0".."fish19" (10000 + i) through the plain loader, in species order.
    static void LoadFish(const std::string& assetDirectory, unsigned (&textures)[kFishTextureCount]);
};
