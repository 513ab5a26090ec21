#pragma once

#include <QObject>
#include <QPointer>

class CFleetDlg;
class Prompter;
class Workspace;
namespace cps {
struct AppContext;
}

// Program > Program Fleet...: the fleet window on the active document.
class FleetCommand : public QObject {
    Q_OBJECT
  public:
    FleetCommand(Workspace& workspace, cps::AppContext& context, Prompter& prompter,
                 QObject* parent);

    void programFleet();
    CFleetDlg* dialog() const;

  private:
    Workspace& workspace_;
    cps::AppContext& context_;
    Prompter& prompter_;
    QPointer<CFleetDlg> dialog_;
};
