// SPDX-License-Identifier: MIT
#include "ui/PreferencesDialog.h"

#include "settings/SettingsFile.h"
#include "widgets/CheckButton.h"
#include "widgets/IconButton.h"
#include "widgets/RoundSlider.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QGroupBox>
#include <QLabel>

namespace {

constexpr int kWidthDu = 240;
constexpr int kHeightDu = 180;
// Control ids of the check boxes.
constexpr int kPictureId = 1101, kGradientId = 1102, kMuteId = 1103;

QColor DefaultColourPicker(const QColor& current, QWidget* parent)
{
    return QColorDialog::getColor(current, parent, "Choose a colour");
}

// Dark text on a light colour, light text on a dark one.
QColor TextOn(const QColor& colour)
{
    return colour.lightness() > 128 ? QColor(0, 0, 0) : QColor(255, 255, 255);
}

}  // namespace

QColor PreferencesDialog::FromColorRef(int colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

int PreferencesDialog::ToColorRef(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

PreferencesDialog::PreferencesDialog(QWidget* parent) : QDialog(parent), m_pickColour(DefaultColourPicker)
{
    setWindowTitle("Preferences - Plovi 1.0");
    setModal(false);
    // 1.5 px per horizontal and 1.625 px per vertical unit, as the other dialogs.
    setFixedSize(kWidthDu * 3 / 2, kHeightDu * 13 / 8);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    CreateControls();
    ConnectControls();
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &PreferencesDialog::SaveSettings);
    Load();
}

PreferencesDialog::~PreferencesDialog() = default;

void PreferencesDialog::CreateControls()
{
    const auto place = [](QWidget* w, int x, int y, int width, int height) {
        const auto h = [](int u) { return u * 3 / 2; };
        const auto v = [](int u) { return u * 13 / 8; };
        w->setGeometry(h(x), v(y), h(x + width) - h(x), v(y + height) - v(y));
    };
    const auto group = [&](const char* title, int x, int y, int w, int h) {
        auto* box = new QGroupBox(title, this);
        place(box, x, y, w, h);
        box->lower();
    };
    const auto label = [&](const QString& text, int x, int y, int w, int h) {
        auto* l = new QLabel(text, this);
        place(l, x, y, w, h);
        return l;
    };
    const auto slider = [&](int max, int x, int y, int w) {
        auto* s = new RoundSlider(Qt::Horizontal, this);
        s->setRange(0, max);
        place(s, x, y, w, 14);
        return s;
    };
    const auto check = [&](int id, const char* text, int x, int y, int w) {
        auto* c = new CheckButton(id, text, this);
        place(c, x, y, w, 11);
        return c;
    };

    group("Light and fog", 7, 5, 226, 50);
    label("Light", 14, 18, 30, 9);
    m_light = slider(100, 46, 15, 140);
    m_lightText = label(QString(), 190, 18, 40, 9);
    label("Fog", 14, 36, 30, 9);
    m_fog = slider(25, 46, 33, 140);
    m_fogText = label(QString(), 190, 36, 40, 9);

    group("Background", 7, 60, 226, 60);
    m_picture = check(kPictureId, "Show the background picture", 14, 71, 160);
    m_gradient = check(kGradientId, "Colour gradient behind the picture", 14, 85, 160);
    const char* const names[] = {"Top colour", "Bottom colour"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new IconButton(names[i], this);
        button->SetFlat(false);
        place(button, 24 + i * 70, 100, 62, 14);
        m_colourButtons[i] = button;
    }

    group("Built-in tune", 7, 125, 226, 30);
    label("Volume", 14, 138, 30, 9);
    m_volume = slider(100, 46, 135, 110);
    m_volumeText = label(QString(), 158, 138, 26, 9);
    m_mute = check(kMuteId, "Mute", 186, 137, 42);

    auto* close = new IconButton("Close", this);
    close->SetFlat(false);
    place(close, 183, 161, 50, 14);
    connect(close, &IconButton::clicked, this, &PreferencesDialog::reject);
}

void PreferencesDialog::ConnectControls()
{
    connect(m_light, &QSlider::valueChanged, this, [this](int brightness) {
        if (m_showing)
            return;
        m_values.light = 100 - brightness;
        Changed();
    });
    connect(m_fog, &QSlider::valueChanged, this, [this](int density) {
        if (m_showing)
            return;
        m_values.fog = 25 - density;
        Changed();
    });
    connect(m_volume, &QSlider::valueChanged, this, &PreferencesDialog::OnVolumeMoved);
    connect(m_picture, &CheckButton::commandPosted, this, [this] {
        m_values.picture = m_picture->GetCheck() == 1;
        Changed();
    });
    connect(m_gradient, &CheckButton::commandPosted, this, [this] {
        m_values.gradient = m_gradient->GetCheck() == 1;
        Changed();
    });
    connect(m_mute, &CheckButton::commandPosted, this, &PreferencesDialog::OnMuteClicked);
    for (Colour which : {Colour::Top, Colour::Bottom})
        connect(m_colourButtons[int(which)], &IconButton::clicked, this, [this, which] { OnColourClicked(which); });
}

void PreferencesDialog::Load()
{
    m_saveTimer.stop();
    m_values = m_saved = PreferenceValues::Read(SettingsFile());
    const int percent = PreferenceValues::Percent(m_values.yinliang);
    m_level = percent > 0 ? percent : PreferenceValues::Percent(PreferenceValues().yinliang);
    ShowValues();
}

void PreferencesDialog::ShowValues()
{
    m_showing = true;
    m_light->setValue(100 - m_values.light);
    m_fog->setValue(25 - m_values.fog);
    m_volume->setValue(m_level);
    m_picture->SetCheck(m_values.picture ? 1 : 0);
    m_gradient->SetCheck(m_values.gradient ? 1 : 0);
    m_mute->SetCheck(m_values.yinliang == PreferenceValues::kSilent ? 1 : 0);
    ShowColour(Colour::Top);
    ShowColour(Colour::Bottom);
    ShowNumbers();
    m_showing = false;
}

void PreferencesDialog::ShowNumbers()
{
    m_lightText->setText(QString("%1 %").arg(100 - m_values.light));
    m_fogText->setText(m_values.fog == 25 ? QString("none") : QString("%1 %").arg((25 - m_values.fog) * 4));
    m_volumeText->setText(QString("%1 %").arg(m_level));
}

void PreferencesDialog::ShowColour(Colour which)
{
    const int colorRef = which == Colour::Top ? m_values.topColour : m_values.bottomColour;
    const QColor colour = FromColorRef(colorRef);
    IconButton& button = *m_colourButtons[int(which)];
    button.SetInactiveColours(colour, TextOn(colour));
    button.SetActiveColours(colour.lighter(115), TextOn(colour));
    button.update();
}

void PreferencesDialog::Changed()
{
    ShowNumbers();
    emit valuesChanged(m_values);
    m_saveTimer.start();
}

void PreferencesDialog::OnVolumeMoved(int percent)
{
    if (m_showing)
        return;
    m_level = percent;
    m_values.yinliang = AttenuationFor(percent);
    m_mute->SetCheck(m_values.yinliang == PreferenceValues::kSilent ? 1 : 0);
    Changed();
}

int PreferencesDialog::AttenuationFor(int percent) const
{
    // The file's own attenuation while its level is the one shown, so a
    // slider moved away and back changes nothing in the file.
    if (m_saved.yinliang != PreferenceValues::kSilent && PreferenceValues::Percent(m_saved.yinliang) == percent)
        return m_saved.yinliang;
    return PreferenceValues::Attenuation(percent);
}

void PreferencesDialog::OnMuteClicked()
{
    if (m_mute->GetCheck() == 1) {
        m_values.yinliang = PreferenceValues::kSilent;
    } else {
        // Un-muting at no loudness would still be silence.
        if (m_level == 0) {
            m_level = PreferenceValues::Percent(PreferenceValues().yinliang);
            m_showing = true;
            m_volume->setValue(m_level);
            m_showing = false;
        }
        m_values.yinliang = AttenuationFor(m_level);
    }
    Changed();
}

void PreferencesDialog::OnColourClicked(Colour which)
{
    int& colorRef = which == Colour::Top ? m_values.topColour : m_values.bottomColour;
    const QColor chosen = m_pickColour(FromColorRef(colorRef), this);
    if (!chosen.isValid())
        return;
    colorRef = ToColorRef(chosen);
    ShowColour(which);
    Changed();
}

void PreferencesDialog::SaveSettings()
{
    m_saveTimer.stop();
    if (m_values == m_saved)
        return;
    SettingsFile file;
    m_values.StageChanges(file, m_saved);
    // A failure has been reported by Save(); the values stay in effect for
    // this run, and the next save tries the same keys again.
    if (file.Save())
        m_saved = m_values;
}

void PreferencesDialog::accept()
{
    hide();
    SaveSettings();
}

void PreferencesDialog::reject()
{
    hide();
    SaveSettings();
}

void PreferencesDialog::closeEvent(QCloseEvent* event)
{
    SaveSettings();
    QDialog::closeEvent(event);
}
