// SPDX-License-Identifier: MIT
#include "ui/BackgroundDialog.h"

#include "environment/PictureUploader.h"
#include "platform/GlFeatures.h"
#include "platform/MessageBox.h"
#include "platform/MsvcRandom.h"
#include "platform/qt/FileNameText.h"
#include "settings/ProgramValues.h"
#include "settings/SettingsFile.h"
#include "ui/PictureLoader.h"
#include "widgets/CheckButton.h"
#include "widgets/IconButton.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableWidget>

namespace {

constexpr const char* kCaption = "PloviFishScr";  // the application's title
const char* const kOn = "ON";
const char* const kOff = "OFF";
// The State of a saved picture that could not be loaded at this start (a
// drive not mounted yet, a file gone or damaged), short enough for the
// column; its row is grey and says the rest when pointed at. It keeps its
// place in the list and in the saved settings; the show passes over it.
const char* const kNotLoaded = "N/A";
const char* const kNotLoadedTip = "Not loaded at start-up; kept in the list for the next start.";
const QColor kNotLoadedText(110, 110, 110);
const QColor kListBackground(207, 184, 130);
const QColor kListText(0, 0, 255);

// The statics of the template: text and place in dialog units.
struct Label {
    const char* text;
    int x, y, width, height;
};
const Label kLabels[] = {
    {"Use your own image", 20, 13, 73, 11}, {"Repeat One", 104, 13, 41, 9}, {"Repeat All", 160, 13, 34, 8},
    {"Random ", 209, 13, 30, 8},           {"Interval", 176, 119, 27, 9},  {"S", 231, 119, 8, 8},
};

struct ButtonSlot {
    int id;
    const char* text;
    int x, y, width, height;
};
const ButtonSlot kButtonTable[] = {
    {BackgroundDialog::kAddButton, "Add Image", 7, 117, 50, 11},
    {BackgroundDialog::kRemoveButton, "Remove Image", 63, 117, 51, 11},
    {BackgroundDialog::kRemoveAllButton, "Remove All", 119, 117, 50, 11},
};

struct ModeBox {
    int id;
    int x;
    const char* key;  // its switch in "Custom Images"
};
// In play-mode order (0, 1, 2).
const ModeBox kModeBoxes[] = {
    {BackgroundDialog::kRepeatOneBox, 94, "RepeatImage"},
    {BackgroundDialog::kRepeatAllBox, 147, "CycImage"},
    {BackgroundDialog::kRandomBox, 199, "RandomImage"},
};

constexpr int kOwnImageGrowPx = 9;
constexpr int kLampGrowPx = 6;

// A path as the file system names it.
std::string PathBytes(const QString& path) { return FileNameText::ToBytes(path).toStdString(); }

// Why a picture the user picked cannot join the list, or "" when it can.
std::string WhyNotAdded(const QString& path)
{
    const std::string bytes = PathBytes(path);
    if (FileNameText::LostBytes(path) && !QFile::exists(path))
        return "file name is not valid UTF-8, so it cannot be opened. Rename the file and add it again.";
    if (bytes.find_first_of("\r\n") != std::string::npos)
        return "file name holds a line break, so it cannot be saved in the list.";
    if (!SettingsFile::CanHoldPath(bytes))
        return "path is too long to be saved in the list.";
    return {};
}

}  // namespace

BackgroundDialog::BackgroundDialog(std::function<bool()> makeGlCurrent, const QSize& screen,
                                   SavedPictures saved, QWidget* parent)
    : QDialog(parent), m_makeGlCurrent(std::move(makeGlCurrent))
{
    setWindowTitle("Custom Background - Plovi 1.0");
    setModal(false);
    setFixedSize(FromDialogUnits(0, 0, 265, 136).size());
    // The template's boxes are sized for an 8-point font at 1.5 px per unit.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    const bool haveGl = m_makeGlCurrent && m_makeGlCurrent();
    const int maxTexture = haveGl ? PictureUploader::MaxTextureSize() : 0;
    const bool anySize = haveGl && GlFeatures::OfCurrentContext().anySizeTextures;
    m_loader = new PictureLoader(screen, maxTexture, anySize, this);
    connect(m_loader, &PictureLoader::decoded, this, &BackgroundDialog::OnDecoded);
    if (saved == SavedPictures::DecodeLater) {
        m_loader->Hold();
        QTimer::singleShot(kDecodeHoldLimitMs, this, &BackgroundDialog::StartDecoding);
    }
    CreateControls();
    LoadSettings();
    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &BackgroundDialog::OnTimer);
    m_timer.start();
}

