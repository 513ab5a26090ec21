#pragma once

#include <QDialog>

class QLineEdit;

namespace cps {

// Dialog 181: asks for the service access code. OK with the right code (any letter case)
// accepts; a wrong code closes the dialog as Cancel would, without a word.
class CPasswordDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 181;
    static constexpr int kEditId = 1318;
    static constexpr int kMaxLength = 8;

    CPasswordDlg(bool chinese, QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }

    // Runs the dialog modally; true when the code was accepted.
    static bool ask(bool chinese, QWidget* parent);

  public slots:
    void accept() override;

  private:
    QLineEdit* edit_;
};

}  // namespace cps
