#include "PortSettingDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "HelpContext.h"
#include "PortNames.h"
#include "SerialPort.h"

namespace cps {

CPortSettingDlg::CPortSettingDlg(QWidget* parent, bool chinese, const QString& currentPort,
                                 const PortResolver& resolve, Probe canOpen)
    : QDialog(parent) {
    routeF1ToHelp(this, 204);
    setObjectName(QStringLiteral("PortSetting204"));
    setWindowTitle(QString::fromUtf8(chinese ? "端口设置" : "Port Setting"));
    if (!canOpen)
        canOpen = [resolve](const QString& name) { return SerialPort::canOpen(name, resolve); };

    auto* box = new QGroupBox(QString::fromUtf8(chinese ? "端口" : "Port"), this);
    auto* grid = new QGridLayout(box);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString name = portNameFor(n);
        auto* b = new QRadioButton(QStringLiteral("COM%1").arg(n), box);
        const QString device = resolve ? resolve(name) : deviceForPort(name);
        if (device != name) {
            // Without COM names, each number stands for a device: show which.
            b->setText(QStringLiteral("COM%1  %2").arg(n).arg(device));
            b->setToolTip(device);
        }
        setControlId(b, 1006 + n);
        b->setEnabled(canOpen(name));
        group_->addButton(b, n);
        grid->addWidget(b, (n - 1) % 8, (n - 1) / 8);
    }
    if (canOpen(currentPort)) {
        const int current = portNumberFromName(currentPort);
        if (QAbstractButton* b = group_->button(current)) b->setChecked(true);
    }

    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(ok, &QDialogButtonBox::accepted, this, &CPortSettingDlg::accept);
    connect(ok, &QDialogButtonBox::rejected, this, &CPortSettingDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(ok);
}

int CPortSettingDlg::checkedPort() const {
    const int id = group_->checkedId();
    return id >= kFirstPort && id <= kLastPort ? id : 0;
}

}  // namespace cps