BackgroundDialog::~BackgroundDialog() = default;

void BackgroundDialog::StartDecoding() { m_loader->Release(); }

QRect BackgroundDialog::FromDialogUnits(int x, int y, int width, int height)
{
    // 1.5 px per horizontal and 1.625 px per vertical unit.
    const auto h = [](int u) { return (u * 3) / 2; };
    const auto v = [](int u) { return (u * 13) / 8; };
    return QRect(h(x), v(y), h(x + width) - h(x), v(y + height) - v(y));
}

void BackgroundDialog::CreateControls()
{
    for (const Label& label : kLabels) {
        auto* text = new QLabel(label.text, this);
        text->setGeometry(FromDialogUnits(label.x, label.y, label.width, label.height));
        // At the top of its box, as a static draws: labels of one row share
        // their top and so their baseline, whatever the boxes' heights.
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setAttribute(Qt::WA_TranslucentBackground);
    }
    // The marks need their boxes' 3-pixel inset on both sides: the 16-pixel
    // icon a 22-pixel box (the template's 13 grown 9 to the left), a 15-pixel
    // lamp a 21-pixel box (15 grown 6 to the left, away from its label).
    m_ownImage = new CheckButton(kOwnImageBox, QString(), this);
    m_ownImage->setGeometry(FromDialogUnits(8, 10, 9, 10).adjusted(-kOwnImageGrowPx, 0, 0, 0));
    m_ownImage->SetIcons(184, 183);
    connect(m_ownImage, &CheckButton::commandPosted, this, &BackgroundDialog::OnCommand);
    for (int mode = 0; mode < 3; ++mode) {
        auto* box = new CheckButton(kModeBoxes[mode].id, QString(), this);
        box->setGeometry(FromDialogUnits(kModeBoxes[mode].x, 12, 10, 9).adjusted(-kLampGrowPx, 0, 0, 0));
        box->SetColours(QColor(0, 255, 0), QColor(0, 0, 0));
        connect(box, &CheckButton::commandPosted, this, &BackgroundDialog::OnCommand);
        m_modeBoxes[mode] = box;
    }
    m_modeBoxes[RepeatOne]->SetCheck(1);
    CreateList();
    for (int i = 0; i < 3; ++i) {
        const ButtonSlot& slot = kButtonTable[i];
        auto* button = new IconButton(slot.text, this);
        button->setGeometry(FromDialogUnits(slot.x, slot.y, slot.width, slot.height));
        const int id = slot.id;
        connect(button, &IconButton::clicked, this, [this, id] { OnCommand(id); });
        m_buttons[i] = button;
    }
    m_interval = new QLineEdit("5", this);
    m_interval->setGeometry(FromDialogUnits(204, 118, 24, 12));
    m_interval->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), m_interval));
}

void BackgroundDialog::CreateList()
{
    m_list = new QTableWidget(0, 2, this);
    m_list->setGeometry(FromDialogUnits(7, 23, 251, 87));
    m_list->setHorizontalHeaderLabels({"Backgrounds Directory", "State"});
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_list->horizontalHeader()->setHighlightSections(false);
    // Both columns in view: the path takes what the state leaves, and a long
    // path keeps its file name visible.
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    m_list->setColumnWidth(1, 50);
    m_list->verticalHeader()->hide();
    // A row as tall as a line of the font and its grid line, so all ten
    // pictures show at once in the template's box.
    const int rowHeight = m_list->fontMetrics().height() + 1;
    m_list->verticalHeader()->setMinimumSectionSize(rowHeight);
    m_list->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_list->setShowGrid(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideMiddle);
    QPalette colours = m_list->palette();
    colours.setColor(QPalette::Base, kListBackground);
    colours.setColor(QPalette::Text, kListText);
    m_list->setPalette(colours);
    connect(m_list, &QTableWidget::cellClicked, this, [this] { OnListClick(); });
}

