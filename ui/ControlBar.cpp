// SPDX-License-Identifier: MIT
#include "ui/ControlBar.h"

#include "platform/qt/TaskbarEntry.h"
#include "resources/BuiltinArt.h"
#include "ui/DigitalClock.h"
#include "widgets/HyperLink.h"
#include "widgets/IconButton.h"

#include <QApplication>
#include <QBitmap>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTime>
#include <QWindow>
#include <algorithm>

namespace {

// One button of the bar: its caption (drawn beside the icon and shown as its
// tooltip, so a first look tells what each button does), place in dialog units, 32 x 32 icon and the command it stores (0: Add
// Fish, which stores nothing).
struct ButtonSlot {
    const char* text;
    int x, y, width, height;
    int icon;
    int command;
};

const ButtonSlot kButtons[] = {
    {"Feed Fish", 7, 10, 54, 15, 136, CMD_FEED},
    {"Touch Fish", 63, 10, 54, 15, 160, CMD_TOUCH},
    {"ZoomIn Fish", 119, 10, 59, 15, 134, CMD_ZOOMIN},
    {"ZoomOut Fish", 180, 10, 65, 15, 135, CMD_ZOOMOUT},
    {"Add Fish", 247, 10, 54, 15, 180, 0},
    {"Custom Music", 303, 10, 64, 15, 253, CMD_MUSIC},
    {"Custom Image", 369, 10, 64, 15, 232, CMD_IMAGE},
    {"Exit", 435, 10, 54, 15, 175, CMD_EXIT},
};

constexpr int kIconSize = 32;   // pixels
// Buttons without captions: the icon and a margin (pixels).
constexpr int kCompactButtonWidth = 40;
constexpr int kCompactGap = 4;
// The widest caption, "ZoomOut Fish", fits its slot's 95 pixels beside the
// icon at this size in the desktop's sans-serif.
constexpr int kCaptionPixelSize = 12;

QFont CaptionFont(QFont font)
{
    font.setPixelSize(kCaptionPixelSize);
    return font;
}

// Pixel sizes tried for the link's font, largest first.
constexpr int kLinkLargestPx = 13;
constexpr int kLinkSmallestPx = 8;

const QColor kTextColour(255, 255, 255);
const QColor kClockBackground(0, 0, 0);
const QColor kClockSegments(0, 255, 0);
// The buttons let the bar's picture show through and light up a little
// under the pointer.
const QColor kButtonFace(0, 0, 0, 0);
const QColor kButtonLit(255, 255, 255, 56);

}  // namespace

ControlBar::ControlBar() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setWindowTitle("Plovi 1.0");
    // The aquarium keeps the keyboard when the bar appears (Escape must work
    // at once), and the bar's tooltips show although it is not the active
    // window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    LoadPicture();
    CreateButtons();
    CreateTexts();
    LayOut(width());
    m_clockTimer.setInterval(kClockPeriodMs);
    connect(&m_clockTimer, &QTimer::timeout, this, &ControlBar::OnTimer);
    m_clockTimer.start();
}

ControlBar::~ControlBar() = default;

QRect ControlBar::FromDialogUnits(int x, int y, int width, int height)
{
    return QRect(2 * x, 2 * y, 2 * width, 2 * height);
}

// The window takes the picture's size and shape: every pixel of the key
// colour is cut out.
void ControlBar::LoadPicture()
{
    if (const BuiltinArt::Entry* art = BuiltinArt::Find(kBitmapId, "BITMAP"))
        m_picture.loadFromData(art->data, int(art->size));
    if (m_picture.isNull()) {
        setFixedSize(2016, 64);
        return;
    }
    m_picture = m_picture.convertToFormat(QImage::Format_RGB32);
    m_background = QPixmap::fromImage(m_picture);
    setFixedSize(m_picture.size());
    // The default MaskInColor marks the key's pixels, which a widget mask
    // leaves out of the window.
    setMask(QBitmap::fromImage(m_picture.createMaskFromColor(kColourKey)));
}

