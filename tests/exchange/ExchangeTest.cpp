#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Exchange.h"
#include "Field.h"
#include "RowImport.h"
#include "RowText.h"
#include "Tones.h"
#include "TwoToneFields.h"

using namespace cps;
using namespace cps::exchange;

namespace {

// A new document's image: both bands 134-176 MHz.
RadioImage newImage() {
    RadioImage image = RadioImage::factory();
    applyNewImageSettings(image, 0);
    return image;
}

struct Row {
    const char* rx;
    const char* tx;
    const char* dec;
    const char* enc;
    const char* name;
    const char* power;
    const char* wn;
    const char* scan;
    const char* busy;
    const char* ptt;
};

// Channels as the grid stores them: every tone kind, duplex kind, power, bandwidth, scan
// setting, and a transmit frequency in the other band. Band 2 is 400-480 MHz.
RadioImage channelImage() {
    RadioImage image = newImage();
    Bands bands = unpackBands(image);
    bands.band2 = {400 * kPerMHz, 480 * kPerMHz};
    packBands(image, bands);
    const Row rows[] = {
        {"145.50000", "145.50000", "None", "None", "SIMPLEX", "High", "Wide", "Yes", "Off", "Off"},
        {"145.60000", "145.00000", "None", "88.5", "RPT-", "Middle", "Narrow", "No", "Carrier",
         "BOT"},
        {"145.70000", "146.30000", "100.0", "100.0", "TSQL", "Low", "Wide", "Yes", "QT/DQT", "EOT"},
        {"146.00625", "146.00625", "D023N", "D023N", "DCS NN", "High", "Narrow", "Yes", "Off",
         "Both"},
        {"146.01250", "146.01250", "D754I", "D754N", "DCS NR", "High", "Wide", "No", "Off", "Off"},
        {"146.02500", "146.02500", "D023N", "D754I", "DCS X", "High", "Wide", "Yes", "Off", "Off"},
        {"146.03750", "146.03750", "D131I", "D131I", "DCS II", "Low", "Wide", "Yes", "Off", "Off"},
        {"146.05000", "146.05000", "77.0", "88.5", "T->T", "High", "Wide", "Yes", "Off", "Off"},
        {"146.06250", "146.06250", "D445N", "88.5", "T->D", "High", "Wide", "Yes", "Off", "Off"},
        {"146.07500", "146.07500", "67.0", "D023I", "D->T", "High", "Wide", "Yes", "Off", "Off"},
        {"146.08750", "146.08750", "None", "D047N", "D->", "High", "Wide", "Yes", "Off", "Off"},
        {"146.10000", "146.10000", "254.1", "None", "->T", "High", "Wide", "Yes", "Off", "Off"},
        {"146.11250", "146.11250", "D065I", "None", "->D", "High", "Wide", "Yes", "Off", "Off"},
        {"146.12500", "435.00000", "None", "None", "SPLIT", "High", "Wide", "Yes", "Off", "Off"},
        {"146.13750", "", "", "", "", "", "", "", "", ""},
        {"146.15000", "", "D023N", "88.5", "", "", "", "", "", ""},
        {"430.02500", "425.02500", "None", "None", "UHF,\"Q\"", "High", "Wide", "Yes", "Off",
         "Off"},
    };
    ChannelTable table;
    table.fill(image);
    int n = 1;
    for (const Row& r : rows) {
        const char* texts[] = {r.rx,    r.tx, r.dec,  r.enc,  r.name,
                               r.power, r.wn, r.scan, r.busy, r.ptt};
        for (int c = 0; c < kColumnCount; ++c) table.setText(n, c + 1, QString::fromUtf8(texts[c]));
        n += n == 3 ? 41 : 1;  // leave a gap of empty locations
    }
    const char* fr[] = {"150.00000", "150.00000", "None", "None", "FR",
                        "High",      "Wide",      "Yes",  "Off",  "Off"};
    for (int c = 0; c < kColumnCount; ++c)
        table.setText(kFrChannel, c + 1, QString::fromUtf8(fr[c]));
    table.store(image);
    return image;
}

QByteArray channelBytes(const RadioImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), kChannelCount * kRecordSize);
}

QString cell(const RadioImage& image, int n, int col) {
    return decodeChannel(image.data() + recordOffset(n), unpackBands(image), false)[col];
}

// -----------------------------------------------------------------------------------------
// CSV

