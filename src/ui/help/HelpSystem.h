#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "CHelpWindow.h"
#include "HelpMap.h"

class QWidget;

// Serves every help request of the run from one help file (a compiled Qt resource file
// holding the pages and their topic map). The file is loaded on first use; when it cannot
// be had, that request and every later one do nothing visible and it is not tried again.
class HelpSystem : public QObject {
    Q_OBJECT
  public:
    HelpSystem(const QString& helpFilePath, bool chinese, QWidget* mainWindow);
    ~HelpSystem() override;

    // Help for a context number (control, dialog or command id; a dialog's framework help
    // as 0x10000 + its template id). The focus's windows pick between repeated control ids.
    void showContext(int context);
    // Help Topics: the contents.
    void showContents();

    bool available();
    int loadAttempts() const { return attempts_; }
    const cps::HelpMap& map() const { return map_; }
    CHelpWindow* window() const { return window_; }

    // The resource folder the help file is mapped to.
    static QString root();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void present(const QString& topic);

    QString path_;
    bool chinese_;
    QPointer<QWidget> main_;
    QPointer<CHelpWindow> window_;
    QPointer<QWidget> host_;
    cps::HelpMap map_;
    enum class State { Untried, Loaded, Failed } state_ = State::Untried;
    int attempts_ = 0;
};
