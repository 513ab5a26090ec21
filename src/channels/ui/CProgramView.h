#pragma once

#include <QWidget>
#include <array>

#include "ChannelTable.h"
#include "RadioImage.h"
#include "RadioUi.h"

class CMSFlexGrid;
class CColorLabel;
class Prompter;
class QCheckBox;
class QComboBox;
class QLineEdit;

// The channel window's form: the channel grid over the document's image, its in-cell
// editors and the radio commands. The cell rules themselves live in ChannelTable.
class CProgramView : public QWidget, public cps::RadioViewHost {
    Q_OBJECT
  public:
    // Builds the grid and fills it from image, which must outlive the view.
    CProgramView(cps::RadioImage& image, Prompter* prompter, QWidget* parent = nullptr);
    ~CProgramView() override;

    // RadioViewHost
    QWidget* hostWidget() override { return this; }
    cps::RadioImage& documentImage() override { return image_; }
    void commitPendingEdit() override;
    void storeGridIntoImage() override;
    void fillGridFromImage() override;

    CMSFlexGrid* grid() const { return grid_; }
    const cps::ChannelTable& table() const { return table_; }
    // The editor that serves the column; also the one that is visible while it edits.
    QWidget* editorFor(int col) const;
    QWidget* visibleEditor() const;
    QLineEdit* frequencyEditor() const { return freqEdit_; }
    QLineEdit* nameEditor() const { return nameEdit_; }
    QComboBox* toneList() const { return toneList_; }
    double scale() const { return scale_; }
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    // Service mode: shows the SQL-writing switch and its label.
    void revealServiceControls();
    QCheckBox* sqlSwitch() const { return sqlCheck_; }
    CColorLabel* sqlLabel() const { return sqlLabel_; }
    // The view's copy of the SQL-writing switch (0 or 1).
    int sqlWritingAllowed() const { return sqlWriting_; }
    // Screen width changed (also used at set-up): wider than 800 pixels scales the columns
    // to width / 1024; narrower leaves everything as it is.
    void displayChanged(int screenWidth);

    // Column 0's width before any scaling; the other widths are multiples of it.
    static constexpr int kBaseWidth = 80;

  public slots:
    void read();
    void write();
    void comSetup();

  signals:
    // F1 over the view (context id) and Ctrl+F11; their targets come later.
    void helpRequested(int contextId);
    void serviceAccessRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildGrid();
    void buildEditors();
    void applyWidths();
    void refreshRow(int row);
    void refreshAll();
    void onEnterCell();
    void onLeaveCell();
    void onScroll();
    void hideEditors();
    QString editorText(QWidget* editor) const;
    void applyOutcome(const cps::EditOutcome& out, QWidget* editor, bool stayOnCell);
    void showNotice(cps::Notice notice);
    bool frequencyKey(QKeyEvent* key);
    int contextIdFor(QWidget* focus) const;
    void applySqlSwitch();

    cps::RadioImage& image_;
    Prompter* prompter_;
    cps::ChannelTable table_;
    CMSFlexGrid* grid_ = nullptr;
    QCheckBox* sqlCheck_ = nullptr;    // 1150, shown by the service unlock
    CColorLabel* sqlLabel_ = nullptr;  // 1149
    int sqlWriting_ = 0;
    QLineEdit* freqEdit_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QComboBox* toneList_ = nullptr;
    std::array<QComboBox*, 5> lists_{};
    double scale_ = 1.0;
    int screenWidth_ = 1024;
};
