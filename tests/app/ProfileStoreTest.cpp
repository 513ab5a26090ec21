#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "Gb18030.h"
#include "ProfileStore.h"
#ifdef Q_OS_UNIX
#include "FileFaults.h"
#endif

using namespace cps;

namespace {

class ProfileStoreTest : public ::testing::Test {
  protected:
    QString path() const { return dir.filePath("Program.ini"); }
    void write(const QByteArray& bytes) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(ProfileStoreTest, MissingFileIsCreatedEmptyAndDefaultsApply) {
    ProfileStore store;
    ASSERT_TRUE(store.openIn(dir.path(), "Program.ini"));
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(store.get("Setup", "Language", "  dflt  "), "  dflt  ");  // no section: untouched
    EXPECT_FALSE(store.changed());
}

TEST_F(ProfileStoreTest, ParsingAndLookups) {
    write(
        "top=level\r\n"
        "[Setup]\r\n"
        "  Language = English  \r\n"
        "Words=two words // a comment\r\n"
        "Tabbed=value\t; note\r\n"
        "Block=a/*b*/c\r\n"
        "Url=http://x\r\n"
        "; comment=1\r\n"
        "/c=1\r\n"
        "\\c=1\r\n"
        "*c=1\r\n"
        "=novalue\r\n"
        "bare\r\n"
        "Dup=first\r\n"
        "DUP=second\r\n"
        "[setup]\r\n"
        "Other=in the second section\r\n"
        "[]\r\n"
        "inEmpty=1\r\n");
    ProfileStore store;
    ASSERT_TRUE(store.open(path()));
    EXPECT_EQ(store.get("", "top"), "level");
    EXPECT_EQ(store.get("SETUP", "language"), "English");
    EXPECT_EQ(store.get("Setup", "Words"), "two words ");
    EXPECT_EQ(store.get("Setup", "Tabbed"), "value");
    EXPECT_EQ(store.get("Setup", "Block"), "a");
    EXPECT_EQ(store.get("Setup", "Url"), "http:");
    EXPECT_EQ(store.get("Setup", "bare", "x"), "");
    EXPECT_EQ(store.get("Setup", "dup"), "second");  // the later duplicate wins
    for (const char* comment : {"; comment", "/c", "\\c", "*c", ""})
        EXPECT_EQ(store.get("Setup", comment, "none"), "none") << comment;
    // The second section of the same name is never consulted.
    EXPECT_EQ(store.get("Setup", "Other", "  d  "), "d");  // missing key: default trimmed
}

TEST_F(ProfileStoreTest, SetAndSave) {
    write("[Setup]\nLanguage=english\nDup=1\nDup=2\n[SETUP]\nDup=3\n; dropped\n");
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        store.set("setup", "Language", "English");  // case only: stored, not a change
        EXPECT_FALSE(store.changed());
        EXPECT_EQ(store.get("Setup", "Language"), "English");
        ASSERT_TRUE(store.save());
        EXPECT_EQ(
            read(),
            QByteArray("[Setup]\nLanguage=english\nDup=1\nDup=2\n[SETUP]\nDup=3\n; dropped\n"));

        store.set("Setup", "Dup", "9");
        store.set("Setup", "EnableSql", "0");
        store.set("New", "Key", "v");
        EXPECT_TRUE(store.changed());
    }  // saved when destroyed
    // An LF file stays one.
    EXPECT_EQ(read(), QByteArray("[Setup]\nLanguage=English\nDup=1\nDup=9\nEnableSql=0\n"
                                 "[SETUP]\nDup=3\n[New]\nKey=v\n"));
}

TEST_F(ProfileStoreTest, ZeroBytesLeftByAnInPlaceRewriteAreIgnored) {
    // What a rewrite over a file held open elsewhere leaves: the new text, then zeros up
    // to the old length.
    write("[Setup]\r\nLanguage=English\r\nLong=y\r\n" + QByteArray(200, '\0'));
    ProfileStore store;
    ASSERT_TRUE(store.open(path()));
    EXPECT_EQ(store.get("Setup", "Long"), "y");
    EXPECT_EQ(store.get("Setup", "Language"), "English");
    store.set("Setup", "Long", "z");
    ASSERT_TRUE(store.save());
    EXPECT_EQ(read(), QByteArray("[Setup]\r\nLanguage=English\r\nLong=z\r\n"));
}

TEST_F(ProfileStoreTest, ChineseSettingsInUtf8AndGb18030) {
    write(QStringLiteral("[Chinese]\nCompany=对讲机编程\n").toUtf8());
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        EXPECT_EQ(store.get("chinese", "company"), QStringLiteral("对讲机编程"));
    }
    // "对讲机编程" and "标题" in GB18030, as a Chinese Windows system writes them.
    const QByteArray gbBytes = "[Chinese]\r\nCompany=\xb6\xd4\xbd\xb2\xbb\xfa\xb1\xe0\xb3\xcc\r\n";
    write(gbBytes);
    ProfileStore store;
    ASSERT_TRUE(store.open(path()));
    EXPECT_EQ(store.get("Chinese", "Company"), QStringLiteral("对讲机编程"));
    store.set("Chinese", "Title", QStringLiteral("标题"));
    ASSERT_TRUE(store.save());
    // Written back in the encoding it came in.
    EXPECT_EQ(read(), gbBytes + QByteArray("Title=\xb1\xea\xcc\xe2\r\n"));
}

