#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <functional>

#include "Port.h"
#include "PortList.h"
#include "PortNames.h"

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;

namespace cps {

// Dialog 204, "Port Setting": COM1 to COM16, those that cannot be opened disabled, the
// current one checked when it can be opened. The caller takes the checked number on OK.
// Beside each number that leads to a port the system lists stands that port's description;
// a number the user has not assigned and that leads to no listed port offers the listed
// ports to assign it to, which the caller stores on OK.
class CPortSettingDlg : public QDialog {
    Q_OBJECT
  public:
    // canOpen probes a port name, None when it opens; by default it opens the real port and
    // closes it again. A number that cannot be opened is greyed, with the reason in its
    // tooltip and, while the mouse is on it, in the status line under the numbers.
    using Probe = std::function<OpenFailure(const QString& portName)>;
    // resolve shows where each COM name leads; it is also what the default probe opens.
    // listed: the system's ports as enumerated for this opening; assigned: the devices the
    // user assigned (without it nothing is offered for assignment).
    CPortSettingDlg(QWidget* parent, bool chinese, const QString& currentPort,
                    const PortResolver& resolve = {}, Probe canOpen = {},
                    const QList<SystemPort>& listed = {}, const DeviceMap& assigned = {});

    // 1..16, or 0 when no button is checked.
    int checkedPort() const;
    QButtonGroup* buttons() const { return group_; }
    // The numbers given a device in this dialog, with the device.
    QHash<int, QString> newAssignments() const { return assignments_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Greys button when the device cannot be opened and says why.
    void showAvailability(QAbstractButton* button, const QString& device, OpenFailure failure);
    QComboBox* assignmentChoice(int n, QAbstractButton* button, bool chinese,
                                const QList<SystemPort>& listed, const Probe& canOpen);
    bool chinese_;
    QButtonGroup* group_;
    QLabel* status_;
    QHash<int, QString> assignments_;
};

}  // namespace cps
