// cps fleet against several radiosims: each radio gets the document with its own row, the
// log records every attempt, and a second run with the same log resumes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <memory>

#include "Exchange.h"
#include "FileFaults.h"
#include "SimHarness.h"

using namespace cps;
using namespace cps::e2e;

namespace {

RadioImage radioBefore() {
    RadioImage img = RadioImage::factory();
    img.set(addr::kBandCode, 1);
    for (int i = 0; i < 0x100; ++i) img.set(i, static_cast<uint8_t>(0x5A ^ i));
    return img;
}

// What a write sends: the rows and the model, band, password and limit blocks.
bool sent(int a) { return a < 0xFA0 || (a >= 0xFD0 && a < 0xFEE); }

struct LogLine {
    int line = 0;
    QString label, port, radio, result, verify;
};

struct Fleet : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    CpsRun cps(const QStringList& args) { return runCps(args, path("user.ini")); }

    std::unique_ptr<Sim> sim(const QString& name, QStringList args = {}) {
        QDir(dir.path()).mkpath(name);
        saveDataFile(path(name + ".start.dat"), radioBefore());
        args << "--image" << path(name + ".start.dat");
        return std::make_unique<Sim>(args, path(name));
    }
    QString write(const QString& name, const QByteArray& text) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path(name);
    }
    // The document as `cps set` leaves it after the row's two values: the oracle for what
    // each radio must hold.
    RadioImage expected(const QString& doc, const QString& id, const QString& local) {
        const QString out = path("expected-" + id + ".dat");
        EXPECT_EQ(cps({"set", doc, "-o", out, "msk", "ID Code=" + id}).status, 0);
        EXPECT_EQ(cps({"set", out, "-o", out, "dtmf", "Local ID=" + local}).status, 0);
        RadioImage img;
        loadDataFile(out, img);
        return img;
    }
    QList<LogLine> log(const QString& file) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        QList<exchange::CsvRecord> records;
        QString error;
        EXPECT_TRUE(exchange::readCsvRecords(QString::fromUtf8(f.readAll()), &records, &error));
        QList<LogLine> lines;
        EXPECT_FALSE(records.isEmpty());
        if (records.isEmpty()) return lines;
        EXPECT_EQ(records.first().cells.join(','),
                  "Line,Label,Port,Start,End,Radio,Result,Verify,Backup");
        for (const exchange::CsvRecord& r : records.mid(1)) {
            const QStringList& c = r.cells;
            EXPECT_EQ(c.size(), 9);
            lines << LogLine{c.value(0).toInt(), c.value(1), c.value(2),
                             c.value(5),         c.value(6), c.value(7)};
        }
        return lines;
    }
    static bool holds(const RadioImage& radio, const RadioImage& want) {
        const RadioImage before = radioBefore();
        for (int a = 0; a < kImageSize; ++a)
            if (radio.at(a) != (sent(a) ? want.at(a) : before.at(a))) return false;
        return true;
    }
};

const QByteArray kJob =
    "Label,msk:ID Code,dtmf:Local ID\r\n"
    "Car 1,0001,101\r\n"
    "Car 2,0002,102\r\n"
    "\"Car 3, spare\",00A3,103\r\n";

