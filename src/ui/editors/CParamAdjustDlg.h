#pragma once

#include <QDialog>
#include <QString>

#include "RadioImage.h"
#include "RadioUi.h"

class CMSFlexGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace cps {

class FieldBinder;
class ServiceGrid;

// Dialog 139: the audio and squelch-detection calibration (0xFB4-0xFCE), with Read and
// Write of exactly that range against the radio of the context.
class CParamAdjustDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 139;
    static constexpr int kGridId = 1002;
    static constexpr int kEditId = 1014;
    static constexpr int kReadId = 1140;
    static constexpr int kWriteId = 1141;

    CParamAdjustDlg(RadioImage& image, const RadioContext& radio, QWidget* parent = nullptr);
    ~CParamAdjustDlg() override;

    CMSFlexGrid* grid() const { return grid_; }
    QLineEdit* cellEdit() const { return edit_; }
    ServiceGrid* cells() const { return cells_; }
    QComboBox* list(const char* key) const;
    QPushButton* readButton() const { return read_; }
    QPushButton* writeButton() const { return write_; }

  public slots:
    void accept() override;
    void readRadio();
    void writeRadio();

  private:
    void store();
    void reload();

    RadioImage& image_;
    bool chinese_;
    RadioContext radio_;
    FieldBinder* binder_;
    CMSFlexGrid* grid_;
    QLineEdit* edit_;
    ServiceGrid* cells_;
    QPushButton* read_;
    QPushButton* write_;
};

}  // namespace cps
