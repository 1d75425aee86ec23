// SPDX-License-Identifier: MIT
#include "sound/MusicDialog.h"

#include "platform/MessageBox.h"
#include "platform/qt/FileNameText.h"
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"
#include "sound/MusicSettings.h"
#include "widgets/CheckButton.h"
#include "widgets/RoundSlider.h"
#include "widgets/TrackList.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <cstdio>

namespace {

// The template's size in dialog units.
constexpr int kDialogWidthDu = 318;
constexpr int kDialogHeightDu = 148;
const QColor kListBackground(207, 184, 130);
const QColor kListText(0, 0, 255);
constexpr int kListColumnWidth = 500;  // pixels
constexpr int kListRowHeight = 17;     // pixels
// The row of the two upper groups' boxes, in pixels: inside the frames' band
// (y 35 to 51), 16 high for the On/Off icon.
constexpr int kBoxRowTopPx = 35;
constexpr int kBoxRowHeightPx = 16;
constexpr int kGroupGrowPx = 2;
constexpr int kButtonGrowPx = 2;
constexpr int kOnIconId = 184;
constexpr int kOffIconId = 183;

QString DefaultFilePicker(QWidget* parent)
{
    QFileDialog dialog(parent, "Open");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setNameFilter(MusicDialog::kFileFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QRect MusicDialog::FromDialogUnits(int x, int y, int width, int height)
{
    // 8 pt "MS Sans Serif" base units: 1.5 px across, 1.625 px down.
    return QRect(int(x * 1.5), int(y * 1.625), int(width * 1.5), int(height * 1.625));
}

MusicDialog::MusicDialog(QWidget* parent) : QDialog(parent), m_pickFile(DefaultFilePicker)
{
    setWindowTitle(kCaption);
    setModal(false);
    setFixedSize(FromDialogUnits(0, 0, kDialogWidthDu, kDialogHeightDu).size());
    // The template's boxes were laid out for an 8 pt font at 96 dpi.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    CreateControls();

    // The initialisation order matters: the saved settings are applied on top
    // of the start state, and may start the music.
    InitList();
    InitBoxes();
    m_volume = Program().musicVolume;
    m_player.Open();  // no file yet
    m_player.SetVolume(m_volume);
    m_volumeSlider->setRange(0, 1000);
    m_volumeSlider->setValue(m_volume);
    Connect();
    LoadSettings();
    m_timer.setInterval(kTimerPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &MusicDialog::OnTimer);
    m_timer.start();
}

MusicDialog::~MusicDialog() = default;

void MusicDialog::CreateControls()
{
    // The template's boxes are kept where they hold what they show; the others
    // are grown in pixels, as noted. Both groups are 2 px taller so their
    // frames (whose lines the desktop style draws 18 px below a group's top
    // and on its last row) leave a 17-pixel band for the 16-pixel icon of
    // On/Off; the row's boxes all stand in that band, at one height, so their
    // captions share a baseline and no face crosses a frame line.
    auto group = [this](const char* title, int x, int y, int w, int h, int growWidth, int growHeight) {
        auto* box = new QGroupBox(title, this);
        box->setGeometry(FromDialogUnits(x, y, w, h).adjusted(0, 0, growWidth, growHeight));
        box->lower();
    };
    auto button = [this](int id, const char* text, int x, int y, int w, int h) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        // 2 px wider than the template: "Remove All" needs 56 of the 55 the
        // style leaves inside a 57-pixel button.
        b->setGeometry(FromDialogUnits(x, y, w, h).adjusted(0, 0, kButtonGrowPx, 0));
        m_controls[id] = b;
        return b;
    };
    // The row's boxes: the template's left and width, grown by the pixels
    // given; top and height the band's.
    auto check = [this](int id, const char* text, int x, int w, int growLeft, int growRight) {
        auto* c = new CheckButton(id, text, this);
        const QRect place = FromDialogUnits(x, 0, w, 0);
        c->setGeometry(place.left() - growLeft, kBoxRowTopPx, place.width() + growLeft + growRight, kBoxRowHeightPx);
        m_controls[id] = c;
        return c;
    };

    group("Use your own music", 10, 10, 79, 22, 0, kGroupGrowPx);
    m_onOff = check(kOnOffId, "On/Off", 17, 54, 0, 0);
    group("Play Modes", 95, 10, 212, 22, 0, kGroupGrowPx);
    m_repeatOne = check(kRepeatOneId, "Repeat One", 100, 58, 0, 0);
    m_repeatAll = check(kRepeatAllId, "Repeat All", 186, 53, 0, 0);
    // "Random " needs 69 px beside its lamp, 8 more than the template's 61.
    m_random = check(kRandomId, "Random ", 262, 41, 5, 3);

    m_list = new TrackList(this);
    m_list->setGeometry(FromDialogUnits(15, 44, 250, 95));
    m_controls[kListId] = m_list;

    m_addMusic = button(kAddMusicId, "Add Music", 270, 44, 38, 11);
    m_remove = button(kRemoveId, "Remove", 270, 57, 38, 11);
    m_removeAll = button(kRemoveAllId, "Remove All", 270, 70, 38, 11);
    m_play = button(kPlayId, "Play", 270, 83, 38, 11);
    m_stop = button(kStopId, "Stop", 270, 97, 38, 11);

    // As wide as the buttons above it.
    group("Volume", 270, 113, 38, 26, kButtonGrowPx, 0);
    m_volumeSlider = new RoundSlider(Qt::Horizontal, this);
    m_volumeSlider->setGeometry(FromDialogUnits(271, 122, 33, 13));
    m_controls[kVolumeSliderId] = m_volumeSlider;

    // Never shown: the playing position, and the old player window's place.
    m_positionSlider = new QSlider(Qt::Horizontal, this);
    m_positionSlider->setGeometry(FromDialogUnits(227, 7, 36, 8));
    m_positionSlider->hide();
    m_controls[kPositionSliderId] = m_positionSlider;
    m_playerParent = new QLabel("Static", this);
    m_playerParent->setGeometry(FromDialogUnits(196, 7, 24, 8));
    m_playerParent->hide();
    m_controls[kPlayerParentId] = m_playerParent;
}

void MusicDialog::InitList()
{
    m_list->setShowGrid(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, kListBackground);
    palette.setColor(QPalette::Window, kListBackground);
    palette.setColor(QPalette::Text, kListText);
    m_list->setPalette(palette);
    m_list->setColumnCount(1);
    auto* header = new QTableWidgetItem("Music List");
    header->setTextAlignment(Qt::AlignCenter);
    m_list->setHorizontalHeaderItem(0, header);
    m_list->setColumnWidth(0, kListColumnWidth);
    m_list->verticalHeader()->setDefaultSectionSize(kListRowHeight);
}

void MusicDialog::InitBoxes()
{
    m_onOff->SetIcons(kOnIconId, kOffIconId);
    m_onOff->SetCheck(0);
    for (CheckButton* box : {m_repeatOne, m_repeatAll, m_random})
        box->SetColours(QColor(0, 255, 0), QColor(0, 0, 0));
    m_random->SetCheck(0);
    m_repeatAll->SetCheck(0);
    m_repeatOne->SetCheck(1);
    m_playMode = PlayMode::RepeatOne;
}

void MusicDialog::Connect()
{
    for (CheckButton* box : {m_onOff, m_repeatOne, m_repeatAll, m_random})
        connect(box, &CheckButton::commandPosted, this, &MusicDialog::OnCommand);
    connect(m_addMusic, &QPushButton::clicked, this, &MusicDialog::OnAddMusic);
    connect(m_remove, &QPushButton::clicked, this, &MusicDialog::OnRemove);
    connect(m_removeAll, &QPushButton::clicked, this, &MusicDialog::OnRemoveAll);
    connect(m_play, &QPushButton::clicked, this, &MusicDialog::OnPlay);
    connect(m_stop, &QPushButton::clicked, this, &MusicDialog::StopPlaying);
    connect(m_list, &QTableWidget::itemClicked, this, &MusicDialog::OnListClick);
    connect(m_volumeSlider, &QSlider::valueChanged, this, &MusicDialog::OnVolume);
    connect(&m_player, &MciPlayer::ended, this, &MusicDialog::OnTrackEnded);
    connect(&m_player, &MciPlayer::failed, this, &MusicDialog::OnPlayerFailed);
    connect(&m_player, &MciPlayer::lengthKnown, this,
            [this](qint64 length) { m_positionSlider->setRange(0, int(length)); });
}

void MusicDialog::LoadSettings()
{
    const MusicSettings saved = MusicSettings::Read(SettingsFile());
    m_list->setRowCount(0);
    if (saved.random)
        m_random->SetCheck(1);
    if (saved.repeatAll)
        m_repeatAll->SetCheck(1);
    if (saved.repeatOne)
        m_repeatOne->SetCheck(1);
    if (saved.ownMusic)
        m_onOff->SetCheck(1);
    for (const std::string& path : saved.tracks)
        AppendTrack(FileNameText::FromBytes(QByteArray::fromStdString(path)));
    if (!m_random->GetCheck() && !m_repeatAll->GetCheck() && !m_repeatOne->GetCheck())
        m_repeatOne->SetCheck(1);
    // The first ticked box in this order wins.
    if (m_random->GetCheck())
        SetPlayMode(PlayMode::Random);
    if (m_repeatAll->GetCheck())
        SetPlayMode(PlayMode::RepeatAll);
    if (m_repeatOne->GetCheck())
        SetPlayMode(PlayMode::RepeatOne);
    if (!saved.tracks.empty() && m_onOff->GetCheck() && ChooseTrack(false))
        StartPlaying();
}

void MusicDialog::SaveSettings()
{
    MusicSettings s;
    s.random = m_random->GetCheck() == 1;
    s.repeatAll = m_repeatAll->GetCheck() == 1;
    s.repeatOne = m_repeatOne->GetCheck() == 1;
    s.ownMusic = m_onOff->GetCheck() == 1;
    for (int row = 0; row < m_list->rowCount(); ++row)
        s.tracks.push_back(FileNameText::ToBytes(m_list->item(row, 0)->text()).toStdString());
    SettingsFile file;
    s.Write(file);
    file.Save();
}

QWidget* MusicDialog::Control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void MusicDialog::OnTimer()
{
    Program().customMusicPlaying = m_onOff->GetCheck() == 1;
    if (m_playState != PlayState::Playing)
        return;
    m_position = m_player.Position();
    m_positionSlider->setValue(int(m_position));
    if (m_player.CanPlay() && TrackEnded())
        OnTrackEnded();
}

bool MusicDialog::TrackEnded() const
{
    // While a file loads its length is still 0; that is no end.
    const qint64 length = m_player.Length();
    return m_player.AtEnd() || (length > 0 && m_position >= length);
}

void MusicDialog::OnTrackEnded()
{
    if (m_playState != PlayState::Playing)
        return;
    // A track played: the list has music again, every row may be tried anew.
    m_unplayable.clear();
    // Repeat One replays the row, Repeat All moves on and wraps, Random draws.
    if (ChooseTrack(false))
        StartPlaying();
}

void MusicDialog::OnPlayerFailed(const QString& fileName)
{
    ReportUnplayable(fileName, m_player.FailureReason());
    if (m_playState == PlayState::Playing && m_playMode != PlayMode::RepeatOne) {
        if (SkipToPlayable())
            return;
        std::fprintf(stderr, "plovi: no file of the music list can be played; the music stops\n");
    }
    StopPlaying();
}

void MusicDialog::ReportUnplayable(const QString& fileName, const QString& why)
{
    const QByteArray reason = why.isEmpty() ? QByteArray() : " (" + why.toLocal8Bit() + ")";
    std::fprintf(stderr, "plovi: cannot play music file \"%s\"%s\n", QFile::encodeName(fileName).constData(),
                 reason.constData());
}

bool MusicDialog::SkipToPlayable()
{
    m_unplayable.insert(m_currentIndex);
    for (;;) {
        const int row = NextPlayableRow(m_playMode, m_currentIndex, m_list->rowCount(), m_unplayable);
        if (row < 0)
            return false;
        if (OpenRow(row)) {
            StartPlaying();
            return true;
        }
        ReportUnplayable(m_player.FileName(), m_player.FailureReason());
        m_unplayable.insert(row);
    }
}

void MusicDialog::OnCommand(int id)
{
    switch (id) {
    case kOnOffId: OnOnOff(); break;
    case kRepeatOneId: SetPlayMode(PlayMode::RepeatOne); break;
    case kRepeatAllId: SetPlayMode(PlayMode::RepeatAll); break;
    case kRandomId: SetPlayMode(PlayMode::Random); break;
    default: break;
    }
}

void MusicDialog::OnAddMusic()
{
    const QString path = m_pickFile(this);
    if (path.isEmpty())
        return;
    // A name whose bytes the file dialog lost, or one the settings file
    // could not hold, would be lost at the next start: said now instead.
    const std::string bytes = FileNameText::ToBytes(path).toStdString();
    std::string why;
    if (FileNameText::LostBytes(path) && !QFile::exists(path))
        why = "file name is not valid UTF-8, so it cannot be opened. Rename the file and add it again.";
    else if (bytes.find_first_of("\r\n") != std::string::npos)
        why = "file name holds a line break, so it cannot be saved in the list.";
    else if (!SettingsFile::CanHoldPath(bytes))
        why = "path is too long to be saved in the list.";
    if (!why.empty()) {
        ShowMessageBox("(" + path.toStdString() + ") " + why, kMessageCaption);
        return;
    }
    AppendTrack(path);
}

void MusicDialog::OnRemove()
{
    const int row = SelectedRow();
    if (row < 0) {
        ShowMessageBox(kNoSelectionText, kMessageCaption);
        return;
    }
    m_list->removeRow(row);
    // The view would select the row that moved up into the removed one's
    // place; a second Remove must ask for a new choice instead, and the next
    // track is chosen as with nothing selected.
    m_list->ClearSelectionAndCurrent();
    ChooseTrack(false);
}

void MusicDialog::OnRemoveAll()
{
    m_list->setRowCount(0);
}

void MusicDialog::OnPlay()
{
    if (ChooseTrack(false))
        StartPlaying();
}

void MusicDialog::OnOnOff()
{
    if (m_onOff->GetCheck() == 1) {
        if (ChooseTrack(false))
            StartPlaying();
    } else if (m_playState == PlayState::Playing) {
        StopPlaying();
    }
}

void MusicDialog::OnListClick()
{
    if (SelectedRow() < 0)
        return;
    m_unplayable.clear();
    if (ChooseTrack(true) && m_playState == PlayState::Playing)
        StartPlaying();
}

void MusicDialog::OnVolume(int value)
{
    m_player.SetVolume(value);
    m_volume = value;
}

void MusicDialog::SetPlayMode(PlayMode mode)
{
    m_playMode = mode;
    m_repeatOne->SetCheck(mode == PlayMode::RepeatOne);
    m_repeatAll->SetCheck(mode == PlayMode::RepeatAll);
    m_random->SetCheck(mode == PlayMode::Random);
}

void MusicDialog::AppendTrack(const QString& path)
{
    const int row = m_list->rowCount();
    m_list->insertRow(row);
    m_list->setItem(row, 0, new QTableWidgetItem(path));
}

int MusicDialog::SelectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& index : rows)
        if (first < 0 || index.row() < first)
            first = index.row();
    return first;
}

