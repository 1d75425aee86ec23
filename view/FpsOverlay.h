// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

// The frame rate written on the picture (a screensaver's "show frame rate"):
// light text on a dark box in the bottom-left corner, drawn over the frame in
// the current GL context just before the swap.
class FpsOverlay {
public:
    // The text to show from now on, at a size that suits a window that is
    // `windowHeight` pixels tall; "" shows nothing.
    void SetText(const QString& text, int windowHeight);

    // Draws the text into the current context's viewport of the given size
    // (pixels), leaving every GL state as it found it.
    void Draw(int viewportWidth, int viewportHeight) const;

    const QImage& Image() const { return m_image; }   // bottom row first, RGBA

    static constexpr int kMargin = 6;   // pixels from the left and bottom edges

private:
    QImage m_image;
};
