#pragma once

#include "ServiceDialog.h"

class QComboBox;

namespace cps {

// Dialog 139: the audio and squelch-detection calibration (0xFB4-0xFCE), with Read and
// Write of exactly that range against the radio of the context.
class CParamAdjustDlg : public ServiceDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 139;
    static constexpr int kGridId = 1002;
    static constexpr int kEditId = 1014;

    CParamAdjustDlg(RadioImage& image, const RadioContext& radio, QWidget* parent = nullptr);

    QComboBox* list(const char* key) const;
};

}  // namespace cps