TEST(ChannelCsv, FullImageRoundTripsThroughExportAndImportInto) {
    const RadioImage image = channelImage();
    const QByteArray csv = exportCsv(image);
    const ImportResult r = importCsv(csv, image);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.notes.isEmpty()) << r.notes.join('\n').toStdString();
    EXPECT_EQ(channelBytes(r.image), channelBytes(image));
    EXPECT_TRUE(r.image == image);

    // The tone mapping is the common format's, column by column.
    const QStringList lines = QString::fromUtf8(csv).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], csvColumns().join(','));
    auto line = [&](int location) {
        for (const QString& l : lines)
            if (l.startsWith(QString::number(location) + ',')) return l;
        return QString();
    };
    EXPECT_EQ(line(1),
              "1,SIMPLEX,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,");
    EXPECT_EQ(line(2),
              "2,RPT-,145.600000,-,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,Mid,");
    EXPECT_TRUE(line(3).contains(",+,0.600000,TSQL,100.0,100.0,"));
    EXPECT_TRUE(line(44).contains(",DTCS,88.5,88.5,023,NN,023,"));
    EXPECT_TRUE(line(45).contains(",Cross,88.5,88.5,754,NR,754,Tone->Tone,") == false);
    EXPECT_TRUE(line(45).contains(",DTCS,88.5,88.5,754,NR,"));
    EXPECT_TRUE(line(46).contains(",Cross,88.5,88.5,754,RN,023,DTCS->DTCS,"));
    EXPECT_TRUE(line(48).contains(",Cross,88.5,77.0,023,NN,023,Tone->Tone,"));
    EXPECT_TRUE(line(49).contains(",Cross,88.5,88.5,445,NN,445,Tone->DTCS,"));
    EXPECT_TRUE(line(50).contains(",Cross,88.5,67.0,023,RN,023,DTCS->Tone,"));
    EXPECT_TRUE(line(51).contains(",Cross,88.5,88.5,047,NN,047,DTCS->,"));
    EXPECT_TRUE(line(52).contains(",Cross,88.5,254.1,023,NN,023,->Tone,"));
    EXPECT_TRUE(line(53).contains(",Cross,88.5,88.5,065,NR,065,->DTCS,"));
    EXPECT_TRUE(line(54).contains(",split,435.000000,"));
    EXPECT_TRUE(line(55).contains(",off,0.000000,"));
    EXPECT_TRUE(line(57).startsWith("57,\"UHF,\"\"Q\"\"\",430.025000,-,5.000000,"));
    EXPECT_TRUE(line(129).startsWith("129,FR,150.000000,"));
}

TEST(ChannelCsv, HandWrittenFileWithBomCrlfReorderedAndUnknownColumnsImports) {
    const QByteArray csv =
        "\xEF\xBB\xBF"
        "Name,Frequency,Location,Notes,Power,Duplex,Offset,Tone,rToneFreq,Mode,Skip\r\n"
        "Home,146.520000,3,my note,Low,,,,,FM,\r\n"
        "\"Rpt, 1\",145.600,1,,H,-,0.6,Tone,100.0,NFM,S\r\n"
        "\r\n"
        "Fr,150.0,129,,Medium,split,151.000,,,FM,\r\n";
    RadioImage into = newImage();
    const ImportResult r = importCsv(csv, into);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(cell(r.image, 3, kColName), "Home");
    EXPECT_EQ(cell(r.image, 3, kColPower), "Low");
    EXPECT_EQ(cell(r.image, 3, kColTx), "146.52000");
    EXPECT_EQ(cell(r.image, 1, kColName), "Rpt, 1");
    EXPECT_EQ(cell(r.image, 1, kColTx), "145.00000");
    EXPECT_EQ(cell(r.image, 1, kColEncTone), "100.0");
    EXPECT_EQ(cell(r.image, 1, kColDecTone), "None");
    EXPECT_EQ(cell(r.image, 1, kColBandwidth), "Narrow");
    EXPECT_EQ(cell(r.image, 1, kColScan), "No");
    EXPECT_EQ(cell(r.image, 1, kColPower), "High");
    EXPECT_EQ(cell(r.image, 129, kColPower), "Middle");
    EXPECT_EQ(cell(r.image, 129, kColTx), "151.00000");
    EXPECT_EQ(cell(r.image, 2, kColRx), "");
    // No Busy Lock or PTT ID column, no channel there before: Off.
    EXPECT_EQ(cell(r.image, 3, kColBusyLock), "Off");
    EXPECT_EQ(cell(r.image, 3, kColPttId), "Off");
    // Powers the radio does not name are reported.
    EXPECT_EQ(r.notes.size(), 2);
}

