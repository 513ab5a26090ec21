// Fleet jobs: reading a job file, turning its rows into images, counting a column down.
#include <gtest/gtest.h>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Exchange.h"
#include "Field.h"
#include "FleetJob.h"
#include "SafeFile.h"

using namespace cps;
using namespace cps::exchange;

namespace {

RadioImage newImage() {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    return image;
}

// A new image with channel 3 on 146.52 MHz, as the grid stores it.
RadioImage withChannel3() {
    RadioImage image = newImage();
    ChannelTable table(false);
    table.fill(image);
    table.typeCell(3, 1, QStringLiteral("146.52"));
    table.store(image);
    return image;
}

QString showField(const RadioImage& image, const char* section, const char* key) {
    const field::Table* t = field::findTable(QLatin1String(section));
    field::Env env;
    env.bands = loadBandsInUse(image).bands;
    return field::load(*t, image, env).value(QLatin1String(key)).trimmed();
}

Job read(const QByteArray& csv) {
    Job job;
    QString error;
    EXPECT_TRUE(readJob(csv, &job, &error)) << error.toStdString();
    return job;
}

QString readError(const QByteArray& csv) {
    Job job;
    QString error;
    EXPECT_FALSE(readJob(csv, &job, &error));
    return error;
}

TEST(FleetJob, FillSeriesCountsTheLastDigitsUpInTheirWidth) {
    EXPECT_EQ(fillSeries("0001", 3, false), QStringList({"0001", "0002", "0003"}));
    EXPECT_EQ(fillSeries("0009", 2, false), QStringList({"0009", "0010"}));
    EXPECT_EQ(fillSeries("99", 2, false), QStringList({"99", "100"}));
    EXPECT_EQ(fillSeries("Unit 7 A", 3, false), QStringList({"Unit 7 A", "Unit 8 A", "Unit 9 A"}));
    EXPECT_EQ(fillSeries("00A9", 3, true), QStringList({"00A9", "00AA", "00AB"}));
    EXPECT_EQ(fillSeries("00FF", 2, true), QStringList({"00FF", "0100"}));
    EXPECT_EQ(fillSeries("00af", 2, true), QStringList({"00af", "00b0"}));
    EXPECT_EQ(fillSeries("Car", 2, false), QStringList({"Car", "Car"}));
    EXPECT_TRUE(fillSeries("1", 0, false).isEmpty());
}

TEST(FleetJob, HeaderNamesSectionFieldsAndChannelCells) {
    const Job job = read(
        "\xEF\xBB\xBFLabel,msk:ID Code,DTMF:local id,channel Fr:Chnnel Name,channel 3:Rx "
        "Frequency\r\n\"Car 1, blue\",0001,101,A,146.5\r\nCar 2,0002\r\n");
    ASSERT_EQ(job.columns.size(), 4);
    EXPECT_EQ(job.columns[0].header(), "msk:ID Code");
    EXPECT_EQ(job.columns[1].header(), "dtmf:Local ID");
    EXPECT_EQ(job.columns[2].header(), "channel Fr:Chnnel Name");
    EXPECT_EQ(job.columns[2].channel, kFrChannel);
    EXPECT_TRUE(job.columns[0].hex());
    EXPECT_FALSE(job.columns[1].hex());
    ASSERT_EQ(job.rows.size(), 2);
    EXPECT_EQ(job.rows[0].label, "Car 1, blue");
    EXPECT_EQ(job.rows[0].line, 2);
    // A spreadsheet leaves off trailing empty cells.
    EXPECT_EQ(job.rows[1].values, QStringList({"0002", "", "", ""}));

    // Written and read back, the job is the same.
    const Job again = read(writeJob(job));
    EXPECT_EQ(again.columns, job.columns);
    EXPECT_EQ(again.rows[0].label, job.rows[0].label);
    EXPECT_EQ(again.rows[1].values, job.rows[1].values);
}

TEST(FleetJob, BadHeadersAndRowsNameTheirPlace) {
    EXPECT_TRUE(readError("Label,msk:Nick\r\nA,1\r\n")
                    .startsWith("line 1, column 2: section msk has no field 'Nick'"));
    EXPECT_TRUE(readError("msk:ID Code,nosuch:X\r\n1,2\r\n")
                    .startsWith("line 1, column 2: unknown section"));
    EXPECT_TRUE(readError("channel 130:Power\r\nLow\r\n").contains("no channel '130'"));
    EXPECT_TRUE(
        readError("channel 3:Colour\r\nred\r\n").contains("a channel has no cell 'Colour'"));
    EXPECT_TRUE(readError("channels:ID Code\r\n1\r\n").contains("unknown section"));
    EXPECT_TRUE(readError("msk:ID Code,MSK:id code\r\n1,2\r\n")
                    .contains("column 2 (MSK:id code): the field is named twice"));
    EXPECT_TRUE(readError("Label,msk:ID Code\r\nA,1,extra\r\n")
                    .startsWith("line 2: 3 cells, the header has 2"));
    EXPECT_EQ(readError("Label,msk:ID Code\r\n"), "the job lists no radio");
    EXPECT_EQ(readError(""), "line 1: no header");
    EXPECT_EQ(readError("Label\r\nA\r\n"), "line 1: the header names no field");
    EXPECT_TRUE(readError("msk:ID Code\r\n\"open\r\n").contains("not closed"));
}

TEST(FleetJob, EachRadioIsTheDocumentWithItsRowAndNothingElse) {
    const RadioImage doc = withChannel3();
    const Job job = read(
        "Label,msk:ID Code,dtmf:Local ID,optional:Beep,channel 3:Chnnel Name\r\n"
        "Car 1,00a1,101,关,CAR1\r\n"
        "Car 2,00A2,,,\r\n");
    const JobImages images = jobImages(job, doc, false);
    ASSERT_TRUE(images.ok) << images.error.toStdString();
    ASSERT_EQ(images.radios.size(), 2);
    const RadioImage& one = images.radios[0].image;
    EXPECT_EQ(images.radios[0].label, "Car 1");
    EXPECT_EQ(showField(one, "msk", "ID Code"), "00A1");
    EXPECT_EQ(showField(one, "dtmf", "Local ID"), "101");
    EXPECT_EQ(showField(one, "optional", "Beep"), "Off");
    ChannelTable table(false);
    table.fill(one);
    EXPECT_EQ(table.text(3, 5).trimmed(), "CAR1");
    const Comparison c1 = compare(doc, one, false);
    EXPECT_EQ(c1.fields.size(), 4) << describe(c1, doc, one, false).join('\n').toStdString();

    // Empty cells keep the document's values.
    const RadioImage& two = images.radios[1].image;
    const Comparison c2 = compare(doc, two, false);
    ASSERT_EQ(c2.fields.size(), 1) << describe(c2, doc, two, false).join('\n').toStdString();
    EXPECT_EQ(showField(two, "msk", "ID Code"), "00A2");
    EXPECT_TRUE(c2.bytes.isEmpty());
}

TEST(FleetJob, ARefusedOrAlteredValueRefusesTheWholeJobAtItsCell) {
    const RadioImage doc = withChannel3();
    struct Case {
        QByteArray csv;
        const char* where;
    } cases[] = {
        {"Label,msk:ID Code\r\nA,0001\r\nB,00G1\r\n", "line 3, column 2 (msk:ID Code): "},
        // Cut to four digits would give another radio's identity: refused, not cut.
        {"Label,msk:ID Code\r\nA,00011\r\n", "line 2, column 2 (msk:ID Code): "},
        {"Label,optional:Beep\r\nA,Loud\r\n", "line 2, column 2 (optional:Beep): 'Loud'"},
        // Without a label column the fields start at column 1.
        {"msk:ID Code,dtmf:Local ID\r\n0001,1\r\n0002,1X\r\n",
         "line 3, column 2 (dtmf:Local ID): "},
        {"Label,dtmf:Local ID,channel 3:Rx Frequency\r\nA,1,999\r\n",
         "line 2, column 3 (channel 3:Rx Frequency): '999'"},
    };
    for (const Case& c : cases) {
        const JobImages images = jobImages(read(c.csv), doc, false);
        EXPECT_FALSE(images.ok);
        EXPECT_TRUE(images.radios.isEmpty());
        EXPECT_TRUE(images.error.startsWith(QLatin1String(c.where))) << images.error.toStdString();
    }
}

TEST(FleetJob, ServiceSectionsNeedTheAccessCode) {
    const Job job = read("Label,stun:Stun/Kill Code\r\nA,123\r\n");
    JobImages images = jobImages(job, newImage(), false);
    EXPECT_FALSE(images.ok);
    EXPECT_TRUE(images.needsAccess);
    EXPECT_TRUE(images.error.startsWith("line 1, column 2 (stun:Stun/Kill Code)"));
    images = jobImages(job, newImage(), true);
    EXPECT_TRUE(images.ok) << images.error.toStdString();
    EXPECT_FALSE(jobSectionHeaders(false).contains("stun:Stun/Kill Code"));
    EXPECT_TRUE(jobSectionHeaders(true).contains("stun:Stun/Kill Code"));
}

TEST(FleetJob, RefusalsFollowTheRunsLanguage) {
    auto readZh = [](const QByteArray& csv) {
        Job job;
        QString error;
        EXPECT_FALSE(readJob(csv, &job, &error, true));
        return error;
    };
    EXPECT_EQ(readZh("Label,msk:Nick\r\nA,1\r\n"),
              QString::fromUtf8("第 1 行第 2 列：区 msk 没有字段 'Nick'"));
    EXPECT_EQ(readZh("Label,nosuch:X\r\nA,1\r\n"),
              QString::fromUtf8("第 1 行第 2 列：未知的区 'nosuch'"));
    EXPECT_EQ(readZh("Label,x\r\nA,1\r\n"),
              QString::fromUtf8("第 1 行第 2 列：'x' 不是 SECTION:FIELD 或 channel N:HEADING"));
    EXPECT_EQ(readZh("channel 130:Power\r\nLow\r\n"),
              QString::fromUtf8("第 1 行第 1 列：没有信道 '130'（1 到 128，Fr）"));
    EXPECT_TRUE(
        readZh("channel 3:Colour\r\nred\r\n")
            .startsWith(QString::fromUtf8("第 1 行第 1 列：信道没有单元格 'Colour'（单元格：")));
    EXPECT_EQ(readZh("msk:ID Code,MSK:id code\r\n1,2\r\n"),
              QString::fromUtf8("第 1 行第 2 列（MSK:id code）：该字段出现了两次"));
    EXPECT_EQ(readZh("Label,msk:ID Code\r\nA,1,extra\r\n"),
              QString::fromUtf8("第 2 行：3 个单元格，标题行只有 2 个"));
    EXPECT_EQ(readZh("Label,msk:ID Code\r\n"), QString::fromUtf8("任务中没有对讲机"));
    EXPECT_EQ(readZh(""), QString::fromUtf8("第 1 行：没有标题行"));
    EXPECT_EQ(readZh("Label\r\nA\r\n"), QString::fromUtf8("第 1 行：标题行没有字段"));
    EXPECT_EQ(readZh("msk:ID Code\r\n\"open\r\n"), QString::fromUtf8("第 2 行：引号单元格未闭合"));
    EXPECT_EQ(readZh(QByteArray(static_cast<int>(kMaxInputFile) + 1, 'a')),
              QString::fromUtf8("大于 1 MiB，不是任务文件"));

    // A value the fields refuse: the job's cell, then the import's own reason in Chinese.
    const RadioImage doc = withChannel3();
    JobImages images =
        jobImages(read("Label,optional:Beep\r\nA,On\r\nB,Loud\r\n"), doc, false, true);
    EXPECT_FALSE(images.ok);
    EXPECT_TRUE(
        images.error.startsWith(QString::fromUtf8("第 3 行第 2 列（optional:Beep）：'Loud'：")))
        << images.error.toStdString();
    images = jobImages(read("Label,stun:Stun/Kill Code\r\nA,123\r\n"), newImage(), false, true);
    EXPECT_TRUE(images.needsAccess);
    EXPECT_EQ(images.error,
              QString::fromUtf8(
                  "第 1 行第 2 列（stun:Stun/Kill Code）：区 stun 需要维修密码（--access-code）"));
}

}  // namespace
