// SPDX-License-Identifier: MIT
#pragma once

#include "view/FpsOverlay.h"
#include "view/scene/AquariumScene.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>

class QOpenGLContext;
class ControlBar;

// The native OpenGL window the aquarium is drawn in. It owns the GL context
// (compatibility profile, so fixed-function GL 1.1 works), the scene and the
// 20 ms frame timer. A native window swaps its buffers directly, which is what
// lets the tick hold at full-screen sizes on a software renderer.
class AquariumView : public QWindow {
    Q_OBJECT
public:
    // Desktop: the aquarium of the main frame, driven by the control bar's
    // command code. Screensaver: the scene alone in a window another program
    // owns; no input, no cursor, the settings file only read, and the scene
    // sized by the window, whatever size it has.
    enum class Role { Desktop, Screensaver };
    // Opens Preferences in the desktop aquarium (no modifier).
    static constexpr Qt::Key kPreferencesKey = Qt::Key_P;

    explicit AquariumView(ControlBar& controlBar);
    // A view without a control bar (the screensaver role).
    explicit AquariumView(Role role);
    ~AquariumView() override;

    // Creates the context and builds the scene for a screen of the given size
    // (device pixels). Returns false when no GL context with the required
    // format can be made; the message has then been shown and nothing else
    // was created. When the scene stops early (its message shown) the view
    // stays empty: it never draws a half-built scene, but its tick still
    // polls the bar so Exit works.
    bool OnCreate(int screenWidth, int screenHeight);

    // Starts the 20 ms frame timer.
    void StartTimer();

    // The largest drawable the GL implementation supports, in device
    // pixels: the smaller of GL_MAX_VIEWPORT_DIMS and GL_MAX_TEXTURE_SIZE in
    // each direction. Empty before OnCreate made the context.
    QSize MaxDrawableSize();

    // The measured frame rate once a second: on the picture in the
    // screensaver role (a daemon may show a module's standard error on the
    // screen), else to standard error after the time to the first frame, with the
    // longest time between two frames in that second ("fps: 49.9 (longest
    // gap 24 ms)").
    void SetReportFps(bool on) { m_reportFps = on; }

    // The frame period in microseconds (default 20,000); the timer ticks in
    // whole milliseconds, at least one.
    void SetFramePeriod(int microseconds);
    int FramePeriodMs() const { return m_timer.interval(); }

    AquariumScene& Scene() { return m_scene; }

    // Makes the scene's GL context current on this (the interface) thread,
    // for work that makes or deletes textures outside a frame. False when
    // there is no scene.
    bool MakeContextCurrent() { return MakeCurrent(); }

    // One tick: draw and swap, hand the music over, poll the command.
    void OnTimer();

    // Milliseconds since the process started, for the first-frame report;
    // the host sets it (the view has no clock of the process's own).
    void SetStartClock(std::function<double()> millisecondsSinceStart)
    {
        m_sinceStart = std::move(millisecondsSinceStart);
    }

signals:
    // The first frame was swapped to the screen (once).
    void firstFrameShown();
    // The Custom Music / Custom Background dialog is to be shown.
    void musicDialogRequested();
    void imageDialogRequested();
    // The Preferences key was pressed in the aquarium.
    void preferencesRequested();
    // The built-in tune is to be stopped (every tick while the user's music
    // is on) / restarted from its start (once, after it went off).
    void builtinMusicStopRequested();
    void builtinMusicRestartRequested();
    // Exit or Escape: the program is to end with code 0. The scene's GL
    // objects and the context are already released when this is emitted.
    void exitRequested();

protected:
    void exposeEvent(QExposeEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool MakeCurrent();
    void PaintFrame();
    void SetModeCursor();
    void CountFrame();
    void OnDestroy();
    QPoint DevicePoint(const QPointF& logical) const;

    AquariumView(ControlBar* controlBar, Role role);

    ControlBar* m_controlBar;   // null without a bar
    const Role m_role;
    AquariumScene m_scene;
    std::unique_ptr<QOpenGLContext> m_context;
    bool m_sceneReady = false;
    QTimer m_timer;
    bool m_reportFps = false;
    QElapsedTimer m_fpsClock;
    int m_fpsFrames = 0;
    FpsOverlay m_fpsOverlay;
    QElapsedTimer m_sinceFrame;  // since the last frame, for the longest gap
    qint64 m_longestGapMs = 0;
    bool m_firstFrameReported = false;
    bool m_firstFrameShown = false;
    std::function<double()> m_sinceStart;
};
