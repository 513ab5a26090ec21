#pragma once

#include <QDialog>
#include <QString>

#include "RadioImage.h"
#include "RadioUi.h"

class CMSFlexGrid;
class QLineEdit;
class QPushButton;

namespace cps {

class FieldBinder;
class ServiceGrid;

// Dialog 207: the squelch level of each frequency segment (0xFA0-0xFB3), with Read and
// Write of exactly that range against the radio of the context.
class CSqlTuningDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 207;
    static constexpr int kGridId = 1001;
    static constexpr int kEditId = 1005;
    static constexpr int kReadId = 1140;
    static constexpr int kWriteId = 1141;
    static constexpr int kUpId = 1142;
    static constexpr int kDownId = 1143;

    CSqlTuningDlg(RadioImage& image, const RadioContext& radio, QWidget* parent = nullptr);
    ~CSqlTuningDlg() override;

    CMSFlexGrid* grid() const { return grid_; }
    QLineEdit* cellEdit() const { return edit_; }
    ServiceGrid* cells() const { return cells_; }
    QPushButton* readButton() const { return read_; }
    QPushButton* writeButton() const { return write_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }

  public slots:
    void accept() override;
    void readRadio();
    void writeRadio();
    void step(int delta);

  private:
    void store();

    RadioImage& image_;
    bool chinese_;
    RadioContext radio_;
    FieldBinder* binder_;
    CMSFlexGrid* grid_;
    QLineEdit* edit_;
    ServiceGrid* cells_;
    QPushButton* read_;
    QPushButton* write_;
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace cps
