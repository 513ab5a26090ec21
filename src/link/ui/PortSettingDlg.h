#pragma once

#include <QDialog>
#include <functional>

#include "PortNames.h"

class QButtonGroup;

namespace cps {

// Dialog 204, "Port Setting": COM1 to COM16, those that cannot be opened disabled, the
// current one checked when it can be opened. The caller takes the checked number on OK.
class CPortSettingDlg : public QDialog {
    Q_OBJECT
  public:
    // canOpen probes a port name; by default it opens the real port and closes it again.
    using Probe = std::function<bool(const QString& portName)>;
    // resolve shows where each COM name leads; it is also what the default probe opens.
    CPortSettingDlg(QWidget* parent, bool chinese, const QString& currentPort,
                    const PortResolver& resolve = {}, Probe canOpen = {});

    // 1..16, or 0 when no button is checked.
    int checkedPort() const;
    QButtonGroup* buttons() const { return group_; }

  private:
    QButtonGroup* group_;
};

}  // namespace cps
