// SPDX-License-Identifier: MIT
#pragma once

#include "settings/ProgramValues.h"

#include <QDialog>
#include <QImage>
#include <QTimer>
#include <array>
#include <functional>

class HyperLink;
class IconButton;

// The Fish Settings dialog: how many fish of each of the twenty species swim,
// at most kMaxFish in all. A picture of all species as a 5 x 4 grid; a click
// selects a species, and Add / Delete / Random / Clear (buttons, the letter
// keys A, D, R, C in either case, left / right double-clicks) change the
// counts.
//
// Changes take effect while the dialog is open: every half second the counts
// are copied into g_speciesCount, which the running scene follows, and written
// to the settings file when they changed. The dialog is run modally
// (exec()), so the aquarium's own timer keeps animating the tank behind it.
// Every way of closing keeps the changes: OK, Enter and the close box as
// accepted, Cancel and Escape as rejected.
//
// Counts are loaded each time the dialog is shown; a hand-edited value
// outside 0..kMaxFish shows as the file holds it (the scene clamps what it
// uses), and Delete takes a negative one to 0.
class FishSettingsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBitmapId = 129;     // the species grid, 500 x 512
    static constexpr int kCellWidth = 100;    // pixels
    static constexpr int kCellHeight = 90;    // pixels
    static constexpr int kColumns = 5;
    static constexpr int kNoSelection = -1;
    static constexpr int kClearBelowY = 450;  // a click below this row clears the selection
    static constexpr int kSavePeriodMs = 500;
    static constexpr int kNumberAreaSize = 20;   // pixels high, the cell's width, at its top

    explicit FishSettingsDialog(QWidget* parent = nullptr);
    ~FishSettingsDialog() override;

    // Cell i of the grid (species i), in client pixels: 100 x 90 from
    // (100 * column + 2, 90 * row + 2).
    static QRect CellRect(int index);
    // A rectangle of the dialog's template in dialog units as client pixels
    // (1.5 px per horizontal, 1.625 px per vertical unit; each edge rounded).
    static QRect FromDialogUnits(int x, int y, int width, int height);
    // "Total: N   (Max:20)".
    static QString TotalText(int total);

    // The counts Random gives from a source of draws in 0..MsvcRandom::kMax:
    // each species in order gets draw() % 2; the draw that would make the
    // running sum reach kMaxFish gives 0 instead, so there are at most
    // kMaxFish - 1 fish, one at most per species.
    static std::array<int, kSpeciesCount> RandomCounts(const std::function<int()>& draw);

    // Where the previous selection is remembered across clicks and across runs
    // of the dialog (process-wide, starts at kNoSelection).
    static int& PreviousSelection();

    // The index selected by the last click: 0..19 a species, 20..24 the row
    // below the grid (selects nothing), kNoSelection for none.
    int Selection() const { return m_selection; }
    int Count(int species) const { return m_counts[species]; }
    int Total() const { return m_total; }
    QString TotalText() const { return TotalText(m_total); }
    // Where the total text stands, in client pixels.
    QRect TotalRect() const;

    // The dialog's commands, in client pixels where they take a point.
    void Select(const QPoint& at);
    void OnAdd();
    void OnDelete();
    void OnRandom();
    void OnClear();
    // Copies the counts into g_speciesCount and writes them to the settings
    // file if they differ from what it was last known to hold.
    void SaveAndApply();
    void OnOK();
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void OnInitDialog();
    void LoadCounts();
    void WriteCounts();
    void CentreOnScreen();
    bool TakeLetterKey(const QEvent* event);
    void CountsChanged(int species);   // kNoSelection: all of them
    void RefreshTotal();
    void PaintTotal(QPainter& painter) const;
    static bool IsSpecies(int index) { return index >= 0 && index < kSpeciesCount; }
    static QRect NumberArea(int index);

    QImage m_picture;            // bitmap 129
    HyperLink* m_hyperlink = nullptr;
    QTimer m_saveTimer;
    int m_selection = kNoSelection;
    std::array<int, kSpeciesCount> m_counts{};
    std::array<int, kSpeciesCount> m_written{};   // what the file holds, as far as known
    int m_total = 0;
    bool m_saving = false;
};
