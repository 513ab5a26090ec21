#pragma once

// Starts radiosim on a pseudo-terminal and runs cps against it, each in its own process.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "DataFile.h"
#include "RadioImage.h"

namespace cps::e2e {

struct CpsRun {
    int status = -1;
    QString out;
    QString err;
};

class Sim {
  public:
    explicit Sim(const QStringList& args, const QString& dir) : dir_(dir) {
        proc_.setProgram(QStringLiteral(RADIOSIM_PATH));
        proc_.setArguments(QStringList(args) << "--dump" << dumpPath() << "--log" << logPath());
        proc_.start();
        if (!proc_.waitForStarted(5000)) return;
        for (int i = 0; i < 50 && !proc_.canReadLine(); ++i) proc_.waitForReadyRead(100);
        device_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
    }
    ~Sim() { stop(); }
    Sim(const Sim&) = delete;
    Sim& operator=(const Sim&) = delete;

    const QString& device() const { return device_; }
    qint64 pid() const { return proc_.processId(); }
    QString dumpPath() const { return dir_ + QStringLiteral("/sim-memory.dat"); }
    QString logPath() const { return dir_ + QStringLiteral("/sim.log"); }

    // Stops the radio and returns the memory it ended with.
    RadioImage stop() {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.terminate();
            if (!proc_.waitForFinished(5000)) {
                proc_.kill();
                proc_.waitForFinished(2000);
            }
        }
        RadioImage memory;
        loadDataFile(dumpPath(), memory);
        return memory;
    }

    QStringList log() const {
        QFile f(logPath());
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // Waits until the radio saw the program let go of the port.
    bool sawClose(int ms = 3000) const {
        for (int waited = 0; waited < ms; waited += 20) {
            if (log().contains(QStringLiteral("CLOSED"))) return true;
            QThread::msleep(20);
        }
        return false;
    }

  private:
    QString dir_;
    QProcess proc_;
    QString device_;
};

inline CpsRun runCps(const QStringList& args, const QString& userStore) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CPS_USER_STORE"), userStore);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CPS_PATH), args);
    CpsRun r;
    if (!p.waitForStarted(5000) || !p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(2000);
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace cps::e2e