void ControlBar::CreateButtons()
{
    for (const ButtonSlot& slot : kButtons) {
        auto* button = new IconButton(slot.text, this);
        m_buttons.push_back(button);
        button->SetIcon(slot.icon, 0, kIconSize, kIconSize);
        button->SetHoverBorder(false);
        button->SetShowText(true);
        button->setToolTip(slot.text);
        button->setFont(CaptionFont(button->font()));
        button->SetInactiveColours(kButtonFace, kTextColour);
        button->SetActiveColours(kButtonLit, kTextColour);
        // A click must not give a button the keyboard: the bar hands any
        // activation straight back to the aquarium, and the focus leaving
        // the button between press and release would take the press back,
        // losing the click (seen under load, with and without a window
        // manager).
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        if (slot.command == 0) {
            connect(button, &IconButton::clicked, this, &ControlBar::addFishRequested);
        } else {
            const int command = slot.command;
            connect(button, &IconButton::clicked, this, [this, command] { m_nCommand = command; });
        }
    }
}

void ControlBar::CreateTexts()
{
    m_clock = new DigitalClock(this);
    m_clock->setGeometry(FromDialogUnits(499, 11, 60, 15));
    m_clock->installEventFilter(this);

    auto* title = new QLabel("Plovi 1.0", this);
    m_title = title;
    QFont titleFont = title->font();
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    title->setFont(titleFont);
    QPalette white = title->palette();
    white.setColor(QPalette::WindowText, kTextColour);
    title->setPalette(white);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    title->installEventFilter(this);

    m_hyperlink = new HyperLink(kMakerAddress, this);
    m_hyperlink->SetAddress(kMakerAddress);
    m_hyperlink->SetForcedTextColor(kTextColour);
    // The whole address within the template's box, so it stays off the
    // bar's art to the right.
    const QRect linkBox = FromDialogUnits(574, 16, 96, 9);
    m_hyperlink->FitFontToWidth(linkBox.width(), kLinkLargestPx, kLinkSmallestPx);
    // LayOut places it in that box, or moves it after the buttons.
    m_hyperlink->installEventFilter(this);
}

QRect ControlBar::ButtonPlace(int index, bool withCaptions)
{
    const ButtonSlot& slot = kButtons[index];
    // The template's 30-pixel-high slot, grown about its middle so the
    // 32 x 32 icon is not clipped.
    QRect place = FromDialogUnits(slot.x, slot.y, slot.width, slot.height);
    const int grow = std::max(0, kIconSize - place.height());
    place.adjust(0, -grow / 2, 0, grow - grow / 2);
    if (withCaptions)
        return place;
    // Icons alone, packed from the first slot's left edge.
    const int first = FromDialogUnits(kButtons[0].x, 0, 0, 0).x();
    return QRect(first + index * (kCompactButtonWidth + kCompactGap), place.y(), kCompactButtonWidth,
                 place.height());
}

void ControlBar::LayOut(int screenWidth)
{
    // The window ends at the screen's edge: past it lies the next monitor,
    // if any, which the bar must leave alone.
    const int pictureWidth = m_picture.isNull() ? 2016 : m_picture.width();
    setFixedSize(std::max(1, std::min(pictureWidth, screenWidth)), height());
    const int count = int(m_buttons.size());
    // Captions beside the icons while all eight buttons fit the screen that
    // way; on a narrower screen (800 pixels, or a scaled one) the icons alone,
    // with their captions as tooltips.
    const bool withCaptions = ButtonPlace(count - 1, true).right() < screenWidth;
    for (int i = 0; i < count; ++i) {
        m_buttons[size_t(i)]->SetShowText(withCaptions);
        m_buttons[size_t(i)]->setGeometry(ButtonPlace(i, withCaptions));
    }
    QRect clock = FromDialogUnits(499, 11, 60, 15);
    QRect title = FromDialogUnits(574, 4, 153, 13);
    QRect link = FromDialogUnits(574, 16, 96, 9);
    if (!withCaptions) {
        // The texts follow the packed buttons, in the template's order.
        const int shift = ButtonPlace(count - 1, false).right() + 2 * kCompactGap + 1 - clock.x();
        clock.translate(shift, 0);
        title.translate(shift, 0);
        link.translate(shift, 0);
    }
    m_clock->setGeometry(clock);
    m_title->setGeometry(title);
    m_hyperlink->setGeometry(link);
    // What cannot show whole is left out: a cut clock reads as a wrong
    // time, a cut address as a wrong one.
    const QRect screen(0, 0, screenWidth, height());
    m_clock->setVisible(screen.contains(clock));
    m_title->setVisible(screen.contains(QRect(title.topLeft(), m_title->sizeHint().boundedTo(title.size()))));
    // The link takes its text's width when it shows, whatever its slot.
    const int linkWidth = m_hyperlink->fontMetrics().horizontalAdvance(m_hyperlink->text());
    m_hyperlink->setVisible(screen.contains(QRect(link.topLeft(), QSize(linkWidth, 1))));
}

