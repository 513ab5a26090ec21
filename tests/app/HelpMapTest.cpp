#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QResource>
#include <map>
#include <vector>

#include "HelpMap.h"
#include "LanguageSwitch.h"

using cps::HelpMap;

namespace {

HelpMap mapOf(const char* text) {
    HelpMap map;
    QString error;
    EXPECT_TRUE(map.parse(QString::fromUtf8(text), &error)) << error.toStdString();
    return map;
}

}  // namespace

TEST(HelpMap, ControlIdsRepeatedAcrossDialogsResolveByTheirDialog) {
    const HelpMap map = mapOf(
        "# comment\n"
        "1126 channels.html#name      # the channel view's name editor\n"
        "dialog 133 optional.html\n"
        "133:1126 optional.html#prealert\n"
        "dialog 147-149 twotone.html#decode\n"
        "147-149:0x40D twotone.html#tones\n"
        "0x8014 optional.html\n");
    EXPECT_EQ(map.resolve(1126), "channels.html#name");
    EXPECT_EQ(map.resolve(1126, {133}), "optional.html#prealert");
    // A control of the dialog without a line of its own: the dialog's page, never the
    // same number's page from another window.
    EXPECT_EQ(map.resolve(1125, {133}), "optional.html");
    EXPECT_EQ(map.resolve(133), "optional.html");
    EXPECT_EQ(map.resolve(0x10000 + 133), "optional.html");
    EXPECT_EQ(map.resolve(0x8014), "optional.html");
    // Ranges and hexadecimal numbers; the nearest window that is a dialog decides.
    EXPECT_EQ(map.resolve(1037, {148, 157, 155}), "twotone.html#tones");
    EXPECT_EQ(map.resolve(1038, {1038, 149}), "twotone.html#decode");
    // Unknown numbers and windows: the contents.
    EXPECT_EQ(map.resolve(4711), HelpMap::contentsPage());
    EXPECT_EQ(map.resolve(4711, {999}), HelpMap::contentsPage());
}

TEST(HelpMap, RefusesLinesItCannotRead) {
    for (const char* bad : {"dialog 133\n", "12x page.html\n", "133: page.html\n",
                            "5-3:1 page.html\n", "1 a.html b.html\n"}) {
        HelpMap map;
        QString error;
        EXPECT_FALSE(map.parse(QString::fromUtf8(bad), &error)) << bad;
        EXPECT_TRUE(error.startsWith(QStringLiteral("line 1"))) << error.toStdString();
    }
}

TEST(LanguageSwitch, SameLanguageWritesNothingAndTheOtherNamesIt) {
    EXPECT_TRUE(cps::languageToWrite(false, false).isEmpty());
    EXPECT_TRUE(cps::languageToWrite(true, true).isEmpty());
    EXPECT_EQ(cps::languageToWrite(false, true), "Chinese");
    EXPECT_EQ(cps::languageToWrite(true, false), "English");
}

TEST(LanguageSwitch, RestartKeepsOptionsButNotTheDataFile) {
    EXPECT_EQ(cps::restartArguments({"radio.dat", "-nosplash"}), QStringList{"-nosplash"});
    EXPECT_EQ(cps::restartArguments({"/nosplash"}), QStringList{"/nosplash"});
    EXPECT_TRUE(cps::restartArguments({"C:/data/radio.dat"}).isEmpty());
    EXPECT_TRUE(cps::restartArguments({}).isEmpty());
}

#ifdef CPS_BIN_DIR

