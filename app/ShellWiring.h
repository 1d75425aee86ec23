// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

class AquariumView;
class BackgroundDialog;
class BuiltinTune;
class ControlBar;
class FishSettingsDialog;
class MusicDialog;
class PreferencesDialog;
class QWidget;

// The one place where the program's windows meet. The control bar, the
// aquarium view and the dialogs know nothing of each other: each says what
// it wants through its signals, and this class connects those signals to
// whoever acts on them. It owns the dialogs and the music players.
//
// A new dialog is created (hidden) and connected in the constructor; what it
// must save when the program ends goes into SaveOnExit().
class ShellWiring : public QObject {
    Q_OBJECT
public:
    // Connects the bar's buttons and the view's requests. Call once the
    // view's GL context exists, so dialogs that make textures can use it.
    ShellWiring(ControlBar& bar, AquariumView& view);
    ~ShellWiring() override;

    // Runs at every end of the program (Exit, Escape, the end signals):
    // the dialogs write what the user changed, the Fish Settings dialog too
    // when it is open (a change younger than its half-second save).
    void SaveOnExit();

    // Shows Preferences in front of the aquarium (its key, or a request
    // from `plovi --preferences`).
    void ShowPreferences();

    // From now on each start of a track of the user's list, and its length
    // once known, is written to standard error:
    //   music: row 2 playing "/home/me/reef.mp3"
    //   music: row 2 is 183400 ms long
    // (files that cannot be played are named there anyway).
    void LogMusic();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectView();
    void ConnectBar();
    void RunFishSettings();
    // The aquarium's top-level window (the dialogs' transient parent).
    QWidget* Frame() const;
    // Makes a parentless dialog the aquarium's before a show: centred on the
    // primary screen, transient for the aquarium, no task of its own.
    void PrepareOwnDialog(QWidget& dialog);
    // Shows a modeless dialog centred, above the aquarium, with the keyboard.
    void Present(QWidget& dialog);
    // Asks again, every kActivationRetryMs, until the dialog has the keyboard
    // or is gone, at most triesLeft times.
    void InsistOnKeyboard(QPointer<QWidget> dialog, int triesLeft);
    static constexpr int kActivationRetryMs = 250;
    static constexpr int kActivationTries = 8;
    // The Custom Music dialog (made hidden, before the first tick) and the
    // built-in tune that follows the view's music hand-over.
    void ConnectMusic();
    // The Custom Background dialog and the scene's picture it chooses.
    void ConnectBackground();
    // Preferences, whose changes go to the scene and the tune at once.
    void ConnectPreferences();

    ControlBar& m_bar;
    AquariumView& m_view;
    std::unique_ptr<BuiltinTune> m_tune;
    std::unique_ptr<MusicDialog> m_musicDialog;
    std::unique_ptr<BackgroundDialog> m_backgroundDialog;
    std::unique_ptr<PreferencesDialog> m_preferencesDialog;
    FishSettingsDialog* m_fishDialog = nullptr;   // while its modal run lasts
};