TEST_F(ProfileStoreTest, UnopenableFileLeavesAnInertStore) {
    ProfileStore store;
    EXPECT_FALSE(store.open(dir.filePath("no/such/dir/Program.ini")));
    store.set("Setup", "Language", "Chinese");
    EXPECT_EQ(store.get("Setup", "Language", "d"), "d");
    EXPECT_FALSE(store.changed());
    EXPECT_TRUE(store.path().isEmpty());
}

TEST_F(ProfileStoreTest, LinesNotChangedKeepTheirBytesWhateverTheirEncoding) {
    // UTF-8 with Chinese texts, and one hand-edited line holding a Latin-1 byte.
    const QByteArray utf8Lines[] = {
        "[Setup]",
        "Language=Chinese",
        "EnableSql=0",
        "Note = Caf\xe9 au lait",
        "[Chinese]",
        QStringLiteral("Title=对讲机编程软件").toUtf8(),
        QStringLiteral("Company=某某电子").toUtf8(),
    };
    QByteArray file;
    for (const QByteArray& line : utf8Lines) file += line + "\r\n";
    write(file);
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        EXPECT_EQ(store.get("Chinese", "Title"), QStringLiteral("对讲机编程软件"));
        store.set("Setup", "EnableSql", "1");  // what the exit writes
        store.set("Chinese", "About Title", QStringLiteral("关于"));
    }
    QByteArray expected;
    for (const QByteArray& line : utf8Lines)
        expected += (line == "EnableSql=0" ? QByteArray("EnableSql=1") : line) + "\r\n";
    expected += QStringLiteral("About Title=关于\r\n").toUtf8();  // in the file's own encoding
    EXPECT_EQ(read(), expected);

    // Mostly GB18030 with one UTF-8 line: new text is GB18030, the UTF-8 line stays.
    // "对讲机" and "电子" in GB18030.
    const QByteArray gbFile =
        QByteArray("[Chinese]\r\nTitle=\xb6\xd4\xbd\xb2\xbb\xfa\r\nCompany=\xb5\xe7\xd7\xd3\r\n") +
        QStringLiteral("Remark=中文\r\n").toUtf8();
    write(gbFile);
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        EXPECT_EQ(store.get("Chinese", "Company"), QStringLiteral("电子"));
        EXPECT_EQ(store.get("Chinese", "Remark"), QStringLiteral("中文"));
        store.set("Chinese", "Version", QStringLiteral("版本"));
    }
    EXPECT_EQ(read(), gbFile + QByteArray("Version=\xb0\xe6\xb1\xbe\r\n"));
}

TEST_F(ProfileStoreTest, Gb18030BeyondTwoByteCharacters) {
    // Four-byte sequences (outside the old two-byte set, and beyond the 16-bit plane), on
    // every platform's codec.
    const QByteArray bytes = "A\x81\x30\x8b\x38\x94\x39\xfc\x36\xa8\xa6";
    const QString text = QStringLiteral("A\u0100\U0001F600\u00e9");
#ifdef Q_OS_WIN
    if (decodeGb18030(bytes.left(5)) != text.left(2))
        GTEST_SKIP() << "this system has GBK but not the four-byte GB18030 (wine 8)";
#endif
    EXPECT_EQ(decodeGb18030(bytes), text);
    EXPECT_EQ(encodeGb18030(text), bytes);
    write("[Chinese]\r\nCompany=\xb5\xe7\xd7\xd3\r\nRemark=" + bytes + "\r\n");
    ProfileStore store;
    ASSERT_TRUE(store.open(path()));
    EXPECT_EQ(store.get("Chinese", "Remark"), text);
}

