// radiosim: a simulated radio on a pseudo-terminal, so the program can be tried and tested
// without a radio. It prints the device path it serves and answers the link protocol from a
// 4096-byte memory.

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "DataFile.h"
#include "RadioImage.h"
#include "RadioProtocol.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

const char* const kUsage =
    "Usage: radiosim [options]\n"
    "Plays the radio on a pseudo-terminal and prints the device path it serves.\n\n"
    "  --image FILE.dat     memory to start from (default: the factory image)\n"
    "  --type LETTER        radio type letter in the identification (default U)\n"
    "  --range LOW-HIGH     frequency range in whole MHz, 0-999 (default 134-176)\n"
    "  --band-code N        band code kept at 0xFD1 (default: from the image, else 1)\n"
    "  --baud N             pace every byte at N baud (default: no pacing)\n"
    "  --no-delay           answer as soon as a request is in, with no turnaround\n"
    "  --no-answer          never answer the program-mode request\n"
    "  --nak-at ADDR        answer the block at ADDR with NAK\n"
    "  --silent-at ADDR     do not answer the block at ADDR\n"
    "  --short-at ADDR      answer the block read at ADDR one byte short\n"
    "  --corrupt-at ADDR    acknowledge the block written at ADDR but store it wrongly\n"
    "  --garbage N          send N garbage bytes before each program-mode answer\n"
    "  --dump FILE.dat      write the memory to FILE at exit\n"
    "  --log FILE           log the commands received, one a line\n"
    "  --link PATH          also make PATH a symbolic link to the device\n";

double nowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

void sleepUntil(double ms) {
    timespec ts;
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>((ms - ts.tv_sec * 1000.0) * 1e6);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR && !gStop) {
    }
}

struct Options {
    QString image;
    uint8_t type = 'U';
    cps::Band range{134 * cps::kPerMHz, 176 * cps::kPerMHz};
    int bandCode = -1;
    int baud = 0;
    bool noDelay = false;
    bool noAnswer = false;
    int nakAt = -1, silentAt = -1, shortAt = -1, corruptAt = -1;
    int garbage = 0;
    QString dump, log, link;
};

// The protocol core on a pseudo-terminal: wall-clock pacing, writes to the device and the log.
class Radio : public cps::sim::RadioProtocol {
  public:
    Radio(int fd, const Options& o, const cps::RadioImage& image, FILE* log) : fd_(fd), log_(log) {
        memory = image;
        typeLetter = o.type;
        cps::packBand(o.range, rangeBytes[0], rangeBytes[1], rangeBytes[2]);
        neverAnswer = o.noAnswer;
        garbage = o.garbage;
        nakAt = o.nakAt;
        silentAt = o.silentAt;
        shortAt = o.shortAt;
        corruptAt = o.corruptAt;
        // By default a radio answers no sooner than the request has crossed the wire plus a
        // turnaround, even unpaced. --no-delay drops both, so that a program which throws
        // away input between a request and reading its answer loses the answer.
        byteMs_ = o.baud > 0 ? 10000.0 / o.baud : 0.0;
        turnaroundMs_ = o.noDelay ? 0.0 : 0.1;
        minGapMs_ = o.noDelay ? 0.0 : o.baud > 0 ? 0.1 : 10000.0 / 9600 + 0.25;
    }

    // Bytes as they come off the line; stamps the moment each has fully arrived.
    void receive(const uint8_t* data, int n, double at) {
        for (int i = 0; i < n; ++i) {
            wireDone_ = std::max(at, wireDone_) + byteMs_;
            lastArrival_ = nowMs();
            take(data[i]);
        }
    }

  private:
    void note(const cps::sim::RadioEvent& e) override {
        if (!log_) return;
        std::fprintf(log_, "%s\n", e.text().c_str());
        std::fflush(log_);
    }

    void send(const std::vector<uint8_t>& bytes) override {
        double t =
            std::max(wireDone_ + (byteMs_ > 0 ? turnaroundMs_ : 0.0), lastArrival_ + minGapMs_);
        if (byteMs_ <= 0) {
            sleepUntil(t);
            writeAll(bytes.data(), bytes.size());
            return;
        }
        // Each byte appears at the far end once its last bit is through.
        for (uint8_t b : bytes) {
            t += byteMs_;
            sleepUntil(t);
            writeAll(&b, 1);
        }
    }
    void writeAll(const uint8_t* p, size_t n) {
        while (n > 0 && !gStop) {
            const ssize_t w = ::write(fd_, p, n);
            if (w < 0) {
                if (errno == EINTR || errno == EAGAIN) continue;
                return;
            }
            p += w;
            n -= static_cast<size_t>(w);
        }
    }

    int fd_;
    FILE* log_;
    double byteMs_ = 0, minGapMs_ = 0, turnaroundMs_ = 0;
    double wireDone_ = 0, lastArrival_ = 0;
};

bool parseAddress(const QString& s, int& out) {
    bool ok = false;
    out = s.toInt(&ok, 0);
    return ok && out >= 0 && out < cps::kImageSize;
}

