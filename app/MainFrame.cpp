// SPDX-License-Identifier: MIT
#include "app/MainFrame.h"

#include "app/AquariumApp.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "resources/BuiltinArt.h"
#include "view/AquariumView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

CMainFrame::CMainFrame(ControlBar& controlBar) : m_controlBar(controlBar)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setWindowTitle(AquariumApp::kAppName);
    if (const BuiltinArt::Entry* icon = BuiltinArt::Find(128, "ICON")) {
        QPixmap image;
        if (image.loadFromData(icon->data, uint(icon->size)))
            setWindowIcon(QIcon(image));
    }
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate(bool reportFps)
{
    if (Paths::TempDirectory().empty()) {
        ShowMessageBox("Error Find TempPath.", "ERROR");
        return 0;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen->size() * screen->devicePixelRatio();

    auto view = std::make_unique<AquariumView>(m_controlBar);
    view->SetReportFps(reportFps);
    if (!view->OnCreate(size.width(), size.height()))
        return 1;
    m_view = view.release();
    m_container = QWidget::createWindowContainer(m_view, this);
    m_container->setFocusPolicy(Qt::StrongFocus);
    layout()->addWidget(m_container);
    m_view->StartTimer();
    return 0;
}

void CMainFrame::ShowMaximized()
{
    // The primary screen of however many there are. Without a window
    // manager showFullScreen alone leaves the window at its default size, so
    // cover the screen explicitly first; with one, the full-screen state
    // also puts the window over the desktop's panels.
    QScreen* screen = QGuiApplication::primaryScreen();
    winId();
    if (windowHandle())
        windowHandle()->setScreen(screen);
    setGeometry(screen->geometry());
    showFullScreen();
    TakeFocus();
}

void CMainFrame::TakeFocus()
{
    // Escape must work before the pointer has moved (there may be no window
    // manager to hand the focus over).
    activateWindow();
    if (m_view)
        m_view->requestActivate();
    else
        setFocus();
}

void CMainFrame::focusInEvent(QFocusEvent*)
{
    if (m_container)
        m_container->setFocus();
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        AquariumApp::EndProcess(0);
    // A window manager that focuses the frame on a click (openbox) leaves
    // the view inside without the keyboard: its keys (P) go on to it here.
    if (m_view) {
        QCoreApplication::sendEvent(m_view, event);
        return;
    }
    QWidget::keyPressEvent(event);
}
