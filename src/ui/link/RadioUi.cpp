#include "RadioUi.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "MessageBoxPrompt.h"
#include "PortSettingDlg.h"
#include "ProcessDlg.h"
#include "RadioLink.h"
#include "SerialPort.h"

namespace cps::radioui {
namespace {

void runTransfer(RadioViewHost& host, CProcessDlg* dlg, LinkMode mode) {
    QPointer<CProcessDlg> guard(dlg);
    host.transferStarted(mode == LinkMode::Write);
    host.commitPendingEdit();
    if (mode == LinkMode::Write) host.storeGridIntoImage();
    RadioImage& document = host.documentImage();
    // A write sends the image as it stands now, checked against the limits in use now:
    // nothing done while it runs can reach the radio unchecked.
    RadioImage sent = document;
    const bool writing = mode == LinkMode::Write;

    const RadioContext context = host.radioContext();

    TransferSettings settings;
    settings.mode = mode;
    settings.portName = context.portName;
    settings.bands = host.bandsInUse();
    settings.sendCalibration = context.sendCalibration;
    settings.chinese = context.chinese;
    settings.verify = writing && context.verifyAfterWrite;

    SerialPort port(context.resolve);
    MessageBoxPrompt prompt(host.hostWidget(), context.caption, dlg);
    RadioLink link(port, prompt);
    const LinkResult result = link.transfer(writing ? sent : document, settings);
    if (mode == LinkMode::Read && result == LinkResult::Ok) host.imageReadFromRadio();
    if (settings.verify && result == LinkResult::Ok)
        host.reportStatus(linktext::verified(context.chinese));
    if (result == LinkResult::VerifyFailed)
        host.reportStatus(linktext::verifyFailed(context.chinese, link.verifyMismatch()));
    if (guard) guard->finish();
    // A transfer that ended early says what it left behind; a write that sent nothing
    // (refused before its data phase) left the radio as it was.
    MessageBoxPrompt after(host.hostWidget(), context.caption);
    const bool early = result == LinkResult::Cancelled || result == LinkResult::Interrupted;
    if (early && writing && link.dataSent())
        after.message(linktext::partlyWritten(context.chinese), QString(), Buttons::Ok);
    else if (early && !writing)
        after.message(linktext::readLeftDocument(context.chinese), QString(), Buttons::Ok);
    host.transferEnded(writing, result == LinkResult::Ok);
}

// One Process window per view; while it is open Read and Write leave it alone, so the
// mode cannot change under a running transfer.
void open(RadioViewHost& host, LinkMode mode) {
    QWidget* view = host.hostWidget();
    if (processWindowOpen(view)) return;
    if (mode == LinkMode::Write) host.commitPendingEdit();
    const bool chinese = host.radioContext().chinese;
    const char* caption[2][2] = {{"Read Data", "读数据"}, {"Write Data", "写数据"}};
    auto* dlg = new CProcessDlg(QString::fromUtf8(caption[mode == LinkMode::Write][chinese]),
                                chinese, view);
    dlg->setWindowFlag(Qt::Window);
    QObject::connect(dlg, &CProcessDlg::startRequested, dlg,
                     [&host, dlg, mode] { runTransfer(host, dlg, mode); });
    dlg->show();
    if (QScreen* screen = dlg->screen() ? dlg->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = dlg->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        dlg->move(frame.topLeft());
    }
}

}  // namespace

void read(RadioViewHost& host) { open(host, LinkMode::Read); }
void write(RadioViewHost& host) { open(host, LinkMode::Write); }

int comSetup(QWidget* parent, const RadioContext& context) {
    // Enumerated at every opening, so a cable plugged in since the last one shows up.
    CPortSettingDlg dlg(parent, context.chinese, context.portName, context.resolve, {},
                        systemPorts(), context.assign ? context.assigned : DeviceMap());
    if (dlg.exec() != QDialog::Accepted) return 0;
    const QHash<int, QString> assignments = dlg.newAssignments();
    for (auto it = assignments.begin(); it != assignments.end(); ++it)
        context.assign(it.key(), it.value());
    return dlg.checkedPort();
}

bool processWindowOpen(const QWidget* view) {
    return view && view->findChild<CProcessDlg*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace cps::radioui
