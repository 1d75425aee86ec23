// SPDX-License-Identifier: MIT
#include "platform/MessageBox.h"
#include "sound/MusicDialog.h"
#include "tests/shell/PixelProbe.h"
#include "ui/BackgroundDialog.h"
#include "ui/ControlBar.h"
#include "ui/FishSettingsDialog.h"
#include "widgets/CheckButton.h"
#include "widgets/HyperLink.h"
#include "widgets/IconButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

// How the dialogs and the bar look in the desktop's default fonts: every
// caption whole, every mark whole and clear of its caption, no box across a
// group's frame, the captions of a row on one baseline. The suite runs at
// several screen sizes and at QT_SCALE_FACTOR=2 (see tests/CMakeLists.txt),
// so pictures are in device pixels and every size is scaled by the ratio.

namespace {

// A rectangle in widget pixels as device pixels.
QRect Device(const QRect& r, double ratio)
{
    return QRect(QPoint(int(r.left() * ratio), int(r.top() * ratio)),
                 QPoint(int((r.right() + 1) * ratio) - 1, int((r.bottom() + 1) * ratio) - 1));
}

// A widget as it shows in its window, over what lies behind it.
QImage Seen(QWidget& widget)
{
    QWidget& window = *widget.window();
    const QRect place(widget.mapTo(&window, QPoint(0, 0)), widget.size());
    return PixelProbe::Render(window).copy(Device(place, widget.devicePixelRatioF()));
}

bool Differs(QRgb a, QRgb b)
{
    constexpr int kTolerance = 24;
    return qAbs(qAlpha(a) - qAlpha(b)) > kTolerance || qAbs(qRed(a) - qRed(b)) > kTolerance ||
           qAbs(qGreen(a) - qGreen(b)) > kTolerance || qAbs(qBlue(a) - qBlue(b)) > kTolerance;
}

// Pixels that differ between two pictures of one size.
QImage Changes(const QImage& a, const QImage& b)
{
    QImage mask(a.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (Differs(a.pixel(x, y), b.pixel(x, y)))
                mask.setPixel(x, y, 1);
    return mask;
}

QRect BoxOf(const QImage& mask)
{
    QRect box;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.pixelIndex(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The row letters stand on: the lowest one holding at least 40 % of the
// fullest row's ink (descenders hold far less). Device pixels.
int Baseline(const QImage& mask)
{
    std::vector<int> perRow(mask.height(), 0);
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            perRow[y] += mask.pixelIndex(x, y);
    const int fullest = *std::max_element(perRow.begin(), perRow.end());
    int baseline = -1;
    for (int y = 0; y < mask.height(); ++y)
        if (fullest > 0 && perRow[y] * 10 >= fullest * 4)
            baseline = y;
    return baseline;
}

// What a caption paints: the change between the widget with its text and
// without it.
QImage CaptionInk(QWidget& widget, const std::function<QString()>& get, const std::function<void(QString)>& set)
{
    const QString text = get();
    const QImage with = Seen(widget);
    set(QString());
    const QImage without = Seen(widget);
    set(text);
    return Changes(with, without);
}

QImage CaptionInk(QWidget& widget)
{
    if (auto* label = qobject_cast<QLabel*>(&widget))
        return CaptionInk(widget, [label] { return label->text(); }, [label](QString t) { label->setText(t); });
    auto* button = qobject_cast<QAbstractButton*>(&widget);
    return CaptionInk(widget, [button] { return button->text(); }, [button](QString t) { button->setText(t); });
}

QString TextOf(QWidget& widget)
{
    if (auto* label = qobject_cast<QLabel*>(&widget))
        return label->text();
    return qobject_cast<QAbstractButton*>(&widget)->text();
}

// The caption is whole: its ink is as large as the font's glyphs, within
// the faint columns and rows that antialiasing leaves below the threshold; a
// caption cut by its widget or by the area it is drawn into loses more.
void ExpectWholeCaption(QWidget& widget)
{
    const QString text = TextOf(widget);
    SCOPED_TRACE(text.toStdString());
    const double ratio = widget.devicePixelRatioF();
    const QImage ink = CaptionInk(widget);
    const QRect box = BoxOf(ink);
    ASSERT_FALSE(box.isEmpty());
    const QRect glyphs = widget.fontMetrics().tightBoundingRect(text.trimmed());
    EXPECT_GE(box.height(), (glyphs.height() - 2) * ratio) << "rows cut";
    EXPECT_GE(box.width(), (glyphs.width() - 2) * ratio) << "columns cut";
}

// The mark is whole: its square lies in the box and holds all that changes
// between ticked and clear; a lamp's change is a disc (as wide as high); a
// captioned box's mark keeps 2 px from its caption.
void ExpectWholeMark(CheckButton& box, bool lamp)
{
    SCOPED_TRACE(("box " + QString::number(box.ControlId())).toStdString());
    EXPECT_TRUE(box.rect().contains(box.MarkSquare()));
    const double ratio = box.devicePixelRatioF();
    const int was = box.GetCheck();
    box.SetCheck(1);
    const QImage ticked = Seen(box);
    box.SetCheck(0);
    const QImage clear = Seen(box);
    box.SetCheck(was);
    const QRect mark = BoxOf(Changes(ticked, clear));
    ASSERT_FALSE(mark.isEmpty());
    EXPECT_TRUE(Device(box.MarkSquare(), ratio).contains(mark)) << "mark outside its square";
    if (lamp) {
        EXPECT_LE(qAbs(mark.width() - mark.height()), ratio) << "a cut lamp";
        EXPECT_GE(mark.height(), 11 * ratio);
    }
    if (!box.text().isEmpty()) {
        const QRect caption = BoxOf(CaptionInk(box));
        EXPECT_GE(caption.left() - (Device(box.MarkSquare(), ratio).right() + 1), 2 * ratio) << "touches";
    }
}

// The ink of a widget's caption, in its parent's device pixels.
QRect InkInParent(QWidget& widget)
{
    const double ratio = widget.devicePixelRatioF();
    return BoxOf(CaptionInk(widget)).translated(int(widget.x() * ratio), int(widget.y() * ratio));
}

// Device pixels less than one widget pixel: how far glyph shapes may move a
// found baseline at a higher ratio.
int SubPixel(double ratio)
{
    return int(ratio) - 1;
}

// The baseline of a widget's caption in its parent's device pixels.
int BaselineInParent(QWidget& widget)
{
    return Baseline(CaptionInk(widget)) + int(widget.y() * widget.devicePixelRatioF());
}

class DialogLook : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_oldHandler = SetMessageBoxHandler([](const std::string&, const std::string&, MessageIcon) {});
    }
    void TearDown() override { SetMessageBoxHandler(m_oldHandler); }
    static void Show(QWidget& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    MessageBoxHandler m_oldHandler;
};

TEST_F(DialogLook, MusicDialogCaptionsAndLampsAreWholeInsideTheirFramesOnOneBaseline)
{
    MusicDialog dialog;
    Show(dialog);
    const QList<CheckButton*> boxes = dialog.findChildren<CheckButton*>();
    ASSERT_EQ(boxes.size(), 4);
    for (CheckButton* box : boxes) {
        ExpectWholeCaption(*box);
        ExpectWholeMark(*box, box->ControlId() != MusicDialog::kOnOffId);
    }
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        ExpectWholeCaption(*button);
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect inside = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), inside.width()) << button->text().toStdString();
    }
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        EXPECT_TRUE(group->rect().contains(title)) << group->title().toStdString();
        EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()), title.width()) << group->title().toStdString();
    }

    // The frames' lines are the same with the boxes shown as without them.
    const double ratio = dialog.devicePixelRatioF();
    for (CheckButton* box : boxes)
        box->hide();
    const QImage bare = PixelProbe::Render(dialog);
    for (CheckButton* box : boxes)
        box->show();
    const QImage shown = PixelProbe::Render(dialog);
    const QRgb face = bare.pixel(1, 1);
    for (QGroupBox* group : dialog.findChildren<QGroupBox*>()) {
        const QRect title(group->pos(), QSize(group->fontMetrics().horizontalAdvance(group->title()) + 12,
                                              group->fontMetrics().height() + 3));
        const QRect area = Device(group->geometry(), ratio);
        int lines = 0, cut = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                if (Device(title, ratio).contains(x, y) || qGray(bare.pixel(x, y)) > qGray(face) - 12)
                    continue;
                ++lines;
                cut += Differs(bare.pixel(x, y), shown.pixel(x, y)) ? 1 : 0;
            }
        EXPECT_GT(lines, group->width()) << group->title().toStdString();
        EXPECT_EQ(cut, 0) << group->title().toStdString() << ": frame pixels covered";
    }

    const int baseline = BaselineInParent(*boxes.first());
    for (CheckButton* box : boxes)
        EXPECT_NEAR(BaselineInParent(*box), baseline, SubPixel(ratio)) << box->text().toStdString();
}

