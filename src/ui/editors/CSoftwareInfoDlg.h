#pragma once

#include <QDialog>

#include "RadioImage.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace cps {

class FieldBinder;

// Dialog 205: model, band code and the two frequency ranges. The band limits in use
// (bandsInUse) are set from the image on opening and from the edits on OK; the caller
// refills the channel grid after OK.
class CSoftwareInfoDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 205;
    static constexpr int kCompanyId = 1143;
    static constexpr int kBandId = 1142;
    static constexpr int kLow1Id = 1144;
    static constexpr int kHigh1Id = 1145;
    static constexpr int kLow2Id = 1146;
    static constexpr int kHigh2Id = 1147;

    CSoftwareInfoDlg(RadioImage& image, bool chinese, Bands* bandsInUse, QWidget* parent = nullptr);
    ~CSoftwareInfoDlg() override;

    QComboBox* companyList() const { return company_; }
    QComboBox* bandList() const { return band_; }
    QLineEdit* edit(int id) const;
    FieldBinder* binder() const { return binder_; }

  public slots:
    void accept() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void followBand();

    RadioImage& image_;
    Bands* bandsInUse_;
    FieldBinder* binder_;
    QComboBox* company_;
    QComboBox* band_;
    QLineEdit* edits_[4];
};

}  // namespace cps