void ControlBar::ShowOver(QWidget& frame)
{
    // The primary screen's top-left corner, also when it is not the
    // desktop's left or top monitor; sizes are in the screen's own
    // (possibly scaled) pixels.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, width(), height());
    LayOut(area.width());
    // Placed before its native window is made, so the window carries the
    // place as one the program asked for, which window managers keep.
    setGeometry(QRect(area.topLeft(), size()));
    // The bar belongs to the aquarium's window before it is first mapped: a
    // window manager reads WM_TRANSIENT_FOR then, keeps a transient window
    // above its parent (also a full-screen one) and lists the two as one
    // application, not two tasks.
    winId();
    if (windowHandle()) {
        if (frame.windowHandle())
            windowHandle()->setTransientParent(frame.windowHandle());
        TaskbarEntry::Skip(*windowHandle());
    }
    // The clock shows the time from its first paint, not only from the first
    // tick of its timer: the start-up work before the event loop runs (the
    // sound devices among it) can hold that tick back for a while.
    OnTimer();
    show();
    // Without a window manager, raising is what keeps it above the frame.
    raise();
    KeepAbove(frame);
}

void ControlBar::KeepAbove(QWidget& frame)
{
    if (m_frame == &frame)
        return;
    if (m_frame)
        m_frame->removeEventFilter(this);
    m_frame = &frame;
    m_frame->installEventFilter(this);
}

void ControlBar::OnTimer()
{
    const QTime now = QTime::currentTime();
    m_clock->SetBackgroundColour(kClockBackground);
    m_clock->SetSegmentColour(kClockSegments);
    m_clock->SetTime(now.hour(), now.minute(), now.second());
}

void ControlBar::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, m_background);
}

bool ControlBar::IsSwallowedKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

void ControlBar::keyPressEvent(QKeyEvent* event)
{
    if (IsSwallowedKey(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The bar never keeps the keyboard: a window manager may hand it the focus
// (IceWM does when a modal dialog over the aquarium closes, or on a click on
// a button), and then Escape and the aquarium's other keys would do nothing.
// The aquarium's window takes it back once the activation has settled.
void ControlBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_frame)
        return;
    QPointer<QWidget> frame = m_frame;
    QTimer::singleShot(0, this, [this, frame] {
        if (frame && isActiveWindow() && !AnyDialogShows() && !DialogAsked())
            frame->activateWindow();
    });
}

// A click on Custom Music or Custom Image opens its dialog at the next tick,
// and the dialog takes the keyboard then: handing it to the aquarium first
// would race the dialog's own request, which a window manager may then
// refuse as older than the aquarium's.
bool ControlBar::DialogAsked() const
{
    return m_nCommand == CMD_MUSIC || m_nCommand == CMD_IMAGE;
}

// A dialog of the program on the screen keeps what the window manager does
// with the keyboard: the bar's activation may come in after the dialog's own
// (a click on a bar button opens one), and must not take it from the dialog.
bool ControlBar::AnyDialogShows()
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* w) { return w->isVisible() && w->windowType() == Qt::Dialog; });
}

bool ControlBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_frame) {
        if (!isVisible())
            return false;
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::WindowActivate:
        case QEvent::WindowStateChange:
        case QEvent::ZOrderChange:
            raise();
            break;
        default:
            break;
        }
        return false;
    }
    // Enter and Escape on any of the bar's controls end here.
    return IsSwallowedKey(event);
}
