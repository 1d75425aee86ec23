// SPDX-License-Identifier: MIT
#include "view/FpsOverlay.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <GL/gl.h>
#include <algorithm>

void FpsOverlay::SetText(const QString& text, int windowHeight)
{
    if (text.isEmpty()) {
        m_image = QImage();
        return;
    }
    QFont font;
    font.setPixelSize(std::clamp(windowHeight / 30, 10, 28));
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int pad = font.pixelSize() / 3 + 2;
    QImage image(metrics.horizontalAdvance(text) + 2 * pad, metrics.height() + 2 * pad, QImage::Format_RGBA8888);
    image.fill(QColor(0, 0, 0, 160));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    painter.end();
    // glDrawPixels starts at the bottom row.
    m_image = image.mirrored(false, true);
}

void FpsOverlay::Draw(int viewportWidth, int viewportHeight) const
{
    if (m_image.isNull() || viewportWidth <= 0 || viewportHeight <= 0)
        return;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, viewportWidth, 0, viewportHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glRasterPos2i(kMargin, kMargin);
    glDrawPixels(m_image.width(), m_image.height(), GL_RGBA, GL_UNSIGNED_BYTE, m_image.constBits());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();   // restores the matrix mode too
}
