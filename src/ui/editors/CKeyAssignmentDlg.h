#pragma once

#include <QDialog>

#include "RadioImage.h"

class QButtonGroup;

namespace cps {
class FieldBinder;
}

// Dialog 202: the side key's function, one of four option buttons. Made for one opening.
class CKeyAssignmentDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 202;
    // F1 on an option button asks for the command's page.
    static constexpr int kOptionsHelpContext = 32800;

    CKeyAssignmentDlg(cps::RadioImage& image, bool chinese, QWidget* parent = nullptr);

    QButtonGroup* options() const { return group_; }

  public slots:
    void accept() override;

  private:
    cps::FieldBinder* binder_;
    QButtonGroup* group_;
};
