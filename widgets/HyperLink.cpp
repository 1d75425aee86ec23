// SPDX-License-Identifier: MIT
#include "widgets/HyperLink.h"

#include "platform/MessageBox.h"
#include "platform/qt/BrowserLauncher.h"

#include <QApplication>
#include <QMouseEvent>

#include <utility>

HyperLink::HyperLink(QWidget* parent) : HyperLink(QString(), parent) {}

HyperLink::HyperLink(const QString& text, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setText(text);
    setMouseTracking(true);
    m_hoverColour = palette().color(QPalette::Highlight);
    ApplyColour();
}

void HyperLink::SetAddress(const QString& address)
{
    m_address = address;
    if (m_attached) {
        setToolTip(m_address);
    }
}

QString HyperLink::Address() const
{
    return m_address;
}

void HyperLink::SetForcedTextColor(const QColor& colour)
{
    m_forcedColour = colour;
    ApplyColour();
}

void HyperLink::SetUnderline(bool on)
{
    m_underline = on;
}

void HyperLink::SetAdjustToFit(bool on)
{
    m_adjustToFit = on;
}

void HyperLink::SetLauncher(Launcher launcher)
{
    m_launcher = std::move(launcher);
}

void HyperLink::FitFontToWidth(int width, int largestPx, int smallestPx)
{
    const QString shown = text().isEmpty() ? m_address : text();
    QFont fitted = font();
    for (int px = largestPx; px >= smallestPx; --px) {
        fitted.setPixelSize(px);
        if (px == smallestPx || QFontMetrics(fitted).size(Qt::TextSingleLine, shown).width() <= width)
            break;
    }
    setFont(fitted);
}

void HyperLink::Attach()
{
    if (m_attached) {
        return;
    }
    m_attached = true;
    if (m_address.isEmpty()) {
        m_address = text();
    }
    if (text().isEmpty()) {
        setText(m_address);
    }
    QFont underlined = font();
    underlined.setUnderline(m_underline);
    setFont(underlined);
    AdjustToFit();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_address);
}

bool HyperLink::IsVisited() const
{
    return m_visited;
}

bool HyperLink::IsOver() const
{
    return m_over;
}

QColor HyperLink::TextColour() const
{
    if (m_forcedColour.isValid()) {
        return m_forcedColour;
    }
    if (m_over) {
        return m_hoverColour;
    }
    return m_visited ? m_visitedColour : m_linkColour;
}

QString HyperLink::ErrorMessage(int code)
{
    const char* reason = nullptr;
    switch (code) {
    case 0: reason = "The operating system is out\nof memory or resources."; break;
    case 2: reason = "The specified file was not found."; break;
    case 3: reason = "The specified path was not found."; break;
    case 5: reason = "The operating system denied\naccess to the specified file."; break;
    case 8: reason = "There was not enough memory to complete the operation."; break;
    case 11: reason = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case 26: reason = "A sharing violation occurred. "; break;
    case 27: reason = "The filename association is\nincomplete or invalid."; break;
    case 28: reason = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case 29: reason = "The DDE transaction failed."; break;
    case 30:
        reason = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case 31: reason = "There is no application associated\nwith the given filename extension."; break;
    case 32: reason = "The specified dynamic-link library was not found."; break;
    default: break;
    }
    const QString text = reason != nullptr ? QString::fromLatin1(reason)
                                           : QStringLiteral("Unknown Error (%1) occurred.").arg(code);
    return QStringLiteral("Unable to open hyperlink:\n\n") + text;
}

void HyperLink::showEvent(QShowEvent* event)
{
    Attach();
    QLabel::showEvent(event);
}

void HyperLink::hideEvent(QHideEvent* event)
{
    SetOver(false);
    QLabel::hideEvent(event);
}

void HyperLink::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    if (!m_over) {
        SetOver(true);
    } else if (!rect().contains(event->position().toPoint())) {
        SetOver(false);
    }
}

void HyperLink::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void HyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click) {
        Follow();
    }
}

// Opens the address. The hover ends first, so that the browser's window or
// the failure's message box gets the mouse.
void HyperLink::Follow()
{
    SetOver(false);
    const int result = m_launcher ? m_launcher(m_address) : BrowserLauncher::Open(m_address);
    m_visited = result > 32;
    ApplyColour();
    repaint();
    if (!m_visited) {
        QApplication::beep();
        ShowMessageBox(ErrorMessage(result).toStdString(), "PloviFishScr", MessageIcon::Exclamation);
    }
}

// Over: the colour changes at once and the link holds the mouse grab.
void HyperLink::SetOver(bool over)
{
    if (m_over == over) {
        return;
    }
    m_over = over;
    if (over) {
        grabMouse();
    } else if (mouseGrabber() == this) {
        releaseMouse();
    }
    ApplyColour();
    repaint();
}

// Sizes the label to its text, keeping the edge its alignment names (the
// middle when centred).
void HyperLink::AdjustToFit()
{
    if (!m_adjustToFit) {
        return;
    }
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    QRect box = geometry();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignVCenter) {
        box.setTop(box.top() + (box.height() - textSize.height()) / 2);
    }
    box.setHeight(textSize.height());
    if (align & Qt::AlignHCenter) {
        box.setLeft(box.left() + (box.width() - textSize.width()) / 2);
        box.setWidth(textSize.width());
    } else if (align & Qt::AlignRight) {
        box.setLeft(box.right() + 1 - textSize.width());
    } else {
        box.setWidth(textSize.width());
    }
    setGeometry(box);
}

void HyperLink::ApplyColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, TextColour());
    setPalette(colours);
}
