#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "DataFile.h"
#include "RadioImage.h"
#ifdef Q_OS_UNIX
#include "FileFaults.h"
#endif

using namespace cps;

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
    QByteArray rawOut;
};

class CliTest : public ::testing::Test {
  protected:
    // fileLimit > 0: no file cps writes may grow beyond that many bytes, as on a full disk.
    Result run(const QStringList& args, int fileLimit = 0) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", userStore());
        p.setProcessEnvironment(env);
#ifdef Q_OS_UNIX
        if (fileLimit > 0) test::limitChildFileSize(p, static_cast<rlim_t>(fileLimit));
#else
        Q_UNUSED(fileLimit);
#endif
        p.start(CPS_BINARY, args);
        EXPECT_TRUE(p.waitForFinished(20000));
        const QByteArray out = p.readAllStandardOutput();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
                QString::fromUtf8(p.readAllStandardError()), out};
    }
    QString file(const char* name) const { return dir.filePath(name); }
    QString userStore() const { return file("user.ini"); }
    QByteArray read(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QTemporaryDir dir;
};

QByteArray bytesOf(const RadioImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize);
}

// Rows of a table where only the given channels are set.
QString table(const QMap<int, QString>& rows) {
    QString text;
    for (int n = 1; n <= kChannelCount; ++n)
        text += channelLabel(n) + (rows.contains(n) ? "\t" + rows[n] : QString(10, '\t')) + "\n";
    return text;
}

}  // namespace

TEST_F(CliTest, NewWritesTheFactoryImageWithNewImageSettings) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    RadioImage expected = RadioImage::factory();
    applyNewImageSettings(expected, 0);
    EXPECT_EQ(read(file("a.dat")), bytesOf(expected));

    write(userStore(), "[General]\nType=549\n");  // 0x225: only the low byte is kept
    ASSERT_EQ(run({"new", "-o", file("b.dat")}).status, 0);
    applyNewImageSettings(expected, 0x25);
    EXPECT_EQ(read(file("b.dat")), bytesOf(expected));
}

TEST_F(CliTest, ChannelsPrintsTheGridAndImportStoresItBack) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QString rows =
        table({{1, "145.50000\t145.50000\tNone\tD023N\tCALL\tHigh\tWide\tYes\tOff\tOff"},
               {7, "136.01250\t140.00000\t88.5\tNone\t\tLow\tNarrow\tNo\tCarrier\tBoth"},
               {129, "150.00000\t\t\t67.0\t\t\t\t\t\t"}});
    write(file("rows.tsv"), rows.toUtf8());
    Result r =
        run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("out.dat")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();

    r = run({"channels", file("out.dat")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, rows);
    const QByteArray out = read(file("out.dat"));
    EXPECT_EQ(out.mid(recordOffset(7), 4).toHex().toStdString(), "50126013");
    // Everything outside the channel records is the input's.
    EXPECT_EQ(out.mid(0xC18), read(file("new.dat")).mid(0xC18));

    // The Chinese table names the same contents and stores the same bytes.
    r = run({"channels", file("out.dat"), "--lang", "zh"});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(
        QStringLiteral("1\t145.50000\t145.50000\t无\tD023N\tCALL\t高\t宽\t是\t关\t关\n")));
    write(file("zh.tsv"), r.out.toUtf8());
    ASSERT_EQ(
        run({"channels", file("new.dat"), "--import", file("zh.tsv"), "-o", file("zh.dat")}).status,
        0);
    EXPECT_EQ(read(file("zh.dat")), out);
}

