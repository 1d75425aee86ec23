// SPDX-License-Identifier: MIT
#pragma once

#include "settings/PreferenceValues.h"

#include <QColor>
#include <QDialog>
#include <QTimer>
#include <functional>

class CheckButton;
class IconButton;
class QLabel;
class RoundSlider;

// Preferences: the aquarium's light and fog, the background picture and the
// colour gradient behind it, and the built-in tune's volume with a mute,
// built from the program's own controls.
//
// Each change is published at once through valuesChanged() (a running
// aquarium takes it on its next frame) and written to the settings file
// kSaveDelayMs after the last change, on closing and at program end: only
// the keys that changed, in one atomic write, so every other key and comment
// of the file stays. The dialog shows the file's values each time it is
// shown, a value outside its range as the nearest value inside.
//
// The volume slider is the tune's loudness in percent; Mute stores the
// silent attenuation 65535 and the slider keeps the level that un-muting
// gives back (half volume when the file said silent).
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSaveDelayMs = 300;
    enum class Colour { Top, Bottom };
    // Picks a colour for the gradient (an invalid colour: cancelled).
    using ColourPicker = std::function<QColor(const QColor& current, QWidget* parent)>;

    explicit PreferencesDialog(QWidget* parent = nullptr);
    ~PreferencesDialog() override;

    // Reads the settings file into the controls.
    void Load();
    // Writes the keys changed since the last load or save.
    void SaveSettings();

    const PreferenceValues& Values() const { return m_values; }

    RoundSlider& LightSlider() { return *m_light; }     // 0 dark .. 100 full light
    RoundSlider& FogSlider() { return *m_fog; }         // 0 no fog .. 25 densest
    RoundSlider& VolumeSlider() { return *m_volume; }   // percent
    CheckButton& PictureBox() { return *m_picture; }
    CheckButton& GradientBox() { return *m_gradient; }
    CheckButton& MuteBox() { return *m_mute; }
    IconButton& ColourButton(Colour which) { return *m_colourButtons[int(which)]; }
    void SetColourPicker(ColourPicker picker) { m_pickColour = std::move(picker); }

    // A colour as the settings keep it (0x00BBGGRR) and back.
    static QColor FromColorRef(int colorRef);
    static int ToColorRef(const QColor& colour);

signals:
    void valuesChanged(const PreferenceValues& values);

public slots:
    void accept() override;   // Enter: hide and save
    void reject() override;   // Escape and Close: hide and save

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void ConnectControls();
    void ShowValues();
    void Changed();
    void OnVolumeMoved(int percent);
    void OnMuteClicked();
    int AttenuationFor(int percent) const;
    void OnColourClicked(Colour which);
    void ShowColour(Colour which);
    void ShowNumbers();

    PreferenceValues m_values;
    PreferenceValues m_saved;     // what the file holds, as far as known
    int m_level = 50;             // the slider's loudness, kept while muted
    bool m_showing = false;       // controls are being set from the values
    QTimer m_saveTimer;
    ColourPicker m_pickColour;

    RoundSlider* m_light = nullptr;
    RoundSlider* m_fog = nullptr;
    RoundSlider* m_volume = nullptr;
    QLabel* m_lightText = nullptr;
    QLabel* m_fogText = nullptr;
    QLabel* m_volumeText = nullptr;
    CheckButton* m_picture = nullptr;
    CheckButton* m_gradient = nullptr;
    CheckButton* m_mute = nullptr;
    IconButton* m_colourButtons[2] = {};
};
