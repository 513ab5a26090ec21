#pragma once

#include "FeatureDialog.h"

class QButtonGroup;

// Dialog 202: the side key's function, one of four option buttons. Made for one opening.
class CKeyAssignmentDlg : public cps::features::BoundDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 202;
    // F1 on an option button asks for the command's page.
    static constexpr int kOptionsHelpContext = 32800;

    CKeyAssignmentDlg(cps::RadioImage& image, bool chinese, QWidget* parent = nullptr);

    QButtonGroup* options() const { return group_; }

  private:
    QButtonGroup* group_;
};