TEST_F(CliTest, MalformedImportNamesTheLineAndWritesNothing) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    QString rows = table({});
    write(file("short.tsv"), rows.replace("\n5\t", "\n5\tx\t").toUtf8());  // one field too many
    Result r =
        run({"channels", file("new.dat"), "--import", file("short.tsv"), "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("line 5")) << r.err.toStdString();

    rows = table({});
    write(file("label.tsv"), rows.replace("\nFr\t", "\nFR\t").toUtf8());
    r = run({"channels", file("new.dat"), "--import", file("label.tsv"), "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("line 129") && r.err.contains("FR")) << r.err.toStdString();

    write(file("few.tsv"), table({}).section('\n', 0, 127).toUtf8());
    r = run({"channels", file("new.dat"), "--import", file("few.tsv"), "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFile::exists(file("o.dat")));
}

TEST_F(CliTest, ImportRefusesWhatTheGridRefuses) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QString good = "145.50000\t145.50000\tNone\tNone\tCALL\tHigh\tWide\tYes\tOff\tOff";
    struct Case {
        int col;  // 1 to 10
        const char* text;
        const char* heading;
        const char* message;
    };
    const Case cases[] = {
        {1, "145.503", "Rx Frequency",
         "Error data Value, please input according the step value(6.25K/5k)."},
        {1, "200", "Rx Frequency", "Out of range, please input again."},
        {1, "600.00001", "Rx Frequency", "Error Data Format, please input again."},
        {2, "145.5MHz", "Tx Frequency", "Error Data Format, please input again."},
        {3, "999", "QT/DQT Dec", "tone"},
        {5, "ABCDEFGHIJ", "Chnnel Name", "8 characters"},
        {5, "CH\x01", "Chnnel Name", "printable ASCII"},
        {6, "Hihg", "Power", "list"},
    };
    for (const Case& c : cases) {
        QStringList cells = good.split('\t');
        cells[c.col - 1] = QString::fromUtf8(c.text);
        write(file("rows.tsv"), table({{6, cells.join('\t')}}).toUtf8());
        const Result r =
            run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("o.dat")});
        EXPECT_EQ(r.status, 1) << c.text;
        EXPECT_TRUE(r.err.contains("line 6") && r.err.contains(c.heading) &&
                    r.err.contains(c.message))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(file("o.dat"))) << c.text;
    }
}

TEST_F(CliTest, ImportStoresAndReportsWhatTheGridChanges) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    // Lower-case list texts and tone codes are the grid's items; a transmit frequency
    // outside both bands becomes band 1's lower limit; 259.99 Hz is cut to 259.9.
    write(file("rows.tsv"),
          table({{3, "145.5\t1000\td023n\t259.99\tABCDEFGH\thigh\twide\tyes\toff\toff"}}).toUtf8());
    Result r =
        run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("out.dat")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList reports = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(reports.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(reports[0].contains("line 3") && reports[0].contains("Tx Frequency") &&
                reports[0].contains("134.00000"));
    EXPECT_TRUE(reports[1].contains("QT/DQT Enc") && reports[1].contains("259.9'"));
    const QByteArray out = read(file("out.dat"));
    EXPECT_EQ(out.mid(recordOffset(3), 24).toHex().toStdString(),
              "00005514"
              "00004013"
              "2380"
              "9925"
              "cf"
              "78"
              "ffff"
              "4142434445464748");
    r = run({"channels", file("out.dat")});
    EXPECT_TRUE(r.out.contains(
        "\n3\t145.50000\t134.00000\tD023N\t259.9\tABCDEFGH\tHigh\tWide\tYes\tOff\tOff\n"));
}

TEST_F(CliTest, ChineseRowsImportIntoAnyImageAsTheGridTypesThem) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QStringList tones = ChannelTable(true).items(EditorKind::Tone);
    const char* power[] = {"低", "中", "高"};
    const char* width[] = {"宽", "窄"};
    const char* scan[] = {"是", "否"};
    const char* busy[] = {"关", "载波", "QT/DQT"};
    const char* ptt[] = {"关", "发射开始", "发射结束", "两者"};
    QMap<int, QString> rows;
    QVector<QStringList> typed(kChannelCount + 1);
    for (int n = 1; n <= kChannelCount; ++n) {
        if (n % 17 == 0) continue;  // a few empty rows
        const QString rx = QString::number(136.0 + n * 0.25 + (n % 2) * 0.00625, 'f', 5);
        const QString tx = n % 5 == 0 ? QString() : QString::number(140.0 + n * 0.005, 'f', 3);
        typed[n] = {rx,
                    tx,
                    tones[n % 10 == 0 ? 0 : n % tones.size()],
                    tones[(n * 7) % tones.size()],
                    QStringLiteral("CH%1").arg(n),
                    QString::fromUtf8(power[n % 3]),
                    QString::fromUtf8(width[n % 2]),
                    QString::fromUtf8(scan[(n / 2) % 2]),
                    QString::fromUtf8(busy[n % 3]),
                    QString::fromUtf8(ptt[n % 4])};
        rows.insert(n, typed[n].join('\t'));
    }
    write(file("zh.tsv"), table(rows).toUtf8());
    // Into an English table (and image) by default, whatever --lang says.
    const Result r =
        run({"channels", file("new.dat"), "--import", file("zh.tsv"), "-o", file("out.dat")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());  // nothing beyond formatting
    ASSERT_EQ(run({"channels", file("new.dat"), "--import", file("zh.tsv"), "-o", file("zh.dat"),
                   "--lang", "zh"})
                  .status,
              0);
    EXPECT_EQ(read(file("zh.dat")), read(file("out.dat")));

    // The same rows typed into a Chinese grid over the same image.
    RadioImage expected;
    ASSERT_TRUE(loadDataFile(file("new.dat"), expected, nullptr));
    ChannelTable grid(true);
    grid.fill(expected);
    for (int n = 1; n <= kChannelCount; ++n)
        for (int col = 1; col <= 10; ++col) grid.typeCell(n, col, typed[n].value(col - 1));
    grid.store(expected);
    EXPECT_EQ(read(file("out.dat")), bytesOf(expected));
}

TEST_F(CliTest, InfoAndReadOnlyCommandsChangeNothing) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    QByteArray image = read(file("new.dat"));
    image[0xFE2] = '1';
    image[0xFF0] = 0x40;  // band 1 from 400 MHz
    image[0xFF1] = 0x47;
    image[0xFF2] = 0x00;
    write(file("x.dat"), image);
    QFile::remove(userStore());

    Result r = run({"info", file("x.dat")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "Band 1: 400-470 MHz\nBand 2: 134-176 MHz\nModel index: 0\nBand code: 1\n"
              "Radio type: 0\nPassword: set\n");
    ASSERT_EQ(run({"channels", file("x.dat")}).status, 0);
    EXPECT_EQ(read(file("x.dat")), image);
    EXPECT_FALSE(QFile::exists(userStore()));
}

TEST_F(CliTest, UsageAndFailures) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({"frobnicate"}).status, 2);
    EXPECT_EQ(run({"new"}).status, 2);
    EXPECT_EQ(run({"channels", "a", "b"}).status, 2);
    EXPECT_EQ(run({"channels", "a", "--lang", "fr"}).status, 2);
    EXPECT_EQ(run({"channels", "a", "--import", "x"}).status, 2);
    Result r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* command : {"new", "channels", "info", "read", "write"}) {
        EXPECT_TRUE(r.out.contains(command)) << command;
        EXPECT_EQ(run({command, "--help"}).status, 0) << command;
    }
    write(file("short.dat"), QByteArray(100, 'x'));
    r = run({"info", file("short.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("100 bytes")) << r.err.toStdString();
    EXPECT_EQ(run({"channels", file("missing.dat")}).status, 1);
    EXPECT_EQ(run({"new", "-o", file("no/dir/x.dat")}).status, 1);
}

TEST_F(CliTest, ChannelNamesWithControlCharactersSurvivePrintAndImport) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    QMap<int, QString> set;
    for (int n = 1; n <= 7; ++n)
        set[n] = "145.50000\t145.50000\tNone\tNone\tX\tHigh\tWide\tYes\tOff\tOff";
    write(file("rows.tsv"), table(set).toUtf8());
    ASSERT_EQ(run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("a.dat")})
                  .status,
              0);
    QByteArray image = read(file("a.dat"));
    const QByteArray names[] = {"A\tB",      "L1\nL2\r",     "back\\sl", "\x01\x1b\x7f",
                                "\\t l\\x4", "\xe9\xb0\xfe", "12345678"};
    for (int i = 0; i < 7; ++i)
        image.replace(recordOffset(i + 1) + 16, 8, (names[i] + QByteArray(8, '\xff')).left(8));
    write(file("odd.dat"), image);

    Result r = run({"channels", file("odd.dat")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.count('\n'), kChannelCount);
    const QStringList lines = r.out.split('\n');
    EXPECT_EQ(lines[0].section('\t', 5, 5), "A\\tB");
    EXPECT_EQ(lines[1].section('\t', 5, 5), "L1\\nL2\\r");
    EXPECT_EQ(lines[2].section('\t', 5, 5), "back\\\\sl");
    EXPECT_EQ(lines[3].section('\t', 5, 5), "\\x01\\x1B\\x7F");
    EXPECT_EQ(lines[4].section('\t', 5, 5), "\\\\t l\\\\x4");
    EXPECT_EQ(lines[5].section('\t', 5, 5), "\\xE9\\xB0\\xFE");
    write(file("odd.tsv"), r.rawOut);
    r = run({"channels", file("new.dat"), "--import", file("odd.tsv"), "-o", file("back.dat")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(read(file("back.dat")), image);
}

TEST_F(CliTest, ImportAcceptsTrailingEmptyLinesAndShowsHiddenCharacters) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    for (const char* tail : {"\n", "\n\n\n", "\r\n\r\n"}) {
        write(file("rows.tsv"), table({}).toUtf8() + tail);
        const Result r =
            run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("o.dat")});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
    }
    // An empty line among the rows is still one.
    write(file("gap.tsv"), table({}).replace("\n5\t", "\n\n5\t").toUtf8());
    Result r = run({"channels", file("new.dat"), "--import", file("gap.tsv"), "-o", file("g.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("line 5")) << r.err.toStdString();

    write(file("cr.tsv"), table({}).replace("\n2\t", "\n2\r\t").toUtf8());
    r = run({"channels", file("new.dat"), "--import", file("cr.tsv"), "-o", file("c.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("unknown row label \"2\\r\"")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("c.dat")));
}

TEST_F(CliTest, DashWritesTheImageToStandardOutput) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    Result r = run({"new", "-o", "-"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.rawOut, read(file("new.dat")));
    EXPECT_FALSE(QFile::exists("-"));

    write(file("rows.tsv"), run({"channels", file("new.dat")}).rawOut);
    r = run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", "-"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.rawOut, read(file("new.dat")));
}

TEST_F(CliTest, RelativeDevicePathsAreDevicesNotUsageErrors) {
    const Result r = run({"read", "--port", "./no-radio", "-o", file("x.dat")});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("no-radio")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("x.dat")));
}

