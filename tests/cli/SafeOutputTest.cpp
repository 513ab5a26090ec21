// Every command that writes a file, on a disk that refuses bytes; and every line cps prints,
// with image texts and typed values that hold terminal controls.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "DataFile.h"
#include "FeatureFields.h"
#include "FileFaults.h"
#include "RadioImage.h"

using namespace cps;

namespace {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class SafeOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
        write(file("rows.tsv"), run({"channels", file("new.dat")}).out);
        write(file("channels.csv"), run({"export-csv", file("new.dat"), "-o", "-"}).out);
        write(file("config.json"), run({"export", file("new.dat"), "-o", "-"}).out);
        printable = run({"print", "--help"}).status == 0;
    }

    // fileLimit > 0: no file may grow beyond it, as on a full disk; stdoutFile: where the
    // standard output goes instead of a pipe.
    Outcome run(const QStringList& args, int fileLimit = 0, const QString& stdoutFile = {},
                const QProcessEnvironment& extra = {}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", file("user.ini"));
        for (const QString& key : extra.keys()) env.insert(key, extra.value(key));
        p.setProcessEnvironment(env);
        if (fileLimit > 0) test::limitChildFileSize(p, static_cast<rlim_t>(fileLimit));
        if (!stdoutFile.isEmpty()) p.setStandardOutputFile(stdoutFile);
        p.start(CPS_BINARY, args);
        EXPECT_TRUE(p.waitForFinished(30000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardOutput(), p.readAllStandardError()};
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    QByteArray read(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // Every command that writes the file named by -o, with OUT standing for it.
    QList<QStringList> writers() const {
        QList<QStringList> all = {
            {"new", "-o", "OUT"},
            {"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", "OUT"},
            {"set", file("new.dat"), "dtmf", "BOT=123", "-o", "OUT"},
            {"import-csv", file("channels.csv"), "-o", "OUT"},
            {"import", file("config.json"), "-o", "OUT"},
            {"export-csv", file("new.dat"), "-o", "OUT"},
            {"export", file("new.dat"), "-o", "OUT"},
        };
        if (printable) all.append({"print", file("new.dat"), "-o", "OUT"});
        return all;
    }

    QTemporaryDir dir;
    bool printable = false;
};

QStringList withOutput(QStringList args, const QString& out) {
    args.replaceInStrings(QStringLiteral("OUT"), out);
    return args;
}

// The bytes a terminal acts on: C0 controls but tab and line end, DEL, and C1 in UTF-8.
bool holdsRawControl(const QByteArray& text) {
    for (int i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F) return true;
        if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(text[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(SafeOutput, EveryWritingCommandKeepsThePreviousFileWhenTheDiskRefusesBytes) {
    // Larger than every output, so that a cut-off write would change it.
    const QByteArray old = QByteArray("previous content ").repeated(20000);
    for (const QStringList& writer : writers()) {
        const QString out = file("out");
        write(out, old);
        const Outcome r = run(withOutput(writer, out), 100);  // less than any output
        EXPECT_EQ(r.status, 1) << writer.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(out.toUtf8())) << r.err.toStdString();
        EXPECT_EQ(read(out), old) << writer.join(' ').toStdString();
        // And a new file is not left cut short either.
        QFile::remove(out);
        EXPECT_EQ(run(withOutput(writer, out), 100).status, 1);
        EXPECT_FALSE(QFile::exists(out)) << writer.join(' ').toStdString();
    }
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList({"out*", ".out*"}, QDir::Files | QDir::Hidden),
              QStringList());

    // On a disk that is really full.
    ASSERT_TRUE(QDir(dir.path()).mkdir("disk"));
    const test::TinyDisk disk(file("disk"), "size=512k");  // room for a report
    if (!disk.mounted()) GTEST_SKIP() << "may not mount a tmpfs here";
    const QString out = file("disk/old.out");
    write(out, "old");
    disk.fill(file("disk/filler"));
    for (const QStringList& writer : writers()) {
        const Outcome r = run(withOutput(writer, out));
        EXPECT_EQ(r.status, 1) << writer.join(' ').toStdString();
        EXPECT_EQ(read(out), "old") << writer.join(' ').toStdString();
    }
    // With room again, the same commands write.
    QFile::remove(file("disk/filler"));
    for (const QStringList& writer : writers())
        EXPECT_EQ(run(withOutput(writer, out)).status, 0) << writer.join(' ').toStdString();
}

TEST_F(SafeOutput, AStandardOutputThatTakesNothingIsAFailureWithItsReason) {
    QList<QStringList> toDash;
    for (const QStringList& writer : writers()) toDash.append(withOutput(writer, "-"));
    toDash.append({"show", file("new.dat"), "dtmf"});
    for (const QStringList& args : toDash) {
        const Outcome r = run(args, 0, "/dev/full");
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("cannot write to standard output")) << r.err.toStdString();
    }
    // For diff, 1 means "different": trouble is 2, with the reason.
    ASSERT_EQ(run({"set", file("new.dat"), "dtmf", "BOT=123", "-o", file("b.dat")}).status, 0);
    const Outcome r = run({"diff", file("new.dat"), file("b.dat")}, 0, "/dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
}

TEST_F(SafeOutput, ImageTextsAndTypedValuesReachTheTerminalEscaped) {
    RadioImage image;
    ASSERT_TRUE(loadDataFile(file("new.dat"), image));
    const char clear[] = "\x1B[2J";
    for (int i = 0; i < 4; ++i) image.set(feature::kBot + i, static_cast<uint8_t>(clear[i]));
    const uint8_t msk[] = {0x07, 0xC2, 0x9B, 0x7F};
    for (int i = 0; i < 4; ++i) image.set(feature::kMskId + i, msk[i]);
    ASSERT_TRUE(saveDataFile(file("crafted.dat"), image));
    // ESC in a channel name, typed as the escape `cps channels` prints.
    QList<QByteArray> rows = read(file("rows.tsv")).split('\n');
    rows[0] = "1\t145.50000\t145.50000\tNone\tNone\tA\\x1B[1A\tHigh\tWide\tYes\tOff\tOff";
    write(file("named.tsv"), rows.join('\n'));
    const Outcome named = run(
        {"channels", file("crafted.dat"), "--import", file("named.tsv"), "-o", file("both.dat")});
    ASSERT_EQ(named.status, 0) << named.err.toStdString();

    const QList<QPair<QStringList, QByteArray>> shows = {
        {{"show", file("both.dat"), "dtmf"}, "\\x1B[2J"},
        {{"show", file("both.dat"), "msk"}, "\\x07"},
        {{"show", file("both.dat"), "msk", "--json"}, "\\u0007\xC3\x82\\u009b\\u007f"},
        {{"diff", file("new.dat"), file("both.dat")}, "A\\x1B[1A"},
        {{"channels", file("both.dat")}, "A\\x1B[1A"},
    };
    for (const auto& [args, escaped] : shows) {
        const Outcome r = run(args);
        EXPECT_FALSE(holdsRawControl(r.out)) << args.join(' ').toStdString() << r.out.toStdString();
        EXPECT_FALSE(holdsRawControl(r.err)) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.contains(escaped)) << args.join(' ').toStdString() << r.out.toStdString();
    }

    // Refused cells are repeated in the messages, escaped.
    const QByteArray csv = "Location,Name,Frequency\r\n1,A,145.5\x1B[2J\r\n";
    write(file("bad.csv"), csv);
    const QByteArray json =
        "{\"dtmf\": {\"BOT\": \"1\\u001b[2J\"}, \"msk\": {\"ID Code\": "
        "\"\xC2\x9B\x31\"}}";
    write(file("bad.json"), json);
    const QList<QStringList> refused = {
        {"import-csv", file("bad.csv"), "-o", file("x.dat")},
        {"import", file("bad.json"), "-o", file("x.dat")},
        {"set", file("new.dat"), "dtmf", "B\x1B[2JOT=1", "-o", file("x.dat")},
        {"info", file("no\x1B[2J.dat")},
    };
    for (const QStringList& args : refused) {
        const Outcome r = run(args);
        EXPECT_NE(r.status, 0) << args.join(' ').toStdString();
        EXPECT_FALSE(holdsRawControl(r.err)) << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("\\x1B") || r.err.contains("\\x9B")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(file("x.dat")));
    }
}

TEST_F(SafeOutput, HelpPrintsNoQtWarning) {
    QProcessEnvironment bare;
    bare.insert("XDG_RUNTIME_DIR", "");
    bare.insert("DISPLAY", "");
    const QStringList commands = {"print", "show", "write", "diff"};
    for (const QString& command : commands) {
        const Outcome r = run({command, "--help"}, 0, {}, bare);
        EXPECT_EQ(r.status, 0) << command.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << command.toStdString() << ": " << r.err.toStdString();
    }
    if (!printable) return;
    // Nor on a real report without a runtime folder or a display.
    const Outcome r = run({"print", file("new.dat"), "-o", file("r.pdf")}, 0, {}, bare);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}
