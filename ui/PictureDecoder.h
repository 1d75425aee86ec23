// SPDX-License-Identifier: MIT
#pragma once

#include "ui/DecodeBudget.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

// A user's picture made ready for a texture, off the GL thread. levels[0] is
// the full level; for a texture whose sides must be powers of two each next
// level is half the previous one down to 1 x 1, otherwise it is the only
// level. Every level is RGBA8888 (straight alpha), bottom row first (the
// picture flipped vertically, as texture coordinate t = 0 expects), with
// every colour channel mapped into 16..235 so the colours stay inside what
// a television can show. Empty levels mean the file could not be read.
struct DecodedPicture {
    std::vector<QImage> levels;
    bool Ok() const { return !levels.empty(); }
};

// Decodes JPEG, PNG and BMP files the user picked, which are untrusted: the
// file must be a regular file of at most kMaxFileBytes, the decoded image
// may not need more than kAllocationLimitMb nor declare more than
// kMaxPixelsPerByte pixels per byte of the file, and a JPEG whose data ends
// before its end marker is refused instead of showing grey where the lost
// part was. The EXIF orientation is applied.
//
// Sides: with anySize (the GL takes textures of any size) each side is the
// picture's, but never above the screen's nor maxTextureSize, and there is
// one level: the picture fills the screen, so it is never drawn smaller than
// its texture and needs no smaller levels. Ten photos then cost ten
// screen-size textures (8 MB each at 1920 x 1080) instead of ten 2048 x 2048
// mipmapped ones (22 MB each). Without anySize each side is a power of two:
// the next one at or above the picture's side, but never above the next one
// at or above the screen's side nor above maxTextureSize, with every level.
//
// Decoding stops with nothing once its budget is spent (a picture that costs
// more than kBudgetSeconds of processor time is broken or hostile) or
// cancelled.
//
// Thread-safe: Decode keeps no state, so worker threads may call it at once.
class PictureDecoder {
public:
    static constexpr qint64 kMaxFileBytes = qint64(256) << 20;
    static constexpr int kAllocationLimitMb = 256;
    // The most pixels a file may declare per byte it holds: what deflate at
    // its best (about 1032 to 1) gives a PNG of one bit per pixel. No real
    // picture comes near it (a JPEG of one flat colour holds under 60 per
    // byte); a file declaring more is broken or hostile, and decoding it
    // would cost the declared size in memory and time for nothing.
    static constexpr qint64 kMaxPixelsPerByte = 8 * 1032;
    // Processor seconds one picture may take. A 24-megapixel photo takes
    // about a tenth of a second here, and several times that in a
    // sanitizer build; a JPEG of 200,000 comment segments would take minutes.
    static constexpr double kBudgetSeconds = 4.0;

    // screen: pixels; maxTextureSize: GL_MAX_TEXTURE_SIZE of the context
    // the picture will be uploaded to.
    // The path is as FileNameText gives it (a name that is not UTF-8 keeps
    // its bytes). budget: made on the calling thread. anySize: see above.
    static DecodedPicture Decode(const QString& path, const QSize& screen, int maxTextureSize,
                                 const DecodeBudget& budget, bool anySize = false);
    // With a budget of kBudgetSeconds from now and no cancel flag.
    static DecodedPicture Decode(const QString& path, const QSize& screen, int maxTextureSize,
                                 bool anySize = false);

    // The texture side for a picture side (pixels): see above. At least 1.
    static int TextureSide(int pictureSide, int screenSide, int maxTextureSize, bool anySize = false);

    // Whether JPEG data runs from its start marker through its segments and
    // entropy-coded scans to an end marker without running out.
    static bool JpegIsComplete(const QByteArray& data);

    // Maps each colour channel of an RGBA8888 image into 16..235 in place.
    static void MakeNtscSafe(QImage& rgba);
};
