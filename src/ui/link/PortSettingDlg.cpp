#include "PortSettingDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "HelpContext.h"
#include "KeyFilter.h"
#include "OkCancel.h"
#include "PortList.h"
#include "PortNames.h"
#include "RadioLink.h"
#include "SerialPort.h"

namespace cps {

CPortSettingDlg::CPortSettingDlg(QWidget* parent, bool chinese, const QString& currentPort,
                                 const PortResolver& resolve, Probe canOpen,
                                 const QList<SystemPort>& listed, const DeviceMap& assigned)
    : QDialog(parent), chinese_(chinese) {
    routeF1ToHelp(this, 204);
    setObjectName(QStringLiteral("PortSetting204"));
    setWindowTitle(QString::fromUtf8(chinese ? "端口设置" : "Port Setting"));
    if (!canOpen)
        canOpen = [resolve](const QString& name) { return SerialPort::probe(name, resolve); };
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("portStatus"));
    status_->setWordWrap(true);
    // Room for a two-line reason, so that the numbers do not move when one is shown.
    status_->setMinimumHeight(2 * status_->fontMetrics().lineSpacing());

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
        showAvailability(b, device, canOpen(name));
        group_->addButton(b, n);
        const int row = (n - 1) % 8, column = (n - 1) / 8 * 2;
        grid->addWidget(b, row, column);

        const SystemPort* found = nullptr;
        for (const SystemPort& p : listed)
            if (comNumbersFor(p, resolve).contains(n)) found = &p;
        if (found) {
            auto* l = new QLabel(describePort(*found), box);
            l->setObjectName(QStringLiteral("description%1").arg(n));
            grid->addWidget(l, row, column + 1);
        } else if (kPortsAssignable && assigned && assigned(n).isEmpty() && !listed.isEmpty()) {
            grid->addWidget(assignmentChoice(n, b, chinese, listed, canOpen), row, column + 1);
        }
    }
    const int current = portNumberFromName(currentPort);
    if (QAbstractButton* b = group_->button(current)) {
        if (b->isEnabled())
            b->setChecked(true);
        else  // the port in use now cannot be opened: say why at once
            status_->setText(b->statusTip());
    }
    keys::focusChecked(*group_);

    QDialogButtonBox* ok = okCancelBox(this, chinese);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(status_);
    layout->addWidget(ok);
}

void CPortSettingDlg::showAvailability(QAbstractButton* button, const QString& device,
                                       OpenFailure failure) {
    button->setEnabled(failure == OpenFailure::None);
    if (failure == OpenFailure::None) {
        button->setToolTip(button->text().contains(device) ? device : QString());
        button->setStatusTip(QString());
        return;
    }
    QString reason = linktext::portReason(failure, device, chinese_);
    if (reason.isEmpty()) reason = linktext::portNotOpened(chinese_) + QLatin1Char('\n') + device;
    const QString label = button->text().section(QLatin1Char(' '), 0, 0);
    button->setToolTip(reason);
    button->setStatusTip(label + QStringLiteral(": ") + reason);
    // A greyed button takes no clicks, but it still gets the mouse's enter and tooltip events.
    button->installEventFilter(this);
}

bool CPortSettingDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::ToolTip) {
        if (auto* b = qobject_cast<QAbstractButton*>(watched); b && !b->statusTip().isEmpty())
            status_->setText(b->statusTip());
    }
    return QDialog::eventFilter(watched, event);
}

QComboBox* CPortSettingDlg::assignmentChoice(int n, QAbstractButton* button, bool chinese,
                                             const QList<SystemPort>& listed,
                                             const Probe& canOpen) {
    auto* choice = new QComboBox(this);
    choice->setObjectName(QStringLiteral("assign%1").arg(n));
    choice->setToolTip(QString::fromUtf8(chinese ? "选择此端口号打开的设备"
                                                 : "Choose the device this number opens"));
    choice->addItem(QString::fromUtf8(chinese ? "映射到设备..." : "Map to a device..."));
    for (const SystemPort& p : listed)
        choice->addItem(p.description.isEmpty() && usbIds(p).isEmpty()
                            ? p.device
                            : QStringLiteral("%1  %2").arg(p.device, describePort(p)),
                        p.device);
    const QString plain = button->text();
    const bool plainEnabled = button->isEnabled();
    const QString plainTip = button->toolTip(), plainStatus = button->statusTip();
    connect(
        choice, qOverload<int>(&QComboBox::currentIndexChanged), this,
        [this, n, button, choice, plain, plainEnabled, plainTip, plainStatus, canOpen](int index) {
            const QString device = choice->itemData(index).toString();
            if (device.isEmpty()) {
                assignments_.remove(n);
                button->setText(plain);
                button->setEnabled(plainEnabled);
                button->setToolTip(plainTip);
                button->setStatusTip(plainStatus);
                return;
            }
            assignments_.insert(n, device);
            button->setText(QStringLiteral("COM%1  %2").arg(n).arg(device));
            showAvailability(button, device, canOpen(device));
        });
    return choice;
}

int CPortSettingDlg::checkedPort() const {
    const int id = group_->checkedId();
    return id >= kFirstPort && id <= kLastPort ? id : 0;
}

}  // namespace cps
