#include "RadioUi.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "AppContext.h"
#include "MessageBoxPrompt.h"
#include "PortSettingDlg.h"
#include "ProcessDlg.h"
#include "RadioLink.h"
#include "SerialPort.h"

namespace cps::radioui {
namespace {

void runTransfer(RadioViewHost& host, CProcessDlg* dlg, LinkMode mode) {
    QPointer<CProcessDlg> guard(dlg);
    host.commitPendingEdit();
    if (mode == LinkMode::Write) host.storeGridIntoImage();
    RadioImage& document = host.documentImage();

    TransferSettings settings;
    settings.mode = mode;
    settings.portName = app().portName;
    settings.bands = unpackBands(document);
    settings.sendCalibration = calibrationWritable(app().sqlWritingAllowed, app().serviceUnlocked);
    settings.chinese = app().chinese;

    SerialPort port;
    MessageBoxPrompt prompt(host.hostWidget(), dlg);
    const LinkResult result = RadioLink(port, prompt).transfer(document, settings);
    if (mode == LinkMode::Read && result == LinkResult::Ok) {
        app().newImage = false;
        host.fillGridFromImage();
    }
    if (guard) guard->finish();
}

// One Process window per view; while it is open Read and Write leave it alone, so the
// mode cannot change under a running transfer.
void open(RadioViewHost& host, LinkMode mode) {
    QWidget* view = host.hostWidget();
    if (view->findChild<CProcessDlg*>(QString(), Qt::FindDirectChildrenOnly)) return;
    if (mode == LinkMode::Write) host.commitPendingEdit();
    const QString caption = mode == LinkMode::Read ? app().text("Read Data", "读数据")
                                                   : app().text("Write Data", "写数据");
    auto* dlg = new CProcessDlg(caption, view);
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

void comSetup(QWidget* parent) {
    CPortSettingDlg dlg(parent);
    dlg.exec();
}

}  // namespace cps::radioui
