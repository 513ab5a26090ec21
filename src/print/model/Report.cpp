#include "Report.h"

#include <map>

#include "Field.h"
#include "Pick.h"
#include "ReportFields.h"

namespace cps::print {

QStringList Page::texts() const {
    QStringList out;
    for (const Item& i : items)
        if (i.kind == Item::Kind::Text) out << i.text;
    return out;
}

const Item* Page::find(const QString& text) const {
    for (const Item& i : items)
        if (i.kind == Item::Kind::Text && i.text == text) return &i;
    return nullptr;
}

const Item* Page::textAt(int x, int y) const {
    for (const Item& i : items)
        if (i.kind == Item::Kind::Text && i.x == x && i.y == y) return &i;
    return nullptr;
}

Metrics Metrics::estimate(int width, int height) {
    Metrics m;
    m.width = width;
    m.height = height;
    m.titleLine = m.titleHeight();
    m.bodyLine = m.bodyHeight();
    return m;
}

namespace {

// The values the report prints, read through the field tables by their keys, each section's
// fields loaded once per page as its dialog would show them on opening.
class Values {
  public:
    Values(const RadioImage& image, bool chinese) : image_(image) {
        env_.chinese = chinese;
        env_.bands = loadBandsInUse(image).bands;
    }

    QString get(const char* section, const QString& key) {
        const field::Form* form = formOf(section);
        if (!form || form->index(key) < 0) return {};
        return form->value(key).trimmed();
    }

  private:
    // Null when no such table exists.
    const field::Form* formOf(const char* section) {
        auto it = forms_.find(section);
        if (it == forms_.end()) {
            const QString name = QString::fromUtf8(section);
            const field::Table* t = name == QLatin1String(reportFields().section)
                                        ? &reportFields()
                                        : field::findTable(name);
            field::Form form;
            if (t) form = field::load(*t, image_, env_);
            it = forms_.emplace(section, form).first;
        }
        return it->second.table ? &it->second : nullptr;
    }

    const RadioImage& image_;
    field::Env env_;
    std::map<std::string, field::Form> forms_;
};

// Section names of the field tables the pages read.
constexpr const char* kReport = "report";
constexpr const char* kOptionalSection = "optional";
constexpr const char* kMskSection = "msk";
constexpr const char* kEncodeSection = "2tone-encode";
constexpr const char* kDecodeSection = "2tone-decode";

class Builder {
  public:
    Builder(Page& page, const Metrics& m, bool chinese)
        : c(m.c()), L(m.bodyLine), page_(page), m_(m), zh_(chinese) {}

    const int c;  // column unit
    const int L;  // body line height

    void text(int x, int y, const QString& s, Font font = Font::Body) {
        if (s.isEmpty()) return;
        Item i;
        i.kind = Item::Kind::Text;
        i.font = font;
        i.x = x;
        i.y = y;
        i.text = s;
        page_.items.push_back(i);
    }
    void text(int x, int y, const char* en, const char* zh) { text(x, y, pick(zh_, en, zh)); }
    void rule(int x1, int y1, int x2, int y2) {
        Item i;
        i.kind = Item::Kind::Rule;
        i.x = x1;
        i.y = y1;
        i.x2 = x2;
        i.y2 = y2;
        page_.items.push_back(i);
    }
    void title(const char* en, const char* zh) {
        text(6 * c, -m_.titleLine, pick(zh_, en, zh), Font::Title);
    }
    bool chinese() const { return zh_; }