TEST(ChannelCsv, BusyLockAndPttIdComeFromTheChannelThereAndUnlistedLocationsEmpty) {
    const RadioImage into = channelImage();
    const QByteArray csv = "Location,Frequency\n2,145.9\n";
    const ImportResult r = importCsv(csv, into);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(cell(r.image, 2, kColRx), "145.90000");
    EXPECT_EQ(cell(r.image, 2, kColBusyLock), "Carrier");
    EXPECT_EQ(cell(r.image, 2, kColPttId), "BOT");
    EXPECT_EQ(cell(r.image, 1, kColRx), "");
    EXPECT_EQ(cell(r.image, 129, kColRx), "");
}

struct Refusal {
    const char* row;  // after the header below
    const char* says;
    bool fittable;
    const char* lenientNote;  // empty: lenient skips the row
};

TEST(ChannelCsv, EachRefusalNamesTheLineAndReasonAndWritesNothing) {
    const QByteArray header =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
        "DtcsCode,DtcsPolarity,CrossMode,Mode,TStep\n5,OK,145.0,,,,,,,,,FM,\n";
    const Refusal cases[] = {
        {"0,A,145.0,,,,,,,,,FM,", "line 3, Location '0': not a location", false, nullptr},
        {"5,A,145.0,,,,,,,,,FM,", "that location appears twice", false, nullptr},
        {"x,A,145.0,,,,,,,,,FM,", "Location 'x'", false, nullptr},
        {"6,A,600.5,,,,,,,,,FM,", "Error Data Format", false, nullptr},
        {"6,A,145.5025,,,,,,,,,FM,", "according the step value", false, nullptr},
        {"6,A,200.0,,,,,,,,,FM,", "Out of range", false, nullptr},
        {"6,A,14x.0,,,,,,,,,FM,", "Error Data Format", false, nullptr},
        {"6,A,145.0,sideways,,,,,,,,FM,", "Duplex 'sideways'", false, nullptr},
        {"6,A,145.0,+,abc,,,,,,,FM,", "Offset 'abc': not a number", false, nullptr},
        {"6,A,145.0,,,Bogus,,,,,,FM,", "Tone 'Bogus'", false, nullptr},
        {"6,A,145.0,,,DTCS,,,023,NX,,FM,", "DtcsPolarity 'NX'", false, nullptr},
        {"6,A,145.0,,,Cross,,,,,Tone->Nothing,FM,", "CrossMode 'Tone->Nothing'", false, nullptr},
        {"6,A,145.0,,,Tone,abc,,,,,FM,", "rToneFreq 'abc': not a tone frequency", false, nullptr},
        {"6,A,145.0,,,Tone,inf,,,,,FM,", "rToneFreq 'inf': not a tone frequency", false, nullptr},
        {"6,A,145.0,+,-0.6,,,,,,,FM,", "Offset '-0.6': negative", false, nullptr},
        {"6,LONGNAMES,145.0,,,,,,,,,FM,", "longer than the 8 characters", true,
         "cut to 'LONGNAME'"},
        {"6,A,145.0,,,Tone,100.5,,,,,FM,", "rToneFreq '100.5': not a tone", true,
         "nearest tone, 100.0"},
        {"6,A,145.0,,,DTCS,,,024,NN,,FM,", "DtcsCode '024': not a DCS code", true, ""},
        {"6,A,145.0,,,,,,,,,AM,", "Mode 'AM'", true, ""},
        {"6,A,145.0,,,,,,,,,FM,12.5", "TStep '12.5'", true, ""},
        {"6,A,145.0,split,300.0,,,,,,,FM,", "Tx Frequency '300.0': stored as '134.00000'", true,
         "stored as '134.00000'"},
        {"6,\"A\x1B[2J\",145.0,,,,,,,,,FM,", "Name 'A\x1B[2J': control character \\x1B", false,
         nullptr},
    };
    const RadioImage into = newImage();
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.row);
        const QByteArray csv = header + c.row + "\n";
        const ImportResult strict = importCsv(csv, into);
        EXPECT_FALSE(strict.ok);
        EXPECT_TRUE(strict.error.contains(QString::fromUtf8(c.says))) << strict.error.toStdString();
        EXPECT_EQ(strict.fittable, c.fittable);
        if (c.row[0] != '6') continue;
        EXPECT_TRUE(strict.error.startsWith("line 3,")) << strict.error.toStdString();

        CsvOptions lenient;
        lenient.lenient = true;
        const ImportResult fitted = importCsv(csv, into, lenient);
        EXPECT_EQ(fitted.ok, c.fittable);
        if (!c.fittable) continue;
        ASSERT_EQ(fitted.notes.size(), 1);
        EXPECT_TRUE(fitted.notes[0].startsWith("line 3,"));
        EXPECT_EQ(cell(fitted.image, 5, kColName), "OK");
        if (*c.lenientNote) {
            EXPECT_TRUE(fitted.notes[0].contains(QString::fromUtf8(c.lenientNote)))
                << fitted.notes[0].toStdString();
            EXPECT_FALSE(cell(fitted.image, 6, kColRx).isEmpty());
        } else {
            EXPECT_TRUE(fitted.notes[0].endsWith("row skipped"));
            EXPECT_TRUE(cell(fitted.image, 6, kColRx).isEmpty());
        }
    }
    EXPECT_FALSE(importCsv("Name,Frequency\nA,145\n", into).ok);
    EXPECT_FALSE(importCsv("Location,Frequency\n1,\"145\n", into).ok);
    EXPECT_FALSE(importCsv("", into).ok);
}

