// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class AquariumView;
class ControlBar;

// The frameless top-level window that covers the primary screen; the
// aquarium view is its only child.
class CMainFrame : public QWidget {
    Q_OBJECT
public:
    explicit CMainFrame(ControlBar& controlBar);
    ~CMainFrame() override;

    // Creates the view and its scene. 0 on success; 1 when the view could not
    // get its GL context. When the temp directory is missing the message is
    // shown and the frame stays empty (still 0).
    int OnCreate(bool reportFps);

    // Covers the primary screen (full screen, over the desktop's panels),
    // shows the frame and takes the keyboard focus.
    void ShowMaximized();
    // Raises and activates the frame and gives the keyboard to the view.
    void TakeFocus();

    AquariumView* View() { return m_view; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    ControlBar& m_controlBar;
    AquariumView* m_view = nullptr;   // owned by its container widget
    QWidget* m_container = nullptr;
};
