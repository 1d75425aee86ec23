// SPDX-License-Identifier: MIT
#include "ui/FishSettingsDialog.h"

#include "platform/MsvcRandom.h"
#include "resources/BuiltinArt.h"
#include "settings/SettingsFile.h"
#include "widgets/HyperLink.h"
#include "widgets/IconButton.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

namespace {

// One button of the template, in dialog units.
struct ButtonSlot {
    const char* text;
    int x, y, width, height;
    bool shown;
    void (FishSettingsDialog::*action)();
};

const ButtonSlot kButtons[] = {
    {"Add", 121, 324, 27, 15, true, &FishSettingsDialog::OnAdd},
    {"Delete", 150, 324, 32, 15, true, &FishSettingsDialog::OnDelete},
    {"Random", 184, 324, 31, 15, true, &FishSettingsDialog::OnRandom},
    {"Clear", 217, 324, 27, 15, true, &FishSettingsDialog::OnClear},
    // Reached through Enter and Escape only.
    {"OK", 211, 209, 47, 21, false, &FishSettingsDialog::OnOK},
    {"Cancel", 283, 209, 47, 21, false, &FishSettingsDialog::reject},
};

const QRect kTotalUnits(252, 332, 81, 8);
const QRect kLinkUnits(9, 332, 113, 12);
const QSize kClientUnits(333, 348);   // the picture's width; 4 units below the lowest control

const QColor kTotalText(0, 0, 255);
const QColor kTotalBackground(255, 255, 239);

// Pixel sizes tried for the dialog's font, largest first: the first one at
// which every caption fits its box is taken.
constexpr int kLargestFontPx = 12;
constexpr int kSmallestFontPx = 8;
constexpr int kCaptionMarginPx = 6;   // the button's border and some air

std::string FishKey(int species) { return "Fish" + std::to_string(species); }


}  // namespace

FishSettingsDialog::FishSettingsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Fish Settings - Plovi 1.0");
    setWindowModality(Qt::ApplicationModal);
    if (const BuiltinArt::Entry* art = BuiltinArt::Find(kBitmapId, "BITMAP"))
        m_picture.loadFromData(art->data, int(art->size));
    m_picture = m_picture.convertToFormat(QImage::Format_RGB32);
    const QRect client = FromDialogUnits(0, 0, kClientUnits.width(), kClientUnits.height());
    setFixedSize(client.size().expandedTo(m_picture.size()));
    CreateControls();
    m_saveTimer.setInterval(kSavePeriodMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &FishSettingsDialog::SaveAndApply);
    installEventFilter(this);
}

FishSettingsDialog::~FishSettingsDialog() = default;

QRect FishSettingsDialog::FromDialogUnits(int x, int y, int width, int height)
{
    auto px = [](int units, double perUnit) { return int(std::lround(units * perUnit)); };
    const int left = px(x, 1.5), top = px(y, 1.625);
    const int right = px(x + width, 1.5), bottom = px(y + height, 1.625);
    return QRect(left, top, right - left, bottom - top);
}

QRect FishSettingsDialog::CellRect(int index)
{
    const int column = index % kColumns, row = index / kColumns;
    return QRect(kCellWidth * column + 2, kCellHeight * row + 2, kCellWidth, kCellHeight);
}

QRect FishSettingsDialog::NumberArea(int index)
{
    // The cell's width, so a hand-edited count of many digits shows whole.
    return QRect(CellRect(index).topLeft(), QSize(kCellWidth, kNumberAreaSize));
}

QString FishSettingsDialog::TotalText(int total)
{
    return QString("Total: %1   (Max:%2)").arg(total).arg(kMaxFish);
}

QRect FishSettingsDialog::TotalRect() const
{
    return FromDialogUnits(kTotalUnits.x(), kTotalUnits.y(), kTotalUnits.width(), kTotalUnits.height());
}

int& FishSettingsDialog::PreviousSelection()
{
    static int previous = kNoSelection;
    return previous;
}

