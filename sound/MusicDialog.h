// SPDX-License-Identifier: MIT
#pragma once

#include "sound/MciPlayer.h"
#include "sound/TrackChooser.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <map>
#include <set>

class CheckButton;
class QLabel;
class QPushButton;
class QSlider;
class RoundSlider;
class TrackList;

// The Custom Music dialog: the user's own list of music files, the play
// modes Repeat One, Repeat All and Random, the volume, and the player that
// plays the list. Modeless; created hidden once and only ever hidden again,
// so the music goes on while the dialog is closed.
//
// Every 200 ms (shown or hidden) the dialog publishes whether its "On/Off"
// box is ticked as Program().customMusicPlaying, and while it plays it looks
// for the end of the track; the player's end-of-file is acted on at once too.
// A file that cannot be played is named in one line on standard error. In
// Repeat All and Random the list then goes on with the next playable row;
// when no row is left that can play, and in Repeat One, the playing ends
// (buttons enabled, no row highlighted), with one more line when the whole
// list failed. Each row is tried at most once until a track plays to its end
// or the user starts the list anew, so a list of bad files never spins.
//
// The "Custom Settings" section is read when the dialog is made and written
// when it is closed (Escape, the close box) and by SaveSettings().
class MusicDialog : public QDialog {
    Q_OBJECT

public:
    // Control ids of the dialog's template.
    enum ControlId {
        kVolumeSliderId = 1007, kPositionSliderId = 1006, kOnOffId = 1011, kListId = 1016,
        kAddMusicId = 1017, kRemoveId = 1018, kRemoveAllId = 1019, kPlayId = 1021,
        kStopId = 1022, kRepeatOneId = 1023, kRepeatAllId = 1024, kRandomId = 1025,
        kPlayerParentId = 1034,
    };
    enum class PlayState { Playing = 0, Idle = 1, Stopped = 2 };
    static constexpr int kTimerPeriodMs = 200;
    static constexpr const char* kCaption = "Custom Music - Plovi 1.0";
    static constexpr const char* kFileFilter = "(*.mp3;*.wav;*.mpeg) (*.mp3 *.wav *.mpeg)";
    static constexpr const char* kMessageCaption = "PloviFishScr";  // the application's title
    static constexpr const char* kNoSelectionText = "Please select an item from the music list!";

    // Builds the controls, reads the settings and, with "OwnMusic" on and a
    // saved list, starts playing. The dialog stays hidden.
    explicit MusicDialog(QWidget* parent = nullptr);
    ~MusicDialog() override;

    // Writes the "Custom Settings" section from the boxes and the list.
    void SaveSettings();

    // The 200 ms tick (public so the program's tick order can be tested).
    void OnTimer();

    // Who asks for a file to add: returns the chosen path, "" for none. By
    // default a file dialog with kFileFilter.
    using FilePicker = std::function<QString(QWidget* parent)>;
    void SetFilePicker(FilePicker picker) { m_pickFile = std::move(picker); }

    PlayState State() const { return m_playState; }
    PlayMode Mode() const { return m_playMode; }
    int CurrentIndex() const { return m_currentIndex; }
    int Volume() const { return m_volume; }
    qint64 LastPosition() const { return m_position; }
    MciPlayer& Player() { return m_player; }
    TrackList& List() { return *m_list; }
    // The control of the template with that id, nullptr for none.
    QWidget* Control(int id) const;

    // Dialog units of this template to pixels.
    static QRect FromDialogUnits(int x, int y, int width, int height);

signals:
    // A new track has been started (row of the list).
    void trackStarted(int row);

protected:
    void reject() override;  // Escape
    void accept() override;  // Enter: nothing
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void InitList();
    void InitBoxes();
    void LoadSettings();
    void Connect();

    void OnCommand(int id);
    void OnAddMusic();
    void OnRemove();
    void OnRemoveAll();
    void OnPlay();
    void OnOnOff();
    void OnListClick();
    void OnVolume(int value);
    void OnTrackEnded();
    void OnPlayerFailed(const QString& fileName);
    // The one line naming a file that cannot be played (and why, if known).
    static void ReportUnplayable(const QString& fileName, const QString& why);
    // After the current row failed while playing: opens and starts the next
    // playable row as the mode chooses it. False when none is left.
    bool SkipToPlayable();

    void SetPlayMode(PlayMode mode);
    void AppendTrack(const QString& path);
    int SelectedRow() const;
    // Opens the next track as the mode and state choose it. False when the
    // list is empty. A file that cannot even be opened is reported from the
    // event loop, as a decoder's refusal is, so both take the same path.
    bool ChooseTrack(bool picked);
    // Makes `row` the current track and opens its file; false when the file
    // cannot be opened.
    bool OpenRow(int row);
    void StartPlaying();
    void StopPlaying();
    void SetEditingEnabled(bool on);
    bool TrackEnded() const;

    MciPlayer m_player;
    PlayState m_playState = PlayState::Idle;
    int m_currentIndex = -1;
    PlayMode m_playMode = PlayMode::RepeatOne;
    int m_volume = 1000;
    qint64 m_position = 0;
    std::set<int> m_unplayable;  // rows that failed since a track last played to its end
    quint64 m_opens = 0;         // counts OpenRow(), so a late report finds its file gone
    QTimer m_timer;
    FilePicker m_pickFile;

    CheckButton* m_onOff = nullptr;
    CheckButton* m_repeatOne = nullptr;
    CheckButton* m_repeatAll = nullptr;
    CheckButton* m_random = nullptr;
    TrackList* m_list = nullptr;
    QPushButton* m_addMusic = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_removeAll = nullptr;
    QPushButton* m_play = nullptr;
    QPushButton* m_stop = nullptr;
    RoundSlider* m_volumeSlider = nullptr;
    QSlider* m_positionSlider = nullptr;
    QLabel* m_playerParent = nullptr;
    std::map<int, QWidget*> m_controls;
};
