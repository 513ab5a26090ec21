// cps write's verify, backup and many-radio modes against radiosim.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <memory>
#include <vector>

#include "FileFaults.h"
#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

RadioImage document() {
    RadioImage img = RadioImage::factory();
    for (int i = 0; i < 0xFA0; ++i) img.set(i, static_cast<uint8_t>(i * 7 + 3));
    img.set(addr::kBandCode, 1);
    for (int i = 0; i < addr::kPasswordLength; ++i) img.set(addr::kPassword + i, 0xFF);
    packBands(img, Bands{{136 * kPerMHz, 174 * kPerMHz}, {136 * kPerMHz, 174 * kPerMHz}});
    return img;
}

RadioImage radioBefore() {
    RadioImage img = RadioImage::factory();
    img.set(addr::kBandCode, 1);
    for (int i = 0; i < 0x100; ++i) img.set(i, static_cast<uint8_t>(0xA0 ^ i));
    return img;
}

struct WriteSafety : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    CpsRun cps(const QStringList& args) { return runCps(args, path("user.ini")); }
    QString save(const QString& name, const RadioImage& img) {
        saveDataFile(path(name), img);
        return path(name);
    }
    // A radio with its own folder for its log and memory dump.
    std::unique_ptr<Sim> sim(const QString& name, QStringList args) {
        QDir(dir.path()).mkpath(name);
        args << "--image" << save(name + ".start.dat", radioBefore());
        return std::make_unique<Sim>(args, path(name));
    }
    bool sameWritten(const RadioImage& a, const RadioImage& b) {
        for (int i = 0; i < 0xFA0; ++i)
            if (a.at(i) != b.at(i)) return false;
        return true;
    }
};

TEST_F(WriteSafety, VerifyPassesOnAGoodRadioAndNamesTheFirstBadAddress) {
    const QString doc = save("doc.dat", document());
    {
        auto good = sim("good", {});
        const CpsRun r = cps({"write", "--port", good->device(), doc, "--verify"});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("verified"));
        // Every block written is read back, after the last write.
        const QStringList log = good->log();
        EXPECT_EQ(log.filter(QRegularExpression("^W ")).size(), 506);
        EXPECT_EQ(log.filter(QRegularExpression("^R ")).size(), 506 + 1);  // + the band check
        EXPECT_GT(log.lastIndexOf("R 0FDC 4"), log.lastIndexOf("W 0FDC 4"));
    }
    // A radio that stores a block wrongly but acknowledges it: caught only by --verify,
    // in a row block and in a fixed block alike.
    for (const char* at : {"0x128", "0xFD4"}) {
        SCOPED_TRACE(at);
        auto bad = sim(QStringLiteral("bad%1").arg(at), {"--corrupt-at", at});
        CpsRun r = cps({"write", "--port", bad->device(), doc});
        EXPECT_EQ(r.status, 0) << "without --verify the fault goes unnoticed";
        r = cps({"write", "--port", bad->device(), doc, "--verify"});
        EXPECT_EQ(r.status, 1);
        const QString where = QStringLiteral("0x%1").arg(QString(at).mid(2).rightJustified(4, '0'));
        EXPECT_TRUE(r.err.contains("Verify failed: the radio holds different data at " + where))
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("written, but the read-back differs"));
    }
}

