#pragma once

#include "FeatureDialog.h"

class QComboBox;
class QLineEdit;

// Dialog 208: kill or stun, and the codes that stun and revive the radio. Opened only after
// the service access code was given; made for one opening. Enter and Escape do nothing.
class CStunDlg : public cps::features::BoundDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 208;

    CStunDlg(cps::RadioImage& image, bool chinese, QWidget* parent = nullptr);

    QComboBox* stunType() const { return type_; }
    QLineEdit* stunCode() const { return code_; }
    QLineEdit* removeCode() const { return remove_; }

  private:
    QComboBox* type_;
    QLineEdit* code_;
    QLineEdit* remove_;
};
