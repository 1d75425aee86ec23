// SPDX-License-Identifier: MIT
#include "view/AquariumView.h"

#include "platform/GlFeatures.h"
#include "platform/MessageBox.h"
#include "resources/BuiltinArt.h"
#include "ui/ControlBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPixmap>
#include <QSurfaceFormat>
#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace {

// depth: whether the window has a depth buffer. The exact fixed-function
// frame needs one; the fast path keeps the fish's depth in a layer of its own
// and draws fastest into a window without one.
QSurfaceFormat RequiredFormat(bool depth = true)
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(depth ? 24 : 0);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    // Swap without waiting for the vertical blank: the 20 ms timer paces us.
    format.setSwapInterval(0);
    return format;
}

// The mode cursor from the built-in art, with its hot spot. Each is loaded
// once and kept for the life of the process; the cache is never destroyed,
// so no cursor is freed after the application object is gone.
QCursor ModeCursor(int cursorId)
{
    static auto* cache = new std::map<int, QCursor>;
    const auto found = cache->find(cursorId);
    if (found != cache->end())
        return found->second;
    QCursor cursor(Qt::ArrowCursor);
    if (const BuiltinArt::Entry* art = BuiltinArt::Find(cursorId, "CURSOR")) {
        QPixmap image;
        if (image.loadFromData(art->data, uint(art->size)))
            cursor = QCursor(image, art->hotX, art->hotY);
    }
    return cache->emplace(cursorId, cursor).first->second;
}

// Whether the GL the window will get offers the scene's fast path (PLOVI_GL
// honoured): asked of a context of the same kind on an off-screen surface,
// since the window's format must be settled before it exists.
bool FastPathOffered()
{
    QOffscreenSurface surface;
    surface.setFormat(RequiredFormat());
    surface.create();
    QOpenGLContext probe;
    probe.setFormat(RequiredFormat());
    if (!surface.isValid() || !probe.create() || !probe.makeCurrent(&surface))
        return false;
    const bool offered = GlFeatures::OfCurrentContext().FastPicture();
    probe.doneCurrent();
    return offered;
}

}  // namespace

AquariumView::AquariumView(ControlBar& controlBar) : AquariumView(&controlBar, Role::Desktop) {}

AquariumView::AquariumView(Role role) : AquariumView(nullptr, role) {}

AquariumView::AquariumView(ControlBar* controlBar, Role role) : m_controlBar(controlBar), m_role(role)
{
    m_scene.SetSettingsReadOnly(role == Role::Screensaver);
    setSurfaceType(QWindow::OpenGLSurface);
    setFormat(RequiredFormat());
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &AquariumView::OnTimer);
}

AquariumView::~AquariumView() { OnDestroy(); }

bool AquariumView::OnCreate(int screenWidth, int screenHeight)
{
    if (m_role == Role::Screensaver)
        m_scene.FitToScreen(screenWidth, screenHeight);
    else
        m_scene.SetScreenSize(screenWidth, screenHeight);
    // Without the fast path the frame needs a depth buffer; should the fast
    // path turn out not to work in the window's own context after all, the
    // window is made again with one.
    for (const bool depth : {!FastPathOffered(), true}) {
        setFormat(RequiredFormat(depth));
        create();
        m_context = std::make_unique<QOpenGLContext>();
        m_context->setFormat(RequiredFormat(depth));
        if (!m_context->create()) {
            m_context.reset();
            ShowMessageBox("ChoosePixelFormat failed", "PloviFishScr");
            return false;
        }
        if (!m_context->makeCurrent(this)) {
            m_context.reset();
            ShowMessageBox("SetPixelFormat failed", "PloviFishScr");
            return false;
        }
        m_sceneReady = m_scene.InitScene();
        if (depth || !m_sceneReady || !m_scene.NeedsDepthBuffer())
            return true;
        m_scene.Release();
        m_context->doneCurrent();
        m_context.reset();
        destroy();
    }
    return true;
}

QSize AquariumView::MaxDrawableSize()
{
    if (!m_context || !m_context->makeCurrent(this))
        return {};
    GLint viewport[2] = {0, 0};
    GLint texture = 0;
    QOpenGLFunctions* gl = m_context->functions();
    gl->glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    if (viewport[0] <= 0 || viewport[1] <= 0 || texture <= 0)
        return {};
    return QSize(std::min(viewport[0], texture), std::min(viewport[1], texture));
}

void AquariumView::StartTimer()
{
    m_fpsClock.start();
    m_timer.start();
}

bool AquariumView::MakeCurrent()
{
    return m_sceneReady && m_context && m_context->makeCurrent(this);
}

void AquariumView::PaintFrame()
{
    if (!isExposed() || !MakeCurrent())
        return;
    m_scene.RenderFrame();
    if (m_reportFps && m_role == Role::Screensaver)
        m_fpsOverlay.Draw(m_scene.ScreenWidth(), m_scene.ScreenHeight());
    m_context->swapBuffers(this);
    if (!std::exchange(m_firstFrameShown, true))
        emit firstFrameShown();
}

