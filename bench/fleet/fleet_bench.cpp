// Times a fleet job of eight radios on four radiosims paced at 9600 baud against one radio
// of the same job written alone, through the same fleet run, in the same process.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

#include "FleetJob.h"
#include "FleetRun.h"

using namespace cps;
using namespace cps::exchange;

namespace {

QString startSim(QProcess& sim) {
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/radiosim"),
              {QStringLiteral("--baud"), QStringLiteral("9600")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) return QString();
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

class Quiet : public FleetObserver {
  public:
    void message(int, const QString& text) override {
        std::fprintf(stderr, "fleet_bench: %s\n", qPrintable(text));
    }
};

// Runs radios over ports with a fresh log; the time in ms, or -1 when a radio failed.
double timedRun(const QList<FleetRadio>& radios, const QList<FleetPort>& ports,
                const QString& logPath) {
    FleetLog log(logPath);
    QString error;
    if (!log.open(&error)) return -1;
    Quiet quiet;
    std::atomic<bool> stop{false};
    QElapsedTimer t;
    t.start();
    const FleetSummary s = runFleet(radios, ports, FleetOptions(), log, quiet, stop);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    return s.allDone() ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    constexpr int kSims = 4;
    constexpr int kRadios = 8;
    std::vector<std::unique_ptr<QProcess>> sims;
    QList<FleetPort> ports;
    for (int i = 0; i < kSims; ++i) {
        sims.push_back(std::make_unique<QProcess>());
        const QString device = startSim(*sims.back());
        if (device.isEmpty()) {
            std::fprintf(stderr, "fleet_bench: cannot start radiosim beside this program\n");
            return 1;
        }
        ports << FleetPort{device, device};
    }

    RadioImage document = RadioImage::factory();
    applyNewImageSettings(document, 0);
    QByteArray csv = "Label,msk:ID Code,dtmf:Local ID\r\n";
    const QStringList ids = fillSeries(QStringLiteral("00A1"), kRadios, true);
    for (int i = 0; i < kRadios; ++i)
        csv += QStringLiteral("Radio %1,%2,%3\r\n").arg(i + 1).arg(ids[i]).arg(101 + i).toUtf8();
    Job job;
    QString error;
    if (!readJob(csv, &job, &error)) return 1;
    const JobImages images = jobImages(job, document, false);
    if (!images.ok) {
        std::fprintf(stderr, "fleet_bench: %s\n", qPrintable(images.error));
        return 1;
    }
    QList<FleetRadio> radios;
    for (const JobRadio& r : images.radios) radios << FleetRadio{r.line, r.label, r.image};

    QTemporaryDir dir;
    const double alone = timedRun(radios.mid(0, 1), ports.mid(0, 1), dir.filePath("alone.csv"));
    const double fleet = timedRun(radios, ports, dir.filePath("fleet.csv"));
    for (auto& sim : sims) {
        sim->terminate();
        sim->waitForFinished(5000);
    }
    if (alone < 0 || fleet < 0) {
        std::fprintf(stderr, "fleet_bench: a write failed\n");
        return 1;
    }
    std::printf("radiosim --baud 9600 x %d\n", kSims);
    std::printf("one radio alone   %8.1f ms\n", alone);
    std::printf("%d radios on %d   %8.1f ms  ratio %.3f (target <= 2.1)\n", kRadios, kSims, fleet,
                fleet / alone);
    return 0;
}
