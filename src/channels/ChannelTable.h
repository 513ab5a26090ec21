#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "ChannelCodec.h"
#include "ChannelRules.h"
#include "RadioImage.h"

namespace cps {

// The editor that sits over a cell of the channel grid.
enum class EditorKind { Frequency, Name, Tone, Power, Bandwidth, Scan, BusyLock, PttId };
constexpr int kEditorKinds = 8;

// What the view must do after a leave-cell (or Enter) check.
struct EditOutcome {
    Notice notice = Notice::None;  // the entry message the grid shows, if any
    bool keepEditor = false;       // the editor stays open over the cell
    bool clearEditor = false;      // ... with its text emptied
};

// The verdict on one typed cell: what the grid's editor does, and for a caller that reads a
// file instead (the command-line import) whether the text went in and in what form.
struct CellEntry {
    EditOutcome outcome;
    bool refused = false;  // the text did not go into the cell as a value
    CellVerdict verdict;   // the channel rules' verdict on the text, and why it was refused
    bool changed = false;  // the cell holds another value than typed, not just another form
};

// The verdict on rows typed in one go (a paste): where the first refusal is, if any.
struct RowsEntry {
    bool refused = false;
    bool noRoom = false;  // the rows run past the last row of the grid
    int row = 0;          // the refused cell
    int col = 0;
    QString typed;
    CellEntry entry;
};

// The working copy of the 129 channel rows and the rules for every cell entry. Row 0 and
// column 0 are the fixed headings, as in the grid; rows 1-129 are channels, columns 1-10
// their texts. No widgets: the view only binds this to the grid and its editors.
class ChannelTable {
  public:
    static constexpr int kRows = kChannelCount + 1;
    static constexpr int kCols = kColumnCount + 1;

    explicit ChannelTable(bool chinese = false);

    const Bands& bands() const { return bands_; }
    // Limits set this way are stored as they are, whatever the image held.
    void setBands(const Bands& bands) {
        bands_ = bands;
        keptBand_ = {};
    }

    // Heading cells, row labels and channel texts alike.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Image to rows, using the band limits in use; the image's own bands are not read here.
    void fill(const RadioImage& image, const Bands& bands);
    // ... with the band limits in use loaded from the image first, as the grid fills. Limits
    // that would hide every channel are replaced (loadBandsInUse); bandsNote() says so. A
    // replaced band is only used: a store puts back the bytes it was read from.
    void fill(const RadioImage& image);
    // After a fill that replaced the image's band limits: the note that says which limits
    // are used and that Software Info sets them. Empty otherwise.
    QString bandsNote() const { return bandsNote_; }
    // Band limits and the 129 rows into the image.
    void store(RadioImage& image) const;

    // The rule run when the cell (row, col) is left while its editor shows typed. Texts of
    // either language are taken; list texts are whole items, letter case ignored. A text
    // equal to what the cell shows leaves it as it is, without any rule.
    CellEntry typeCell(int row, int col, const QString& typed);
    // A text that names what the cell shows in another form (a frequency with more digits,
    // a tone or list item in other letters or the other language) as the cell's own text;
    // any other text as it is. For files whose columns are written otherwise than the grid
    // shows them, so that an unchanged value meets typeCell as unchanged.
    QString asShown(int row, int col, const QString& text) const;
    EditOutcome leaveCell(int row, int col, const QString& typed) {
        return typeCell(row, col, typed).outcome;
    }
    // Rows from firstRow on, each typed left to right under the rules above, as if a user
    // typed them: all of them go in, or none when a cell is refused.
    RowsEntry typeRows(int firstRow, const QList<ChannelRow>& rows);
    // Every column of the row becomes empty: the channel is deleted.
    void clearRow(int row);
    // The ten texts of a channel row.
    ChannelRow row(int n) const;

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
    // Index of the item that is text in either language (case ignored), or -1.
    int findItem(EditorKind kind, const QString& text) const;

    // Why a typed cell was refused, in the channel rules' words.
    static QString refusalText(const CellEntry& entry, bool chinese) {
        return cps::refusalText(entry.verdict, chinese);
    }
    // The line shown under an entry error's text: what would have been allowed, with the
    // band limits in use.
    QString noticeDetail(Notice notice, bool chinese) const;

    static QString heading(int col, bool chinese);
    // Column width as a multiple of the width of column 0.
    static double widthFactor(int col);

    static constexpr int kFreqMaxLength = 9;
    static constexpr int kNameMaxLength = 7;              // typing limit of the name editor
    static constexpr int kNameRecordLength = kNameBytes;  // what the record holds

  private:
    QString& cell(int row, int col) { return rows_[row - 1][col - 1]; }
    const QString& cell(int row, int col) const { return rows_[row - 1][col - 1]; }
    void makeNewChannel(int row, const QString& rx);
    CellEntry leaveRx(int row, const QString& typed, bool onEnter);
    CellEntry leaveTx(int row, const QString& typed);
    CellEntry typeOther(int row, int col, const QString& typed);

    bool chinese_;
    Bands bands_;
    QString bandsNote_;
    // Per band: the packed bytes of limits that were replaced on the fill, stored back as
    // they were so that opening and saving a file changes no byte the user did not touch.
    std::array<bool, 2> keptBand_{};
    std::array<uint8_t, 6> bandBytes_{};
    std::array<ChannelRow, kChannelCount> rows_;
};

}  // namespace cps