// -----------------------------------------------------------------------------------------
// JSON

// An image whose every field holds a value its editor accepts, picked at random, stored the
// way the editors store them.
RadioImage randomImage(QRandomGenerator& rng) {
    RadioImage image;
    for (int i = 0; i < kImageSize; ++i) image.set(i, static_cast<uint8_t>(rng.bounded(256)));
    const RadioImage fallback = newImage();
    field::Env env;
    env.strict = true;
    // Random bytes where they make a value the field takes back as it shows it; a new
    // image's bytes elsewhere (a value shown as nothing would not come back).
    for (const field::Table* t : field::registry()) {
        if (t->count != 1) continue;
        env.bands = unpackBands(image);
        const field::Form form = field::load(*t, image, env);
        for (size_t i = 0; i < t->fields.size(); ++i) {
            const field::Field& f = t->fields[i];
            const QString v = form.values[static_cast<int>(i)].trimmed();
            const field::Parsed p = field::parse(f, v, env);
            if (!(f.flags & field::kHidden) && p.ok && !p.changed && !v.isEmpty()) continue;
            for (const field::Extra& bit : field::ownedBits(f)) {
                const int at = t->base + bit.offset;
                image.set(at, (image.at(at) & ~bit.mask) | (fallback.at(at) & bit.mask));
            }
        }
    }
    // Then a random item in every list, stored as its editor stores it.
    for (const field::Table* t : field::registry()) {
        if (t->count != 1) continue;
        env.bands = unpackBands(image);
        field::Form form = field::load(*t, image, env);
        for (size_t i = 0; i < t->fields.size(); ++i) {
            const field::Field& f = t->fields[i];
            const QStringList items = field::items(f, false);
            if (f.flags & field::kHidden) continue;
            // Other fields are typed again as they show, so rules between fields hold.
            const int index = static_cast<int>(i);
            field::set(form, index,
                       items.isEmpty() ? form.values[index]
                                       : items[static_cast<int>(rng.bounded(items.size()))]);
        }
        field::store(form, image);
    }
    // Every decode page visited once, so each entry's timer form follows its tones.
    for (int k = 0; k < twotone::kDecodeEntries; ++k)
        field::store(field::load(twotone::entryFields(), image, env, k), image);
    // Channels: random rows inside the bands.
    const Bands bands = unpackBands(image);
    ChannelTable table;
    table.fill(image);
    const QStringList& toneList = tones::list(false);
    for (int n = 1; n <= kChannelCount; ++n) {
        if (rng.bounded(3) == 0 || bands.band1.high < bands.band1.low) {
            table.typeCell(n, 1, QString());
            continue;
        }
        const Freq span = (bands.band1.high - bands.band1.low) / 625;
        const Freq rx = bands.band1.low + 625 * static_cast<Freq>(rng.bounded(int(span) + 1));
        table.typeCell(n, 1, freqValueToText(rx));
        table.typeCell(n, 2, rng.bounded(5) == 0 ? QString() : freqValueToText(rx));
        for (int col : {3, 4}) table.typeCell(n, col, toneList[int(rng.bounded(toneList.size()))]);
        table.typeCell(n, 5, QStringLiteral("C%1").arg(rng.bounded(100000)));
        for (int col = 6; col <= 10; ++col) {
            const QStringList items = table.items(ChannelTable::editorFor(col));
            table.typeCell(n, col, items[int(rng.bounded(items.size()))]);
        }
    }
    table.store(image);
    // A channel typed without transmit frequency shows no name and so on once read back;
    // the next store keeps what it shows.
    table.fill(image);
    table.store(image);
    return image;
}

