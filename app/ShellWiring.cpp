// SPDX-License-Identifier: MIT
#include "app/ShellWiring.h"

#include "app/AquariumApp.h"
#include "app/DialogPlacement.h"
#include "platform/qt/TaskbarEntry.h"
#include "sound/BuiltinTune.h"
#include "sound/MusicDialog.h"
#include "ui/BackgroundDialog.h"
#include "ui/ControlBar.h"
#include "ui/FishSettingsDialog.h"
#include "ui/PreferencesDialog.h"
#include "view/AquariumView.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

ShellWiring::ShellWiring(ControlBar& bar, AquariumView& view) : m_bar(bar), m_view(view)
{
    m_view.SetStartClock(&AquariumApp::MillisecondsSinceStart);
    ConnectView();
    ConnectBar();
    ConnectMusic();
    ConnectBackground();
    ConnectPreferences();
    AquariumApp::AddShutdownHook([this] { SaveOnExit(); });
}

ShellWiring::~ShellWiring() = default;

void ShellWiring::ConnectView()
{
    // The view has released its scene and context before it asks to end.
    connect(&m_view, &AquariumView::exitRequested, this, [] { AquariumApp::EndProcess(0); });
}

void ShellWiring::ConnectBar()
{
    connect(&m_bar, &ControlBar::addFishRequested, this, &ShellWiring::RunFishSettings);
}

// One modal run over the aquarium, which keeps animating meanwhile; the
// dialog belongs to the aquarium's window, so the keyboard goes back there.
void ShellWiring::RunFishSettings()
{
    FishSettingsDialog dialog;
    PrepareOwnDialog(dialog);
    m_fishDialog = &dialog;
    dialog.exec();
    m_fishDialog = nullptr;
}

QWidget* ShellWiring::Frame() const
{
    QWindow* top = &m_view;
    while (top->parent())
        top = top->parent();
    return QWidget::find(top->winId());
}

void ShellWiring::PrepareOwnDialog(QWidget& dialog)
{
    // Placed before its native window is made, which then takes the place as
    // the client area's. Transient for the aquarium before it is first
    // mapped: it then opens above the full-screen window, and with no task
    // of its own belongs to the same application.
    //
    // The dialogs have no parent widget: making the native window of a
    // child of the frame (winId) makes every other child of the frame native
    // too, and the view's container then gets a window of its own that
    // covers the tank with black.
    Q_ASSERT(!dialog.parentWidget());
    DialogPlacement::Centre(dialog);
    dialog.installEventFilter(this);
    dialog.winId();
    QWidget* frame = Frame();
    if (QWindow* window = dialog.windowHandle()) {
        if (frame && frame->windowHandle())
            window->setTransientParent(frame->windowHandle());
        TaskbarEntry::Skip(*window);
    }
}

bool ShellWiring::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog that closes with the keyboard hands it to the aquarium, so
    // its keys (Escape, P) work at once. Left to itself a window manager may
    // give it to the bar instead (IceWM does).
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const QWindow* window = static_cast<QWidget*>(watched)->windowHandle();
        if (window && QGuiApplication::focusWindow() == window) {
            if (QWidget* frame = Frame())
                frame->activateWindow();
            m_view.requestActivate();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ShellWiring::Present(QWidget& dialog)
{
    PrepareOwnDialog(dialog);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    InsistOnKeyboard(&dialog, kActivationTries);
}

// A window manager may leave the request to activate a new dialog unanswered
// (one busy machine, a request it judges older than another's): the dialog
// would then show without the keyboard, and Escape meant for it would end
// the aquarium. It is asked again while it shows and lacks the keyboard.
void ShellWiring::InsistOnKeyboard(QPointer<QWidget> dialog, int triesLeft)
{
    QTimer::singleShot(kActivationRetryMs, this, [this, dialog, triesLeft] {
        if (!dialog || !dialog->isVisible() || dialog->isActiveWindow() || triesLeft <= 0)
            return;
        dialog->raise();
        dialog->activateWindow();
        InsistOnKeyboard(dialog, triesLeft - 1);
    });
}

void ShellWiring::ConnectMusic()
{
    // The tune waits for the dialog's first report of its On/Off box: the
    // music flags start as if the user's music were on.
    m_tune = std::make_unique<BuiltinTune>();
    m_musicDialog = std::make_unique<MusicDialog>();
    connect(&m_view, &AquariumView::builtinMusicStopRequested, m_tune.get(), &BuiltinTune::Stop);
    connect(&m_view, &AquariumView::builtinMusicRestartRequested, m_tune.get(),
            &BuiltinTune::startBuiltinMusic);
    connect(&m_view, &AquariumView::musicDialogRequested, m_musicDialog.get(),
            [this] { Present(*m_musicDialog); });
}

void ShellWiring::ConnectBackground()
{
    AquariumView* view = &m_view;
    const QSize screen(view->Scene().ScreenWidth(), view->Scene().ScreenHeight());
    m_backgroundDialog = std::make_unique<BackgroundDialog>([view] { return view->MakeContextCurrent(); }, screen,
                                                            BackgroundDialog::SavedPictures::DecodeLater);
    connect(view, &AquariumView::firstFrameShown, m_backgroundDialog.get(), &BackgroundDialog::StartDecoding);
    connect(view, &AquariumView::imageDialogRequested, m_backgroundDialog.get(),
            [this] { Present(*m_backgroundDialog); });
    connect(m_backgroundDialog.get(), &BackgroundDialog::shownTextureChanged, view,
            [view](unsigned texture) { view->Scene().SetCustomImageTexture(texture); });
}

void ShellWiring::ConnectPreferences()
{
    m_preferencesDialog = std::make_unique<PreferencesDialog>();
    connect(&m_view, &AquariumView::preferencesRequested, this, &ShellWiring::ShowPreferences);
    connect(m_preferencesDialog.get(), &PreferencesDialog::valuesChanged, this,
            [this](const PreferenceValues& values) {
                values.ApplyTo(m_view.Scene().Values().aquarium);
                m_tune->SetVolumeSetting(values.yinliang);
            });
}

void ShellWiring::ShowPreferences()
{
    // The file's values at each opening; an open dialog keeps what it shows.
    if (!m_preferencesDialog->isVisible())
        m_preferencesDialog->Load();
    Present(*m_preferencesDialog);
}

void ShellWiring::LogMusic()
{
    MusicDialog* dialog = m_musicDialog.get();
    auto started = [dialog](int row) {
        std::fprintf(stderr, "music: row %d playing \"%s\"\n", row,
                     QFile::encodeName(dialog->Player().FileName()).constData());
        std::fflush(stderr);
    };
    // The saved list may have started before anyone listened.
    if (dialog->State() == MusicDialog::PlayState::Playing)
        started(dialog->CurrentIndex());
    connect(dialog, &MusicDialog::trackStarted, this, started);
    connect(&dialog->Player(), &MciPlayer::lengthKnown, this, [dialog](qint64 ms) {
        std::fprintf(stderr, "music: row %d is %lld ms long\n", dialog->CurrentIndex(), static_cast<long long>(ms));
        std::fflush(stderr);
    });
}

void ShellWiring::SaveOnExit()
{
    if (m_fishDialog)
        m_fishDialog->SaveAndApply();
    m_musicDialog->SaveSettings();
    m_backgroundDialog->SaveSettings();
    m_preferencesDialog->SaveSettings();
}
