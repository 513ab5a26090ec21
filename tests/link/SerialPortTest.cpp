// The real port on a pseudo-terminal: one device, however it is named, opens once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "SerialPort.h"

using namespace cps;

namespace {

// The far end of a pseudo-terminal; device() is the end a program opens.
class Pty {
  public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            device_ = QString::fromLocal8Bit(::ptsname(master_));
    }
    ~Pty() {
        if (master_ >= 0) ::close(master_);
    }
    const QString& device() const { return device_; }

  private:
    int master_ = -1;
    QString device_;
};

SerialPort::Resolver to(const QString& device) {
    return [device](const QString&) { return device; };
}

}  // namespace

TEST(SerialPortOpen, ALinkToAnOpenDeviceFindsItInUse) {
    Pty pty;
    ASSERT_FALSE(pty.device().isEmpty());
    QTemporaryDir dir;
    const QString link = dir.filePath("radio");
    ASSERT_TRUE(QFile::link(pty.device(), link));

    SerialPort first(to(pty.device()));
    ASSERT_TRUE(first.open("COM1"));
    SerialPort second(to(link));
    EXPECT_FALSE(second.open("COM1"));
    EXPECT_EQ(second.openFailure(), OpenFailure::Busy);
    EXPECT_EQ(SerialPort::probe("COM1", to(link)), OpenFailure::Busy);
    // The same the other way round, and by the device's own name.
    SerialPort third(to(pty.device()));
    EXPECT_FALSE(third.open("COM1"));
    EXPECT_EQ(third.openFailure(), OpenFailure::Busy);

    first.close();
    EXPECT_TRUE(second.open("COM1")) << "free again once closed";
    second.close();
    EXPECT_EQ(SerialPort::probe("COM1", to(pty.device())), OpenFailure::None);
}

TEST(SerialPortOpen, RefusalsSayWhy) {
    EXPECT_EQ(SerialPort::probe("COM1", to("/dev/cps-no-such-device")), OpenFailure::Missing);

    // A device the user may not open: the owner cannot, with no permission left; root can
    // open anything, so the check runs for other users only.
    if (::geteuid() == 0) return;
    Pty pty;
    ASSERT_FALSE(pty.device().isEmpty());
    ASSERT_EQ(::chmod(QFile::encodeName(pty.device()).constData(), 0), 0);
    EXPECT_EQ(SerialPort::probe("COM1", to(pty.device())), OpenFailure::Denied);
}