void AquariumView::OnTimer()
{
    PaintFrame();
    CountFrame();
    switch (m_scene.HandOverMusic()) {
    case AquariumScene::MusicAction::StopBuiltin: emit builtinMusicStopRequested(); break;
    case AquariumScene::MusicAction::RestartBuiltin: emit builtinMusicRestartRequested(); break;
    case AquariumScene::MusicAction::None: break;
    }
    const int modeBefore = m_scene.Mode();
    // Without a bar (a screensaver) the command stays "no mouse mode".
    int command = m_controlBar ? m_controlBar->Command() : CMD_NONE;
    const AquariumScene::TickAction action = m_scene.PollCommand(command);
    if (m_controlBar)
        m_controlBar->SetCommand(command);
    // A mode picked on the bar shows its cursor at once, not only after the
    // pointer next moves over the aquarium.
    if (m_scene.Mode() != modeBefore)
        SetModeCursor();
    switch (action) {
    case AquariumScene::TickAction::ShowMusicDialog: emit musicDialogRequested(); break;
    case AquariumScene::TickAction::ShowImageDialog: emit imageDialogRequested(); break;
    case AquariumScene::TickAction::Exit:
        OnDestroy();
        emit exitRequested();
        break;
    case AquariumScene::TickAction::None: break;
    }
}

void AquariumView::SetFramePeriod(int microseconds)
{
    m_timer.setInterval(std::max(1, (microseconds + 500) / 1000));
}

void AquariumView::CountFrame()
{
    if (!m_reportFps)
        return;
    const bool onScreen = m_role == Role::Screensaver;
    if (m_fpsFrames == 0 && !m_firstFrameReported && !onScreen) {
        m_firstFrameReported = true;
        const double ms = m_sinceStart ? m_sinceStart() : double(m_fpsClock.elapsed());
        std::fprintf(stderr, "first frame: %.0f ms after start\n", ms);
    }
    ++m_fpsFrames;
    if (m_sinceFrame.isValid())
        m_longestGapMs = std::max(m_longestGapMs, m_sinceFrame.restart());
    else
        m_sinceFrame.start();
    const qint64 elapsed = m_fpsClock.elapsed();
    if (elapsed >= 1000) {
        const double fps = m_fpsFrames * 1000.0 / double(elapsed);
        if (onScreen) {
            m_fpsOverlay.SetText(QString("FPS: %1").arg(fps, 0, 'f', 1), m_scene.ScreenHeight());
        } else {
            std::fprintf(stderr, "fps: %.1f (longest gap %lld ms)\n", fps, static_cast<long long>(m_longestGapMs));
            std::fflush(stderr);
        }
        m_fpsFrames = 0;
        m_longestGapMs = 0;
        m_fpsClock.restart();
    }
}

void AquariumView::OnDestroy()
{
    m_timer.stop();
    if (m_context) {
        // The scene's textures and display lists die with their context.
        if (m_sceneReady && m_context->makeCurrent(this))
            m_scene.Release();
        m_context->doneCurrent();
        m_context.reset();
    }
    m_sceneReady = false;
}

void AquariumView::exposeEvent(QExposeEvent*)
{
    // A window uncovered or shown draws a whole frame at once.
    PaintFrame();
}

void AquariumView::resizeEvent(QResizeEvent*)
{
    if (!MakeCurrent())
        return;
    const qreal ratio = devicePixelRatio();
    const int w = int(width() * ratio), h = int(height() * ratio);
    if (m_role == Role::Screensaver)
        m_scene.FitToScreen(w, h);
    m_scene.Resize(w, h);
}

QPoint AquariumView::DevicePoint(const QPointF& logical) const
{
    const qreal ratio = devicePixelRatio();
    return QPoint(int(logical.x() * ratio), int(logical.y() * ratio));
}

void AquariumView::mousePressEvent(QMouseEvent* event)
{
    if (m_role == Role::Screensaver)
        return;
    // The right button does nothing.
    if (event->button() != Qt::LeftButton)
        return;
    // The second press of a double click: the first press and release have
    // acted already, and the double click only updates the cursor, so one
    // double click feeds, touches or zooms once.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick) {
        SetModeCursor();
        return;
    }
    const QPoint p = DevicePoint(event->position());
    m_scene.OnLeftButtonDown(p.x(), p.y());
    SetModeCursor();
}

void AquariumView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_role == Role::Screensaver)
        return;
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = DevicePoint(event->position());
    m_scene.OnLeftButtonUp(p.x(), p.y());
    SetModeCursor();
}

void AquariumView::mouseDoubleClickEvent(QMouseEvent*)
{
    if (m_role == Role::Screensaver)
        return;
    // The first click of the pair already went through the press handler.
    SetModeCursor();
}

void AquariumView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_role == Role::Screensaver)
        return;
    SetModeCursor();
    const QPoint p = DevicePoint(event->position());
    m_scene.OnMouseMove(p.x(), p.y());
}

void AquariumView::keyPressEvent(QKeyEvent* event)
{
    if (m_role == Role::Desktop && event->key() == Qt::Key_Escape) {
        emit exitRequested();
        return;
    }
    if (m_role == Role::Desktop && event->key() == kPreferencesKey && event->modifiers() == Qt::NoModifier) {
        emit preferencesRequested();
        return;
    }
    QWindow::keyPressEvent(event);
}

void AquariumView::SetModeCursor()
{
    // Without a mouse mode the view shows the standard arrow.
    const int id = m_scene.ModeCursorId();
    if (id != 0)
        setCursor(ModeCursor(id));
    else
        unsetCursor();
}
