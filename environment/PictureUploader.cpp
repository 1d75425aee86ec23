// SPDX-License-Identifier: MIT
#include "environment/PictureUploader.h"

#include <GL/glext.h>

namespace {

// Tightly packed rows, the caller's binding and pixel-store state kept.
class UploadStateScope {
public:
    UploadStateScope()
    {
        glPushAttrib(GL_TEXTURE_BIT);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        for (GLenum e : {GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS})
            glPixelStorei(e, 0);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
    ~UploadStateScope()
    {
        glPopClientAttrib();
        glPopAttrib();
    }
    UploadStateScope(const UploadStateScope&) = delete;
    UploadStateScope& operator=(const UploadStateScope&) = delete;
};

}  // namespace

GLuint PictureUploader::Upload(const std::vector<Level>& levels)
{
    if (levels.empty())
        return 0;
    UploadStateScope scope;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    for (std::size_t i = 0; i < levels.size(); ++i)
        glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA, levels[i].width, levels[i].height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, levels[i].rgba);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // A single level with a mipmapped filter would leave the texture
    // incomplete, which draws as if none were bound.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    levels.size() == 1 ? GL_LINEAR : GL_LINEAR_MIPMAP_NEAREST);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return 0;
    }
    return name;
}

void PictureUploader::Release(GLuint texture)
{
    if (texture != 0)
        glDeleteTextures(1, &texture);
}

int PictureUploader::MaxTextureSize()
{
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return int(size);
}
