#pragma once

#include <QDialog>

class QRadioButton;

// "Language" (dialog 201): English or Chinese, taking effect at the next start.
class CLanguageDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 201;
    static constexpr int kHelpContext = 0x801F;

    CLanguageDlg(bool chinese, QWidget* parent = nullptr);
    bool chineseChosen() const;
    QRadioButton* englishButton() const { return english_; }
    QRadioButton* chineseButton() const { return chinese_; }

  private:
    QRadioButton* english_;
    QRadioButton* chinese_;
};