TEST_F(Fleet, ThreeRadiosOnThreePortsEachGetTheirOwnRow) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    const QString doc = path("doc.dat");
    QHash<QString, std::shared_ptr<Sim>> sims;
    for (const char* name : {"a", "b", "c"}) sims.insert(name, sim(name));
    QHash<QString, QString> nameOf;
    for (auto it = sims.begin(); it != sims.end(); ++it)
        nameOf.insert(it.value()->device(), it.key());
    const CpsRun r = cps({"fleet", doc, "--job", write("job.csv", kJob), "--port",
                          sims["a"]->device(), "--port", sims["b"]->device(), "--port",
                          sims["c"]->device(), "--log", path("log.csv"), "--verify"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString() << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("3 of 3 radios done")) << r.out.toStdString();

    const QList<LogLine> lines = log(path("log.csv"));
    ASSERT_EQ(lines.size(), 3);
    const QHash<int, QPair<QString, QString>> rowValues = {
        {2, {"0001", "101"}}, {3, {"0002", "102"}}, {4, {"00A3", "103"}}};
    QSet<QString> portsUsed;
    for (const LogLine& l : lines) {
        EXPECT_EQ(l.result, "done");
        EXPECT_EQ(l.verify, "verified");
        EXPECT_EQ(l.radio, "U888 134-176 MHz");
        ASSERT_TRUE(nameOf.contains(l.port)) << l.port.toStdString();
        portsUsed.insert(l.port);
        const auto values = rowValues.value(l.line);
        const RadioImage want = expected(doc, values.first, values.second);
        EXPECT_TRUE(holds(sims[nameOf[l.port]]->stop(), want)) << "line " << l.line;
    }
    EXPECT_EQ(portsUsed.size(), 3);
    EXPECT_TRUE(lines[0].label == "Car 3, spare" || lines[1].label == "Car 3, spare" ||
                lines[2].label == "Car 3, spare");
}

