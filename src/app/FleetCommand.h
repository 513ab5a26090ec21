#pragma once

#include <QObject>
#include <QPointer>

class CChildFrame;
class CFleetDlg;
class CMainFrame;
class Prompter;
namespace cps {
struct AppContext;
}

namespace cmd {
enum : int { ProgramFleet = 0x8043 };
}

// Program > Program Fleet...: the fleet window on the active document.
class FleetCommand : public QObject {
    Q_OBJECT
  public:
    FleetCommand(CMainFrame& frame, cps::AppContext& context, Prompter& prompter);

    void programFleet();
    CFleetDlg* dialog() const;

  private:
    // The one place the fleet marks its document busy, so that a common busy state can
    // take over from the channel window's transfer flag.
    static void setDocumentBusy(CChildFrame* frame, bool busy);

    CMainFrame& frame_;
    cps::AppContext& context_;
    Prompter& prompter_;
    QPointer<CFleetDlg> dialog_;
};