TEST_F(DialogLook, BackgroundDialogMarksAreWholeAndClearOfTheLabelsWhichShareABaseline)
{
    BackgroundDialog dialog([] { return false; }, QSize(1024, 768));
    Show(dialog);
    const double ratio = dialog.devicePixelRatioF();
    for (QLabel* label : dialog.findChildren<QLabel*>())
        ExpectWholeCaption(*label);
    for (IconButton* button : dialog.findChildren<IconButton*>())
        ExpectWholeCaption(*button);

    std::vector<QRect> labels;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labels.push_back(InkInParent(*label));
    for (int id : {BackgroundDialog::kOwnImageBox, BackgroundDialog::kRepeatOneBox, BackgroundDialog::kRepeatAllBox,
                   BackgroundDialog::kRandomBox}) {
        CheckButton& box = dialog.Box(id);
        ExpectWholeMark(box, id != BackgroundDialog::kOwnImageBox);
        const QRect mark = Device(box.MarkSquare().translated(box.pos()), ratio);
        for (const QRect& label : labels)
            EXPECT_FALSE(mark.adjusted(-2 * ratio, 0, 2 * ratio, 0).intersects(label))
                << "box " << id << " touches a label";
    }

    for (const QStringList& row : {QStringList{"Use your own image", "Repeat One", "Repeat All", "Random "},
                                   QStringList{"Interval", "S"}}) {
        const int baseline = BaselineInParent(*PixelProbe::ChildWithText<QLabel>(dialog, row.first()));
        for (const QString& text : row)
            EXPECT_NEAR(BaselineInParent(*PixelProbe::ChildWithText<QLabel>(dialog, text)), baseline, SubPixel(ratio)) << text.toStdString();
    }
}

TEST_F(DialogLook, FishSettingsAndBarCaptionsAndLinksAreWholeInTheirBoxes)
{
    FishSettingsDialog fish;
    Show(fish);
    for (IconButton* button : fish.findChildren<IconButton*>())
        if (button->isVisible())
            ExpectWholeCaption(*button);
    HyperLink* link = fish.findChild<HyperLink*>();
    ASSERT_NE(link, nullptr);
    ExpectWholeCaption(*link);
    EXPECT_TRUE(FishSettingsDialog::FromDialogUnits(9, 332, 113, 12).contains(link->geometry()));

    ControlBar bar;
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    ExpectWholeCaption(bar.Link());
    EXPECT_EQ(bar.Link().text().toStdString(), kMakerAddress);
    EXPECT_TRUE(ControlBar::FromDialogUnits(574, 16, 96, 9).contains(bar.Link().geometry()))
        << "the link stays in its box, off the bar's art";
    ExpectWholeCaption(*PixelProbe::ChildWithText<QLabel>(bar, "Plovi 1.0"));
}

}  // namespace
