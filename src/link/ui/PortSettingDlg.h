#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;

namespace cps {

// Dialog 204, "Port Setting": COM1 to COM16, those that cannot be opened disabled, the
// current one checked when it can be opened. OK stores the checked number.
class CPortSettingDlg : public QDialog {
    Q_OBJECT
  public:
    // canOpen probes a port name; by default it opens the real port and closes it again.
    using Probe = std::function<bool(const QString& portName)>;
    explicit CPortSettingDlg(QWidget* parent, Probe canOpen = {});

    // 1..16, or 0 when no button is checked.
    int checkedPort() const;
    QButtonGroup* buttons() const { return group_; }

    void accept() override;

  private:
    QButtonGroup* group_;
};

}  // namespace cps
