// SPDX-License-Identifier: MIT
#include "environment/BuiltinTextures.h"

#include "environment/AssetStore.h"
#include "environment/TextureLoader.h"

namespace {

template <class Loader>
unsigned LoadAsset(const std::string& directory, int id, const std::string& baseName, Loader load)
{
    AssetStore::ExtractAsset(id, directory, baseName);
    GLuint name = 0;
    load(AssetStore::UsablePath(directory, baseName), name);
    AssetStore::DeleteAssetFile(AssetStore::ScrambledPath(directory, baseName));
    AssetStore::DeleteAssetFile(AssetStore::UsablePath(directory, baseName));
    return name;
}

}  // namespace

unsigned BuiltinTextures::LoadBackground(const std::string& assetDirectory)
{
    return LoadAsset(assetDirectory, AssetStore::kBackgroundId, "BackGround0",
                     [](const std::string& path, GLuint& name) { LoadMipmappedTexture(path, name); });
}

void BuiltinTextures::LoadFish(const std::string& assetDirectory, unsigned (&textures)[kFishTextureCount])
{
    for (int i = 0; i < kFishTextureCount; ++i)
        textures[i] = LoadAsset(assetDirectory, AssetStore::kFishIdBase + i, "fish" + std::to_string(i),
                                [](const std::string& path, GLuint& name) { LoadTexture(path, name); });
}
