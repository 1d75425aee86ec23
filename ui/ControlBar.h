// SPDX-License-Identifier: MIT
#pragma once

#include "base/CommandCodes.h"

#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <vector>

class DigitalClock;
class HyperLink;
class IconButton;

// The strip along the top edge of the screen: eight icon buttons, the
// seven-segment clock, the title and the link to the maker's site, on a
// picture whose key-coloured pixels are cut out of the window, so clicks
// there reach the aquarium below.
//
// The bar does not act on the scene. Each button except Add Fish stores a
// command code (Command()); the aquarium view reads it once per tick and
// writes CMD_NONE back (SetCommand) after a dialog was asked for. Add Fish
// asks for the fish settings dialog through addFishRequested().
//
// A frameless tool window of the full-screen aquarium's, kept above it. It
// is hidden until ShowOver puts it at the primary screen's top-left corner.
// Enter and Escape are swallowed, so the bar cannot be closed from the
// keyboard.
class ControlBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBitmapId = 153;
    static constexpr QRgb kColourKey = 0xFFD3DAE5;   // RGB(211, 218, 229): cut out
    static constexpr int kClockPeriodMs = 500;

    ControlBar();
    ~ControlBar() override;

    // Shows the bar at the primary screen's top-left corner, transient for
    // the frame (the full-screen aquarium window), and keeps it above the
    // frame whenever the frame is shown, activated or restacked. Does not
    // take the keyboard focus. On a screen too narrow for the buttons with
    // their captions the buttons show their icons alone; the clock, title
    // and link are left out where they cannot show whole.
    void ShowOver(QWidget& frame);

    // Places the buttons and texts for a screen of the given width (the
    // bar's own pixels). ShowOver calls it.
    void LayOut(int screenWidth);

    // Sets the clock to the current local time in the bar's colours.
    void OnTimer();

    // The command of the last button pressed (CMD_ codes). Mode codes stay
    // until another button is pressed; one-shot codes are consumed by the
    // view's tick. Starts in feed mode.
    int Command() const { return m_nCommand; }
    void SetCommand(int command) { m_nCommand = command; }

    DigitalClock& Clock() { return *m_clock; }
    HyperLink& Link() { return *m_hyperlink; }

    // A rectangle of the bar's template in dialog units as pixels (2 px per
    // unit both ways).
    static QRect FromDialogUnits(int x, int y, int width, int height);

signals:
    // Add Fish was pressed: the fish settings dialog is to be run.
    void addFishRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    static bool AnyDialogShows();
    bool DialogAsked() const;   // a click asked for a dialog that has not opened yet
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadPicture();
    void CreateButtons();
    void CreateTexts();
    void KeepAbove(QWidget& frame);
    // Button `index` (template order): its slot with the caption beside the
    // icon, or the icon alone packed from the left.
    static QRect ButtonPlace(int index, bool withCaptions);
    static bool IsSwallowedKey(const QEvent* event);

    QImage m_picture;        // bitmap 153; its size is the window's size
    QPixmap m_background;    // the same, ready to paint
    std::vector<IconButton*> m_buttons;   // template order; children of the bar
    QWidget* m_title = nullptr;
    HyperLink* m_hyperlink = nullptr;
    DigitalClock* m_clock = nullptr;
    QTimer m_clockTimer;
    QWidget* m_frame = nullptr;   // the window the bar stays above, once shown
    int m_nCommand = CMD_FEED;
};
