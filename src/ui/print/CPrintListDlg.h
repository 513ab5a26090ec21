#pragma once

#include <QDialog>
#include <array>

#include "PrintPages.h"

class QCheckBox;
class QPushButton;

namespace cps {

// Dialog 169, "PrintList": which sections a print, preview or PDF export takes. Every
// opening starts from the defaults (Optional and Channel Info); the choice is not kept.
class CPrintListDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 169;
    static constexpr int kSelectAllId = 1279;
    static constexpr int kClearAllId = 1280;

    CPrintListDlg(bool chinese, QWidget* parent = nullptr);

    QCheckBox* box(int section) const { return boxes_[static_cast<size_t>(section)]; }
    QPushButton* selectAllButton() const { return selectAll_; }
    QPushButton* clearAllButton() const { return clearAll_; }
    // The selected flags: each box's state once clicked, all five on OK.
    const print::Choice& selected() const { return selected_; }

    // Runs the dialog modally from the defaults; true with the choice on OK.
    bool choose(print::Choice* choice);

  public slots:
    void accept() override;
    void selectAll() { setAll(true); }
    void clearAll() { setAll(false); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void reset();
    void setAll(bool on);

    std::array<QCheckBox*, print::kSectionCount> boxes_{};
    QPushButton* selectAll_ = nullptr;
    QPushButton* clearAll_ = nullptr;
    print::Choice selected_{};
};

}  // namespace cps