CheckButton& BackgroundDialog::Box(int controlId)
{
    for (const ModeBox& box : kModeBoxes)
        if (box.id == controlId)
            return *m_modeBoxes[&box - kModeBoxes];
    return *m_ownImage;
}

IconButton& BackgroundDialog::Button(int controlId)
{
    for (int i = 0; i < 3; ++i)
        if (kButtonTable[i].id == controlId)
            return *m_buttons[i];
    return *m_buttons[0];
}

int BackgroundDialog::PendingCount() const { return m_loader->Pending(); }

QString BackgroundDialog::RowPath(int row) const
{
    const QTableWidgetItem* item = m_list->item(row, 0);
    return item ? item->text() : QString();
}

QString BackgroundDialog::RowState(int row) const
{
    const QTableWidgetItem* item = m_list->item(row, 1);
    return item ? item->text() : QString();
}

void BackgroundDialog::ShowDialog()
{
    show();
    raise();
    activateWindow();
}

void BackgroundDialog::accept() {}

void BackgroundDialog::reject()
{
    hide();
    SaveSettings();
}

void BackgroundDialog::closeEvent(QCloseEvent* event)
{
    hide();
    SaveSettings();
    QDialog::closeEvent(event);
}

void BackgroundDialog::OnCommand(int controlId)
{
    switch (controlId) {
    case kAddButton: OnAddImage(); break;
    case kRemoveButton: RemoveSelected(); break;
    case kRemoveAllButton: RemoveAll(); break;
    case kOwnImageBox:
        // The box has toggled already.
        if (m_ownImage->GetCheck())
            StartCycling();
        else if (m_cycling)
            StopCycling();
        break;
    case kRepeatOneBox: SetPlayMode(RepeatOne); break;
    case kRepeatAllBox: SetPlayMode(RepeatAll); break;
    case kRandomBox: SetPlayMode(Random); break;
    default: break;
    }
}

void BackgroundDialog::SetPlayMode(int mode)
{
    m_playMode = mode;
    for (int i = 0; i < 3; ++i)
        m_modeBoxes[i]->SetCheck(i == mode ? 1 : 0);
}

void BackgroundDialog::OnAddImage()
{
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The name filter is case-insensitive, so "IMG_0001.JPG" is listed too.
    dialog.setNameFilter("(*.jpg;*.bmp;*.png) (*.jpg *.jpeg *.bmp *.png)");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    AddFile(dialog.selectedFiles().first());
}

void BackgroundDialog::AddFile(const QString& path)
{
    // Pictures on their way count: they become rows unless they fail.
    if (m_count + PendingCount() >= kMaxImages) {
        ShowMessageBox("The maximum number of background is: " + std::to_string(kMaxImages), kCaption);
        return;
    }
    if (const std::string why = WhyNotAdded(path); !why.empty()) {
        ShowMessageBox("(" + path.toStdString() + ") " + why, kCaption);
        return;
    }
    m_loader->Request(path);
}

void BackgroundDialog::OnDecoded(const QString& path, const DecodedPicture& picture)
{
    unsigned texture = 0;
    if (picture.Ok() && m_count < kMaxImages && m_makeGlCurrent && m_makeGlCurrent()) {
        std::vector<PictureUploader::Level> levels;
        for (const QImage& level : picture.levels)
            levels.push_back({level.constBits(), level.width(), level.height()});
        texture = PictureUploader::Upload(levels);
    }
    // The saved pictures come first. Their cycling was settled when the
    // settings were read, as if each had loaded then.
    const bool saved = m_savedStillLoading > 0;
    if (saved)
        --m_savedStillLoading;
    if (texture == 0) {
        // A saved picture keeps its place: it may only be missing for now.
        // Its row comes before the message, whose box lets the next
        // results in meanwhile.
        if (saved && !path.isEmpty() && m_count < kMaxImages)
            AppendRow(path, 0);
        if (!saved)
            StopCycling();
        ShowMessageBox("(" + path.toStdString() + ")" + "image loading error.", kCaption);
        return;
    }
    AppendRow(path, texture);
    // The first picture added with the box ticked starts the show.
    if (!saved && m_count == 1 && m_ownImage->GetCheck())
        StartCycling();
    // Saved pictures arrive after the first ticks have found nothing to
    // show; the next tick chooses at once rather than after a whole interval.
    if (m_cycling && (m_currentImage == 0 || m_currentImage == kNoChoice))
        m_tick = -1;
}

