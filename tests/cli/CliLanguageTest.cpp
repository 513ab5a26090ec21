// One run speaks one language: with --lang zh, or Chinese in the Program.ini beside cps,
// every line cps prints itself is Chinese; in English the same commands say what they said.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "Field.h"

using namespace cps;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// What may stay in ASCII letters on a Chinese line: the program's and commands' names,
// options, the names scripts use (sections, fields, CSV columns), units and acronyms, and
// the radio's own texts that are English in both languages.
const QStringList& allowedWords() {
    static const QStringList words = [] {
        QStringList w{
            "cps",      "new",      "channels",  "info",    "show",    "set",   "read",   "write",
            "ports",    "service",  "export",    "import",  "diff",    "print", "fleet",  "PORT",
            "DIR",      "channel",  "Label",     "csv",     "help",    "lang",  "en",     "zh",
            "json",     "dat",      "tsv",       "pdf",     "MHz",     "kHz",   "MiB",    "USB",
            "ID",       "COM",      "CSV",       "JSON",    "PDF",     "UTF",   "CRLF",   "BOM",
            "DCS",      "FM",       "NFM",       "Fr",      "On",      "Off",   "OUT",    "FILE",
            "DOC",      "PATTERN",  "LIST",      "SECTION", "FIELD",   "VALUE", "CODE",   "ROWS",
            "REPORT",   "TAB",      "DIGITS",    "param",   "sql",     "dev",   "ttyUSB", "radio",
            "radiosim", "Location", "Frequency", "Name",    "Tone",    "TSQL",  "DTCS",   "Cross",
            "Duplex",   "Offset",   "split",     "off",     "NN",      "NR",    "RN",     "RR",
            "xNN",      "null",     "true",      "false",   "High",    "Mid",   "Low",    "Ports",
            "COMn",     "Type",     "channels",  "all",     "PTT",     "None",  "ASCII",  "usermod",
            "aG",       "dialout",  "USER",      "sudo",    "lenient", "A4",    "stderr"};
        // Every section and field name, as `cps show` and the importers name them.
        for (const field::Table* t : field::registry()) {
            w << QString::fromUtf8(t->section);
            for (const field::Field& f : t->fields)
                w << QString::fromUtf8(f.key).split(QRegularExpression("[^A-Za-z0-9]+"),
                                                    Qt::SkipEmptyParts);
        }
        return w;
    }();
    return words;
}

// The English words left on a line once names, paths, options and quoted values (a user's
// input or a file's text) are taken out; empty when the line is not plain English.
QStringList englishWords(QString line, const QString& dir) {
    line.replace(dir, QStringLiteral("<dir>"));
    static const QRegularExpression removed(QStringLiteral(
        "'[^']*'|\"[^\"]*\"|\\S*/\\S*|\\$\\S*|--?[A-Za-z][A-Za-z-]*|\\S+\\.(dat|tsv|csv|"
        "json|pdf)\\b|\\b[A-Za-z]*[0-9]+[A-Za-z0-9]*\\b"));
    line.replace(removed, QStringLiteral(" "));
    QStringList left;
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const QString w = it.next().captured();
        if (!allowedWords().contains(w) && !allowedWords().contains(w.toLower())) left << w;
    }
    return left;
}

bool hasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

class CliLanguageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(run(CPS_BINARY, {"new", "-o", path("new.dat")}).status, 0);
        // A second image that differs in a channel and a field.
        ASSERT_EQ(
            run(CPS_BINARY, {"set", path("new.dat"), "-o", path("b.dat"), "optional", "Beep=Off"})
                .status,
            0);
        write("bad.tsv", "1\t145.00000\n");
        write("bad.csv", "Location,Frequency\r\n500,145.000\r\n");
        write("bad.json", "{\"nosuch\": {}}");
        write("badvalue.json", "{\"optional\": {\"Beep\": \"Loud\"}}");
        // Fleet jobs refused by their header, and by a value.
        write("badjob.csv", "Label,optional:Nosuch\r\nA,1\r\n");
        write("badvaluejob.csv", "Label,optional:Beep\r\nA,Loud\r\n");
    }

    QString path(const char* name) const { return dir.filePath(name); }
    void write(const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    Outcome run(const QString& program, const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("CPS_USER_STORE", path("user.ini"));
        p.setProcessEnvironment(env);
        p.start(program, args);
        EXPECT_TRUE(p.waitForFinished(20000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    // A cps of its own in a folder whose Program.ini says Chinese, with the language file.
    QString chineseInstall() {
        const QString folder = path("zh");
        QDir().mkpath(folder);
        const QString binary = folder + "/cps";
        EXPECT_TRUE(QFile::copy(CPS_BINARY, binary));
        const QString qm = QFileInfo(CPS_BINARY).absolutePath() + "/Chinese.qm";
        if (QFileInfo::exists(qm)) QFile::copy(qm, folder + "/Chinese.qm");
        QFile ini(folder + "/Program.ini");
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setup]\nLanguage=Chinese\nAppName=CliLanguageTest\n");
        return binary;
    }

    // The representative commands: results, tables, usage errors and failures.
    QList<QStringList> commands() const {
        return {
            {},
            {"bogus"},
            {"help"},
            {"help", "info"},
            {"help", "fleet"},
            {"show", "--help"},
            {"new"},
            {"info", path("new.dat")},
            {"info", path("missing.dat")},
            {"info", path("new.dat"), path("b.dat")},
            {"show", path("new.dat"), "optional", "dtmf"},
            {"show", path("new.dat"), "nosuch"},
            {"set", path("new.dat"), "-o", path("s.dat"), "optional", "Beep=maybe"},
            {"set", path("new.dat"), "-o", path("s.dat"), "optional", "Nosuch=1"},
            {"diff", path("new.dat"), path("b.dat")},
            {"channels", path("new.dat"), "--import", path("bad.tsv"), "-o", path("o.dat")},
            {"import-csv", path("bad.csv"), "-o", path("o.dat")},
            {"import", path("bad.json"), "-o", path("o.dat")},
            {"import", path("badvalue.json"), "-o", path("o.dat")},
            {"read", "--port", path("nothing"), "-o", path("o.dat"), "-q"},
            {"read", "--port", "COM99", "-o", path("o.dat")},
            {"write", "--port", "./nothing", path("new.dat"), "--access-code", "1"},
            {"export-csv", path("new.dat")},
            {"fleet", path("new.dat"), "--job", "j.csv", "--log", "l.csv"},
            {"fleet", path("new.dat"), "--job", path("badjob.csv"), "--port", "COM1", "--log",
             path("l.csv")},
            {"fleet", path("new.dat"), "--job", path("badvaluejob.csv"), "--port", "COM1", "--log",
             path("l.csv")},
            {"ports", "--bogus"},
            {"service", "read", "--port", "COM1", "--section", "nosuch", path("new.dat"), "-o",
             path("o.dat")},
        };
    }

    void expectChinese(const QString& what, const Outcome& r) {
        for (const QString& line : (r.out + r.err).split('\n', Qt::SkipEmptyParts)) {
            const QStringList english = englishWords(line, dir.path());
            EXPECT_TRUE(english.isEmpty())
                << what.toStdString() << ": English in \"" << line.toStdString()
                << "\": " << english.join(' ').toStdString();
        }
    }

    QTemporaryDir dir;
};

TEST_F(CliLanguageTest, EveryLineFollowsTheRunsLanguage) {
    const QString zhBinary = chineseInstall();
    for (const QStringList& args : commands()) {
        const QString what = "cps " + args.join(' ');
        const Outcome en = run(CPS_BINARY, args);
        const Outcome byOption = run(CPS_BINARY, args + QStringList{"--lang", "zh"});
        const Outcome bySettings = run(zhBinary, args);
        // The same outcome in every language.
        EXPECT_EQ(byOption.status, en.status) << what.toStdString();
        EXPECT_EQ(bySettings.status, en.status) << what.toStdString();
        EXPECT_FALSE(hasChinese(en.out + en.err)) << what.toStdString();
        EXPECT_TRUE(hasChinese(byOption.out + byOption.err)) << what.toStdString();
        expectChinese(what + " --lang zh", byOption);
        expectChinese(what + " (Program.ini)", bySettings);
        // --lang en speaks English whatever the settings say.
        const Outcome back = run(zhBinary, args + QStringList{"--lang", "en"});
        EXPECT_EQ(back.status, en.status) << what.toStdString();
        EXPECT_FALSE(hasChinese(back.out + back.err)) << what.toStdString();
    }
}

TEST_F(CliLanguageTest, LanguageBeforeTheCommandAndWrongValues) {
    // Given before the command, as a global option.
    Outcome r = run(CPS_BINARY, {"--lang", "zh", "info", path("new.dat")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains(QString::fromUtf8("频段 1：134-176 MHz"))) << r.out.toStdString();
    r = run(CPS_BINARY, {"--lang=zh"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.startsWith(QString::fromUtf8("用法："))) << r.err.toStdString();
    // Any command takes it; a wrong value is wrong usage.
    r = run(CPS_BINARY, {"new", "-o", path("x.dat"), "--lang", "fr"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("--lang takes en or zh")) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("x.dat")));
    // Machine-readable output is the same in both languages.
    for (const QStringList& args : {QStringList{"info", path("new.dat"), "--json"},
                                    QStringList{"diff", path("new.dat"), path("b.dat"), "--json"},
                                    QStringList{"export", path("new.dat"), "-o", "-"},
                                    QStringList{"export-csv", path("new.dat"), "-o", "-"}}) {
        const Outcome en = run(CPS_BINARY, args);
        const Outcome zh = run(CPS_BINARY, args + QStringList{"--lang", "zh"});
        EXPECT_EQ(zh.status, en.status);
        if (args.first() == "diff") continue;  // its texts are the fields' shown values
        EXPECT_EQ(zh.out, en.out) << args.join(' ').toStdString();
    }
}

}  // namespace
