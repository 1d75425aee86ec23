// SPDX-License-Identifier: MIT
#pragma once

#include "ui/PictureDecoder.h"

#include <QDialog>
#include <QTimer>
#include <functional>

class CheckButton;
class IconButton;
class PictureLoader;
class QLineEdit;
class QTableWidget;

// The Custom Background dialog: up to ten of the user's own pictures, shown
// in turn behind the fish under the play modes Repeat One, Repeat All and
// Random while "Use your own image" is ticked.
//
// Modeless; created hidden once the GL context exists and only ever hidden
// again. Its 200 ms timer runs while it is hidden: it copies the own-image
// box into Program().ownImageOn and changes the picture every interval.
//
// Pictures are decoded on a worker thread (PictureLoader); a row and its
// texture slot appear together once the texture has been made on this (the
// GL) thread. Textures of removed pictures are deleted. A saved picture that
// cannot be loaded at start-up keeps its row, with an empty slot and the
// State "N/A" (not loaded), so it stays in the saved list; the show passes
// over it.
// Paths are kept as FileNameText gives them, so a name that is not UTF-8 is
// saved back byte for byte.
//
// The picture to show is published through shownTextureChanged(): the
// current image's texture, or 0 (the built-in picture) while there is none
// or the current image is the no-choice value.
class BackgroundDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxImages = 10;
    static constexpr int kTimerMs = 200;
    static constexpr unsigned kNoChoice = 0xFFFFFFFFu;  // "choose next" found nothing
    enum PlayMode { RepeatOne = 0, RepeatAll = 1, Random = 2 };
    // Control ids of the template.
    enum ControlId {
        kOwnImageBox = 1014, kRepeatOneBox = 1023, kRepeatAllBox = 1024, kRandomBox = 1025,
        kList = 1015, kAddButton = 1008, kRemoveButton = 1011, kRemoveAllButton = 1012, kIntervalEdit = 1019,
    };

    // When the saved pictures are decoded: at once, or when StartDecoding()
    // is called (the aquarium's first frame) and at the latest
    // kDecodeHoldLimitMs after the dialog was made.
    enum class SavedPictures { DecodeNow, DecodeLater };
    static constexpr int kDecodeHoldLimitMs = 2000;

    // makeGlCurrent makes the scene's context current (false: no context);
    // screen: the screen's size in pixels. Builds the controls, loads the
    // "Custom Images" settings (queueing their pictures) and starts the timer.
    BackgroundDialog(std::function<bool()> makeGlCurrent, const QSize& screen,
                     SavedPictures saved = SavedPictures::DecodeNow, QWidget* parent = nullptr);
    ~BackgroundDialog() override;

    // Shows the dialog (the bar's Custom Image button).
    void ShowDialog();
    // Writes the "Custom Images" section: at Escape, Cancel, the close box
    // and program end.
    void SaveSettings();

    // Asks for the picture at path to be added (the maximum message when ten
    // are listed or on their way). The row comes when it is decoded. A path
    // the settings could not keep (a line break, a name whose bytes the
    // file dialog lost because they are not UTF-8) is refused with a
    // message saying why.
    void AddFile(const QString& path);
    void RemoveSelected();
    void RemoveAll();
    // One 200 ms tick.
    void OnTimer();
    // Lets pictures held back by SavedPictures::DecodeLater be decoded.
    void StartDecoding();

    int Count() const { return m_count; }
    int PendingCount() const;
    QString RowPath(int row) const;
    QString RowState(int row) const;
    unsigned SlotTexture(int slot) const { return m_textures[slot]; }
    unsigned CurrentImage() const { return m_currentImage; }
    bool Cycling() const { return m_cycling; }
    int Mode() const { return m_playMode; }
    QTableWidget& List() { return *m_list; }
    CheckButton& Box(int controlId);
    QLineEdit& IntervalEdit() { return *m_interval; }
    IconButton& Button(int controlId);

    // A rectangle of the template in dialog units as pixels.
    static QRect FromDialogUnits(int x, int y, int width, int height);

signals:
    void shownTextureChanged(unsigned texture);

public slots:
    void accept() override;   // Enter does nothing
    void reject() override;   // Escape, Cancel: hide and save

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateList();
    void OnCommand(int controlId);
    void OnAddImage();
    void OnListClick();
    void SetPlayMode(int mode);
    void LoadSettings();
    void OnDecoded(const QString& path, const DecodedPicture& picture);
    void AppendRow(const QString& path, unsigned texture);
    unsigned ChooseNext(int row, bool picked);
    // The texture of the first loaded row from `row` on, wrapping around; 0
    // when no row is loaded.
    unsigned LoadedFrom(int row) const;
    void SetCurrentImage(unsigned texture);
    void StartCycling();
    void StopCycling();
    void SetAllStates(const QString& state);
    void MarkRowOf(unsigned texture);
    int Interval() const;
    void ReleaseTexture(unsigned texture);

    std::function<bool()> m_makeGlCurrent;
    PictureLoader* m_loader = nullptr;
    unsigned m_textures[kMaxImages] = {};
    unsigned m_currentImage = 0;
    int m_count = 0;
    bool m_cycling = false;
    int m_playMode = RepeatOne;
    int m_tick = -1;
    int m_savedStillLoading = 0;  // saved pictures whose result has not come yet
    QTimer m_timer;
    CheckButton* m_ownImage = nullptr;
    CheckButton* m_modeBoxes[3] = {};
    QTableWidget* m_list = nullptr;
    IconButton* m_buttons[3] = {};
    QLineEdit* m_interval = nullptr;
};
