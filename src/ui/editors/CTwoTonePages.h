#pragma once

#include <QWidget>

#include "Field.h"
#include "RadioImage.h"
#include "TwoTone.h"

class CMSFlexGrid;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QToolButton;

namespace cps {

class FieldBinder;

// An up-down control: two arrow buttons beside an edit. It never takes the focus, so a click
// acts on the edit's text as it stands. Range and position are kept as the control's own
// state; the edit's rules decide what a click does.
class CUpDown : public QWidget {
    Q_OBJECT
  public:
    explicit CUpDown(QWidget* parent = nullptr);
    void setRange(int low, int high) {
        low_ = low;
        high_ = high;
    }
    void setPos(int pos) { pos_ = pos; }
    int pos() const { return pos_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

  signals:
    void stepped(int delta);

  private:
    QToolButton* up_;
    QToolButton* down_;
    int low_ = 0, high_ = 100, pos_ = 0;
};

// A page of the 2-Tone dialog. It reads its fields from the image when it is shown and
// stores them when it is hidden; only digits, the keypad's decimal point, Backspace, Delete
// and the arrows reach its controls.
class CTwoTonePage : public QWidget {
    Q_OBJECT
  public:
    CTwoTonePage(int templateId, QWidget* parent);
    void showPage();
    void hidePage();
    bool pageShown() const { return shown_; }

  protected:
    virtual void load() = 0;
    virtual void store() = 0;
    // Puts the key filter on every control of the page, and on w and its children.
    void filterKeys(QWidget* w);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // An edit with its label and up-down, laid out in a row of grid.
    struct Entry {
        QLineEdit* edit = nullptr;
        CUpDown* upDown = nullptr;
    };
    // One edit's control ids, its up-down's range and the rule it follows.
    struct EntryControls {
        int edit, upDown, low, high;
        twotone::Rule rule;
    };
    // The binder's first n fields as entries, field i in row i of grid.
    void addEntries(QGridLayout* grid, const EntryControls* controls, int n, Entry* entries,
                    FieldBinder* binder, bool chinese);

  private:
    Entry addEntry(QGridLayout* grid, int row, const QString& label, int editId, int upDownId,
                   twotone::Rule rule, FieldBinder* binder, const char* key);

    bool shown_ = false;
};

// Dialog 156: the common encode timings, the short beep and the 32-entry code table.
class CTwoToneEncodePage : public CTwoTonePage {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 156;
    CTwoToneEncodePage(RadioImage& image, bool chinese, QWidget* parent);

    QLineEdit* edit(int i) const { return entries_[i].edit; }  // in field order
    CUpDown* upDown(int i) const { return entries_[i].upDown; }
    QCheckBox* shortBeep() const { return beep_; }
    CMSFlexGrid* grid() const { return grid_; }
    QLineEdit* cellEditor() const { return cellEdit_; }

  protected:
    void load() override;
    void store() override;

  private:
    void placeEditor();
    void commitEditor();

    FieldBinder* binder_;
    Entry entries_[5];
    QCheckBox* beep_;
    CMSFlexGrid* grid_;
    QLineEdit* cellEdit_;
};

// Dialogs 147 to 154: decode entry k.
class CTwoToneDecodePage : public CTwoTonePage {
    Q_OBJECT
  public:
    CTwoToneDecodePage(RadioImage& image, int entry, bool chinese, QWidget* parent);
    ~CTwoToneDecodePage() override;

    int entry() const { return entry_; }
    QLineEdit* edit(int i) const { return entries_[i].edit; }  // in record order
    CUpDown* upDown(int i) const { return entries_[i].upDown; }

  protected:
    void load() override;
    void store() override;

  private:
    RadioImage& image_;
    int entry_;
    FieldBinder* binder_;
    Entry entries_[6];
};

}  // namespace cps
