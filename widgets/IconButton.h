// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

// A push button that paints itself: flat by default, lit while the pointer
// is over it, with an optional icon left of or above its caption.
//
// Hover (flat buttons only): the first mouse move over the button sets the
// hover look and grabs the mouse, so the button sees the pointer leave even
// when it leaves fast or leaves the window; the move that finds the pointer
// outside clears the look and lets the grab go. A press dragged off keeps
// the grab until the release but loses the hover look at once. A non-flat
// button never tracks hover. Clicks are QAbstractButton::clicked().
class IconButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit IconButton(QWidget* parent = nullptr);
    IconButton(const QString& text, QWidget* parent = nullptr);

    // Icons from the built-in art ("ICON" ids): iconId is drawn while the
    // button is hovered or pressed, iconOutId otherwise (0: iconId too), both
    // at width x height pixels. An id without art leaves the button without
    // that icon. Repaints.
    void SetIcon(int iconId, int iconOutId, int width, int height);
    // Flat buttons only: a thin raised border while hovered, sunken while
    // pressed. Default on.
    void SetHoverBorder(bool on);
    // Default on; off gives the classic raised 3D button, without hover.
    void SetFlat(bool on);
    // 0 (default): icon left of the caption; 1: icon above the caption.
    void SetAlign(int align);
    // Default on; off draws the icon alone.
    void SetShowText(bool on);
    // Flat buttons only: draw the focus rectangle too. Default off.
    void SetFlatFocus(bool on);
    // Colours while hovered or pressed (active) and otherwise (inactive);
    // both default to the palette's button and button-text colours.
    void SetActiveColours(const QColor& background, const QColor& text);
    void SetInactiveColours(const QColor& background, const QColor& text);

    bool IsMouseOver() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetMouseOver(bool over);
    void EndHover();
    // Paint steps; each takes the item rectangle in widget pixels.
    void DrawBorder(QPainter& painter, const QRect& area, bool pressed) const;
    QRect DrawIcon(QPainter& painter, const QRect& area, bool hasCaption, bool pressed) const;
    void DrawCaption(QPainter& painter, QRect area, const QString& caption, bool pressed, bool lit) const;

    int m_align = 0;
    bool m_showText = true;
    bool m_hoverBorder = true;
    bool m_flat = true;
    bool m_flatFocus = false;
    bool m_mouseOver = false;
    QPixmap m_iconIn;   // hovered or pressed
    QPixmap m_iconOut;  // otherwise
    QSize m_iconSize;   // pixels
    QColor m_activeBackground, m_activeText, m_inactiveBackground, m_inactiveText;
};
