#include "Tones.h"

#include <QByteArray>
#include <cstdlib>

#include "Decimal.h"

namespace cps::tones {
namespace {

const char* const kCtcss[50] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

const int kDcs[105] = {
    023,  025,  026,  031,  032,  036,  043,  047,  051,  053,  054,  065,  071,  072,  073,
    074,  0114, 0115, 0116, 0122, 0125, 0131, 0132, 0134, 0143, 0145, 0152, 0155, 0156, 0162,
    0165, 0172, 0174, 0205, 0212, 0223, 0225, 0226, 0243, 0244, 0245, 0246, 0251, 0252, 0255,
    0261, 0263, 0265, 0266, 0271, 0274, 0306, 0311, 0315, 0325, 0331, 0332, 0343, 0346, 0351,
    0356, 0364, 0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0446, 0452, 0454, 0455,
    0462, 0464, 0465, 0466, 0503, 0506, 0516, 0523, 0526, 0532, 0546, 0565, 0606, 0612, 0624,
    0627, 0631, 0632, 0645, 0654, 0662, 0664, 0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754};

int bcd(uint8_t b) { return 10 * (b >> 4) + (b & 0x0F); }
uint8_t toBcd(long long x) { return static_cast<uint8_t>(16 * (x / 10) + x % 10); }

QStringList buildList(bool chinese) {
    QStringList list;
    list.reserve(kCount);
    list << noneText(chinese);
    for (const char* t : kCtcss) list << QString::fromLatin1(t);
    for (const char* suffix : {"N", "I"}) {
        for (int code : kDcs)
            list << QStringLiteral("D%1%2")
                        .arg(code, 3, 8, QLatin1Char('0'))
                        .arg(QLatin1String(suffix));
    }
    return list;
}

}  // namespace

QString noneText(bool chinese) { return chinese ? QStringLiteral("无") : QStringLiteral("None"); }

const QStringList& list(bool chinese) {
    static const QStringList english = buildList(false);
    static const QStringList chineseList = buildList(true);
    return chinese ? chineseList : english;
}

QString toText(ToneBytes tone, bool chinese, bool noTransmit) {
    const uint8_t h = tone.high;
    if (h == 0xFF || h == 0x00) return noTransmit ? QString() : noneText(chinese);
    if (h < 0x80) {
        const int value = 100 * bcd(h) + bcd(tone.low);
        // Only nibbles above 9 reach 800.0 Hz: no tone, and no text that a save could store
        // as this tone (it would come back as a DCS code nobody chose).
        if (value >= 8000) return noTransmit ? QString() : noneText(chinese);
        return QString::asprintf("%3.1f", value / 10.0);
    }
    // A low byte whose tens nibble is above 9 reads as 100 or more and would be saved as
    // another code (D6465N as D065I): no tone either.
    if (bcd(tone.low) > 99) return noTransmit ? QString() : noneText(chinese);
    const bool inverted = h >= 0xC0;
    const int d = h - (inverted ? 0xC0 : 0x80);
    const int number = 100 * d + bcd(tone.low);
    return QString::asprintf("%s%d%s", d == 0 ? "D0" : "D", number, inverted ? "I" : "N");
}

ToneBytes fromText(const QString& text) {
    ToneBytes tone;
    if (text.contains(QLatin1Char('D'))) {
        const QString rest = text.mid(1);
        const long n = std::strtol(rest.toLatin1().constData(), nullptr, 10);
        const int kind = rest.contains(QLatin1Char('N')) ? 0x80 : 0xC0;
        tone.high = static_cast<uint8_t>(n / 100 + kind);
        tone.low = toBcd(n % 100);
        return tone;
    }
    const long long t = scaledDecimal(text, 1, /*roundUp=*/true);
    if (t == 0) return tone;  // no tone: FF FF
    tone.high = toBcd(t / 100);
    tone.low = toBcd(t % 100);
    return tone;
}

bool checkTyped(const QString& typed, bool chinese, QString* cellText) {
    if (typed.isEmpty()) {
        *cellText = noneText(chinese);
        return true;
    }
    // A list entry, "None" among them, takes the typed letters in capitals ("none" gives
    // "NONE", which still stores no tone).
    for (const QString& entry : list(chinese)) {
        if (entry.compare(typed, Qt::CaseInsensitive) == 0) {
            *cellText = typed.toUpper();
            return true;
        }
    }
    // The other language's "None" / "无" means no tone as well.
    if (typed.compare(noneText(!chinese), Qt::CaseInsensitive) == 0) {
        *cellText = noneText(chinese);
        return true;
    }
    const long long f = scaledDecimal(typed, 1);
    if (f >= 600 && f < 2600) {
        *cellText = QString::asprintf("%3.1f", f / 10.0);
        return true;
    }
    return false;
}

}  // namespace cps::tones
