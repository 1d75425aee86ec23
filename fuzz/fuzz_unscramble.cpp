// SPDX-License-Identifier: MIT
// The asset unscrambler on any scrambled copy: one output byte per input
// byte, the cipher's inverse, for the picture and the tune names alike.
#include "environment/AssetCipher.h"
#include "environment/AssetStore.h"
#include "fuzz/FuzzScratch.h"
#include "tests/support/TestEnvironment.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    const std::string base = (size && (data[0] & 1)) ? "Music" : "fish7";
    scratch.Write(base + ".ad", data, size);
    AssetStore::UnscrambleAssetFile(scratch.Dir(), base);
    const std::string out = ReadWholeFile(AssetStore::UsablePath(scratch.Dir(), base));
    FUZZ_CHECK(out.size() == size);
    AssetCipher unscramble, scramble;
    for (std::size_t i = 0; i < size; ++i) {
        FUZZ_CHECK(std::uint8_t(out[i]) == unscramble.Unscramble(data[i]));
        FUZZ_CHECK(scramble.Scramble(std::uint8_t(out[i])) == data[i]);
    }
    AssetStore::DeleteAssetFile(AssetStore::ScrambledPath(scratch.Dir(), base));
    AssetStore::DeleteAssetFile(AssetStore::UsablePath(scratch.Dir(), base));
    return 0;
}