TEST(ConfigJson, RandomImagesComeBackThroughExportAndImport) {
    QRandomGenerator rng(20261208);
    const auto& owned = ownedBits();
    JsonOptions service;
    service.serviceAccess = true;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const RadioImage image = randomImage(rng);
        const QByteArray json = exportJson(image);

        // Into itself: byte for byte.
        const ImportResult same = importJson(json, image, service);
        ASSERT_TRUE(same.ok) << same.error.toStdString();
        EXPECT_TRUE(same.image == image);

        // Into a new image: every byte a field owns; the rest stays the new image's.
        const RadioImage fresh = newImage();
        const ImportResult r = importJson(json, fresh, service);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        for (int at = 0; at < kImageSize; ++at) {
            const uint8_t m = owned[static_cast<size_t>(at)];
            EXPECT_EQ(r.image.at(at) & m, image.at(at) & m) << "byte " << std::hex << at;
            EXPECT_EQ(r.image.at(at) & ~m & 0xFF, fresh.at(at) & ~m & 0xFF)
                << "byte " << std::hex << at;
        }
        const QStringList again = QString::fromUtf8(exportJson(r.image)).split('\n');
        const QStringList first = QString::fromUtf8(json).split('\n');
        for (int i = 0; i < first.size(); ++i)
            if (again.value(i) != first[i]) {
                ADD_FAILURE() << first[i].toStdString() << " became "
                              << again.value(i).toStdString();
                break;
            }
    }
}

TEST(ConfigJson, ExportOfAnyBytesEitherComesBackOrIsRefusedWithAPath) {
    QRandomGenerator rng(7);
    JsonOptions service;
    service.serviceAccess = true;
    int back = 0;
    for (int round = 0; round < 16; ++round) {
        RadioImage image;
        for (int i = 0; i < kImageSize; ++i) image.set(i, static_cast<uint8_t>(rng.bounded(256)));
        // Into the image itself, texts with control characters are what it already holds
        // and stay; typed into a new image they are refused by their path. Past that, the
        // bytes are taken out of the control ranges.
        const ImportResult raw = importJson(exportJson(image), image, service);
        EXPECT_TRUE(raw.ok) << raw.error.toStdString();
        const ImportResult typed = importJson(exportJson(image), newImage(), service);
        EXPECT_FALSE(typed.ok);
        EXPECT_TRUE(typed.error.startsWith("$.")) << typed.error.toStdString();
        for (int i = 0; i < kImageSize; ++i) {
            const uint8_t b = image.at(i);
            if (b < 0x20 || (b >= 0x7F && b <= 0x9F)) image.set(i, b ^ 0x40);
        }
        const QByteArray json = exportJson(image);
        // Into a new image, texts no editor takes (a DTMF code of letters) are refused; into
        // the image itself they stand as loaded, and only channels no editor could have
        // written (above 600 MHz in bands that reach it) are refused.
        EXPECT_TRUE(importJson(json, newImage(), service).error.startsWith("$."));
        const ImportResult r = importJson(json, image, service);
        if (!r.ok) {
            EXPECT_TRUE(r.error.startsWith("$.")) << r.error.toStdString();
            continue;
        }
        ++back;
        // Its own export is taken back as well.
        const ImportResult again = importJson(exportJson(r.image), r.image, service);
        EXPECT_TRUE(again.ok) << again.error.toStdString();
    }
    EXPECT_GT(back, 0);
}

// -----------------------------------------------------------------------------------------
// Round trips: every format's export taken back into the same image

