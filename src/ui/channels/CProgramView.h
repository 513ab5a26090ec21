#pragma once

#include <QWidget>
#include <array>

#include "ChannelTable.h"
#include "RadioImage.h"

class CMSFlexGrid;
class CColorLabel;
class Prompter;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;

// The channel window's form: the channel grid over the document's image and its in-cell
// editors. The cell rules themselves live in ChannelTable.
class CProgramView : public QWidget {
    Q_OBJECT
  public:
    // What the view takes from the program when it is made.
    struct Settings {
        bool chinese = false;            // language of the headings, lists and defaults
        bool sqlWritingAllowed = false;  // first state of check box 1150
    };

    // Builds the grid and fills it from image, which must outlive the view. Whatever the
    // program does before a fill (new-image settings) is done by the caller, before.
    CProgramView(cps::RadioImage& image, const Settings& settings, Prompter* prompter,
                 QWidget* parent = nullptr);
    ~CProgramView() override;

    cps::RadioImage& documentImage() { return image_; }
    // The leave-cell rule on the cell being edited.
    void commitPendingEdit();
    // Band limits in use and the 129 rows into the image.
    void storeGridIntoImage();
    // Image to rows; the band limits in use are loaded from the image. Channels the limits
    // newly leave out are named in a note; limitsEdited: the limits were just edited (an
    // undo step), else the image came as it is (opened, read, imported).
    void fillGridFromImage(bool limitsEdited = false);
    // Rows and band limits as a document's earlier state had them (undo, redo); an edit in
    // progress is dropped.
    void restoreTable(const cps::ChannelTable& table);
    // The band limits in use, loaded by the last fill.
    const cps::Bands& bandsInUse() const { return table_.bands(); }

    CMSFlexGrid* grid() const { return grid_; }
    // The working copy of the rows, as the grid shows them (what the report prints).
    const cps::ChannelTable& table() const { return table_; }
    // The editor that serves the column.
    QWidget* editorFor(int col) const;
    QLineEdit* frequencyEditor() const { return freqEdit_; }
    QLineEdit* nameEditor() const { return nameEdit_; }
    QComboBox* toneList() const { return toneList_; }
    double scale() const { return scale_; }
    // Service mode: shows the SQL-writing switch and its label.
    void revealServiceControls();
    QCheckBox* sqlSwitch() const { return sqlCheck_; }
    CColorLabel* sqlLabel() const { return sqlLabel_; }
    // The view's copy of the SQL-writing switch (0 or 1).
    int sqlWritingAllowed() const { return sqlWriting_; }
    // Screen width changed (also used at set-up): wider than 800 pixels scales the columns
    // to width / 1024; narrower leaves everything as it is.
    void displayChanged(int screenWidth);

    // The band note of the last fill, when it is still to be said (the view was hidden).
    QString pendingBandsNote() const { return pendingBandsNote_; }

    // Column 0's width before any scaling; the other widths are multiples of it.
    static constexpr int kBaseWidth = 80;
    // Point size of the grid's texts before any scaling.
    static constexpr double kBasePointSize = 8.25;

    // The rows first..last as `cps channels` prints them, one line each.
    QString rowsText(int first, int last) const;
    // Clipboard commands on the selected rows (the current row when nothing is selected);
    // a paste goes from the current row on.
    void copyRows();
    void cutRows();
    void pasteRows();
    void clearRows();
    // The paste itself: all rows of text or, with a message naming the row, none.
    bool pasteText(const QString& text);
    // The grid's right-click menu, made anew for each opening.
    QMenu* createContextMenu(QWidget* parent);
    // While the document is busy (a transfer runs) the rows can be looked at and copied,
    // never edited: no editor opens and cut, paste and clear do nothing.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

  signals:
    // F1 over the view (context id) and Ctrl+F11; their targets come later.
    void helpRequested(int contextId);
    void serviceAccessRequested();
    // Check box 1150 clicked (and once at set-up): the SQL-writing switch, 0 or 1.
    void sqlSwitchChanged(int allowed);
    // The user changed the grid's rows (a committed cell, a row a rule cleared); stepName
    // names the change in the current language, as undo shows it.
    void userEdited(const QString& stepName);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildGrid();
    void buildEditors();
    void applyWidths();
    void refreshRow(int row);
    void refreshAll();
    void onEnterCell();
    void onLeaveCell();
    void onScroll();
    void placeEditor(QWidget* editor);
    void applyFonts();
    QWidget* editorOf(QObject* watched) const;
    bool editorKey(QWidget* editor, QKeyEvent* key);
    bool gridKey(QKeyEvent* key);
    void moveBy(int rows, int cols);
    void cancelEdit();
    void commitAndMoveDown();
    enum class Clip { None, Copy, Cut, Paste };
    static Clip clipboardKey(const QKeyEvent* key);
    bool rowsMode(QObject* watched, Clip clip) const;
    void runClip(Clip clip);
    bool finishEdit();
    bool clearRowRange(int first, int last);
    QString refusalText(const cps::RowsEntry& entry) const;
    void message(const QString& text);
    void hideEditors(QWidget* except = nullptr);
    QString editorText(QWidget* editor) const;
    void applyOutcome(const cps::EditOutcome& out, QWidget* editor, bool stayOnCell);
    // Emits userEdited when the row no longer holds the texts it had.
    void reportEdit(int row, int col, const QStringList& before);
    QStringList rowTexts(int row) const;
    void showNotice(cps::Notice notice);
    void showBandsNote();
    bool frequencyKey(QKeyEvent* key);
    int contextIdFor(QWidget* focus) const;
    void applySqlSwitch();

    cps::RadioImage& image_;
    Prompter* prompter_;
    cps::ChannelTable table_;
    CMSFlexGrid* grid_ = nullptr;
    QCheckBox* sqlCheck_ = nullptr;    // 1150, shown by the service unlock
    CColorLabel* sqlLabel_ = nullptr;  // 1149
    // One editor per kind, created once, indexed by cps::EditorKind.
    std::array<QWidget*, cps::kEditorKinds> editors_{};
    int sqlWriting_ = 0;
    bool chinese_ = false;
    QLineEdit* freqEdit_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* toneList_ = nullptr;
    double scale_ = 1.0;
    bool openListOnRelease_ = false;  // a left press entered a list cell
    bool readOnly_ = false;
    QString pendingBandsNote_;
    QList<int> hidden_;  // channels the band limits in use leave out, as last named
};