TEST_F(WriteSafety, BackupHoldsTheRadioBeforeTheWrite) {
    const QString doc = save("doc.dat", document());
    auto radio = sim("radio", {"--link", path("radio-link")});
    const CpsRun r = cps({"write", "--port", path("radio-link"), doc, "--backup", path("backups")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList files = QDir(path("backups")).entryList({"*.dat"}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(QRegularExpression("^\\d{8}-\\d{6}-radio-link\\.dat$").match(files[0]).hasMatch())
        << files[0].toStdString();
    RadioImage backup;
    ASSERT_TRUE(loadDataFile(path("backups/" + files[0]), backup));
    EXPECT_TRUE(backup == radioBefore());
    EXPECT_TRUE(sameWritten(radio->stop(), document()));
}

TEST_F(WriteSafety, AFailedBackupWritesNothing) {
    const QString doc = save("doc.dat", document());
    {
        // The read breaks off half way: no backup file, no write.
        auto radio = sim("short", {"--short-at", "0x800"});
        const CpsRun r = cps({"write", "--port", radio->device(), doc, "--backup", path("b1")});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("the backup read failed, nothing sent")) << r.err.toStdString();
        EXPECT_TRUE(QDir(path("b1")).entryList(QDir::Files).isEmpty());
        EXPECT_TRUE(radio->log().filter(QRegularExpression("^W ")).isEmpty());
    }
    // The read succeeds but its file cannot be saved (no file may grow past 1000 bytes):
    // still nothing written.
    auto radio = sim("unsaved", {});
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CPS_USER_STORE", path("user.ini"));
    p.setProcessEnvironment(env);
    test::limitChildFileSize(p, 1000);
    p.start(CPS_PATH, {"write", "--port", radio->device(), doc, "--backup", path("b2")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(err.contains("the backup could not be saved, nothing sent")) << err.toStdString();
    EXPECT_TRUE(QDir(path("b2")).entryList({"*.dat"}, QDir::Files).isEmpty());
    EXPECT_FALSE(radio->log().filter(QRegularExpression("^R ")).isEmpty());
    EXPECT_TRUE(radio->log().filter(QRegularExpression("^W ")).isEmpty());
}

TEST_F(WriteSafety, ParallelWriteReportsEachPortAndFailsWhenOneDid) {
    const QString doc = save("doc.dat", document());
    auto a = sim("a", {});
    auto b = sim("b", {"--nak-at", "0x200"});
    auto c = sim("c", {});
    const CpsRun r = cps({"write", "--port", a->device(), "--port", b->device(), "--port",
                          c->device(), doc, "--verify"});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(a->device() + ": wrote doc.dat, verified"));
    EXPECT_TRUE(lines[1].startsWith(b->device() + ": failed")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(c->device() + ": wrote doc.dat, verified"));
    EXPECT_TRUE(r.err.contains(b->device() + ": Program Interrupt")) << r.err.toStdString();
    EXPECT_TRUE(sameWritten(a->stop(), document()));
    EXPECT_TRUE(sameWritten(c->stop(), document()));
}

TEST_F(WriteSafety, ParallelReadNamesEachFileAfterItsPort) {
    auto a = sim("a", {"--link", path("left")});
    auto b = sim("b", {"--link", path("right")});
    CpsRun r =
        cps({"read", "--port", path("left"), "--port", path("right"), "-o", path("radio-%p.dat")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    RadioImage left, right;
    ASSERT_TRUE(loadDataFile(path("radio-left.dat"), left));
    ASSERT_TRUE(loadDataFile(path("radio-right.dat"), right));
    EXPECT_TRUE(left == radioBefore());
    EXPECT_TRUE(right == radioBefore());
    // Refused before any radio is touched.
    r = cps({"read", "--port", path("left"), "--port", path("right"), "-o", path("one.dat")});
    EXPECT_EQ(r.status, 2);
    r = cps({"read", "--port", path("left"), "--port", path("left"), "-o", path("%p.dat")});
    EXPECT_EQ(r.status, 2);
    QDir(dir.path()).mkpath("x");
    r = cps({"read", "--port", path("left"), "--port", path("x/left"), "-o", path("%p.dat")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("give the same file name"));
}

}  // namespace

namespace {
TEST_F(WriteSafety, PortsListsAnAssignedDeviceTheSystemDoesNotList) {
    {
        QSettings s(path("user.ini"), QSettings::IniFormat);
        s.setValue("Ports/COM3", "/tmp/no-such-radio");
    }
    const CpsRun r = cps({"ports"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("DEVICE\tCOM\tDESCRIPTION\tUSB ID\tSERIAL NUMBER\n"));
    EXPECT_TRUE(r.out.contains("/tmp/no-such-radio\tCOM3\t(assigned, not listed by the system)"))
        << r.out.toStdString();
    EXPECT_EQ(cps({"ports", "extra"}).status, 2);
}
}  // namespace
