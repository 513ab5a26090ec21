#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "ChannelCodec.h"
#include "RadioImage.h"

namespace cps {

// The editor that sits over a cell of the channel grid.
enum class EditorKind { Frequency, Name, Tone, Power, Bandwidth, Scan, BusyLock, PttId };

// Entry errors of the channel grid (string table entries, all captioned "Caution").
enum class Notice {
    None,
    OutOfRange,  // 61446, exclamation
    BadFormat,   // 61447, stop
    BadStep,     // 61454, exclamation
};

// What the view must do after a leave-cell (or Enter) check.
struct EditOutcome {
    Notice notice = Notice::None;
    bool keepEditor = false;   // the editor stays open over the cell
    bool clearEditor = false;  // ... with its text emptied
};

// The working copy of the 129 channel rows and the rules for every cell entry. Row 0 and
// column 0 are the fixed headings, as in the grid; rows 1-129 are channels, columns 1-10
// their texts. No widgets: the view only binds this to the grid and its editors.
class ChannelTable {
  public:
    static constexpr int kRows = kChannelCount + 1;
    static constexpr int kCols = kColumnCount + 1;

    explicit ChannelTable(bool chinese = false);

    bool chinese() const { return chinese_; }
    const Bands& bands() const { return bands_; }
    void setBands(const Bands& bands) { bands_ = bands; }

    // Heading cells, row labels and channel texts alike.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Image to rows, using the band limits in use; the image's own bands are not read here.
    void fill(const RadioImage& image, const Bands& bands);
    // Band limits and the 129 rows into the image.
    void store(RadioImage& image) const;

    // The check run when the cell (row, col) is left while its editor shows typed.
    EditOutcome leaveCell(int row, int col, const QString& typed);
    // Enter pressed in the frequency editor over column 1 or 2.
    EditOutcome enterFrequency(int row, int col, const QString& typed);

    static EditorKind editorFor(int col);
    static bool isList(EditorKind kind) {
        return kind != EditorKind::Frequency && kind != EditorKind::Name;
    }
    // The items of a list editor in the current language.
    QStringList items(EditorKind kind) const;
    // Index of the first item beginning with text (case ignored), or -1.
    int matchItem(EditorKind kind, const QString& text) const;

    static QString heading(int col, bool chinese);
    // Column width as a multiple of the width of column 0.
    static double widthFactor(int col);

    // Keys the frequency editor lets through (Enter is handled separately).
    static bool frequencyKeyAllowed(int key, bool shift, bool keypad);

    static constexpr int kFreqMaxLength = 9;
    static constexpr int kNameMaxLength = 7;

  private:
    QString& cell(int row, int col) { return rows_[row - 1][col - 1]; }
    const QString& cell(int row, int col) const { return rows_[row - 1][col - 1]; }
    void clearRow(int row);
    void makeNewChannel(int row, const QString& rx);
    EditOutcome leaveRx(int row, const QString& typed, bool onEnter);
    void leaveTx(int row, const QString& typed);

    bool chinese_;
    Bands bands_;
    std::array<ChannelRow, kChannelCount> rows_;
};

}  // namespace cps