void BackgroundDialog::AppendRow(const QString& path, unsigned texture)
{
    m_textures[m_count] = texture;
    m_list->insertRow(m_count);
    for (int column = 0; column < 2; ++column) {
        auto* item = new QTableWidgetItem(column == 0 ? path : QString(texture ? kOff : kNotLoaded));
        item->setTextAlignment(Qt::AlignCenter);
        item->setForeground(texture ? kListText : kNotLoadedText);
        if (!texture)
            item->setToolTip(kNotLoadedTip);
        m_list->setItem(m_count, column, item);
    }
    m_count = m_list->rowCount();
}

void BackgroundDialog::RemoveSelected()
{
    const QList<QTableWidgetSelectionRange> ranges = m_list->selectedRanges();
    if (!ranges.isEmpty() && ranges.first().topRow() < m_count) {
        const int row = ranges.first().topRow();
        const unsigned removed = m_textures[row];
        m_list->removeRow(row);
        // The view would select the row that moved up into its place; a
        // second press without a click must find nothing selected.
        m_list->selectionModel()->clear();
        for (int i = row; i + 1 < kMaxImages; ++i)
            m_textures[i] = m_textures[i + 1];
        m_textures[kMaxImages - 1] = 0;
        m_count = m_list->rowCount();
        // Choose the new picture before the old texture goes.
        if (m_count == 0)
            SetCurrentImage(0);
        else
            SetCurrentImage(ChooseNext(0, true));
        ReleaseTexture(removed);
        return;
    }
    if (m_count == 0) {
        std::fill(std::begin(m_textures), std::end(m_textures), 0u);
        SetCurrentImage(0);
    } else {
        SetCurrentImage(ChooseNext(0, true));
    }
}

void BackgroundDialog::RemoveAll()
{
    SetCurrentImage(0);
    m_list->setRowCount(0);
    for (unsigned& texture : m_textures)
        ReleaseTexture(std::exchange(texture, 0u));
    m_count = 0;
}

void BackgroundDialog::ReleaseTexture(unsigned texture)
{
    if (texture != 0 && m_makeGlCurrent && m_makeGlCurrent())
        PictureUploader::Release(texture);
}

void BackgroundDialog::OnListClick()
{
    const QList<QTableWidgetSelectionRange> ranges = m_list->selectedRanges();
    if (!ranges.isEmpty() && ranges.first().topRow() < m_count)
        SetCurrentImage(ChooseNext(ranges.first().topRow(), true));
}

unsigned BackgroundDialog::ChooseNext(int row, bool picked)
{
    if (m_count == 0 || !m_cycling)
        return kNoChoice;
    if (picked) {
        SetAllStates(kOff);
        if (m_textures[row] != 0)
            m_list->item(row, 1)->setText(kOn);
        return m_textures[row];
    }
    switch (m_playMode) {
    case RepeatOne:
        // The no-choice value counts as no current image too, so the show
        // starts again at the first row.
        return m_currentImage != 0 && m_currentImage != kNoChoice ? m_currentImage : LoadedFrom(0);
    case RepeatAll: {
        int i = 0;
        while (i < m_count && m_textures[i] != m_currentImage)
            ++i;
        return LoadedFrom((i + 1) % m_count);
    }
    default:
        return LoadedFrom(Rand() % m_count);
    }
}

unsigned BackgroundDialog::LoadedFrom(int row) const
{
    for (int i = 0; i < m_count; ++i)
        if (const unsigned texture = m_textures[(row + i) % m_count])
            return texture;
    return 0;
}

void BackgroundDialog::SetCurrentImage(unsigned texture)
{
    m_currentImage = texture;
    emit shownTextureChanged(texture == kNoChoice ? 0u : texture);
}