// A radio's firmware answers within its own time, whatever else the computer does. As an
// ordinary process the simulator can wait behind other work longer than the program's answer
// time-out (190 ms for an ACK) on a busy machine, and the program then rightly reports Program
// Interrupt. Real-time scheduling keeps its answers in time; without the privilege it runs
// as before. The loop sleeps in poll or between paced bytes, so it never holds a processor.
void answerInRealTime() {
#ifdef SCHED_RESET_ON_FORK
    const int policy = SCHED_FIFO | SCHED_RESET_ON_FORK;
#else
    const int policy = SCHED_FIFO;
#endif
    sched_param param{};
    param.sched_priority = 10;
    sched_setscheduler(0, policy, &param);
}

int usageError(const QString& what) {
    std::fprintf(stderr, "radiosim: %s\n\n%s", qPrintable(what), kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication qapp(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    Options o;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        auto value = [&](QString& v) {
            if (i + 1 >= args.size()) return false;
            v = args[++i];
            return true;
        };
        QString v;
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--no-answer") {
            o.noAnswer = true;
        } else if (a == "--no-delay") {
            o.noDelay = true;
        } else if (!value(v)) {
            return usageError(QStringLiteral("unknown option or missing value: ") + a);
        } else if (a == "--image") {
            o.image = v;
        } else if (a == "--type") {
            if (v.size() != 1) return usageError("--type takes one letter");
            o.type = static_cast<uint8_t>(v.at(0).toLatin1());
        } else if (a == "--range") {
            // The radio packs each limit as three decimal digits of whole MHz.
            const QStringList p = v.split('-');
            bool ok1 = false, ok2 = false;
            int low = -1, high = -1;
            if (p.size() == 2) {
                low = p[0].toInt(&ok1);
                high = p[1].toInt(&ok2);
            }
            if (!ok1 || !ok2 || low < 0 || high > 999 || low > high)
                return usageError("--range takes LOW-HIGH in whole MHz, 0 <= LOW <= HIGH <= 999");
            o.range.low = low * cps::kPerMHz;
            o.range.high = high * cps::kPerMHz;
        } else if (a == "--band-code") {
            bool ok = false;
            o.bandCode = v.toInt(&ok, 0);
            if (!ok || o.bandCode < 0 || o.bandCode > 255) return usageError("bad --band-code");
        } else if (a == "--baud") {
            bool ok = false;
            o.baud = v.toInt(&ok);
            if (!ok || o.baud < 0) return usageError("bad --baud");
        } else if (a == "--nak-at") {
            if (!parseAddress(v, o.nakAt)) return usageError("bad --nak-at");
        } else if (a == "--silent-at") {
            if (!parseAddress(v, o.silentAt)) return usageError("bad --silent-at");
        } else if (a == "--short-at") {
            if (!parseAddress(v, o.shortAt)) return usageError("bad --short-at");
        } else if (a == "--corrupt-at") {
            if (!parseAddress(v, o.corruptAt)) return usageError("bad --corrupt-at");
        } else if (a == "--garbage") {
            bool ok = false;
            o.garbage = v.toInt(&ok);
            if (!ok || o.garbage < 0 || o.garbage > 64) return usageError("bad --garbage");
        } else if (a == "--dump") {
            o.dump = v;
        } else if (a == "--log") {
            o.log = v;
        } else if (a == "--link") {
            o.link = v;
        } else {
            return usageError(QStringLiteral("unknown option: ") + a);
        }
    }

    cps::RadioImage memory = cps::RadioImage::factory();
    memory.set(cps::addr::kBandCode, 1);
    if (!o.image.isEmpty()) {
        QString error;
        if (!cps::loadDataFile(o.image, memory, &error)) {
            std::fprintf(stderr, "radiosim: %s\n", qPrintable(error));
            return 1;
        }
    }
    if (o.bandCode >= 0) memory.set(cps::addr::kBandCode, static_cast<uint8_t>(o.bandCode));

    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
        std::perror("radiosim: pseudo-terminal");
        return 1;
    }
    termios tio;
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    const std::string device = ptsname(fd);
    if (!o.link.isEmpty()) {
        QFile::remove(o.link);
        if (symlink(device.c_str(), QFile::encodeName(o.link).constData()) != 0) {
            std::perror("radiosim: --link");
            return 1;
        }
    }
    FILE* log = nullptr;
    if (!o.log.isEmpty() && !(log = std::fopen(QFile::encodeName(o.log).constData(), "w"))) {
        std::perror("radiosim: --log");
        return 1;
    }

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    answerInRealTime();
    std::printf("%s\n", device.c_str());
    std::fflush(stdout);

    Radio radio(fd, o, memory, log);
    bool connected = false;
    uint8_t buf[256];
    while (!gStop) {
        pollfd p{fd, POLLIN, 0};
        const int r = poll(&p, 1, 50);
        if (r < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (r == 0) continue;
        if (p.revents & POLLIN) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                connected = true;
                radio.receive(buf, static_cast<int>(n), nowMs());
                continue;
            }
        }
        if (p.revents & (POLLHUP | POLLERR)) {
            // Nobody holds the device: wait for the next program to open it.
            if (connected) radio.hangUp();
            connected = false;
            usleep(2000);
        }
    }

    if (!o.link.isEmpty()) QFile::remove(o.link);
    if (log) std::fclose(log);
    ::close(fd);
    if (!o.dump.isEmpty()) {
        QString error;
        if (!cps::saveDataFile(o.dump, radio.memory, &error)) {
            std::fprintf(stderr, "radiosim: %s\n", qPrintable(error));
            return 1;
        }
    }
    return 0;
}
