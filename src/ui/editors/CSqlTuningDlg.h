#pragma once

#include "ServiceDialog.h"

namespace cps {

// Dialog 207: the squelch level of each frequency segment (0xFA0-0xFB3), with Read and
// Write of exactly that range against the radio of the context.
class CSqlTuningDlg : public ServiceDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 207;
    static constexpr int kGridId = 1001;
    static constexpr int kEditId = 1005;
    static constexpr int kUpId = 1142;
    static constexpr int kDownId = 1143;

    CSqlTuningDlg(RadioImage& image, const RadioContext& radio, QWidget* parent = nullptr);

    QPushButton* upButton() const { return up_; }
    QPushButton* downButton() const { return down_; }

  public slots:
    void step(int delta);

  private:
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace cps