namespace {

// Records as radios hold them and no typing gives: off-step receive frequencies, names of 8
// characters (some with bytes past ASCII), transmit frequencies outside both bands, and
// random tone and flag bytes.
RadioImage radioLikeImage(QRandomGenerator& rng) {
    RadioImage image = newImage();
    const Bands bands{{136 * kPerMHz, 174 * kPerMHz}, {400 * kPerMHz, 480 * kPerMHz}};
    packBands(image, bands);
    const field::Table& t = channelFields();
    const field::Env env{false, bands, false};
    for (int n = 1; n <= kChannelCount; ++n) {
        if (rng.bounded(4) == 0) continue;
        uint8_t* r = image.data() + recordOffset(n);
        for (int i = 8; i < 16; ++i) r[i] = static_cast<uint8_t>(rng.bounded(256));
        const Band& b = rng.bounded(2) ? bands.band1 : bands.band2;
        Freq rx = b.low + static_cast<Freq>(rng.bounded(int(b.high - b.low)));
        if (rng.bounded(2)) rx -= rx % 625;
        field::store(t.fields[kColRx], r, freqValueToText(rx), env);
        const Freq txChoices[] = {rx, rx + 60000, 175 * kPerMHz + 99500, 100 * kPerMHz,
                                  490 * kPerMHz + 12345};
        if (rng.bounded(6) == 0) {
            for (int i = 4; i < 8; ++i) r[i] = 0xFF;
        } else {
            field::store(t.fields[kColTx], r, freqValueToText(txChoices[rng.bounded(5)]), env);
        }
        QString name;
        const int length = rng.bounded(3) ? 8 : int(rng.bounded(8));
        for (int i = 0; i < length; ++i)
            name += QChar(rng.bounded(8) ? 0x21 + int(rng.bounded(0x5E))
                                         : 0x80 + int(rng.bounded(0x7F)));
        for (int i = 0; i < 8; ++i)
            r[16 + i] = i < name.size() ? static_cast<uint8_t>(name[i].unicode()) : 0xFF;
    }
    return image;
}

// What opening the image in the program and saving it stores.
RadioImage openedAndSaved(const RadioImage& image) {
    ChannelTable table(false);
    table.fill(image);
    RadioImage out = image;
    table.store(out);
    return out;
}

void expectSameBytes(const RadioImage& got, const RadioImage& want, const char* how) {
    for (int at = 0; at < kImageSize; ++at)
        if (got.at(at) != want.at(at)) {
            ADD_FAILURE() << how << ": byte 0x" << std::hex << at << " is 0x" << int(got.at(at))
                          << ", open and save give 0x" << int(want.at(at)) << std::dec
                          << " (channel " << at / kRecordSize + 1 << ")";
            return;
        }
}

}  // namespace

TEST(RoundTrip, EveryFormatGivesBackWhatOpenAndSaveGive) {
    QRandomGenerator rng(20261209);
    JsonOptions service;
    service.serviceAccess = true;
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        RadioImage image;
        if (round % 2) {
            image = radioLikeImage(rng);
        } else {
            for (int i = 0; i < kImageSize; ++i)
                image.set(i, static_cast<uint8_t>(rng.bounded(256)));
        }
        const RadioImage want = openedAndSaved(image);

        RadioImage tsv = image;
        const cli::RowImportResult rows = cli::importChannelRows(
            cli::exportChannelRows(image, false).toUtf8(), QStringLiteral("t.tsv"), tsv, false);
        ASSERT_TRUE(rows.ok) << rows.messages.join('\n').toStdString();
        expectSameBytes(tsv, want, "TSV");

        // Names and texts with control characters are refused, with the reason; anything
        // else comes back.
        auto refusedText = [](const ImportResult& r) {
            return !r.ok && r.error.contains(QStringLiteral("control character"));
        };
        const ImportResult csv = importCsv(exportCsv(image), image);
        if (!refusedText(csv)) {
            ASSERT_TRUE(csv.ok) << csv.error.toStdString();
            expectSameBytes(csv.image, want, "CSV");
        }

        const ImportResult json = importJson(exportJson(image), image, service);
        if (!refusedText(json)) {
            ASSERT_TRUE(json.ok) << json.error.toStdString();
            expectSameBytes(json.image, want, "JSON");
        }

        // Every row copied, then pasted over the first row.
        for (bool chinese : {false, true}) {
            ChannelTable table(chinese);
            table.fill(image);
            QString copied;
            for (int n = 1; n <= kChannelCount; ++n)
                copied += rowLine(channelLabel(n), table.row(n)) + QLatin1Char('\n');
            const ParsedRows parsed = parseRowLines(copied);
            ASSERT_EQ(parsed.rows.size(), kChannelCount);
            const RowsEntry pasted = table.typeRows(1, parsed.rows);
            ASSERT_FALSE(pasted.refused) << pasted.row << "," << pasted.col;
            RadioImage out = image;
            table.store(out);
            expectSameBytes(out, want, chinese ? "paste (Chinese)" : "paste");
        }
    }
}

