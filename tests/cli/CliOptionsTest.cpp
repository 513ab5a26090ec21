// The command line's conventions, common to every command: option spellings, "--", help,
// version and quiet, with the messages and exit statuses scripts rely on.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
    QByteArray raw;
};

class CliOptionsTest : public ::testing::Test {
  protected:
    Result run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", dir.filePath("user.ini"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(CPS_BINARY, args);
        EXPECT_TRUE(p.waitForFinished(20000));
        const QByteArray out = p.readAllStandardOutput();
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
                QString::fromUtf8(p.readAllStandardError()), out};
    }
    QString file(const char* name) const { return dir.filePath(name); }
    QByteArray read(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(CliOptionsTest, OutputFileInEverySpelling) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    const QByteArray image = read(file("a.dat"));
    ASSERT_EQ(image.size(), 4096);
    for (const QStringList& args : {QStringList{"new", "--output", file("b.dat")},
                                    QStringList{"new", "--output=" + file("b.dat")},
                                    QStringList{"new", "-o" + file("b.dat")}}) {
        QFile::remove(file("b.dat"));
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(read(file("b.dat")), image) << args.join(' ').toStdString();
    }
    // The long form works where the command has its own handling of -o, too.
    Result r =
        run({"set", file("a.dat"), "--output", file("c.dat"), "info", "Freq Band=U Section"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(read(file("c.dat")).size(), 4096);
    r = run({"export", file("a.dat"), "--output=" + file("c.json")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(read(file("c.json")).startsWith("{"));
}

TEST_F(CliOptionsTest, ValueAfterEqualsSignOrAsNextArgument) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    const Result spaced = run({"show", file("a.dat"), "info", "--lang", "zh"});
    const Result joined = run({"show", file("a.dat"), "info", "--lang=zh"});
    EXPECT_EQ(spaced.status, 0);
    EXPECT_EQ(joined.status, 0);
    EXPECT_EQ(joined.out, spaced.out);
    // A port given either way reaches the link: the same message about the missing device.
    const Result a = run({"read", "--port", "./no-such-radio", "-o", file("r.dat")});
    const Result b = run({"read", "--port=./no-such-radio", "-o", file("r.dat")});
    EXPECT_EQ(a.status, 1);
    EXPECT_EQ(b.status, 1);
    EXPECT_EQ(a.err, b.err);
    EXPECT_TRUE(a.err.contains("no-such-radio")) << a.err.toStdString();
    EXPECT_FALSE(QFile::exists(file("r.dat")));
}

TEST_F(CliOptionsTest, DoubleDashEndsTheOptions) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    ASSERT_EQ(run({"new", "-o", file("-odd.dat")}).status, 0);
    Result r = run({"info", "-odd.dat"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("cps info: unknown option '-odd.dat'")) << r.err.toStdString();
    r = run({"info", "--", "-odd.dat"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Band 1:"));
    // After "--", --help is a file name like any other.
    r = run({"info", "--", "--help"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.out.contains("Usage"));
    // "-" stays an argument: standard output.
    r = run({"new", "-o", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.raw.size(), 4096);
}

TEST_F(CliOptionsTest, HelpAndVersionInShortAndLongForm) {
    const Result longHelp = run({"--help"});
    EXPECT_EQ(longHelp.status, 0);
    EXPECT_TRUE(longHelp.out.startsWith("Usage: cps COMMAND")) << longHelp.out.toStdString();
    for (const char* option : {"--output", "--quiet", "--version", "--help"})
        EXPECT_TRUE(longHelp.out.contains(option)) << option;
    EXPECT_EQ(run({"-h"}).out, longHelp.out);

    const Result readHelp = run({"read", "--help"});
    EXPECT_EQ(readHelp.status, 0);
    EXPECT_TRUE(readHelp.out.startsWith("Usage: cps read")) << readHelp.out.toStdString();
    EXPECT_EQ(run({"read", "-h"}).out, readHelp.out);
    EXPECT_EQ(run({"help", "read"}).out, readHelp.out);
    // Help wins over everything else, even options that would be refused.
    EXPECT_EQ(run({"read", "--bogus", "-h"}).out, readHelp.out);

    for (const char* option : {"-V", "--version"}) {
        const Result r = run({option});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, QString("cps " CPS_VERSION "\n"));
    }
    const Result r = run({"help", "frobnicate"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith("cps: unknown command 'frobnicate'"));
}

TEST_F(CliOptionsTest, WrongUsageIsStatusTwoWithTheSameMessages) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    struct Case {
        QStringList args;
        const char* message;
    };
    const Case cases[] = {
        {{"info", file("a.dat"), "--bogus"}, "cps info: unknown option '--bogus'"},
        {{"info", file("a.dat"), "--bogus=1"}, "cps info: unknown option '--bogus'"},
        {{"show", file("a.dat"), "--lang"}, "cps show: option '--lang' needs a value"},
        {{"new", "-o"}, "cps new: option '-o' needs a value"},
        {{"show", file("a.dat"), "--json=yes"}, "cps show: option '--json' takes no value"},
        {{"ports", "extra"}, "cps ports: unexpected argument 'extra'"},
        {{"frobnicate"}, "cps: unknown command 'frobnicate'"},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_TRUE(r.err.startsWith(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.message;
    }
    EXPECT_EQ(run({}).status, 2);
}

TEST_F(CliOptionsTest, QuietIsTakenByEveryCommand) {
    ASSERT_EQ(run({"new", "-q", "-o", file("a.dat")}).status, 0);
    Result r = run({"info", "--quiet", file("a.dat")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, run({"info", file("a.dat")}).out);
    r = run({"read", "-q", "--port", "./no-such-radio", "-o", file("r.dat")});
    EXPECT_EQ(r.status, 1);  // the port's failure, not wrong usage
}

// What scripts read: valid JSON, with the fields in the order the text lists them.
TEST_F(CliOptionsTest, JsonOutputsParseAndKeepTheTablesOrder) {
    ASSERT_EQ(run({"new", "-o", file("a.dat")}).status, 0);
    Result r = run({"show", file("a.dat"), "optional", "info", "--json"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonDocument show = QJsonDocument::fromJson(r.raw, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    QStringList jsonOrder;  // "section/field" in the order the JSON text has them
    QString section;
    for (const QString& line : r.out.split('\n')) {
        const QString t = line.trimmed();
        if (!t.startsWith('"')) continue;
        const QString key = t.section('"', 1, 1);
        if (t.endsWith('{'))
            section = key;
        else
            jsonOrder << section + "/" + key;
    }
    QStringList textOrder;
    for (const QString& line : run({"show", file("a.dat"), "optional", "info"}).out.split('\n'))
        if (!line.isEmpty()) textOrder << line.section('\t', 0, 0) + "/" + line.section('\t', 1, 1);
    EXPECT_EQ(jsonOrder, textOrder);
    EXPECT_EQ(show.object().keys(), (QStringList{"info", "optional"}));
    EXPECT_EQ(show.object().value("info").toObject().size(), 6);
    r = run({"info", file("a.dat"), "--json"});
    ASSERT_EQ(r.status, 0);
    const QJsonObject info = QJsonDocument::fromJson(r.raw).object();
    EXPECT_EQ(info.value("band1").toObject().value("low").toDouble(), 134);
    EXPECT_EQ(info.value("band1").toObject().value("high").toDouble(), 176);
    EXPECT_EQ(info.value("bandCode").toInt(), 1);
    EXPECT_EQ(info.value("password").toBool(true), false);

    // diff: the same exit statuses as the text, the changes as objects.
    r = run({"diff", file("a.dat"), file("a.dat"), "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(QJsonDocument::fromJson(r.raw).object().value("equal").toBool(), true);
    ASSERT_EQ(run({"set", file("a.dat"), "-o", file("b.dat"), "optional", "Beep=Off"}).status, 0);
    r = run({"diff", file("a.dat"), file("b.dat"), "--json"});
    EXPECT_EQ(r.status, 1);
    const QJsonObject diff = QJsonDocument::fromJson(r.raw).object();
    EXPECT_FALSE(diff.value("equal").toBool(true));
    const QJsonArray fields = diff.value("fields").toArray();
    ASSERT_EQ(fields.size(), 1) << r.out.toStdString();
    EXPECT_EQ(fields[0].toObject().value("after").toString(), "Off");
    EXPECT_TRUE(fields[0].toObject().value("where").toString().contains("Beep"));

    // ports: an assigned device the system does not list is there, marked as such.
    QFile store(dir.filePath("user.ini"));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write("[Ports]\nCOM7=/dev/pts/radio-sim\n");
    store.close();
    r = run({"ports", "--json"});
    ASSERT_EQ(r.status, 0);
    const QJsonArray ports = QJsonDocument::fromJson(r.raw, &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    ASSERT_FALSE(ports.isEmpty());
    const QJsonObject last = ports.last().toObject();
    EXPECT_EQ(last.value("device").toString(), "/dev/pts/radio-sim");
    EXPECT_EQ(last.value("com").toArray(), QJsonArray{"COM7"});
    EXPECT_FALSE(last.value("listed").toBool(true));
    EXPECT_TRUE(last.value("description").isNull());
}

}  // namespace