#ifdef Q_OS_UNIX
TEST_F(ProfileStoreTest, OnlyRegularFilesUpToOneMebibyteAreRead) {
    ASSERT_TRUE(test::makeFifo(path()));
    {
        ProfileStore store;
        EXPECT_FALSE(store.open(path()));  // would block until a writer came
        EXPECT_TRUE(store.errorString().contains(path())) << store.errorString().toStdString();
        EXPECT_TRUE(store.errorString().contains("not a regular file"));
        store.set("Setup", "Language", "English");
    }
    EXPECT_TRUE(test::isFifo(path()));
    QFile::remove(path());

    ASSERT_TRUE(QFile::link("/dev/zero", path()));
    {
        ProfileStore store;
        EXPECT_FALSE(store.open(path()));  // would fill the memory
        EXPECT_TRUE(store.errorString().contains("not a regular file"));
    }
    QFile::remove(path());

    QByteArray big = "[Setup]\r\nLanguage=English\r\n";
    big += QByteArray(ProfileStore::kMaxFileSize - big.size(), ' ');
    write(big);
    {
        ProfileStore store;
        EXPECT_TRUE(store.open(path()));
        EXPECT_EQ(store.get("Setup", "Language"), "English");
    }
    write(big + ' ');
    {
        ProfileStore store;
        EXPECT_FALSE(store.open(path()));
        EXPECT_TRUE(store.errorString().contains("larger than 1 MiB"));
        store.set("Setup", "Language", "Chinese");
        EXPECT_TRUE(store.path().isEmpty());
    }
    EXPECT_EQ(read(), big + ' ');
}

TEST_F(ProfileStoreTest, ASaveThatFailsPartWayKeepsTheOldFile) {
    QByteArray old = "[Setup]\r\nLanguage=English\r\n";
    for (int i = 0; i < 100; ++i) old += "Key" + QByteArray::number(i) + "=some value\r\n";
    write(old);
    ProfileStore store;
    ASSERT_TRUE(store.open(path()));
    store.set("Setup", "EnableSql", "1");
    {
        const test::FileSizeLimit limit(500);
        EXPECT_FALSE(store.save());
    }
    EXPECT_TRUE(store.errorString().contains(path())) << store.errorString().toStdString();
    EXPECT_EQ(read(), old);
    ASSERT_TRUE(store.save());
    EXPECT_EQ(read(), old + "EnableSql=1\r\n");
}

TEST_F(ProfileStoreTest, AFullDiskKeepsTheSettingsFileAndThePerUserCopy) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("disk"));
    const test::TinyDisk disk(dir.filePath("disk"));
    if (!disk.mounted()) GTEST_SKIP() << "may not mount a tmpfs here";
    const QString program = dir.filePath("disk/Program.ini");
    const QString copy = dir.filePath("disk/user/Program.ini");
    QByteArray old = "[Setup]\r\nLanguage=English\r\n";
    for (int i = 0; i < 20; ++i) old += "Key" + QByteArray::number(i) + "=some value\r\n";
    auto put = [](const QString& file, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    auto get = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    };
    put(program, old);
    put(copy, "[Setup]\r\nLanguage=Chinese\r\n");
    disk.fill(dir.filePath("disk/filler"));

    ProfileStore store;
    ASSERT_TRUE(store.open(program));
    store.set("Setup", "EnableSql", "1");
    EXPECT_FALSE(store.save());
    EXPECT_TRUE(store.errorString().contains(program)) << store.errorString().toStdString();
    EXPECT_EQ(get(program), old);

    ProfileStore user;
    ASSERT_TRUE(user.open(program));
    ASSERT_TRUE(user.useUserCopy(copy));
    for (int i = 0; i < 50; ++i) user.set("Setup", "Extra" + QString::number(i), "a long value");
    EXPECT_FALSE(user.save());
    EXPECT_TRUE(user.errorString().contains(copy)) << user.errorString().toStdString();
    EXPECT_EQ(get(copy), "[Setup]\r\nLanguage=Chinese\r\n");
    EXPECT_EQ(get(program), old);
}
#endif

TEST_F(ProfileStoreTest, PerUserCopyTakesWhatDiffersAndIsReadFirst) {
    const QByteArray original =
        "[Setup]\r\nLanguage=English\r\nEnableSql=0\r\n[English]\r\nTitle=T\r\n";
    write(original);
    const QString copy = dir.filePath("home/Software/Program/Program.ini");
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        ASSERT_TRUE(store.useUserCopy(copy));
        EXPECT_EQ(store.userCopyPath(), copy);
        store.set("setup", "enablesql", "0");  // what the file says already: nothing to keep
        EXPECT_FALSE(store.changed());
        EXPECT_TRUE(store.save());
        EXPECT_FALSE(QFile::exists(copy));

        store.set("Setup", "Language", "Chinese");
        EXPECT_EQ(store.get("Setup", "Language"), "Chinese");
        EXPECT_TRUE(store.save());
    }
    EXPECT_EQ(read(), original);  // the program's file is never touched
    QFile f(copy);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
    f.close();

    ProfileStore next;
    ASSERT_TRUE(next.open(path()));
    ASSERT_TRUE(next.useUserCopy(copy));
    EXPECT_EQ(next.get("Setup", "Language"), "Chinese");
    EXPECT_EQ(next.get("English", "Title"), "T");  // the rest still from beside the program
    EXPECT_EQ(next.get("Setup", "Missing", " d "), "d");
    // Back to the program file's value: the copy holds the key, so it keeps the change.
    next.set("Setup", "Language", "English");
    EXPECT_TRUE(next.save());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[Setup]\r\nLanguage=English\r\n"));
    EXPECT_EQ(read(), original);
}