TEST_F(Fleet, ARefusedValueNamesLineAndColumnAndNoRadioIsTouched) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    auto a = sim("a");
    const QByteArray job =
        "Label,msk:ID Code,dtmf:Local ID\r\n"
        "Car 1,0001,101\r\n"
        "Car 2,00G2,102\r\n";
    CpsRun r = cps({"fleet", path("doc.dat"), "--job", write("job.csv", job), "--port", a->device(),
                    "--log", path("log.csv")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("line 3, column 2 (msk:ID Code)")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("no radio written")) << r.err.toStdString();
    // Unknown fields are refused by the header, before any row.
    r = cps({"fleet", path("doc.dat"), "--job",
             write("bad.csv", "Label,msk:Nickname\r\nCar 1,x\r\n"), "--port", a->device(), "--log",
             path("log.csv")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("line 1, column 2")) << r.err.toStdString();
    // Service sections need the access code, as `cps set` does.
    r = cps({"fleet", path("doc.dat"), "--job", write("stun.csv", "stun:Stun/Kill Code\r\n123\r\n"),
             "--port", a->device(), "--log", path("log.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("access code")) << r.err.toStdString();

    EXPECT_TRUE(a->log().isEmpty()) << a->log().join('\n').toStdString();
    EXPECT_FALSE(QFile::exists(path("log.csv")));
}

TEST_F(Fleet, UsageErrorsSendNothing) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    const QString job = write("job.csv", kJob);
    const QString doc = path("doc.dat");
    const QString log = path("log.csv");
    EXPECT_EQ(cps({"fleet", doc, "--job", job, "--port", "COM3"}).status, 2);  // no --log
    EXPECT_EQ(cps({"fleet", doc, "--port", "COM3", "--log", log}).status, 2);  // no --job
    EXPECT_EQ(cps({"fleet", doc, "--job", job, "--log", log}).status, 2);      // no --port
    EXPECT_EQ(cps({"fleet", doc, "--job", job, "--port", "COM17", "--log", log}).status, 2);
    EXPECT_EQ(
        cps({"fleet", doc, "--job", job, "--port", "COM3", "--port", "com3", "--log", log}).status,
        2);
    EXPECT_EQ(cps({"fleet", "--job", job, "--port", "COM3", "--log", log}).status, 2);
    const CpsRun help = cps({"fleet", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: cps fleet")) << help.out.toStdString();
    EXPECT_FALSE(QFile::exists(log));
}

TEST_F(Fleet, AFailedRadioIsLoggedAndTheSecondRunWritesOnlyIt) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    const QString doc = path("doc.dat");
    auto a = sim("a");
    auto b = sim("b", {"--silent-at", "0x0800"});
    auto c = sim("c");
    CpsRun r = cps({"fleet", doc, "--job", write("job.csv", kJob), "--port", a->device(), "--port",
                    b->device(), "--port", c->device(), "--log", path("log.csv")});
    EXPECT_EQ(r.status, 1) << r.out.toStdString();
    QList<LogLine> lines = log(path("log.csv"));
    ASSERT_EQ(lines.size(), 3);
    int failedLine = 0;
    for (const LogLine& l : lines) {
        if (l.port == b->device()) {
            EXPECT_TRUE(l.result.startsWith("failed, nothing more sent: Program Interrupt"))
                << l.result.toStdString();
            failedLine = l.line;
        } else {
            EXPECT_EQ(l.result, "done");
        }
    }
    ASSERT_NE(failedLine, 0);

    // The same command with the same log, the bad radio replaced by a good one: only the
    // line that failed is written, whichever port takes it.
    b->stop();
    auto d = sim("d");
    const QStringList beforeA = a->log();
    r = cps({"fleet", doc, "--job", path("job.csv"), "--port", d->device(), "--port", a->device(),
             "--log", path("log.csv")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString() << r.out.toStdString();
    lines = log(path("log.csv"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3].line, failedLine);
    EXPECT_EQ(lines[3].result, "done");
    const QString id = failedLine == 2 ? "0001" : failedLine == 3 ? "0002" : "00A3";
    const QString local = QString::number(99 + failedLine);
    Sim* took = lines[3].port == d->device() ? d.get() : a.get();
    Sim* idle = took == d.get() ? a.get() : d.get();
    EXPECT_TRUE(holds(took->stop(), expected(doc, id, local)));
    if (idle == a.get()) {
        EXPECT_EQ(a->log(), beforeA);
    } else {
        EXPECT_TRUE(d->log().isEmpty());
    }

    // All done: a third run writes nothing and succeeds.
    auto e = sim("e");
    r = cps(
        {"fleet", doc, "--job", path("job.csv"), "--port", e->device(), "--log", path("log.csv")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(e->log().isEmpty());
}

TEST_F(Fleet, ALogThatIsNoFleetLogIsNotAppendedTo) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    auto a = sim("a");
    const QByteArray other = "Location,Name,Frequency\r\n1,A,146.520\r\n";
    const QString file = write("channels.csv", other);
    const CpsRun r = cps({"fleet", path("doc.dat"), "--job", write("job.csv", kJob), "--port",
                          a->device(), "--log", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("not a fleet log")) << r.err.toStdString();
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), other);
    EXPECT_TRUE(a->log().isEmpty());
}

TEST_F(Fleet, ALogThatCannotBeWrittenStopsTheFleet) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    auto a = sim("a");
    const QString job = write("job.csv", kJob);
    CpsRun r;
    {
        // Room for the header and one line: the second radio's line cannot be appended.
        // Unrecorded, that radio would be written again on resume, so nothing more starts.
        test::FileSizeLimit limit(200);
        r = cps({"fleet", path("doc.dat"), "--job", job, "--port", a->device(), "--log",
                 path("log.csv")});
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("stopped: the radio last written is not in the log"))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 of 3 radios done")) << r.out.toStdString();
    EXPECT_EQ(log(path("log.csv")).size(), 1);
    EXPECT_EQ(a->log().filter(QRegularExpression("^W 0000 ")).size(), 2)
        << "the third radio was started";
}

TEST_F(Fleet, OnATerminalEachRadioWaitsForEnterAndQStops) {
    ASSERT_EQ(cps({"new", "-o", path("doc.dat")}).status, 0);
    auto a = sim("a");
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString terminal = QString::fromLocal8Bit(ptsname(master));
    // Enter for the first radio, q at the second question.
    ASSERT_EQ(::write(master, "\nq\n", 3), 3);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CPS_USER_STORE", path("user.ini"));
    p.setProcessEnvironment(env);
    p.setStandardInputFile(terminal);
    p.start(CPS_PATH, {"fleet", path("doc.dat"), "--job", write("job.csv", kJob), "--port",
                       a->device(), "--log", path("log.csv")});
    ASSERT_TRUE(p.waitForFinished(60000));
    ::close(master);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains("Connect radio 1 of 3 (Car 1) to " + a->device() +
                             " and press Enter; q to stop"))
        << err.toStdString();
    EXPECT_TRUE(err.contains("Connect radio 2 of 3 (Car 2)")) << err.toStdString();
    const QList<LogLine> lines = log(path("log.csv"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0].line, 2);
    EXPECT_EQ(a->log().filter(QRegularExpression("^W 0000 ")).size(), 1);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