void BackgroundDialog::StartCycling()
{
    m_cycling = true;
    m_tick = -1;
}

void BackgroundDialog::StopCycling()
{
    SetAllStates(kOff);
    m_cycling = false;
}

void BackgroundDialog::SetAllStates(const QString& state)
{
    for (int row = 0; row < m_count; ++row)
        if (m_textures[row] != 0)
            m_list->item(row, 1)->setText(state);
}

void BackgroundDialog::MarkRowOf(unsigned texture)
{
    SetAllStates(kOff);
    for (int row = 0; row < m_count; ++row)
        if (m_textures[row] == texture) {
            m_list->item(row, 1)->setText(kOn);
            break;
        }
}

int BackgroundDialog::Interval() const
{
    // Digits only; anything else, or nothing, reads as 0. Saturates.
    const QString text = m_interval->text();
    qint64 value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() > '9')
            return 0;
        value = std::min<qint64>(value * 10 + (c.unicode() - '0'), INT_MAX);
    }
    return int(value);
}

void BackgroundDialog::OnTimer()
{
    Program().ownImageOn = m_ownImage->GetCheck() == 1;
    if (!m_cycling)
        return;
    ++m_tick;
    if (m_tick != 0 && qint64(m_tick) * kTimerMs < qint64(Interval()) * 1000)
        return;
    SetCurrentImage(ChooseNext(0, false));
    m_tick = 0;
    if (m_currentImage != 0 && m_currentImage != kNoChoice)
        MarkRowOf(m_currentImage);
}

void BackgroundDialog::LoadSettings()
{
    RemoveSelected();
    const SettingsFile file;
    const auto on = [&file](const char* key) { return file.ReadInt(SettingsSection::kCustomImages, key) == 1; };
    for (int mode = 0; mode < 3; ++mode)
        m_modeBoxes[mode]->SetCheck(on(kModeBoxes[mode].key) ? 1 : 0);
    m_ownImage->SetCheck(on("OwnImage") ? 1 : 0);
    const std::string interval = file.ReadString(SettingsSection::kCustomImages, "ImageTime");
    m_interval->setText(interval.empty() ? QString("5") : QString::fromStdString(interval));
    // Only the first ten entries: more could never be listed.
    const int sum = file.ReadInt(SettingsSection::kCustomImages, "ImageSum");
    for (int i = 0; i < std::min(sum, int(kMaxImages)); ++i) {
        const std::string path = file.ReadString(SettingsSection::kCustomImages, "ImageList" + std::to_string(i),
                                                 PrivateProfile::kPathBufferSize);
        m_loader->Request(FileNameText::FromBytes(QByteArray::fromStdString(path)));
        ++m_savedStillLoading;
    }
    if (!m_modeBoxes[0]->GetCheck() && !m_modeBoxes[1]->GetCheck() && !m_modeBoxes[2]->GetCheck())
        m_modeBoxes[RepeatOne]->SetCheck(1);
    // Random wins over Repeat All, which wins over Repeat One.
    for (int mode : {Random, RepeatAll, RepeatOne})
        if (m_modeBoxes[mode]->GetCheck())
            SetPlayMode(mode);
    if (sum > 0 && m_ownImage->GetCheck())
        StartCycling();
}

void BackgroundDialog::SaveSettings()
{
    SettingsFile file;
    const char* section = SettingsSection::kCustomImages;
    for (int mode = 0; mode < 3; ++mode)
        file.WriteString(section, kModeBoxes[mode].key, m_modeBoxes[mode]->GetCheck() ? "1" : "0");
    file.WriteString(section, "OwnImage", m_ownImage->GetCheck() ? "1" : "0");
    file.WriteString(section, "ImageTime", m_interval->text().toStdString());
    // Add refuses a path the file cannot hold; should one get here anyway,
    // it is left out rather than leaving a gap that would fail at the next
    // start.
    int stored = 0;
    for (int row = 0; row < m_count; ++row)
        if (file.WritePath(section, "ImageList" + std::to_string(stored), PathBytes(RowPath(row))))
            ++stored;
    file.WriteInt(section, "ImageSum", stored);
    file.Save();
}
