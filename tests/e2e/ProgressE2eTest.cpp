// cps read's progress bar as a person at a terminal sees it (through script(1), which gives
// cps a pseudo-terminal), and its absence with --quiet or without a terminal.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

struct ProgressE2e : ::testing::Test {
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    // Everything the terminal showed, both streams in the order they arrived.
    QString onTerminal(const QStringList& args) {
        QStringList quoted;
        for (const QString& a : QStringList{QStringLiteral(CPS_PATH)} + args)
            quoted << QLatin1Char('\'') + a + QLatin1Char('\'');
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CPS_USER_STORE"), path("user.ini"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("script"), {QStringLiteral("-qefc"), quoted.join(QLatin1Char(' ')),
                                           QStringLiteral("/dev/null")});
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

TEST_F(ProgressE2e, BarEndsItsLineBeforeTheResultAndOnlyOnATerminal) {
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
        GTEST_SKIP() << "script(1) is not installed";
    {
        Sim sim({}, dir.path());
        ASSERT_FALSE(sim.device().isEmpty());
        const QString shown = onTerminal({"read", "--port", sim.device(), "-o", path("a.dat")});
        ASSERT_TRUE(shown.contains("[####")) << shown.toStdString();
        const int result = shown.indexOf("Read 4096 bytes");
        ASSERT_GT(result, 0) << shown.toStdString();
        // The bar's line ended first: the result starts a line of its own.
        EXPECT_EQ(shown.at(result - 1), '\n') << shown.toStdString();
    }
    {
        Sim sim({}, dir.path());
        const QString shown =
            onTerminal({"read", "-q", "--port", sim.device(), "-o", path("b.dat")});
        EXPECT_FALSE(shown.contains("[#")) << shown.toStdString();
        EXPECT_TRUE(shown.contains("Read 4096 bytes")) << shown.toStdString();
    }
    {
        Sim sim({}, dir.path());
        const CpsRun r =
            runCps({"read", "--port", sim.device(), "-o", path("c.dat")}, path("user.ini"));
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("[#")) << r.err.toStdString();
    }
}

// Several radios: a line per port, redrawn in place while they run, then the results.
TEST_F(ProgressE2e, SeveralPortsShowOneLiveLineEach) {
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
        GTEST_SKIP() << "script(1) is not installed";
    QTemporaryDir dirA, dirB;
    Sim a({}, dirA.path()), b({}, dirB.path());
    ASSERT_FALSE(a.device().isEmpty());
    ASSERT_FALSE(b.device().isEmpty());
    const QString shown = onTerminal(
        {"read", "--port", a.device(), "--port", b.device(), "-o", path("radio-%p.dat")});
    EXPECT_TRUE(shown.contains("\x1b[2A")) << shown.toStdString();  // back over both lines
    for (const Sim* sim : {&a, &b}) {
        const QString label = sim->device();
        EXPECT_TRUE(shown.contains(label + ": [####")) << shown.toStdString();
        EXPECT_TRUE(shown.contains(label + ": read 4096 bytes")) << shown.toStdString();
    }
    const QString quiet = onTerminal(
        {"read", "-q", "--port", a.device(), "--port", b.device(), "-o", path("quiet-%p.dat")});
    EXPECT_FALSE(quiet.contains("\x1b[")) << quiet.toStdString();
}

}  // namespace