#ifdef Q_OS_UNIX
TEST_F(CliTest, AFailedSaveExitsOneAndLeavesThePreviousFile) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    write(file("rows.tsv"), run({"channels", file("new.dat")}).rawOut);
    const QByteArray old(kImageSize, 'o');
    const QStringList commands[] = {
        {"new", "-o", file("x.dat")},
        {"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("x.dat")}};
    for (const QStringList& args : commands) {
        write(file("x.dat"), old);
        const Result r = run(args, 1000);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(file("x.dat"))) << r.err.toStdString();
        EXPECT_EQ(read(file("x.dat")), old);
    }

    // The same on a disk that is really full.
    ASSERT_TRUE(QDir(dir.path()).mkdir("disk"));
    const test::TinyDisk disk(file("disk"));
    if (!disk.mounted()) GTEST_SKIP() << "may not mount a tmpfs here";
    write(file("disk/x.dat"), old);
    disk.fill(file("disk/filler"));
    for (const QStringList& args : commands) {
        QStringList onDisk = args;
        onDisk.replaceInStrings(file("x.dat"), file("disk/x.dat"));
        const Result r = run(onDisk);
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        EXPECT_EQ(read(file("disk/x.dat")), old);
    }
}

TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    for (const QStringList& args :
         {QStringList{"new", "-o", "-"}, QStringList{"channels", file("new.dat")},
          QStringList{"info", file("new.dat")}}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", userStore());
        p.setProcessEnvironment(env);
        p.setStandardOutputFile("/dev/full");
        p.start(CPS_BINARY, args);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitCode(), 1) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("standard output"));
    }
    // An endless table is refused, not read into memory.
    const Result r =
        run({"channels", file("new.dat"), "--import", "/dev/zero", "-o", file("o.dat")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("larger than 1 MiB")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("o.dat")));
}