void FishSettingsDialog::CreateControls()
{
    QFont font = this->font();
    for (int px = kLargestFontPx; px >= kSmallestFontPx; --px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        bool fits = metrics.horizontalAdvance(TotalText(kMaxFish)) <= TotalRect().width();
        for (const ButtonSlot& slot : kButtons)
            fits = fits && metrics.horizontalAdvance(slot.text) + kCaptionMarginPx <=
                               FromDialogUnits(slot.x, slot.y, slot.width, slot.height).width();
        if (fits)
            break;
    }
    setFont(font);

    for (const ButtonSlot& slot : kButtons) {
        auto* button = new IconButton(slot.text, this);
        button->setGeometry(FromDialogUnits(slot.x, slot.y, slot.width, slot.height));
        button->setVisible(slot.shown);
        button->installEventFilter(this);
        connect(button, &IconButton::clicked, this, slot.action);
    }
    // The whole address, scheme included, in a font of its own that fits the
    // template's box: the buttons' captions keep their larger one.
    m_hyperlink = new HyperLink(kMakerAddress, this);
    m_hyperlink->SetAddress(kMakerAddress);
    const QRect linkBox = FromDialogUnits(kLinkUnits.x(), kLinkUnits.y(), kLinkUnits.width(), kLinkUnits.height());
    m_hyperlink->FitFontToWidth(linkBox.width(), font.pixelSize(), kSmallestFontPx);
    m_hyperlink->setGeometry(linkBox);
    m_hyperlink->installEventFilter(this);
}

// What a new modal run starts from: the file's counts, nothing selected.
void FishSettingsDialog::OnInitDialog()
{
    m_selection = kNoSelection;
    LoadCounts();
    RefreshTotal();
    m_saveTimer.start();
    CentreOnScreen();
}

void FishSettingsDialog::LoadCounts()
{
    const SettingsFile file;
    for (int i = 0; i < kSpeciesCount; ++i)
        m_counts[i] = file.ReadInt(SettingsSection::kFishNumber, FishKey(i));
    // A hand-edited value outside 0..kMaxFish shows as the file holds it, so
    // the grid tells what the file says; the scene keeps its own limits. It
    // stays in the file until the user changes a count.
    m_written = m_counts;
}

void FishSettingsDialog::CentreOnScreen()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->geometry().center() - rect().center());
}

void FishSettingsDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        OnInitDialog();
    QDialog::showEvent(event);
    // Without a window manager nothing else hands the keyboard over.
    activateWindow();
}

void FishSettingsDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);

    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < kSpeciesCount; ++i) {
        // Kept inside the number area, which is what a count change repaints.
        const QRect area = NumberArea(i).adjusted(2, 2, 0, 0);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, QString::number(m_counts[i]));
    }

    if (IsSpecies(m_selection)) {
        // Every pixel inside the ellipse inverted, whatever lies there.
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(CellRect(m_selection));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    PaintTotal(painter);
}