// Only a changed cell meets the typing rules; an unchanged one is kept even where typing it
// would be refused or altered.
TEST(RoundTrip, OnlyChangedCellsAreTyped) {
    RadioImage image = newImage();
    const Bands bands{{136 * kPerMHz, 174 * kPerMHz}, {400 * kPerMHz, 480 * kPerMHz}};
    packBands(image, bands);
    const field::Table& t = channelFields();
    const field::Env env{false, bands, false};
    uint8_t* r = image.data() + recordOffset(2);
    field::store(t.fields[kColRx], r, QStringLiteral("406.11281"), env);
    field::store(t.fields[kColTx], r, QStringLiteral("175.99500"), env);
    field::store(t.fields[kColName], r, QStringLiteral("ABCDEFGH"), env);
    image = openedAndSaved(image);

    ChannelTable table(false);
    table.fill(image);
    for (int col = 1; col < ChannelTable::kCols; ++col) {
        const QString shown = table.text(2, col);
        const CellEntry e = table.typeCell(2, col, shown);
        EXPECT_FALSE(e.refused) << col;
        EXPECT_EQ(table.text(2, col), shown) << col;
    }
    // The same texts in another form are the same values.
    EXPECT_EQ(table.asShown(2, 1, QStringLiteral("406.112810")), QStringLiteral("406.11281"));
    EXPECT_EQ(table.asShown(2, 6, table.text(2, 6).toLower()), table.text(2, 6));
    EXPECT_EQ(table.asShown(2, 1, QStringLiteral("406.1125")), QStringLiteral("406.1125"));
    // A changed cell is typed: the 8-byte name limit, the band rule, the step rule.
    EXPECT_TRUE(table.typeCell(2, 5, QStringLiteral("ABCDEFGHI")).refused);
    EXPECT_EQ(table.text(2, 5), QStringLiteral("ABCDEFGH"));
    table.typeCell(2, 2, QStringLiteral("490.12346"));
    EXPECT_EQ(table.text(2, 2), QStringLiteral("136.00000"));
    EXPECT_TRUE(table.typeCell(2, 1, QStringLiteral("406.11282")).refused);

    // The command-line table and CSV take the radio's channel back as it is.
    RadioImage viaTsv = image;
    const cli::RowImportResult rows = cli::importChannelRows(
        cli::exportChannelRows(image, false).toUtf8(), QStringLiteral("t.tsv"), viaTsv, false);
    ASSERT_TRUE(rows.ok) << rows.messages.join('\n').toStdString();
    EXPECT_TRUE(rows.messages.isEmpty()) << rows.messages.join('\n').toStdString();
    EXPECT_TRUE(viaTsv == image);
    const ImportResult csv = importCsv(exportCsv(image), image);
    ASSERT_TRUE(csv.ok) << csv.error.toStdString();
    EXPECT_TRUE(csv.notes.isEmpty()) << csv.notes.join('\n').toStdString();
    EXPECT_TRUE(csv.image == image);
}

TEST(ConfigJson, AbsentMembersKeepTheImageAndPartsApply) {
    const RadioImage into = channelImage();
    const ImportResult r = importJson(
        R"({"channels": {"fr": {"Chnnel Name": "HOME"}}, "OPTIONAL": {"beep": "Off"}})", into);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(cell(r.image, kFrChannel, kColName), "HOME");
    EXPECT_EQ(cell(r.image, 1, kColName), "SIMPLEX");
    field::Env env;
    EXPECT_EQ(field::load(*field::findTable("optional"), r.image, env).value("Beep"), "Off");
    const ImportResult none = importJson("{}", into);
    ASSERT_TRUE(none.ok);
    EXPECT_TRUE(none.image == into);
}

