// SPDX-License-Identifier: MIT
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstddef>
#include <vector>

// A user's picture with clear, half-clear and opaque black texels (64 x 64,
// mipmapped as the picture uploader makes them), made in the current
// context; every blend case of the picture pass shows in it. The caller
// owns the texture.
inline GLuint TranslucentPicture()
{
    std::vector<unsigned char> texels(64 * 64 * 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            unsigned char* p = &texels[std::size_t(y * 64 + x) * 4];
            p[0] = (unsigned char)(x * 4);
            p[1] = (unsigned char)(y * 4);
            p[2] = y > 56 ? 0 : (unsigned char)((x + y) * 2);
            p[3] = x < 8 ? 0 : (x < 16 ? 128 : 255);
        }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}
