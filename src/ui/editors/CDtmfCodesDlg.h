#pragma once

#include "FeatureDialog.h"

class QComboBox;
class QLineEdit;

// Dialog 206: the DTMF code time, trunking, work status, group code, the PTT ID codes and
// the local ID. Made for one opening; OK stores into the image, and Enter and Escape do
// nothing, so only the buttons and the title bar end it.
class CDtmfCodesDlg : public cps::features::BoundDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 206;

    CDtmfCodesDlg(cps::RadioImage& image, bool chinese, QWidget* parent = nullptr);

    QComboBox* codeTime() const { return codeTime_; }
    QComboBox* trunking() const { return trunking_; }
    QComboBox* workStatus() const { return workStatus_; }
    QComboBox* groupCode() const { return groupCode_; }
    QLineEdit* bot() const { return bot_; }
    QLineEdit* eot() const { return eot_; }
    QLineEdit* localId() const { return localId_; }

  private:
    QComboBox* codeTime_;
    QComboBox* trunking_;
    QComboBox* workStatus_;
    QComboBox* groupCode_;
    QLineEdit* bot_;
    QLineEdit* eot_;
    QLineEdit* localId_;
};
