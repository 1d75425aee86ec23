#pragma once

#include "view/scene/AquariumScene.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
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
    explicit AquariumView(ControlBar& controlBar);
    ~AquariumView() override;

    // Creates the context and builds the scene for a screen of the given size
    // (device pixels). Returns false when no GL context with the required
    // format can be made; the message has then been shown and nothing else
    // was created.
    bool OnCreate(int screenWidth, int screenHeight);

    // Starts the 20 ms frame timer.
    void StartTimer();

    // Print the time to the first frame, then the measured frame rate once a
    // second, to standard error.
    void SetReportFps(bool on) { m_reportFps = on; }

    AquariumScene& Scene() { return m_scene; }

    // One tick: draw and swap, hand the music over, poll the command.
    void OnTimer();

signals:
    // The Custom Music / Custom Background dialog is to be shown.
    void musicDialogRequested();
    void imageDialogRequested();

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

    ControlBar& m_controlBar;
    AquariumScene m_scene;
    std::unique_ptr<QOpenGLContext> m_context;
    bool m_sceneReady = false;
    QTimer m_timer;
    bool m_reportFps = false;
    QElapsedTimer m_fpsClock;
    int m_fpsFrames = 0;
    bool m_firstFrameReported = false;
};
