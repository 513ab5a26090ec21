#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "DataFile.h"
#include "FileFaults.h"

using namespace cps;

namespace {

QByteArray bytesOf(const RadioImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize);
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

RadioImage edited() {
    RadioImage image = RadioImage::factory();
    for (int i = 0; i < 64; ++i) image.set(i, static_cast<uint8_t>(i));
    return image;
}

}  // namespace

TEST(DataFileSave, AWriteThatFailsPartWayLeavesThePreviousFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.dat");
    const QByteArray old(kImageSize, 'o');
    writeFile(path, old);
    QString error;
    {
        const test::FileSizeLimit limit(1000);  // the new file stops growing at 1000 bytes
        EXPECT_FALSE(saveDataFile(path, edited(), &error));
    }
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_EQ(readAll(path), old);
    // No half-written temporary file is left behind either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.dat"});
}

TEST(DataFileSave, AFullDiskLeavesThePreviousFile) {
    QTemporaryDir dir;
    const test::TinyDisk disk(dir.path());
    if (!disk.mounted()) GTEST_SKIP() << "may not mount a tmpfs here";
    const QString path = dir.filePath("a.dat");
    writeFile(path, QByteArray(kImageSize, 'o'));
    disk.fill(dir.filePath("filler"));
    QString error;
    EXPECT_FALSE(saveDataFile(path, edited(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path), QByteArray(kImageSize, 'o'));

    QFile::remove(dir.filePath("filler"));  // room again: the same save succeeds
    ASSERT_TRUE(saveDataFile(path, edited(), &error)) << error.toStdString();
    EXPECT_EQ(readAll(path), bytesOf(edited()));
}

TEST(DataFilePaths, OnlyRegularFilesAreReadOrReplaced) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.dat");
    ASSERT_TRUE(test::makeFifo(fifo));
    const QString fifoLink = dir.filePath("fifo-link.dat");
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    QStringList odd{fifo, fifoLink};
    const QString device = dir.filePath("null.dat");
    if (test::makeNullDevice(device)) odd << device;

    for (const QString& path : odd) {
        RadioImage image = edited();
        QString error;
        // Would block on the FIFO and read nothing from the device.
        EXPECT_FALSE(loadDataFile(path, image, &error)) << path.toStdString();
        EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
        EXPECT_TRUE(image == edited());
        error.clear();
        EXPECT_FALSE(saveDataFile(path, image, &error)) << path.toStdString();
        EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    }
    EXPECT_TRUE(test::isFifo(fifo));
    EXPECT_TRUE(QFileInfo(fifoLink).isSymLink());
    if (odd.contains(device)) {
        EXPECT_TRUE(test::isCharDevice(device));
    }

    // A link to a regular file is saved through: the file changes, the link stays.
    const QString target = dir.filePath("target.dat");
    writeFile(target, QByteArray(kImageSize, 'o'));
    const QString link = dir.filePath("link.dat");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_TRUE(saveDataFile(link, edited()));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), bytesOf(edited()));
    RadioImage loaded;
    ASSERT_TRUE(loadDataFile(link, loaded));
    EXPECT_TRUE(loaded == edited());
}
