// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QLabel>

#include <functional>

// The program's web address, shown and opened by the control bar's and the
// dialogs' links.
inline constexpr const char kMakerAddress[] = "https://plovi-aquarium.example.org";

// A text label that is a web link: underlined text in link colours, a hand
// cursor, the address as tooltip, and a click that opens the address.
//
// Colours: link RGB(0, 0, 238) before a visit, visited RGB(85, 26, 139)
// after a successful one, the palette's highlight colour (read at
// construction) while the pointer is over the link. The first mouse move over
// the link grabs the mouse, so the move that finds the pointer outside
// restores the colour at once.
//
// Attach() (done at the first show unless called before) finishes the set-up
// once text, address and geometry are in place: an empty address takes the
// text and an empty text takes the address, the font is underlined, and the
// label is resized to its text.
class HyperLink : public QLabel {
    Q_OBJECT

public:
    // Opens an address; returns a code of the error table, above 32 when the
    // address was opened.
    using Launcher = std::function<int(const QString& address)>;

    explicit HyperLink(QWidget* parent = nullptr);
    HyperLink(const QString& text, QWidget* parent = nullptr);

    void SetAddress(const QString& address);
    QString Address() const;
    // Shown in every state instead of the link colours; an invalid colour
    // (the default) restores them.
    void SetForcedTextColor(const QColor& colour);
    // Before Attach(): underline the text (default on), resize the label to
    // its text (default on).
    void SetUnderline(bool on);
    void SetAdjustToFit(bool on);
    // The launcher used on a click; an empty one restores the default,
    // BrowserLauncher::Open.
    void SetLauncher(Launcher launcher);

    // Gives the font the largest pixel size, from largestPx down to
    // smallestPx, at which the whole text (underlined, as Attach() shows it)
    // is at most width pixels wide; smallestPx when none is.
    void FitFontToWidth(int width, int largestPx, int smallestPx);

    void Attach();
    bool IsVisited() const;
    bool IsOver() const;
    // The text colour of the current state.
    QColor TextColour() const;

    // "Unable to open hyperlink:\n\n" and the text for a failure code.
    static QString ErrorMessage(int code);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Follow();
    void SetOver(bool over);
    void AdjustToFit();
    void ApplyColour();

    QColor m_linkColour{0, 0, 238};
    QColor m_visitedColour{85, 26, 139};
    QColor m_hoverColour;
    QColor m_forcedColour;
    bool m_over = false;
    bool m_visited = false;
    bool m_underline = true;
    bool m_adjustToFit = true;
    bool m_attached = false;
    bool m_pressed = false;
    QString m_address;
    Launcher m_launcher;
};