TEST(ConfigJson, EachRefusalNamesItsPath) {
    const RadioImage into = newImage();
    const struct {
        const char* json;
        const char* says;
    } cases[] = {
        {"[1]", "$: not an object"},
        {"{\"optional\": ", "$: "},
        {R"({"nosuch": {}})", "$.nosuch: unknown section"},
        {R"({"optional": 3})", "$.optional: not an object"},
        {R"({"optional": {"Loudness": "On"}})",
         "$.optional[\"Loudness\"]: section optional has no such field"},
        {R"({"optional": {"Beep": true}})", "$.optional[\"Beep\"]: not a string"},
        {R"({"optional": {"Beep": "Loud"}})",
         "$.optional[\"Beep\"]: 'Loud': \"Loud\" is not one of"},
        {R"j({"2tone-encode": {"The first delay time(s)": "99"}})j",
         "$.2tone-encode[\"The first delay time(s)\"]: '99' would be stored as"},
        {R"({"channels": {"130": {}}})", "$.channels[\"130\"]: no channel"},
        {R"({"channels": {"1": {"Colour": "red"}}})",
         "$.channels[\"1\"][\"Colour\"]: unknown field"},
        {R"({"channels": {"1": {"Rx Frequency": "145.5025"}}})",
         "$.channels[\"1\"][\"Rx Frequency\"]: '145.5025': Error data Value"},
        {R"({"channels": {"1": {"Rx Frequency": "145.5", "Chnnel Name": "TOOLONGNAME"}}})",
         "$.channels[\"1\"][\"Chnnel Name\"]: 'TOOLONGNAME'"},
        {R"({"stun": {"Stun/Kill Code": "123"}})",
         "$.stun[\"Stun/Kill Code\"]: section stun changes only with the service access code"},
        // Control characters would act on the screens and terminals that show the text.
        {R"({"channels": {"1": {"Rx Frequency": "145.5", "Chnnel Name": "A\u001b[2J"}}})",
         "$.channels[\"1\"][\"Chnnel Name\"]: control character \\x1B is not allowed"},
        {"{\"msk\": {\"ID Code\": \"1\xC2\x9B\"}}",
         "$.msk[\"ID Code\"]: control character \\x9B is not allowed"},
        {R"({"dtmf": {"BOT": "12\u007f"}})", "$.dtmf[\"BOT\"]: control character \\x7F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        const ImportResult r = importJson(c.json, into);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(c.says))) << r.error.toStdString();
    }
}

// -----------------------------------------------------------------------------------------
// diff

TEST(ImageDiff, ListsFieldsThenBytesNoFieldOwns) {
    const RadioImage a = channelImage();
    EXPECT_TRUE(compare(a, a, false).equal);
    EXPECT_TRUE(describe(compare(a, a, false), a, a, false).isEmpty());

    RadioImage b = a;
    ChannelTable table;
    table.fill(b);
    table.typeCell(2, 5, QStringLiteral("NEW"));
    table.store(b);
    field::Env env;
    const field::Table& optional = *field::findTable("optional");
    field::Form form = field::load(optional, b, env);
    field::set(form, form.index("Beep"), form.value("Beep") == "On" ? "Off" : "On");
    field::store(form, b);
    b.set(0xC48, 0x12);
    b.set(0xC49, 0x34);
    b.set(0xFFA, 0x00);

    const Comparison c = compare(a, b, false);
    EXPECT_FALSE(c.equal);
    const QStringList lines = describe(c, a, b, false);
    ASSERT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "Channel 2, Chnnel Name: \"RPT-\" -> \"NEW\"");
    EXPECT_TRUE(lines[1].startsWith("Optional Features, Beep: ")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "Bytes 0xC48-0xC49 (no field): 00 00 -> 12 34");
    EXPECT_EQ(lines[3], "Bytes 0xFFA (no field): FF -> 00");

    const QStringList zh = describe(compare(a, b, true), a, b, true);
    EXPECT_EQ(zh[0], QString::fromUtf8("信道 2, 信道名字: \"RPT-\" -> \"NEW\""));
    EXPECT_TRUE(zh[2].startsWith(QString::fromUtf8("字节 0xC48-0xC49 (无字段)")));
}

TEST(ImageDiff, OwnedBytesThatShowTheSameAreStillListed) {
    RadioImage a = newImage();
    RadioImage b = a;
    // No tone is 0xFF 0xFF or 0x00 in the high byte: both show "None".
    b.set(recordOffset(1) + 9, 0x00);
    a.set(recordOffset(1) + 3, 0xFF);
    b.set(recordOffset(1) + 3, 0xFF);
    const Comparison c = compare(a, b, false);
    EXPECT_FALSE(c.equal);
    EXPECT_TRUE(c.fields.isEmpty());
    ASSERT_EQ(c.bytes.size(), 1);
    EXPECT_TRUE(c.bytes[0].owned);
    EXPECT_EQ(c.bytes[0].first, 9);
}

}  // namespace

namespace {

// Files damaged at random bytes: every import ends in a result or a refusal that says why.
TEST(Imports, DamagedFilesEndInAResultOrAReason) {
    QRandomGenerator rng(99);
    const RadioImage image = channelImage();
    const QByteArray sources[] = {exportCsv(image), exportJson(image)};
    for (int round = 0; round < 300; ++round) {
        for (int kind = 0; kind < 2; ++kind) {
            QByteArray bytes = sources[kind];
            for (int k = 0; k < 1 + int(rng.bounded(8)); ++k) {
                const int at = int(rng.bounded(bytes.size()));
                const char c = "\",\r\n:{}[]0123456789.-+eSDTN\xC3\xFF\x00"[rng.bounded(31)];
                if (rng.bounded(3) == 0)
                    bytes.remove(at, 1 + int(rng.bounded(4)));
                else
                    bytes[at] = c;
            }
            CsvOptions lenient;
            lenient.lenient = rng.bounded(2) == 0;
            const ImportResult r =
                kind == 0 ? importCsv(bytes, image, lenient) : importJson(bytes, image);
            EXPECT_TRUE(r.ok || !r.error.isEmpty());
        }
    }
}

}  // namespace
