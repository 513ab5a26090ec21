// Times a full read and a full write against radiosim paced at 9600 baud and compares each
// with its wire-time floor: every byte that crossed the line at 10 bits, plus the pauses the
// protocol itself requires.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>

#include "RadioLink.h"
#include "SerialPort.h"

using namespace cps;

namespace {

// Counts what goes over the line around the real port.
class CountingPort : public Port {
  public:
    explicit CountingPort(Port& inner) : inner_(inner) {}
    long long bytes = 0;
    long long pauseMs = 0;
    bool open(const QString& name) override { return inner_.open(name); }
    void configure(const PortTimeouts& t) override { inner_.configure(t); }
    void purge(Purge p) override { inner_.purge(p); }
    int write(const uint8_t* d, int n) override {
        const int w = inner_.write(d, n);
        bytes += w;
        return w;
    }
    int read(uint8_t* d, int n) override {
        const int r = inner_.read(d, n);
        bytes += r;
        return r;
    }
    void close() override { inner_.close(); }
    void pause(int ms) override {
        pauseMs += ms;
        inner_.pause(ms);
    }

  private:
    Port& inner_;
};

class Quiet : public LinkPrompt {
  public:
    Answer message(const QString& text, const QString&, Buttons) override {
        std::fprintf(stderr, "transfer_bench: %s\n", qPrintable(text));
        return Answer::Cancel;
    }
    void setStatus(const QString&) override {}
    void setProgressRange(int) override {}
    void setProgress(int) override {}
    bool pump() override { return false; }
};

bool measure(const char* what, const QString& device, LinkMode mode, RadioImage& image) {
    SerialPort real;
    CountingPort port(real);
    Quiet prompt;
    TransferSettings s;
    s.mode = mode;
    s.portName = device;
    s.bands = unpackBands(image);
    QElapsedTimer t;
    t.start();
    const LinkResult r = RadioLink(port, prompt).transfer(image, s);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    if (r != LinkResult::Ok) return false;
    const double floorMs = port.bytes * 10000.0 / 9600 + static_cast<double>(port.pauseMs);
    std::printf(
        "%-5s %6lld bytes  %5lld ms pauses  floor %8.1f ms  measured %8.1f ms  ratio %.3f\n", what,
        port.bytes, port.pauseMs, floorMs, ms, ms / floorMs);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/radiosim"),
              {QStringLiteral("--baud"), QStringLiteral("9600")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "transfer_bench: cannot start radiosim beside this program\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    std::printf("radiosim --baud 9600 on %s\n", qPrintable(device));

    RadioImage image = RadioImage::factory();
    image.set(addr::kBandCode, 1);
    packBands(image, Bands{{136 * kPerMHz, 174 * kPerMHz}, {136 * kPerMHz, 174 * kPerMHz}});
    const bool ok = measure("read", device, LinkMode::Read, image) &&
                    measure("write", device, LinkMode::Write, image);
    sim.terminate();
    sim.waitForFinished(5000);
    return ok ? 0 : 1;
}
