#include <gtest/gtest.h>
#include <sched.h>

#include <QCoreApplication>
#include <QSettings>
#include <QThread>
#include <thread>

#include "FileFaults.h"
#include "RadioLink.h"
#include "SerialPort.h"
#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

// A memory unlike the factory image in every row, readable without a password.
RadioImage radioMemory() {
    RadioImage img = RadioImage::factory();
    for (int i = 0; i < kImageSize; ++i) img.set(i, static_cast<uint8_t>(i * 13 + 5));
    img.set(addr::kBandCode, 1);
    for (int i = 0; i < addr::kPasswordLength; ++i) img.set(addr::kPassword + i, 0xFF);
    return img;
}

struct E2e : ::testing::Test {
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QString userStore() const { return path("user.ini"); }
    CpsRun cps(const QStringList& args) { return runCps(args, userStore()); }
    QString imageFile(const char* name, const RadioImage& img) {
        saveDataFile(path(name), img);
        return path(name);
    }
};

TEST_F(E2e, FullReadEqualsTheRadioMemory) {
    const RadioImage memory = radioMemory();
    Sim sim({"--image", imageFile("radio.dat", memory)}, dir.path());
    ASSERT_FALSE(sim.device().isEmpty());
    const CpsRun r = cps({"read", "--port", sim.device(), "-o", path("out.dat")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    RadioImage read;
    ASSERT_TRUE(loadDataFile(path("out.dat"), read));
    EXPECT_TRUE(read == memory);
    EXPECT_TRUE(sim.sawClose());
}

// A radio that answers the moment a request is in, and a program that a loaded machine
// holds up for a few milliseconds after each byte it sends: the answer is in before the
// program goes on, and must still be heard. It used to be purged after the ACK that follows
// the identification.
class LatePort : public Port {
  public:
    bool open(const QString& name) override { return inner_.open(name); }
    void configure(const PortTimeouts& t) override { inner_.configure(t); }
    void purge(Purge p) override { inner_.purge(p); }
    int write(const uint8_t* d, int n) override {
        const int w = inner_.write(d, n);
        if (n == 1) QThread::msleep(3);
        return w;
    }
    int read(uint8_t* d, int n) override { return inner_.read(d, n); }
    void close() override { inner_.close(); }
    void pause(int ms) override { inner_.pause(ms); }

  private:
    SerialPort inner_;
};

class SilentPrompt : public LinkPrompt {
  public:
    QStringList boxes;
    Answer message(const QString& text, const QString&, Buttons) override {
        boxes << text;
        return Answer::Cancel;
    }
    void setStatus(const QString&) override {}
    void setProgressRange(int) override {}
    void setProgress(int) override {}
    bool pump() override { return false; }
};

TEST_F(E2e, ARadioWithoutTurnaroundIsHeardByASlowProgram) {
    const RadioImage memory = radioMemory();
    Sim sim({"--no-delay", "--image", imageFile("radio.dat", memory)}, dir.path());
    ASSERT_FALSE(sim.device().isEmpty());
    LatePort port;
    SilentPrompt prompt;
    TransferSettings s;
    s.mode = LinkMode::Read;
    s.portName = sim.device();
    RadioImage read = RadioImage::factory();
    for (int i = 0; i < addr::kPasswordLength; ++i) read.set(addr::kPassword + i, 0xFF);
    EXPECT_EQ(RadioLink(port, prompt).transfer(read, s), LinkResult::Ok)
        << prompt.boxes.join('\n').toStdString();
    EXPECT_TRUE(read == memory);

    // The command line against the same radio, at full speed.
    const CpsRun r = cps({"read", "--port", sim.device(), "-o", path("out.dat")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    ASSERT_TRUE(loadDataFile(path("out.dat"), read));
    EXPECT_TRUE(read == memory);
}

TEST_F(E2e, ComNumberMapsToTheDeviceInThePerUserStore) {
    Sim sim({}, dir.path());
    {
        QSettings s(userStore(), QSettings::IniFormat);
        s.setValue("Ports/COM3", sim.device());
    }
    const CpsRun r = cps({"read", "--port", "COM3", "-o", path("out.dat")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("out.dat")));
}

TEST_F(E2e, FullWriteLeavesTheRadioEqualInTheBytesSent) {
    RadioImage file = radioMemory();
    packBands(file, Bands{{136 * kPerMHz, 174 * kPerMHz}, {136 * kPerMHz, 174 * kPerMHz}});
    RadioImage before = RadioImage::factory();
    before.set(addr::kBandCode, 1);
    Sim sim({"--image", imageFile("radio.dat", before)}, dir.path());
    const CpsRun r = cps({"write", "--port", sim.device(), imageFile("doc.dat", file)});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(sim.sawClose());
    const RadioImage after = sim.stop();
    for (int a = 0; a < kImageSize; ++a) {
        const bool sent = a < 0xFA0 || (a >= 0xFD0 && a < 0xFEE);
        ASSERT_EQ(after.at(a), sent ? file.at(a) : before.at(a)) << std::hex << a;
    }
}

TEST_F(E2e, DefaultSimulatorTakesANewImageWithoutTheRangeBox) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    Sim sim({}, dir.path());
    const CpsRun r = cps({"write", "--port", sim.device(), path("doc.dat")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("over the range")) << r.err.toStdString();
}

TEST_F(E2e, CalibrationRowsNeedTheAccessCode) {
    RadioImage file = radioMemory();
    packBands(file, Bands{{136 * kPerMHz, 174 * kPerMHz}, {136 * kPerMHz, 174 * kPerMHz}});
    const QString doc = imageFile("doc.dat", file);
    {
        Sim sim({}, dir.path());
        const CpsRun r =
            cps({"write", "--port", sim.device(), doc, "--calibration", "--access-code", "nope"});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("access code"));
        EXPECT_FALSE(sim.log().contains("PROGRAM"));
    }
    Sim sim({}, dir.path());
    const CpsRun r =
        cps({"write", "--port", sim.device(), doc, "--calibration", "--access-code", "527ktm"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const RadioImage after = sim.stop();
    for (int a = 0xFA0; a < 0xFD0; ++a) ASSERT_EQ(after.at(a), file.at(a));
    EXPECT_TRUE(sim.log().contains("W 0FC8 8"));
}

TEST_F(E2e, RangeBoxIsCancelUnlessIgnored) {
    const QString doc = imageFile("doc.dat", radioMemory());  // bands outside 400-470
    {
        Sim sim({"--range", "400-470"}, dir.path());
        const CpsRun r = cps({"write", "--port", sim.device(), doc});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("The frequency band over the range of the radio."));
        EXPECT_FALSE(sim.log().join(' ').contains("W "));
    }
    Sim sim({"--range", "400-470"}, dir.path());
    const CpsRun r = cps({"write", "--port", sim.device(), doc, "--ignore-range"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
}

TEST_F(E2e, FaultsGiveTheirMessagesAndSaveNothing) {
    struct Case {
        QStringList simArgs;
        const char* message;
    };
    const Case cases[] = {
        {{"--type", "Q"}, "Becuase the type of radio does not match"},
        {{"--band-code", "3"}, "Frequency band is invalid"},
        {{"--nak-at", "0x100"}, "Program Interrupt, Please reset the radio and try again"},
        {{"--silent-at", "0x7F8"}, "Program Interrupt"},
        {{"--short-at", "0xFF8"}, "Program Interrupt"},
        {{"--no-answer"}, "Communication Error, Please check all the connections"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.simArgs.join(' ').toStdString());
        Sim sim(c.simArgs, dir.path());
        const CpsRun r = cps({"read", "--port", sim.device(), "-o", path("out.dat")});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.dat")));
        EXPECT_TRUE(sim.sawClose());
    }
}

TEST_F(E2e, PasswordAndToleratedGarbage) {
    RadioImage memory = radioMemory();
    const char pw[] = "123456";
    for (int i = 0; i < 6; ++i) memory.set(addr::kPassword + i, static_cast<uint8_t>(pw[i]));
    Sim sim({"--image", imageFile("radio.dat", memory), "--garbage", "1"}, dir.path());
    CpsRun r = cps({"read", "--port", sim.device(), "-o", path("out.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Password Error!"));
    r = cps({"read", "--port", sim.device(), "-o", path("out.dat"), "--password", "123456"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    RadioImage read;
    ASSERT_TRUE(loadDataFile(path("out.dat"), read));
    EXPECT_TRUE(read == memory);
}

// The radio's log of one service exchange: one identification, then exactly these blocks.
QStringList serviceLog(const QStringList& blocks) {
    return QStringList{"PROGRAM", "IDENT"} + blocks + QStringList{"CLOSED"};
}

const QStringList kParamReads = {"R 0FB4 4", "R 0FB8 8", "R 0FC0 8", "R 0FC8 8"};
const QStringList kSqlWrites = {"W 0FA0 8", "W 0FA8 8", "W 0FB0 4"};

TEST_F(E2e, ServiceReadTakesOnlyItsSection) {
    const RadioImage memory = radioMemory();
    const RadioImage file = RadioImage::factory();
    const QString doc = imageFile("doc.dat", file);
    Sim sim({"--image", imageFile("radio.dat", memory)}, dir.path());
    CpsRun r = cps({"service", "read", "--port", sim.device(), "--section", "param", doc, "-o",
                    path("out.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Password")) << r.err.toStdString();
    EXPECT_TRUE(sim.log().isEmpty());

    r = cps({"service", "read", "--port", sim.device(), "--section", "param", doc, "-o",
             path("out.dat"), "--access-code", "527ktm"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Read Successfully"));
    ASSERT_TRUE(sim.sawClose());
    EXPECT_EQ(sim.log(), serviceLog(kParamReads));
    RadioImage out;
    ASSERT_TRUE(loadDataFile(path("out.dat"), out));
    for (int a = 0; a < kImageSize; ++a)
        ASSERT_EQ(out.at(a), a >= 0xFB4 && a < 0xFD0 ? memory.at(a) : file.at(a)) << a;
    RadioImage unchanged;
    ASSERT_TRUE(loadDataFile(doc, unchanged));
    EXPECT_TRUE(unchanged == file);
}

TEST_F(E2e, ServiceWriteSendsTheStoredSection) {
    RadioImage file = radioMemory();
    file.set(0xFAB, 3);     // out of range: the dialog's store makes it 23
    file.set(0xFA5, 0x00);  // the store sets 26
    const QString doc = imageFile("doc.dat", file);
    const RadioImage before = RadioImage::factory();
    Sim sim({"--image", imageFile("radio.dat", before)}, dir.path());
    const CpsRun r = cps({"service", "write", "--port", sim.device(), "--section", "sql", doc});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Write Successfully"));
    ASSERT_TRUE(sim.sawClose());
    EXPECT_EQ(sim.log(), serviceLog(kSqlWrites));
    const RadioImage after = sim.stop();
    EXPECT_EQ(after.at(0xFAB), 23);
    EXPECT_EQ(after.at(0xFA5), 26);
    EXPECT_EQ(after.at(0xFA6), 26);
    for (int a = 0; a < kImageSize; ++a) {
        if (a == 0xFAB || a == 0xFA5 || a == 0xFA6) continue;
        const bool sent = a >= 0xFA0 && a < 0xFB4;
        // Every level of the patterned file that lies in 5..100 goes as it is.
        if (sent && (file.at(a) < 5 || file.at(a) > 100)) continue;
        ASSERT_EQ(after.at(a), sent ? file.at(a) : before.at(a)) << std::hex << a;
    }
    RadioImage unchanged;
    ASSERT_TRUE(loadDataFile(doc, unchanged));
    EXPECT_TRUE(unchanged == file);
}

TEST_F(E2e, ServiceFaultsLeaveOutUnwritten) {
    const QString doc = imageFile("doc.dat", RadioImage::factory());
    struct Case {
        QStringList simArgs;
        QStringList args;
    };
    const Case cases[] = {
        {{"--nak-at", "0xFC0"}, {"--section", "param", "--access-code", "527KTM"}},
        {{"--short-at", "0xFA8"}, {"--section", "sql"}},
        {{"--silent-at", "0xFB0"}, {"--section", "sql"}},
        {{"--no-answer"}, {"--section", "sql"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.simArgs.join(' ').toStdString());
        Sim sim(c.simArgs, dir.path());
        const CpsRun r =
            cps(QStringList{"service", "read", "--port", sim.device(), doc, "-o", path("out.dat")} +
                c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("Communication Error")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.dat")));
        EXPECT_TRUE(sim.sawClose());
    }
    const CpsRun r =
        cps({"service", "read", "--port", "COM1", "--section", "info", doc, "-o", path("out.dat")});
    EXPECT_EQ(r.status, 2);
}

TEST_F(E2e, UnopenablePortFails) {
    {
        QSettings s(userStore(), QSettings::IniFormat);
        s.setValue("Ports/COM16", path("no-such-device"));
    }
    const CpsRun r = cps({"read", "--port", "COM16", "-o", path("out.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Could not Open the Port"));
    EXPECT_EQ(cps({"read", "--port", "COM17", "-o", path("out.dat")}).status, 2);
}

TEST_F(E2e, AReadWhoseSaveFailsExitsOneAndLeavesThePreviousFile) {
    const RadioImage memory = radioMemory();
    Sim sim({"--image", imageFile("radio.dat", memory)}, dir.path());
    ASSERT_FALSE(sim.device().isEmpty());
    const QByteArray old(kImageSize, 'o');
    {
        QFile f(path("x.dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CPS_USER_STORE"), userStore());
    p.setProcessEnvironment(env);
    test::limitChildFileSize(p, 1000);  // as a full disk would stop the file
    p.start(QStringLiteral(CPS_PATH), {"read", "--port", sim.device(), "-o", path("x.dat")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains("the radio was read but") && err.contains(path("x.dat")))
        << err.toStdString();
    EXPECT_FALSE(QString::fromUtf8(p.readAllStandardOutput()).contains("Read 4096"));
    QFile f(path("x.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
}

TEST_F(E2e, ReadToDashPutsOnlyTheImageOnStandardOutput) {
    const RadioImage memory = radioMemory();
    Sim sim({"--image", imageFile("radio.dat", memory)}, dir.path());
    ASSERT_FALSE(sim.device().isEmpty());
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CPS_USER_STORE"), userStore());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(CPS_PATH), {"read", "--port", sim.device(), "-o", "-"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray out = p.readAllStandardOutput();
    EXPECT_EQ(out, QByteArray(reinterpret_cast<const char*>(memory.data()), kImageSize));
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("into standard output"));
}

TEST(Radiosim, RangeMustBeTwoLimitsInOrderWithinThreeDigits) {
    for (const char* range : {"100-1000", "-5-100", "174-136", "136", "a-b", "136-174-200"}) {
        QProcess p;
        p.start(QStringLiteral(RADIOSIM_PATH), {"--range", range});
        ASSERT_TRUE(p.waitForFinished(5000)) << range;
        EXPECT_EQ(p.exitCode(), 2) << range;
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("--range")) << range;
    }
    for (const char* range : {"0-999", "150-150"}) {
        QTemporaryDir dir;
        Sim sim({"--range", range}, dir.path());
        EXPECT_FALSE(sim.device().isEmpty()) << range;
    }
}

// Under load an ordinary process can wait longer than the program's answer time-out, which
// the program reports as Program Interrupt in a run that did nothing wrong: where the system
// grants real-time scheduling, the simulated radio takes it, as a radio's firmware never waits.
TEST(Radiosim, AnswersAtRealTimePriorityWhereTheSystemGrantsIt) {
    bool granted = false;
    std::thread probe([&granted] {
        sched_param param{};
        param.sched_priority = 1;
        granted = sched_setscheduler(0, SCHED_FIFO, &param) == 0;
    });
    probe.join();
    if (!granted) GTEST_SKIP() << "no real-time scheduling for this user";
    QTemporaryDir dir;
    Sim sim({}, dir.path());
    ASSERT_FALSE(sim.device().isEmpty());
    const int policy = sched_getscheduler(static_cast<pid_t>(sim.pid()));
    EXPECT_EQ(policy & ~SCHED_RESET_ON_FORK, SCHED_FIFO);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