TEST_F(CliTest, PathsThatAreNoRegularFilesAreRefused) {
    ASSERT_TRUE(test::makeFifo(file("fifo.dat")));
    QStringList odd{file("fifo.dat")};
    if (test::makeNullDevice(file("null.dat"))) odd << file("null.dat");
    for (const QString& path : odd) {
        for (const QStringList& args : {QStringList{"info", path}, QStringList{"channels", path},
                                        QStringList{"new", "-o", path}}) {
            const Result r = run(args);
            EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
            EXPECT_TRUE(r.err.contains(path) && r.err.contains("not a regular file"))
                << r.err.toStdString();
        }
    }
    EXPECT_TRUE(test::isFifo(file("fifo.dat")));
    if (odd.size() > 1) {
        EXPECT_TRUE(test::isCharDevice(file("null.dat")));
    }
}
#endif

TEST_F(CliTest, VersionIsTheProgramsOwn) {
    const Result r = run({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QStringLiteral("cps " CPS_VERSION "\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CliTest, ServiceSectionsShowAndSetAsTheirDialogs) {
    RadioImage image = RadioImage::factory();
    image.set(0xFCE, 0x85);
    image.set(0xFAB, 3);
    write(file("in.dat"), bytesOf(image));
    Result r = run({"show", file("in.dat"), "param", "sql"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("param\tW/N Sql Difference\t-5\n"));
    EXPECT_TRUE(r.out.contains("param\tsql detect 4 wide high\t32\n"));
    EXPECT_TRUE(r.out.contains("sql\t440-449\t23\n"));

    r = run({"set", file("in.dat"), "-o", file("out.dat"), "param", "Mic amp gain=7"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Password"));
    EXPECT_FALSE(QFile::exists(file("out.dat")));
    r = run({"set", file("in.dat"), "-o", file("out.dat"), "param", "Mic amp gain=16",
             "--access-code", "527KTM"});
    EXPECT_EQ(r.status, 2);
    r = run({"set", file("in.dat"), "-o", file("out.dat"), "param", "sql detect 1 wide low=150",
             "--access-code", "527KTM"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("'150' became '100'"));
    EXPECT_EQ(static_cast<uint8_t>(read(file("out.dat")).at(0xFB9)), 100);

    r = run({"set", file("in.dat"), "-o", file("out.dat"), "sql", "130-139=0"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray sql = read(file("out.dat"));
    EXPECT_EQ(sql.at(0xFA0), 5);
    EXPECT_EQ(sql.at(0xFAB), 23);
    EXPECT_EQ(sql.at(0xFA5), 26);

    r = run({"set", file("in.dat"), "-o", file("out.dat"), "info", "Freq Band=U Section",
             "High Freq 2=470"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    r = run({"show", file("out.dat"), "info"});
    EXPECT_EQ(r.out,
              "info\tCompany\tQM417 PLUS\ninfo\tFreq Band\tU Section\n"
              "info\tLow Freq 1\t400\ninfo\tHigh Freq 1\t470\n"
              "info\tLow Freq 2\t400\ninfo\tHigh Freq 2\t470\n");
}

TEST_F(CliTest, FeatureSectionsShowAndSet) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    Result r = run({"show", file("new.dat"), "optional", "dtmf", "msk", "key", "stun"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const char* line :
         {"optional\tTOT (s)\t30\n", "optional\tShort Press Orange Key\tEmergency Call\n",
          "optional\tPassword\t\n", "optional\tKeypad Lock\tOff\n", "optional\tMSK Type\tMSK-I\n",
          "dtmf\tDtmf Code Time\t100\n", "dtmf\tGroup Code\t*\n", "msk\tCall List 9\t\n",
          "key\tSide Key\tOption Singalling Call\n", "stun\tStun Type\tStun\n"})
        EXPECT_TRUE(r.out.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(r.out.startsWith("optional\tBack Light\tAuto\n"));
    EXPECT_EQ(r.out.count('\n'), 24 + 7 + 10 + 1 + 3);
    r = run({"show", file("new.dat"), "dtmf", "--lang", "zh"});
    EXPECT_TRUE(r.out.contains(QStringLiteral("dtmf\tWork Status\t正常\n")));

    // The fields the dialog keeps as loaded can be set here; a Chinese item is taken too.
    r = run({"set", file("new.dat"), "-o", file("a.dat"), "optional", "Keypad Lock=On",
             "MSK Type=MSK-II", "Password=12x3", "Vox Gain Level=关"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("'12x3' became '123'")) << r.err.toStdString();
    const QByteArray a = read(file("a.dat"));
    EXPECT_EQ(a[0xC70] & 0x80, 0);
    EXPECT_EQ(a[0xC73] & 0x01, 0);
    EXPECT_EQ(a.mid(0xFE2, 6), QByteArray("123\xFF\xFF\xFF"));
    r = run({"info", file("a.dat")});
    EXPECT_TRUE(r.out.contains("Password: set"));

    // Unknown field or list value: status 2, nothing written.
    r = run({"set", file("new.dat"), "-o", file("b.dat"), "dtmf", "Group Code=E"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("0, 1, 2")) << r.err.toStdString();
    r = run({"set", file("new.dat"), "-o", file("b.dat"), "msk", "ID=12"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("ID Code")) << r.err.toStdString();
    EXPECT_EQ(run({"set", file("new.dat"), "-o", file("b.dat"), "stun", "Stun Type=Kill"}).status,
              1);
    EXPECT_FALSE(QFile::exists(file("b.dat")));
}

TEST_F(CliTest, TwoToneSectionsShowAndSetAsTheDialogDoes) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QByteArray before = read(file("new.dat"));
    Result r = run({"show", file("new.dat"), "2tone-encode"});
    ASSERT_EQ(r.status, 0);
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6 + 64);
    EXPECT_EQ(lines[0], "2tone-encode\tThe first delay time(s)\t0.5");
    EXPECT_EQ(lines[4], "2tone-encode\tTx rise delay time(ms)\t0.10");
    EXPECT_EQ(lines[5], "2tone-encode\tShort beep tone\tOff");
    EXPECT_EQ(lines[69], "2tone-encode\tTone2 Fre 32\t1000.0");
    r = run({"show", file("new.dat"), "2tone-decode", "--lang", "zh"});
    lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 48);
    EXPECT_EQ(lines[47], "2tone-decode\t2-Tone8 Long tone delay time(s)\t0.5");

    r = run({"set", file("new.dat"), "-o", file("d.dat"), "2tone-decode", "2-Tone6 A Tone(HZ)=5000",
             "2-Tone2 Interval time(s)=1.55"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("became '3106.0'")) << r.err.toStdString();
    const QByteArray d = read(file("d.dat"));
    EXPECT_EQ(d.mid(0xEA8, 2), QByteArray("\x79\x54", 2));   // 31060
    EXPECT_EQ(d.at(0xE8E), 15);                              // "1.5": three characters fit
    EXPECT_EQ(d.at(0xF8E), 30);                              // page 2 was visited
    EXPECT_EQ(d.mid(0xF80, 2), QByteArray("\x01\xC0", 2));   // page 1 stores at every opening
    EXPECT_EQ(d.mid(0xF90, 8), before.mid(0xF90, 8));        // page 3 was not
    EXPECT_EQ(d.mid(0xFA0, 0x30), before.mid(0xFA0, 0x30));  // the calibration

    r = run({"set", file("new.dat"), "-o", file("e.dat"), "2tone-encode",
             "Tx rise delay time(ms)=0.33", "Tone1 Fre 1=", "Short beep tone=On"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray e = read(file("e.dat"));
    EXPECT_EQ(e.mid(0xEC5, 3), QByteArray("\x00\x06\x01", 3));
    EXPECT_EQ(e.mid(0xE00, 2), QByteArray("\xFF\xFF", 2));
    EXPECT_EQ(e.mid(0xF00, 4), QByteArray("\x00\x00\x00\x70", 4));
    EXPECT_EQ(e.mid(0xFA0, 0x30), before.mid(0xFA0, 0x30));

    EXPECT_EQ(run({"set", file("new.dat"), "-o", file("f.dat"), "2tone-decode",
                   "2-Tone9 A Tone(HZ)=1000"})
                  .status,
              2);
    EXPECT_EQ(
        run({"set", file("new.dat"), "-o", file("f.dat"), "2tone-decode", "Pages stored=3"}).status,
        2);
    EXPECT_FALSE(QFile::exists(file("f.dat")));

    // The tone interval shows as printf's "%2.1f" shows 41 / 20 and 6049 / 20.
    QByteArray odd = before;
    odd.replace(0xEC3, 2, QByteArray("\x00\x29", 2));
    write(file("odd.dat"), odd);
    r = run({"show", file("odd.dat"), "2tone-encode"});
    EXPECT_EQ(r.out.split('\n').value(3), "2tone-encode\tTone interval time(ms)\t2.0");
    odd.replace(0xEC3, 2, QByteArray("\x17\xA1", 2));
    write(file("odd.dat"), odd);
    r = run({"show", file("odd.dat"), "2tone-encode"});
    EXPECT_EQ(r.out.split('\n').value(3), "2tone-encode\tTone interval time(ms)\t302.4");
}

TEST_F(CliTest, UnusableBandLimitsAreReplacedWithANoteOnStderr) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    write(file("rows.tsv"),
          table({{2, "145.50000\t145.50000\tNone\tNone\t\tHigh\tWide\tYes\tOff\tOff"}}).toUtf8());
    ASSERT_EQ(run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("ch.dat")})
                  .status,
              0);
    QByteArray bytes = read(file("ch.dat"));
    bytes.replace(addr::kBandLimitsPacked, 6, QByteArray(6, '\xFF'));
    write(file("bad.dat"), bytes);

    Result r = run({"channels", file("bad.dat")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.split('\n')[1].startsWith("2\t145.50000\t145.50000")) << r.out.toStdString();
    EXPECT_TRUE(
        r.err.startsWith("cps channels: The frequency band limits of this image cannot "
                         "be used"))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Band 1: 134-176 MHz") && r.err.contains("Software Info"));
    r = run({"channels", file("bad.dat"), "--lang", "zh"});
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("软件信息"))) << r.err.toStdString();

    r = run({"info", file("bad.dat")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("Band 1: 134-176 MHz\nBand 2: 176-176 MHz\n"))
        << r.out.toStdString();
    EXPECT_TRUE(r.err.startsWith("cps info: The frequency band limits")) << r.err.toStdString();
    EXPECT_TRUE(run({"info", file("ch.dat")}).err.isEmpty());
}

TEST_F(CliTest, ImportRefusalsSayWhatIsAllowedOnALineOfTheirOwn) {
    ASSERT_EQ(run({"new", "-o", file("new.dat")}).status, 0);
    const QString rest = "\t145.50000\tNone\tNone\t\tHigh\tWide\tYes\tOff\tOff";
    const struct {
        const char* rx;
        const char* detail;
    } cases[] = {
        {"200", "cps: Allowed: 134-176 MHz (the band limits in use; Software Info sets them)\n"},
        {"145.503",
         "cps: Example of a valid entry: 155.0125 (6.25 kHz step) or 155.015 (5 kHz "
         "step)\n"},
        {"60",
         "cps: Example of a valid entry: 155.0125 (MHz, digits and one full stop, 67 to "
         "600)\n"},
    };
    for (const auto& c : cases) {
        write(file("rows.tsv"), table({{5, QString::fromUtf8(c.rx) + rest}}).toUtf8());
        const Result r =
            run({"channels", file("new.dat"), "--import", file("rows.tsv"), "-o", file("o.dat")});
        EXPECT_EQ(r.status, 1);
        const QStringList lines = r.err.split('\n');
        ASSERT_GE(lines.size(), 3) << r.err.toStdString();
        EXPECT_EQ(lines[1] + "\n", QString::fromUtf8(c.detail)) << r.err.toStdString();
        EXPECT_EQ(lines[2], "cps: nothing written");
    }
}
