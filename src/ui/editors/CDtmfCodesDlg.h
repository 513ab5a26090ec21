#pragma once

#include <QDialog>

#include "RadioImage.h"

class QComboBox;
class QLineEdit;

namespace cps {
class FieldBinder;
}

// Dialog 206: the DTMF code time, trunking, work status, group code, the PTT ID codes and
// the local ID. Made for one opening; OK stores into the image, and Enter and Escape do
// nothing, so only the buttons and the title bar end it.
class CDtmfCodesDlg : public QDialog {
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

  public slots:
    void accept() override;

  private:
    cps::FieldBinder* binder_;
    QComboBox* codeTime_;
    QComboBox* trunking_;
    QComboBox* workStatus_;
    QComboBox* groupCode_;
    QLineEdit* bot_;
    QLineEdit* eot_;
    QLineEdit* localId_;
};