TEST_F(ProfileStoreTest, UnreadablePerUserCopyIsNotUsed) {
    write("[Setup]\r\nLanguage=English\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkpath("copy.ini"));  // a folder where the copy would be
    ProfileStore store;
    ASSERT_TRUE(store.open(path()));
    EXPECT_TRUE(store.writable());
    EXPECT_FALSE(store.useUserCopy(dir.filePath("copy.ini")));
    EXPECT_TRUE(store.userCopyPath().isEmpty());
    EXPECT_EQ(store.get("Setup", "Language"), "English");

    ProfileStore none;  // nothing opened: no copy either
    EXPECT_FALSE(none.writable());
    EXPECT_FALSE(none.useUserCopy(dir.filePath("other.ini")));
}

// Found by fuzzing: the header "[]" was dropped on save, so its keys moved into the section
// before it and overrode that section's values.
TEST_F(ProfileStoreTest, AnEmptySectionHeaderSurvivesASave) {
    write("[Setup]\nLanguage=English\n[]\nLanguage=Chinese\nEnableSql=0\n");
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        EXPECT_EQ(store.get("Setup", "Language"), "English");
        store.set("Setup", "EnableSql", "1");
        ASSERT_TRUE(store.save());
    }
    EXPECT_EQ(read(),
              "[Setup]\nLanguage=English\nEnableSql=1\n[]\nLanguage=Chinese\n"
              "EnableSql=0\n");
    ProfileStore again;
    ASSERT_TRUE(again.open(path()));
    EXPECT_EQ(again.get("Setup", "Language"), "English");
    EXPECT_EQ(again.get("Setup", "EnableSql"), "1");
}

TEST_F(ProfileStoreTest, LinesKeepTheirEndsAndNewLinesTakeTheFilesOwn) {
    // A file edited on a Unix system: a language switch must not turn it into CRLF.
    write("[Setup]\nLanguage=English\nAppName=Radio\n[English]\nCompany=Dealer\n");
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        store.set("Setup", "Language", "Chinese");
        store.set("Setup", "EnableSql", "1");
        store.set("New", "Key", "v");
        ASSERT_TRUE(store.save());
    }
    EXPECT_EQ(read(),
              "[Setup]\nLanguage=Chinese\nAppName=Radio\nEnableSql=1\n[English]\nCompany=Dealer\n"
              "[New]\nKey=v\n");

    // Mixed ends stay as they were read; new lines take the ending most lines have, and a
    // last line without one gets it too.
    write("[Setup]\r\nLanguage=English\nA=1\r\nB=2\r\nC=3");
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        store.set("Setup", "Language", "Chinese");
        store.set("Setup", "D", "4");
        ASSERT_TRUE(store.save());
    }
    EXPECT_EQ(read(), "[Setup]\r\nLanguage=Chinese\nA=1\r\nB=2\r\nC=3\r\nD=4\r\n");
}

#ifdef Q_OS_UNIX
// The installed program folder links its Program.ini to the system's settings file: a save
// by an administrator changes that file and leaves the link, which the package owns, as is.
TEST_F(ProfileStoreTest, SavingThroughALinkChangesTheFileLinkedTo) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("etc"));
    const QString target = dir.filePath("etc/Program.ini");
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Setup]\r\nLanguage=English\r\n");
    f.close();
    ASSERT_TRUE(QFile::link("etc/Program.ini", path()));
    {
        ProfileStore store;
        ASSERT_TRUE(store.open(path()));
        EXPECT_TRUE(store.writable());
        store.set("Setup", "Language", "Chinese");
        ASSERT_TRUE(store.save());
    }
    EXPECT_EQ(QFileInfo(path()).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    EXPECT_EQ(read(), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
    EXPECT_EQ(QDir(dir.filePath("etc")).entryList(QDir::Files), QStringList{"Program.ini"});
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System),
              QStringList{"Program.ini"});  // the link alone, no file left beside it
}
#endif
