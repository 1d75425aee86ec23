// SPDX-License-Identifier: MIT
#include "platform/GlFeatures.h"

#include <gtest/gtest.h>

namespace {
const char kFull[] =
    "GL_ARB_multisample GL_ARB_fragment_program GL_EXT_framebuffer_object GL_EXT_bgra "
    "GL_ARB_texture_non_power_of_two GL_SGIS_texture_edge_clamp";
}

// Each feature counts only when the version or the extension list names it;
// the fast picture needs all of them.
TEST(GlFeatures, VersionsAndExtensionsOpenEachFeature)
{
    const GlFeatures mesa = GlFeatures::FromStrings("4.5 (Compatibility Profile) Mesa 22.3.6", kFull, nullptr);
    EXPECT_TRUE(mesa.FastPicture());

    // A 1.1 implementation: nothing beyond it, whatever the list claims of
    // versions (bgra and edge clamping come with 1.2 or their extensions).
    const GlFeatures plain = GlFeatures::FromStrings("1.1.0", "GL_EXT_texture_object", nullptr);
    EXPECT_FALSE(plain.fragmentPrograms || plain.framebufferObjects || plain.anySizeTextures ||
                 plain.bgraTextures || plain.edgeClamp);

    // 1.4 with the extensions: everything but textures of any size, so no
    // fast picture; 2.0 brings them.
    const char* noAnySize = "GL_ARB_fragment_program GL_EXT_framebuffer_object";
    const GlFeatures old = GlFeatures::FromStrings("1.4", noAnySize, nullptr);
    EXPECT_TRUE(old.fragmentPrograms && old.framebufferObjects && old.bgraTextures && old.edgeClamp);
    EXPECT_FALSE(old.anySizeTextures);
    EXPECT_FALSE(old.FastPicture());
    EXPECT_TRUE(GlFeatures::FromStrings("2.1", noAnySize, nullptr).FastPicture());
    // 3.0 has render targets of its own; fragment programs stay an extension.
    EXPECT_TRUE(GlFeatures::FromStrings("3.0", "", nullptr).framebufferObjects);
    EXPECT_FALSE(GlFeatures::FromStrings("4.6", "", nullptr).FastPicture());
}

TEST(GlFeatures, ExtensionNamesMatchWholeWordsOnly)
{
    const GlFeatures f =
        GlFeatures::FromStrings("2.1", "GL_ARB_fragment_program_shadow XGL_EXT_framebuffer_object", nullptr);
    EXPECT_FALSE(f.fragmentPrograms);
    EXPECT_FALSE(f.framebufferObjects);
    EXPECT_TRUE(GlFeatures::FromStrings("2.1", "GL_EXT_framebuffer_object", nullptr).framebufferObjects);
}

TEST(GlFeatures, PloviGl11OrAnUnreadableVersionMeansPlain11)
{
    EXPECT_FALSE(GlFeatures::FromStrings("4.5", kFull, "1.1").FastPicture());
    EXPECT_FALSE(GlFeatures::FromStrings("4.5", kFull, "1.1").anySizeTextures);
    // Any other value leaves the implementation's own answer.
    EXPECT_TRUE(GlFeatures::FromStrings("4.5", kFull, "").FastPicture());
    EXPECT_TRUE(GlFeatures::FromStrings("4.5", kFull, "2").FastPicture());
    for (const char* version : {(const char*)nullptr, "", "OpenGL", "4", "4.x"})
        EXPECT_FALSE(GlFeatures::FromStrings(version, kFull, nullptr).FastPicture()) << (version ? version : "null");
}