namespace {

// One help file, mapped into the resource tree for the test's life.
class HelpFile {
  public:
    HelpFile(const char* name, const QString& root)
        : path_(QStringLiteral(CPS_BIN_DIR "/") + QLatin1String(name)), root_(root) {
        loaded_ = QResource::registerResource(path_, root_);
    }
    ~HelpFile() {
        if (loaded_) QResource::unregisterResource(path_, root_);
    }
    bool loaded() const { return loaded_; }
    QString read(const QString& file) const {
        QFile f(QLatin1Char(':') + root_ + QLatin1Char('/') + file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

  private:
    QString path_, root_;
    bool loaded_ = false;
};

// What the windows can send: (window ids around the focus, nearest first) -> contexts.
struct Sent {
    std::vector<int> hosts;
    std::vector<int> contexts;
};

std::vector<int> span(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
}

std::vector<Sent> everythingSent() {
    std::vector<Sent> all = {
        // Menu and toolbar commands, framework F1 in the main window, the navigation tree.
        {{}, {0x8004, 0x8005, 0x8006, 0x8009, 0x8013, 0x8014, 0x8015,        0x8016,
              0x8017, 0x8019, 0x801F, 0x8020, 0x8021, 0x8022, 0x8023,        0x8024,
              0xE100, 0xE101, 0xE102, 0xE103, 0xE104, 0xE106, 0xE107,        0xE108,
              0xE109, 0xE140, 0xE141, 0xE146, 0xE800, 0xE801, 0x10000 + 128, 1030}},
        // Import Channels, Export Channels, Compare with Radio.
        {{}, {0x8040, 0x8041, 0x8042}},
        // The channel view: its controls and the remapped grid editors.
        {{},
         {101, 1022, 1126, 1127, 1128, 1129, 1130, 1131, 1132, 1134, 1149, 1150, 2127, 2128, 2132,
          2133}},
        {{100}, {100, 1096, 1098, 1099, 1100}},
        {{133}, {133,  1115, 1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126,
                 1127, 1128, 1129, 1130, 1131, 1132, 1133, 1134, 1135, 1136, 1137, 1140}},
        {{139},
         {139, 1002, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020,
          1140, 1141, 1154}},
        {{146}, {146, 1, 2, 1062, 1245}},
        {{155}, {155, 1074}},
        {{156, 155},
         {156, 1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1135, 1250, 1251, 1252, 1253}},
        {{157, 155}, {157, 1075}},
        {{162}, {162, 1048, 1123, 1349}},
        {{169}, {169, 1045, 1246, 1247, 1248, 1249, 1279, 1280}},
        {{181}, {181, 1318}},
        {{201}, {201, 0x801F, 1076, 1077}},
        {{202}, {202, 0x8020, 1076, 1077, 1078, 1079}},
        {{205}, {205, 1142, 1143, 1144, 1145, 1146, 1147}},
        {{206}, {206, 1020, 1021, 1117, 1118, 1119, 1141, 1152}},
        {{207}, {207, 1001, 1005, 1140, 1141, 1142, 1143}},
        {{208}, {208, 1116, 1135, 1153}},
    };
    Sent port{{204}, span(1007, 1022)};
    port.contexts.push_back(204);
    all.push_back(port);
    for (int page = 147; page <= 154; ++page) {
        Sent decode{{page, 157, 155}, span(1037, 1042)};
        for (int id : span(1068, 1073)) decode.contexts.push_back(id);
        all.push_back(decode);
    }
    return all;
}

}  // namespace

TEST(HelpFiles, EveryContextTheProgramSendsHasAPageInBothLanguages) {
    const HelpFile en("enHelp.rcc", QStringLiteral("/test_en"));
    const HelpFile zh("chHelp.rcc", QStringLiteral("/test_zh"));
    ASSERT_TRUE(en.loaded() && zh.loaded());
    HelpMap map;
    QString error;
    ASSERT_TRUE(map.parse(en.read(QStringLiteral("contexts.map")), &error)) << error.toStdString();
    EXPECT_EQ(en.read(QStringLiteral("contexts.map")), zh.read(QStringLiteral("contexts.map")));

    // Every topic the map names exists in both files, place included.
    for (const QString& topic : map.topics()) {
        const QString page = topic.section(QLatin1Char('#'), 0, 0);
        const QString place = topic.section(QLatin1Char('#'), 1);
        for (const HelpFile* file : {&en, &zh}) {
            const QString html = file->read(page);
            ASSERT_FALSE(html.isEmpty()) << topic.toStdString();
            if (!place.isEmpty()) {
                EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(place)))
                    << topic.toStdString();
            }
        }
    }
    // Every number a window can send has a topic of its own (not the contents), and a
    // control of a dialog gets a page of that dialog.
    for (const Sent& s : everythingSent()) {
        const QVector<int> hosts(s.hosts.begin(), s.hosts.end());
        const QString dialogPage = hosts.isEmpty()
                                       ? QString()
                                       : map.resolve(hosts.first()).section(QLatin1Char('#'), 0, 0);
        for (int context : s.contexts) {
            const QString topic = map.resolve(context, hosts);
            const std::string what = QStringLiteral("context %1 in %2")
                                         .arg(context)
                                         .arg(hosts.isEmpty() ? 0 : hosts.first())
                                         .toStdString();
            if (context != 0x8019) {
                EXPECT_NE(topic, HelpMap::contentsPage()) << what;
            }
            if (!dialogPage.isEmpty()) {
                EXPECT_EQ(topic.section(QLatin1Char('#'), 0, 0), dialogPage) << what;
            }
        }
    }
    // Every page is reachable from the contents page, in both languages.
    const QRegularExpression link(QStringLiteral("href=\"([a-z]+\\.html)\""));
    for (const HelpFile* file : {&en, &zh}) {
        QStringList linked;
        for (auto it = link.globalMatch(file->read(HelpMap::contentsPage())); it.hasNext();)
            linked << it.next().captured(1);
        for (const QString& topic : map.topics()) {
            const QString page = topic.section(QLatin1Char('#'), 0, 0);
            if (page != HelpMap::contentsPage()) {
                EXPECT_TRUE(linked.contains(page)) << page.toStdString();
            }
        }
    }
}

#endif
