// Times a full read and a full write against radiosim paced at 9600 baud and compares each
// with its wire-time floor: every byte that crossed the line at 10 bits, plus the pauses the
// protocol itself requires. The read is also set beside a minimal client (plain descriptor,
// the same exchange without pauses or purges) on the same simulator. Then four radios written
// at once, one thread each, against the same write alone, in the same run.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "ParallelRun.h"
#include "RadioLink.h"
#include "SerialPort.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

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

#ifdef Q_OS_UNIX
// The least a client can do for a whole read: the bytes of the exchange, each answer read as
// soon as it is complete. Returns the time in ms, or -1.
class ReferenceClient {
  public:
    double read(const QString& device, RadioImage& image) {
        fd_ = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        if (fd_ < 0) return -1;
        termios tio{};
        tcgetattr(fd_, &tio);
        cfmakeraw(&tio);
        cfsetspeed(&tio, B9600);
        tcsetattr(fd_, TCSANOW, &tio);
        QElapsedTimer t;
        t.start();
        const bool ok = run(image);
        const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
        ::close(fd_);
        return ok ? ms : -1;
    }
    long long bytes = 0;

  private:
    bool send(const uint8_t* p, int n) {
        bytes += n;
        return ::write(fd_, p, static_cast<size_t>(n)) == n;
    }
    bool receive(uint8_t* p, int n) {
        int got = 0;
        while (got < n) {
            pollfd pfd{fd_, POLLIN, 0};
            if (::poll(&pfd, 1, 500) <= 0) return false;
            const ssize_t r = ::read(fd_, p + got, static_cast<size_t>(n - got));
            if (r <= 0) return false;
            got += static_cast<int>(r);
        }
        bytes += n;
        return true;
    }
    bool ackExchange() {
        const uint8_t ack = wire::kAck;
        uint8_t b = 0;
        return send(&ack, 1) && receive(&b, 1) && b == wire::kAck;
    }
    bool block(int address, uint8_t* data) {
        const uint8_t h[4] = {wire::kRead, static_cast<uint8_t>(address >> 8),
                              static_cast<uint8_t>(address & 0xFF), 8};
        uint8_t reply[12];
        if (!send(h, 4) || !receive(reply, 12)) return false;
        if (data) std::memcpy(data, reply + 4, 8);
        return ackExchange();
    }
    bool programMode() {
        uint8_t b = 0, id[wire::kIdLength];
        return send(wire::kProgram, 7) && receive(&b, 1) && b == wire::kAck &&
               send(wire::kIdentify, 2) && receive(id, wire::kIdLength) && ackExchange();
    }
    bool run(RadioImage& image) {
        // As the program: a pass that checks the band, then the data pass.
        if (!programMode() || !block(addr::kModelIndex, nullptr)) return false;
        if (!programMode() || !block(addr::kPassword - 2, nullptr)) return false;
        for (int a = 0; a < kRowCount * kRowSize; a += 8)
            if (!block(a, image.data() + a)) return false;
        return true;
    }
    int fd_ = -1;
};
#endif

bool measure(const char* what, const QString& device, LinkMode mode, RadioImage& image,
             double* took = nullptr) {
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
    if (took) *took = ms;
    return true;
}

QString startSim(QProcess& sim) {
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/radiosim"),
              {QStringLiteral("--baud"), QStringLiteral("9600")});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) return QString();
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// One write with a port, prompt and link of its own; the time it took in ms, or -1.
double timedWrite(const QString& device, const RadioImage& image) {
    SerialPort port;
    Quiet prompt;
    TransferSettings s;
    s.mode = LinkMode::Write;
    s.portName = device;
    s.bands = unpackBands(image);
    RadioImage copy = image;
    QElapsedTimer t;
    t.start();
    const LinkResult r = RadioLink(port, prompt).transfer(copy, s);
    return r == LinkResult::Ok ? static_cast<double>(t.nsecsElapsed()) / 1e6 : -1;
}

bool measureParallel(const RadioImage& image) {
    constexpr int kRadios = 4;
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList devices;
    for (int i = 0; i < kRadios; ++i) {
        sims.push_back(std::make_unique<QProcess>());
        devices << startSim(*sims.back());
        if (devices.back().isEmpty()) return false;
    }
    const double alone = timedWrite(devices[0], image);
    std::vector<double> each(kRadios, -1);
    QElapsedTimer t;
    t.start();
    runInParallel(kRadios,
                  [&](int i) { each[static_cast<size_t>(i)] = timedWrite(devices[i], image); });
    const double all = static_cast<double>(t.nsecsElapsed()) / 1e6;
    for (auto& sim : sims) {
        sim->terminate();
        sim->waitForFinished(5000);
    }
    bool ok = alone > 0;
    for (double ms : each) ok = ok && ms > 0;
    if (!ok) return false;
    std::printf(
        "write alone %8.1f ms  four at once %8.1f ms (slowest %8.1f)  ratio %.3f "
        "(target <= 1.15)\n",
        alone, all, *std::max_element(each.begin(), each.end()), all / alone);
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
    double cpsRead = 0;
    bool ok = measure("read", device, LinkMode::Read, image, &cpsRead);
#ifdef Q_OS_UNIX
    if (ok) {
        // Side by side, alternating, so that a change of load hits both alike.
        RadioImage scratch = image;
        ReferenceClient reference;
        const double first = reference.read(device, scratch);
        double again = 0;
        ok = first > 0 && measure("read", device, LinkMode::Read, image, &again);
        ReferenceClient second;
        const double secondMs = ok ? second.read(device, scratch) : -1;
        ok = ok && secondMs > 0;
        if (ok) {
            const double ref = std::min(first, secondMs);
            const double mine = std::min(cpsRead, again);
            std::printf(
                "reference read %8.1f ms (%lld bytes, floor %8.1f ms)  cps read %8.1f ms  "
                "ratio %.3f (target <= 1.02)\n",
                ref, reference.bytes, reference.bytes * 10000.0 / 9600, mine, mine / ref);
        }
    }
#endif
    ok = ok && measure("write", device, LinkMode::Write, image);
    sim.terminate();
    sim.waitForFinished(5000);
    return ok && measureParallel(image) ? 0 : 1;
}
