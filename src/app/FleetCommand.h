#pragma once

#include <QObject>
#include <QPointer>

class CFleetDlg;
class Prompter;
class Session;
class Workspace;

// Program > Program Fleet...: the fleet window on the active document.
class FleetCommand : public QObject {
    Q_OBJECT
  public:
    FleetCommand(Workspace& workspace, const Session& session, Prompter& prompter, QObject* parent);

    void programFleet();
    CFleetDlg* dialog() const;

  private:
    Workspace& workspace_;
    const Session& session_;
    Prompter& prompter_;
    QPointer<CFleetDlg> dialog_;
};