  private:
    Page& page_;
    const Metrics& m_;
    bool zh_;
};

void frame(Builder& b, const Metrics& m) {
    const int c = m.c();
    const int L = m.titleLine;
    b.rule(5 * c, -(2 * L + 50), 60 * c, -(2 * L + 50));
    b.rule(5 * c, -(2 * L + 120), 60 * c, -(2 * L + 120));
    b.rule(5 * c, L / 2 - 36 * L, 60 * c, L / 2 - 36 * L);
}

void footer(Builder& b, const Metrics& m, const Source& src, int n, int maxPage) {
    const int c = m.c();
    const int y = -36 * m.titleLine;
    b.text(10 * c, y, src.owner);
    b.text(45 * c, y, QString::asprintf("Page %d of %d", n, maxPage));
}

void channelPage(Builder& b, const Source& src, int channelPage) {
    b.title("Channel Infomation", "信道信息");
    if (!src.channels) return;
    const ChannelTable& t = *src.channels;
    // Recounted here: the grid may have changed since the job was prepared.
    const ChannelPages pages = countChannelPages(t);
    const int c = b.c;
    const int L = b.L;
    int k = 0;
    for (int row = pages.firstRow(channelPage); row <= pages.lastRow(channelPage) && k < 5; ++row) {
        if (!isFilled(t, row)) continue;
        const int s = 8 * k * L;
        const QString number = row == kFrChannel ? QStringLiteral("FR") : QString::number(row);
        b.text(4 * c, -4 * L - s, pick(b.chinese(), "Channel ", "信道 ") + number + ":");
        struct Line {
            const char *en, *zh;
            int col;
            const char *en2, *zh2;
            int col2;
        };
        static const Line lines[6] = {
            {"Receive Frequency:", "接收频率:", 1, "Wide/Narrow:", "宽/窄:", 7},
            {"Transceive Frequency:", "发射频率:", 2, "Scan Add:", "扫描添加:", 8},
            {"QT/DQT Decode:", "QT/DQT 解码:", 3, "PTT ID:", "PTT ID:", 10},
            {"QT/DQT Encode:", "QT/DQT 编码:", 4, "Busy Lock:", "繁忙锁定:", 9},
            // The channel record holds no optional signalling, so its line stays empty.
            {"Channel Name:", "信道名字:", 5, "Optional Singal:", "可选信号:", 0},
            {"Transmit Power:", "发射功率:", 6, nullptr, nullptr, 0},
        };
        for (int i = 0; i < 6; ++i) {
            const Line& l = lines[i];
            const int y = -(5 + i) * L - s;
            b.text(5 * c, y, l.en, l.zh);
            b.text(24 * c, y, t.text(row, l.col));
            if (!l.en2) continue;
            b.text(40 * c, y, l.en2, l.zh2);
            if (l.col2 > 0) b.text(55 * c, y, t.text(row, l.col2));
        }
        ++k;
    }
}

void dtmfPage(Builder& b, Values& v) {
    b.title("DTMF", "DTMF");
    const int c = b.c;
    const int L = b.L;
    auto row = [&](int line, const char* en, const char* zh, const QString& value) {
        b.text(9 * c, -line * L, en, zh);
        b.text(40 * c, -line * L, value);
    };
    b.text(6 * c, -4 * L, "Encode", "编码");
    row(5, "DTMF Speed:", "DTMF 速率:", v.get(kReport, "DTMF Speed"));
    row(6, "First Digit Delay Time(ms):", "首位数码持续时间 (毫秒):",
        v.get(kReport, "First Digit Delay Time(ms)"));
    row(7, "First Digit Time(ms):", "首位数码时间 (毫秒):", v.get(kReport, "First Digit Time(ms)"));
    row(8, "* and # Digit Time(ms):", "* 和 # 数码时间 (毫秒):",
        v.get(kReport, "* and # Digit Time(ms)"));
    row(9, "Side Tone:", "侧音:", v.get(kReport, "Side Tone"));
    b.text(6 * c, -11 * L, "Decode", "解码");
    row(12, "ID Code:", "身份码:", v.get(kReport, "ID Code"));
    row(13, "Group Code:", "组呼码:", v.get(kReport, "Group Code"));
    row(14, "Stun Activation:", "遥毙激活:", v.get(kReport, "Stun Activation"));
    row(15, "Stun Code:", "遥毙码:", v.get(kReport, "Stun Code"));
    row(16, "Stun Code Response:", "遥毙码回应:", v.get(kReport, "Stun Code Response"));
    b.text(6 * c, -18 * L, "CallList", "呼叫列表");
    b.text(9 * c, -19 * L, "Num", "编号");
    b.text(21 * c, -19 * L, "FastCallList", "快速呼叫列表");
    b.rule(8 * c, 25 - 20 * L, 40 * c, 25 - 20 * L);
    b.rule(15 * c, 50 - 19 * L, 15 * c, -29 * L);
    for (int i = 1; i <= 9; ++i) {
        const int y = -(i + 19) * L - 50;
        b.text(10 * c, y, QString::number(i));
        b.text(18 * c, y, v.get(kReport, QStringLiteral("FastCallList %1").arg(i)));
    }
}

void mskPage(Builder& b, Values& v) {
    b.title("MSK", "MSK");
    const int c = b.c;
    const int L = b.L;
    b.text(6 * c, -4 * L, "ID Code:", "身份码:");
    b.text(15 * c, -4 * L, v.get(kMskSection, "ID Code"));
    b.text(6 * c, -6 * L, "CallList", "呼叫列表");
    b.text(9 * c, -7 * L, "Num", "编号");
    b.text(16 * c, -7 * L, "CallList", "呼叫列表");
    b.rule(8 * c, 25 - 8 * L, 25 * c, 25 - 8 * L);
    b.rule(14 * c, 25 - 7 * L, 14 * c, -17 * L - 50);
    for (int t = 1; t <= 9; ++t) {
        const int y = -(t + 7) * L - 25;
        b.text(10 * c, y, QString::number(t));
        b.text(17 * c, y, v.get(kMskSection, QStringLiteral("Call List %1").arg(t)));
    }
}

void optionalPage(Builder& b, Values& v) {
    b.title("Optional", "可选功能");
    const int c = b.c;
    const int L = b.L;
    auto row = [&](int line, const char* en, const char* zh, const QString& value) {
        b.text(9 * c, -line * L, en, zh);
        b.text(30 * c, -line * L, value);
    };
    auto opt = [&](const char* key) { return v.get(kOptionalSection, key); };
    b.text(6 * c, -4 * L, "Function", "功能");
    row(5, "Back Light:", "背光灯:", opt("Back Light"));
    row(6, "Back Light Color:", "背光灯颜色:", opt("Back Light Color"));
    row(7, "Display mode:", "显示模式:", opt("Display Mode"));
    // Rows with a decoding of the page's own print by it; the others as the editor shows them.
    auto own = [&](const char* key) { return v.get(kReport, key); };
    row(8, "Key lock:", "键盘锁定:", own("Key lock"));
    row(9, "Priority channel:", "优先信道:", own("Priority channel"));
    row(10, "Scan mode:", "扫描模式:", opt("Scan Mode"));
    row(11, "Squelch level:", "静噪电平:", own("Squelch level"));
    row(12, "Step:", "步进:", own("Step"));
    row(13, "Time-out Timer:", "超时定时器:", own("Time-out Timer"));
    row(14, "Vox Gain Level:", "声控增益电平:", own("Vox Gain Level"));
    // The radio's editor has no field for voice annunciation, scrambler or PTT ID display:
    // their rows keep their labels and print no value.
    row(15, "Voice annunciation:", "语音报号:", {});
    row(16, "Frequency Mode:", "频率模式:", own("Frequency Mode"));
    row(17, "MSK Type:", "MSK 类型:", opt("MSK Type"));
    row(18, "Battery saver:", "电池省电:", own("Battery saver"));
    row(19, "Beep tone:", "哔音:", opt("Beep"));
    row(20, "Scrambler:", "扰频器:", {});
    row(21, "Keypad Lock:", "数字功能键锁定:", own("Keypad Lock"));
    b.text(6 * c, -23 * L, "PTT ID", "PTT ID");
    row(24, "Display PTT ID:", "显示 PTT ID:", {});
    row(25, "PTT ID type:", "PTT ID 类型:", own("PTT ID type"));
    row(26, "Beginning of Trasmit:", "发射开始:", own("Beginning of Trasmit"));
    row(27, "End of transmit:", "发射结束:", own("End of transmit"));
}

void decodePage(Builder& b, Values& v) {
    b.title("2-Tone Decode", "2-Tone 解码");
    const int c = b.c;
    const int L = b.L;
    struct Line {
        const char *en, *zh, *key;
    };
    static const Line lines[6] = {
        {"A Tone (Hz):", "A 音 (Hz):", "A Tone(HZ)"},
        {"B Tone (Hz):", "B 音 (Hz):", "B Tone(HZ)"},
        {"The first delay time (s):", "第一音频持续时间 (s):", "The first delay time(s)"},
        {"The second delay time (s):", "第二音频持续时间 (s)", "The second delay time(s)"},
        {"Long tone delay time (s):", "长音持续时间 (s):", "Long tone delay time(s)"},
        {"Interval time (s):", "音频间隔时间 (s):", "Interval time(s)"},
    };
    for (int d = 1; d <= 8; ++d) {
        const int X = d % 2 == 1 ? 0 : 32 * c;
        const int Y = 9 * L * ((d - 1) / 2);
        b.text(3 * c + X, -4 * L - Y, QStringLiteral("2-Tone %1:").arg(d));
        for (int i = 0; i < 6; ++i) {
            const int y = -(5 + i) * L - Y;
            b.text(4 * c + X, y, lines[i].en, lines[i].zh);
            const QString key =
                QStringLiteral("2-Tone%1 %2").arg(d).arg(QLatin1String(lines[i].key));
            b.text(26 * c + X, y, v.get(kDecodeSection, key));
        }
    }
}

void encodePage(Builder& b, Values& v) {
    b.title("2-Tone Encode", "2-Tone 编码");
    const int c = b.c;
    const int L = b.L;
    auto row = [&](int line, const char* en, const char* zh, const QString& value) {
        b.text(6 * c, -line * L, en, zh);
        b.text(30 * c, -line * L, value);
    };
    auto enc = [&](const QString& key) { return v.get(kEncodeSection, key); };
    row(4, "The first delay time(s):", "第一音频持续时间 (s):", enc("The first delay time(s)"));
    row(5, "The second delay time(s):", "第二音频持续时间 (s)", enc("The second delay time(s)"));
    row(6, "Long tone delay time(s):", "长音持续时间 (s):", enc("Long tone delay time(s)"));
    row(7, "Tone interval time(s):", "音频间隔时间 (s):", enc("Tone interval time(ms)"));
    row(8, "Txrise delay time(s):", "上升发射延迟时间 (s):", enc("Tx rise delay time(ms)"));
    row(9, "Short beep tone:", "短哔音:", v.get(kReport, "Short beep tone"));

    const int heads = -12 * L;
    if (b.chinese()) {
        for (int half : {0, 28 * c}) {
            b.text(6 * c + half, heads, QStringLiteral("编码"));
            b.text(27 * c / 2 + half, heads, QStringLiteral("音频1"));
            b.text(47 * c / 2 + half, heads, QStringLiteral("音频2"));
        }
    } else {
        for (int half : {0, 28 * c}) {
            b.text(6 * c + half, heads, QStringLiteral("Num"));
            b.text(12 * c + half, heads, QStringLiteral("Tone Fre1"));
            b.text(22 * c + half, heads, QStringLiteral("Tone Fre2"));
        }
    }
    b.rule(6 * c - 25, 15 - 13 * L, 30 * c, 15 - 13 * L);
    b.rule(34 * c - 25, 15 - 13 * L, 58 * c, 15 - 13 * L);
    b.rule(11 * c, 25 - 12 * L, 11 * c, -29 * L - 25);
    b.rule(39 * c, 25 - 12 * L, 39 * c, -29 * L - 25);
    for (int k = 1; k <= 16; ++k) {
        const int y = -(k + 12) * L - 25;
        for (int half = 0; half < 2; ++half) {
            const int n = k + 16 * half;
            const int dx = 28 * c * half;
            b.text(7 * c + dx, y, QString::number(n));
            // The page's own rule: a tone whose first byte is 0xFF is blank.
            b.text(13 * c + dx, y, v.get(kReport, QStringLiteral("Tone1 Fre %1").arg(n)));
            b.text(23 * c + dx, y, v.get(kReport, QStringLiteral("Tone2 Fre %1").arg(n)));
        }
    }
}

}  // namespace

Page buildPage(const Job& job, int n, const Source& source, const Metrics& m) {
    Page page;
    const PageRef ref = job.locate(n);
    page.kind = ref.kind;
    Builder b(page, m, source.chinese);
    frame(b, m);
    if (source.image) {
        Values values(*source.image, source.chinese);
        switch (ref.kind) {
            case PageKind::Dtmf:
                dtmfPage(b, values);
                break;
            case PageKind::Msk:
                mskPage(b, values);
                break;
            case PageKind::Optional:
                optionalPage(b, values);
                break;
            case PageKind::TwoToneDecode:
                decodePage(b, values);
                break;
            case PageKind::TwoToneEncode:
                encodePage(b, values);
                break;
            case PageKind::Channels:
                channelPage(b, source, ref.channelPage);
                break;
            case PageKind::None:
                break;
        }
    } else if (ref.kind == PageKind::Channels) {
        channelPage(b, source, ref.channelPage);
    }
    footer(b, m, source, n, job.maxPage);
    return page;
}

std::vector<Page> buildReport(const Job& job, const Source& source, const Metrics& m) {
    std::vector<Page> pages;
    for (int n = 1; n <= job.maxPage; ++n) pages.push_back(buildPage(job, n, source, m));
    return pages;
}

}  // namespace cps::print