// Blue on light yellow behind the text only; the rest of the box keeps the
// dialog's colour.
void FishSettingsDialog::PaintTotal(QPainter& painter) const
{
    const QRect box = TotalRect();
    const QString text = TotalText();
    const QFontMetrics metrics(font());
    const QRect behind(box.topLeft(), QSize(metrics.horizontalAdvance(text), metrics.height()));
    painter.save();
    painter.setClipRect(box);
    painter.fillRect(behind.intersected(box), kTotalBackground);
    painter.setPen(kTotalText);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

void FishSettingsDialog::Select(const QPoint& at)
{
    int& previous = PreviousSelection();
    if (m_selection == kNoSelection)
        previous = kNoSelection;
    if (at.y() > kClearBelowY) {
        if (previous >= 0)
            update(CellRect(previous));
        m_selection = kNoSelection;
        return;
    }
    // The grid's 2-pixel offset is not subtracted.
    const int index = at.x() / kCellWidth + (at.y() / kCellHeight) * kColumns;
    m_selection = index;
    if (index != previous) {
        if (previous >= 0)
            update(CellRect(previous));
        update(CellRect(index));
    }
    previous = index;
}

void FishSettingsDialog::OnAdd()
{
    if (!IsSpecies(m_selection) || m_total >= kMaxFish)
        return;
    m_counts[m_selection] = std::min(m_counts[m_selection] + 1, kMaxFish);
    CountsChanged(m_selection);
}

void FishSettingsDialog::OnDelete()
{
    if (!IsSpecies(m_selection))
        return;
    m_counts[m_selection] = std::max(m_counts[m_selection] - 1, 0);
    CountsChanged(m_selection);
}

std::array<int, kSpeciesCount> FishSettingsDialog::RandomCounts(const std::function<int()>& draw)
{
    std::array<int, kSpeciesCount> counts{};
    int sum = 0;
    for (int& count : counts) {
        count = draw() % 2;
        sum += count;
        if (sum >= kMaxFish)
            count = 0;
    }
    return counts;
}

void FishSettingsDialog::OnRandom()
{
    m_counts = RandomCounts(Rand);
    if (m_selection >= 0)
        update(CellRect(m_selection));
    m_selection = kNoSelection;
    CountsChanged(kNoSelection);
}

void FishSettingsDialog::OnClear()
{
    m_counts.fill(0);
    CountsChanged(kNoSelection);
}

void FishSettingsDialog::CountsChanged(int species)
{
    if (IsSpecies(species)) {
        update(NumberArea(species));
    } else {
        for (int i = 0; i < kSpeciesCount; ++i)
            update(NumberArea(i));
    }
    RefreshTotal();
}

void FishSettingsDialog::RefreshTotal()
{
    m_total = std::accumulate(m_counts.begin(), m_counts.end(), 0);
    update(TotalRect());
}

void FishSettingsDialog::SaveAndApply()
{
    for (int i = 0; i < kSpeciesCount; ++i)
        g_speciesCount[i] = std::min(m_counts[i], kMaxFish);
    // The file is touched only after a change, so an unusable settings
    // directory gives one message per change instead of one every tick, and
    // a message box open during a write holds the next tick off.
    if (m_saving || m_counts == m_written)
        return;
    m_saving = true;
    m_written = m_counts;
    WriteCounts();
    m_saving = false;
}

// A failed write is not retried until the next change; the scene has the
// counts either way, and the file keeps what it held.
void FishSettingsDialog::WriteCounts()
{
    SettingsFile file;
    for (int i = 0; i < kSpeciesCount; ++i)
        file.WriteInt(SettingsSection::kFishNumber, FishKey(i), m_counts[i]);
    (void)file.Save();
}

void FishSettingsDialog::OnOK()
{
    SaveAndApply();
    accept();
}

// Cancel reverts nothing, and it also keeps a change made in the last half
// second, before the timer got to it: every way out keeps every change.
void FishSettingsDialog::reject()
{
    SaveAndApply();
    QDialog::reject();
}

void FishSettingsDialog::done(int result)
{
    m_saveTimer.stop();
    // The keyboard goes back to the window below before this one goes away.
    // Asked for afterwards it can be lost: without a window manager the X
    // server moves the focus when the focused window is unmapped, at a time
    // later than any event Qt could date the request with, and then ignores
    // the request.
    if (QWidget* below = parentWidget())
        below->window()->activateWindow();
    QDialog::done(result);
}

void FishSettingsDialog::closeEvent(QCloseEvent* event)
{
    if (isVisible())
        OnOK();
    event->accept();
}

void FishSettingsDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Select(event->position().toPoint());
    QDialog::mousePressEvent(event);
}

// The second press of a double click arrives as this event instead, so a
// left double click selects (first press) and then adds one.
void FishSettingsDialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnAdd();
    else if (event->button() == Qt::RightButton)
        OnDelete();
}

void FishSettingsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnOK();
        return;
    }
    QDialog::keyPressEvent(event);   // Escape: reject()
}

bool FishSettingsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && TakeLetterKey(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// The letter shortcuts come before any control's own key handling, whichever
// control has the focus, and are consumed.
bool FishSettingsDialog::TakeLetterKey(const QEvent* event)
{
    switch (static_cast<const QKeyEvent*>(event)->key()) {
    case Qt::Key_A: OnAdd(); return true;
    case Qt::Key_D: OnDelete(); return true;
    case Qt::Key_R: OnRandom(); return true;
    case Qt::Key_C: OnClear(); return true;
    default: return false;
    }
}
