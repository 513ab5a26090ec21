#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "RadioImage.h"

class CMSFlexGrid;
class QLineEdit;

namespace cps {
class FieldBinder;
}

// Dialog 162: the radio's MSK ID code and its call list of nine codes, in a grid with an
// in-cell editor. The main window keeps one for its whole life; every opening reloads from
// the image of the document active then. Only hexadecimal digits, Backspace, Delete and
// the arrows can be typed, Shift held or not; Enter, Escape, Tab and Space do nothing.
class CMskDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 162;
    static constexpr int kRows = 10;  // heading and nine entries
    using ImageSource = std::function<cps::RadioImage*()>;

    CMskDlg(ImageSource image, bool chinese, QWidget* parent = nullptr);
    ~CMskDlg() override;

    // Loads the fields and runs modally; Rejected without opening when there is no image.
    int exec() override;

    QLineEdit* idCode() const { return id_; }
    CMSFlexGrid* callList() const { return grid_; }
    QLineEdit* cellEditor() const { return editor_; }
    // Sets the column widths for a screen width, as at the opening.
    void applyWidths(int screenWidth);

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void placeEditor();
    void commitEditor();
    void fillGrid();

    ImageSource image_;
    bool chinese_;
    QLineEdit* id_;
    CMSFlexGrid* grid_;
    QLineEdit* editor_;
    std::unique_ptr<cps::FieldBinder> binder_;
};
