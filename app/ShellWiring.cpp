#include "app/ShellWiring.h"

#include "app/AquariumApp.h"
#include "sound/BuiltinTune.h"
#include "sound/MusicDialog.h"
#include "ui/BackgroundDialog.h"
#include "ui/ControlBar.h"
#include "ui/FishSettingsDialog.h"
#include "view/AquariumView.h"

#include <QFile>
#include <QWidget>
#include <cstdio>

ShellWiring::ShellWiring(ControlBar& bar, AquariumView& view) : m_bar(bar), m_view(view)
{
    m_view.SetStartClock(&AquariumApp::MillisecondsSinceStart);
    ConnectView();
    ConnectBar();
    ConnectMusic();
    ConnectBackground();
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
    QWindow* top = &m_view;
    while (top->parent())
        top = top->parent();
    FishSettingsDialog dialog(QWidget::find(top->winId()));
    dialog.exec();
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
    connect(&m_view, &AquariumView::musicDialogRequested, m_musicDialog.get(), [this] {
        m_musicDialog->show();
        m_musicDialog->raise();
        m_musicDialog->activateWindow();
    });
}

void ShellWiring::ConnectBackground()
{
    AquariumView* view = &m_view;
    const QSize screen(view->Scene().ScreenWidth(), view->Scene().ScreenHeight());
    m_backgroundDialog =
        std::make_unique<BackgroundDialog>([view] { return view->MakeContextCurrent(); }, screen);
    connect(view, &AquariumView::imageDialogRequested, m_backgroundDialog.get(), &BackgroundDialog::ShowDialog);
    connect(m_backgroundDialog.get(), &BackgroundDialog::shownTextureChanged, view,
            [view](unsigned texture) { view->Scene().SetCustomImageTexture(texture); });
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
    m_musicDialog->SaveSettings();
    m_backgroundDialog->SaveSettings();
}
