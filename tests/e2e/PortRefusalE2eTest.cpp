// What cps says when a port cannot be opened or a write ends early, against radiosim.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <memory>

#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

RadioImage document() {
    RadioImage img = RadioImage::factory();
    for (int i = 0; i < 0xFA0; ++i) img.set(i, static_cast<uint8_t>(i * 5 + 1));
    img.set(addr::kBandCode, 1);
    for (int i = 0; i < addr::kPasswordLength; ++i) img.set(addr::kPassword + i, 0xFF);
    packBands(img, Bands{{136 * kPerMHz, 174 * kPerMHz}, {136 * kPerMHz, 174 * kPerMHz}});
    return img;
}

struct PortRefusal : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    CpsRun cps(const QStringList& args) { return runCps(args, path("user.ini")); }
    QString save(const QString& name, const RadioImage& img) {
        saveDataFile(path(name), img);
        return path(name);
    }
    std::unique_ptr<Sim> sim(const QString& name, QStringList args = {}) {
        QDir(dir.path()).mkpath(name);
        return std::make_unique<Sim>(args, path(name));
    }
    // cps as another program would run it: from a folder of its own, with that folder's
    // settings and language file.
    QString installedCps(const char* language) {
        const QString folder = path(QStringLiteral("install-%1").arg(language));
        QDir().mkpath(folder);
        QFile::copy(CPS_PATH, folder + "/cps");
        QFile::copy(QStringLiteral(CPS_LANGUAGE_DIR "/Chinese.qm"), folder + "/Chinese.qm");
        QFile ini(folder + "/Program.ini");
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QByteArray("[Setup]\r\nLanguage=") + language + "\r\n");
        return folder + "/cps";
    }
};

CpsRun runAs(const QString& program, const QStringList& args, uid_t uid) {
    QProcess p;
    p.setChildProcessModifier([uid] {
        if (uid != 0 && (::setgid(uid) != 0 || ::setuid(uid) != 0)) ::_exit(99);
    });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CPS_USER_STORE", "/nonexistent/user.ini");
    p.setProcessEnvironment(env);
    p.start(program, args);
    CpsRun r;
    if (!p.waitForFinished(30000)) return r;
    r.status = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace

TEST_F(PortRefusal, OneRadioUnderTwoNamesTakesOneWriteAtATime) {
    const QString doc = save("doc.dat", document());
    auto radio = sim("radio", {"--link", path("radio-link")});
    ASSERT_FALSE(radio->device().isEmpty());

    // The first write, by the device's name, holds the port while it works.
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CPS_USER_STORE", path("user.ini"));
    first.setProcessEnvironment(env);
    first.start(CPS_PATH, {"write", "--port", radio->device(), doc});
    QElapsedTimer waited;
    waited.start();
    const QRegularExpression writing("^W ", QRegularExpression::MultilineOption);
    while (!radio->log().join('\n').contains(writing) && waited.elapsed() < 20000)
        QThread::msleep(10);

    // The second, through the link, is turned away without a byte sent.
    const CpsRun second = cps({"write", "--port", path("radio-link"), doc});
    EXPECT_EQ(second.status, 1);
    EXPECT_TRUE(second.err.contains(path("radio-link") + " is in use by another program."))
        << second.err.toStdString();

    ASSERT_TRUE(first.waitForFinished(60000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    const RadioImage memory = radio->stop();
    for (int i = 0; i < 0xFA0; ++i) ASSERT_EQ(memory.at(i), document().at(i)) << i;
}

TEST_F(PortRefusal, ARefusedPortSaysWhyAndWhatToDoInTheUsersLanguage) {
    const QString doc = save("doc.dat", document());
    CpsRun r = cps({"write", "--port", "/dev/cps-no-such-device", doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Could not Open the Port"));
    EXPECT_TRUE(r.err.contains("/dev/cps-no-such-device is not present: is the cable plugged in?"))
        << r.err.toStdString();

    const bool chineseFile = QFile::exists(QStringLiteral(CPS_LANGUAGE_DIR "/Chinese.qm"));
    if (chineseFile) {
        r = runAs(installedCps("Chinese"),
                  {"read", "--port", "/dev/cps-no-such-device", "-o", path("out.dat")}, 0);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("/dev/cps-no-such-device 不存在")))
            << r.err.toStdString();
    }

    // A device the user may not open: a radio's port with no permission for anyone but root,
    // opened by another user.
    auto radio = sim("locked");
    ASSERT_EQ(::chmod(QFile::encodeName(radio->device()).constData(), 0600), 0);
    const uid_t nobody = ::geteuid() == 0 ? 65534 : ::geteuid();
    if (nobody == ::geteuid()) {
        ASSERT_EQ(::chmod(QFile::encodeName(radio->device()).constData(), 0), 0);
    }
    const QString program = installedCps("English");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    r = runAs(program, {"write", "--port", radio->device(), doc}, nobody);
    if (r.status == 99 || r.err.contains("Cannot open " + doc))
        GTEST_SKIP() << "cannot run as another user here";
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("You may not open " + radio->device() +
                               ". Add your user to the dialout group (sudo usermod -aG dialout "
                               "$USER), then log in again."))
        << r.err.toStdString();
    if (chineseFile) {
        r = runAs(installedCps("Chinese"), {"write", "--port", radio->device(), doc}, nobody);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("无权打开 ") + radio->device()))
            << r.err.toStdString();
    }
}

TEST_F(PortRefusal, AWriteThatEndsEarlySaysWhatTheRadioHolds) {
    const QString doc = save("doc.dat", document());
    {
        // Every block written; the read-back breaks off.
        auto radio = sim("verify", {"--short-at", "0x800"});
        const CpsRun r = cps({"write", "--port", radio->device(), doc, "--verify"});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("The write completed; only the verify was interrupted"))
            << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Program Interrupt")) << r.err.toStdString();
    }
    {
        // A failed write after a saved backup names the backup.
        auto radio = sim("backup", {"--corrupt-at", "0x800"});
        const CpsRun r =
            cps({"write", "--port", radio->device(), doc, "--verify", "--backup", path("b")});
        EXPECT_EQ(r.status, 1);
        const QStringList backups = QDir(path("b")).entryList({"*.dat"}, QDir::Files);
        ASSERT_EQ(backups.size(), 1);
        EXPECT_TRUE(
            r.err.contains("the radio's previous data is saved in " + path("b/") + backups.first()))
            << r.err.toStdString();
    }
    // A write the range check refuses names the option that lets it through.
    auto radio = sim("range", {"--range", "400-470"});
    const CpsRun r = cps({"write", "--port", radio->device(), doc});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("[Cancel]\n--ignore-range writes the image all the same"))
        << r.err.toStdString();
}