bool MusicDialog::ChooseTrack(bool picked)
{
    TrackChoice choice;
    if (!::ChooseTrack(m_playMode, m_playState == PlayState::Playing, picked, SelectedRow(),
                       m_currentIndex, m_list->rowCount(), &choice))
        return false;
    if (!OpenRow(choice.row)) {
        QMetaObject::invokeMethod(this, [this, open = m_opens, name = m_player.FileName()] {
            if (open == m_opens)
                OnPlayerFailed(name);
        }, Qt::QueuedConnection);
    }
    return true;
}

bool MusicDialog::OpenRow(int row)
{
    ++m_opens;
    m_currentIndex = row;
    m_player.Stop();
    m_player.Close();
    m_player.SetFileName(m_list->item(row, 0)->text());
    m_position = 0;
    m_positionSlider->setValue(0);
    if (!m_player.Open())
        return false;
    m_player.Seek(0);
    m_player.SetVolume(m_volume);
    m_positionSlider->setRange(0, int(m_player.Length()));
    return true;
}

void MusicDialog::StartPlaying()
{
    if (m_list->rowCount() == 0)
        return;
    m_playState = PlayState::Playing;
    m_player.Play();
    m_list->SetHighlightedTrack(m_currentIndex);
    SetEditingEnabled(false);
    m_onOff->SetCheck(1);
    emit trackStarted(m_currentIndex);
}

void MusicDialog::StopPlaying()
{
    m_playState = PlayState::Stopped;
    m_unplayable.clear();
    m_player.Stop();
    m_player.Seek(0);
    m_currentIndex = -1;
    m_list->SetHighlightedTrack(-1);
    m_list->clearSelection();
    SetEditingEnabled(true);
}

void MusicDialog::SetEditingEnabled(bool on)
{
    for (QPushButton* b : {m_addMusic, m_remove, m_removeAll, m_play})
        b->setEnabled(on);
}

void MusicDialog::reject()
{
    hide();
    SaveSettings();
}

void MusicDialog::accept() {}

void MusicDialog::closeEvent(QCloseEvent* event)
{
    hide();
    SaveSettings();
    event->accept();
}

void MusicDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
