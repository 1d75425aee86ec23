// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

// A check box that paints itself: a round lamp (or one of two icons) beside
// its caption, with a rounded highlight while the pointer is over it. While
// the pointer is elsewhere it paints no face of its own.
//
// A click toggles the box and repaints it, then posts commandPosted(id)
// through the event queue, so the parent settles the final states after the
// toggle (a radio-like group leaves a clicked ticked box ticked by ticking
// it again). The parent listens to commandPosted, not to clicked().
class CheckButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CheckButton(QWidget* parent = nullptr);
    CheckButton(int controlId, const QString& text, QWidget* parent = nullptr);

    // 1 or 2 ticks the box, anything else clears it; repaints when redraw.
    void SetCheck(int value, bool redraw = true);
    // 1 ticked, 0 clear.
    int GetCheck() const;
    // Built-in art "ICON" ids drawn instead of the lamp; only when both
    // exist. Their size is the ticked icon's. Repaints.
    void SetIcons(int tickedIconId, int clearIconId);
    // Lamp colours: mark when ticked (default green 0x00FF00), clear when
    // not ticked and the inner ring (default dark green RGB(0, 127, 0)).
    void SetColours(const QColor& mark, const QColor& clear);
    // Lamp on the right end and the caption left of it. Default off.
    void SetTextOnLeft(bool on);
    // Horizontal caption placement: Qt::AlignLeft (default), AlignHCenter or
    // AlignRight. The caption is always centred vertically.
    void SetCaptionAlignment(Qt::Alignment alignment);
    void SetControlId(int id);
    int ControlId() const;
    bool IsHovered() const;
    // The smallest box that holds the mark and the whole caption: the mark
    // and the caption side by side with their insets and gap, as tall as the
    // taller of the two. Pixels.
    QSize sizeHint() const override;
    // Where the mark and the caption are drawn, in widget pixels (the caption
    // is drawn into its area, centred vertically, and is cut by it).
    QRect MarkSquare() const;
    QRect CaptionArea() const;
    // The flags the caption is drawn and measured with.
    int CaptionFlags() const;

signals:
    // Posted after a click has toggled the box.
    void commandPosted(int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void PostCommand();
    void SetHovered(bool hovered);
    bool HasIcons() const;
    // Paint steps; areas in widget pixels.
    void DrawFace(QPainter& painter) const;
    void DrawMark(QPainter& painter, const QRect& square, bool pressed) const;
    void DrawCaption(QPainter& painter, QRect area, bool pressed) const;

    QSize CaptionSize() const;

    static constexpr int kMarkSize = 15;  // pixels, side of the lamp's square
    static constexpr int kInset = 3;      // pixels from the edge to the mark: face, focus frame
    static constexpr int kGap = 3;        // pixels between the mark and the caption area
    int m_controlId = 0;
    bool m_hovered = false;
    bool m_textOnLeft = false;
    Qt::Alignment m_captionAlignment = Qt::AlignLeft;
    QColor m_markColour{0, 255, 0};
    QColor m_clearColour{0, 127, 0};
    QPixmap m_tickedIcon, m_clearIcon;
    int m_iconSize = 0;  // pixels
};
