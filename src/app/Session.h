#pragma once

#include <QObject>
#include <QString>

// What the main window's documents share while the program runs, beside the settings read
// at start-up: whether the shown image came from New, the service unlock, the SQL-writing
// switch, the current port and whether a transfer holds a document. Owned by the main
// window; every change is signalled.
class Session : public QObject {
    Q_OBJECT
  public:
    // sqlWriting: [Setup] EnableSql as the settings file has it.
    explicit Session(int sqlWriting, QObject* parent = nullptr);

    // The shown image came from New and nothing replaced it.
    bool imageFromNew() const { return imageFromNew_; }
    void setImageFromNew(bool fromNew);
    // The service access code was given: service mode until the program ends.
    bool serviceUnlocked() const { return serviceUnlocked_; }
    void unlockService();
    // The channel view's SQL switch; written back to the settings at exit.
    int sqlWriting() const { return sqlWriting_; }
    void setSqlWriting(int allowed);
    // The port every exchange opens.
    QString portName() const { return portName_; }
    void setPortName(const QString& name);
    // A transfer holds a document: what changes one waits.
    bool busy() const { return busy_; }
    void setBusy(bool busy);

  signals:
    void imageFromNewChanged(bool fromNew);
    void serviceUnlockedChanged(bool unlocked);
    void sqlWritingChanged(int allowed);
    void portNameChanged(const QString& name);
    void busyChanged(bool busy);

  private:
    bool imageFromNew_ = false;
    bool serviceUnlocked_ = false;
    int sqlWriting_;
    QString portName_ = QStringLiteral("COM1");
    bool busy_ = false;
};
