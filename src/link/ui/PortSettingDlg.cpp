#include "PortSettingDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AppContext.h"
#include "HelpContext.h"
#include "PortNames.h"
#include "SerialPort.h"

namespace cps {

CPortSettingDlg::CPortSettingDlg(QWidget* parent, Probe canOpen) : QDialog(parent) {
    routeF1ToHelp(this, 204);
    setObjectName(QStringLiteral("PortSetting204"));
    setWindowTitle(app().text("Port Setting", "端口设置"));
    if (!canOpen) canOpen = [](const QString& name) { return SerialPort::canOpen(name); };

    auto* box = new QGroupBox(app().text("Port", "端口"), this);
    auto* grid = new QGridLayout(box);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    const UserStore store = app().userStore();
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        const QString name = portNameFor(n);
        auto* b = new QRadioButton(QStringLiteral("COM%1").arg(n), box);
        const QString device = deviceForPort(name, store);
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
    if (canOpen(app().portName)) {
        const int current = portNumberFromName(app().portName);
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

void CPortSettingDlg::accept() {
    if (const int n = checkedPort()) {
        app().portName = portNameFor(n);
        UserStore store = app().userStore();
        storePortNumber(store, n);
    }
    QDialog::accept();
}

}  // namespace cps
