// The whole configuration as JSON: every channel and every section's fields by key.
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <vector>

#include "ChannelCodec.h"
#include "ChannelTable.h"
#include "Exchange.h"
#include "Field.h"
#include "JsonText.h"
#include "Pick.h"
#include "SafeFile.h"
#include "TwoToneFields.h"

namespace cps::exchange {

namespace {

const QString kChannels = QStringLiteral("channels");

void appendString(QByteArray& out, const QString& s) { out += json::string(s); }

// One member per line, in the tables' order, so that files diff well.
void appendObject(QByteArray& out, const QList<QPair<QString, QString>>& members, int indent) {
    const QByteArray pad(indent, ' ');
    out += "{\n";
    for (int i = 0; i < members.size(); ++i) {
        out += pad + "  ";
        appendString(out, members[i].first);
        out += ": ";
        appendString(out, members[i].second);
        out += i + 1 < members.size() ? ",\n" : "\n";
    }
    out += pad + "}";
}

QString pathOf(const QString& section, const QString& key = {}, const QString& sub = {}) {
    QString p = QStringLiteral("$.") + section;
    if (!key.isNull()) p += QStringLiteral("[\"%1\"]").arg(key);
    if (!sub.isNull()) p += QStringLiteral("[\"%1\"]").arg(sub);
    return p;
}

// A member of an object found by key, letter case ignored, as `cps set` finds fields.
const QJsonValue* member(const QHash<QString, QJsonValue>& lowered, const char* key) {
    auto it = lowered.constFind(QString::fromUtf8(key).toLower());
    return it == lowered.constEnd() ? nullptr : &it.value();
}

QHash<QString, QJsonValue> lowerKeys(const QJsonObject& o) {
    QHash<QString, QJsonValue> h;
    for (auto it = o.begin(); it != o.end(); ++it) h.insert(it.key().toLower(), it.value());
    return h;
}

int channelOfLabel(const QString& label) {
    for (int n = 1; n <= kChannelCount; ++n)
        if (label.compare(channelLabel(n), Qt::CaseInsensitive) == 0) return n;
    return 0;
}

}  // namespace

QString controlRefusal(const QString& text, bool chinese) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            return pick(chinese, ": control character \\x%1 is not allowed",
                        "：不允许控制字符 \\x%1")
                .arg(QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    }
    return QString();
}

QByteArray exportJson(const RadioImage& image) {
    QByteArray out = "{\n  \"channels\": {\n";
    const Bands bands = loadBandsInUse(image).bands;
    field::Env env;
    env.bands = bands;
    const field::Table& ch = channelFields();
    for (int n = 1; n <= kChannelCount; ++n) {
        const uint8_t* record = image.data() + recordOffset(n);
        const bool present = !decodeChannel(record, bands, false)[kColRx].isEmpty();
        // Every field the record holds, also those the grid leaves blank for a channel
        // without transmit frequency (its name, power, PTT ID...), so that they come back.
        QList<QPair<QString, QString>> members;
        for (int c = 0; c < kColumnCount; ++c)
            members.append(
                {QString::fromUtf8(ch.fields[c].key),
                 present ? field::show(ch.fields[c], record, env).trimmed() : QString()});
        out += "    ";
        appendString(out, channelLabel(n));
        out += ": ";
        appendObject(out, members, 4);
        out += n < kChannelCount ? ",\n" : "\n";
    }
    out += "  }";
    for (const field::Table* t : field::sections()) {
        const field::Form form = field::load(*t, image, env);
        QList<QPair<QString, QString>> members;
        for (size_t i = 0; i < t->fields.size(); ++i) {
            const field::Field& f = t->fields[i];
            if (f.flags & field::kHidden) continue;
            members.append({QString::fromUtf8(f.key), form.values[static_cast<int>(i)].trimmed()});
        }
        out += ",\n  ";
        appendString(out, QString::fromUtf8(t->section));
        out += ": ";
        appendObject(out, members, 2);
    }
    out += "\n}\n";
    return out;
}

ImportResult importJson(const QByteArray& json, const RadioImage& into,
                        const JsonOptions& options) {
    ImportResult result;
    auto fail = [&result](const QString& why) {
        result.ok = false;
        result.error = why;
        return result;
    };
    const bool zh = options.chinese;
    auto say = [zh](const char* english, const char* chineseText) {
        return pick(zh, english, chineseText);
    };
    if (json.size() > kMaxInputFile)
        return fail(say("larger than 1 MiB, no configuration", "大于 1 MiB，不是配置文件"));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(say("$: %1 at byte %2", "$：第 %2 字节处 %1")
                        .arg(parseError.errorString())
                        .arg(parseError.offset));
    if (!doc.isObject()) return fail(say("$: not an object", "$：不是对象"));
    const QJsonObject root = doc.object();

    // Every member is checked before anything is applied: a refusal writes nothing.
    QHash<QString, QJsonObject> bySection;  // section name (lower case) -> members
    QString sectionList = kChannels;
    for (const field::Table* t : field::sections())
        sectionList += QStringLiteral(", ") + t->section;
    for (auto it = root.begin(); it != root.end(); ++it) {
        const QString name = it.key();
        const field::Table* t = nullptr;
        if (name.compare(kChannels, Qt::CaseInsensitive) != 0) {
            t = field::findTable(name);
            if (!t || t->count != 1)
                return fail(pathOf(name) +
                            say(": unknown section (sections: %1)", "：未知的区（区：%1）")
                                .arg(sectionList));
        }
        if (!it.value().isObject())
            return fail(pathOf(name) + say(": not an object", "：不是对象"));
        const QJsonObject members = it.value().toObject();
        if (bySection.contains(name.toLower()))
            return fail(pathOf(name) + say(": the section appears twice", "：该区出现了两次"));
        for (auto m = members.begin(); m != members.end(); ++m) {
            if (!t) {
                if (channelOfLabel(m.key()) == 0)
                    return fail(pathOf(name, m.key()) +
                                say(": no channel of that name (1 to 128, Fr)",
                                    "：没有此名称的信道（1 到 128，Fr）"));
                if (!m.value().isObject())
                    return fail(pathOf(name, m.key()) + say(": not an object", "：不是对象"));
                const QJsonObject cells = m.value().toObject();
                for (auto c = cells.begin(); c != cells.end(); ++c) {
                    const int i = channelFields().indexOf(c.key());
                    if (i < 0 || i >= kColumnCount)
                        return fail(pathOf(name, m.key(), c.key()) +
                                    say(": unknown field", "：未知字段"));
                    if (!c.value().isString())
                        return fail(pathOf(name, m.key(), c.key()) +
                                    say(": not a string", "：不是字符串"));
                }
                continue;
            }
            const int i = t->indexOf(m.key());
            if (i < 0 || (t->fields[static_cast<size_t>(i)].flags & field::kHidden))
                return fail(pathOf(name, m.key()) +
                            say(": section %1 has no such field", "：区 %1 没有此字段")
                                .arg(QString::fromUtf8(t->section)));
            if (!m.value().isString())
                return fail(pathOf(name, m.key()) + say(": not a string", "：不是字符串"));
        }
        bySection.insert(name.toLower(), members);
    }

    RadioImage image = into;
    // Software Info first: its bands decide which channel frequencies are accepted.
    std::vector<const field::Table*> order;
    for (const field::Table* t : field::sections())
        if (QLatin1String(t->section) == QLatin1String("info")) order.push_back(t);
    for (const field::Table* t : field::sections())
        if (QLatin1String(t->section) != QLatin1String("info")) order.push_back(t);

    for (const field::Table* t : order) {
        const QString section = QString::fromUtf8(t->section);
        if (!bySection.contains(section.toLower())) continue;
        const QHash<QString, QJsonValue> members = lowerKeys(bySection.value(section.toLower()));
        field::Env env;
        env.bands = loadBandsInUse(image).bands;
        env.strict = true;
        field::Form form = field::load(*t, image, env);
        bool edited = false;  // a member gave another text than the field shows
        // In the table's order, so that rules between fields (a band resets its limits) run
        // as in the dialog.
        for (size_t i = 0; i < t->fields.size(); ++i) {
            const field::Field& f = t->fields[i];
            if (f.flags & field::kHidden) continue;
            const QJsonValue* v = member(members, f.key);
            if (!v) continue;
            const QString text = v->toString();
            const int index = static_cast<int>(i);
            // As pressing OK without touching the field: the loaded value stays as it is.
            // A decode page named in the file is visited all the same, so that its entry's
            // timer form is derived from the tones the file gives.
            if (text == form.values[index].trimmed()) {
                if (t == &twotone::decodeFields() && t->afterSet) t->afterSet(form, index);
                continue;
            }
            edited = true;
            const QString path = pathOf(section, QString::fromUtf8(f.key));
            // A changed text only: one the image already holds is kept as it is.
            if (const QString bad = controlRefusal(text, zh); !bad.isEmpty())
                return fail(path + bad);
            if (t->needsAccessCode && !options.serviceAccess)
                return fail(path + say(": section %1 changes only with the service access code "
                                       "(Password)",
                                       "：区 %1 只有凭维修密码（密码）才能修改")
                                       .arg(section));
            const field::Parsed p = field::set(form, index, text);
            if (!p.ok) {
                // A list showing no item (a value it has no item for) stays without one.
                const bool list = f.kind == field::Kind::Index || f.kind == field::Kind::Mapped;
                if (list && text.isEmpty()) {
                    form.values[index].clear();
                    continue;
                }
                // The form shows the English texts the file holds; the reason is asked
                // again in the run's language.
                field::Env asked = form.env;
                asked.chinese = zh;
                const field::Parsed again = field::parse(f, text, asked);
                return fail(
                    path +
                    say(": '%1': %2", "：'%1'：%2").arg(text, again.ok || !zh ? p.why : again.why));
            }
            if (p.changed)
                return fail(path + say(": '%1' would be stored as '%2'", "：'%1' 将被存为 '%2'")
                                       .arg(text, p.text));
        }
        // A section the file leaves as it is stays byte for byte, as a dialog closed with OK
        // and no edit does.
        if (edited) field::store(form, image);
    }

    if (bySection.contains(kChannels)) {
        const QJsonObject channels = bySection.value(kChannels);
        ChannelTable table(false);
        table.fill(image);
        const field::Table& ch = channelFields();
        // Members by channel; a label given twice ("fr" and "Fr") counts once, the last.
        QHash<int, QString> labelOf;
        for (auto it = channels.begin(); it != channels.end(); ++it)
            labelOf.insert(channelOfLabel(it.key()), it.key());
        for (int n = 1; n <= kChannelCount; ++n) {
            if (!labelOf.contains(n)) continue;
            const QString label = labelOf.value(n);
            const QJsonObject cells = channels.value(label).toObject();
            const QHash<QString, QJsonValue> members = lowerKeys(cells);
            for (int col = 1; col < ChannelTable::kCols; ++col) {
                const char* key = ch.fields[col - 1].key;
                const QJsonValue* v = member(members, key);
                if (!v) continue;
                const QString text = v->toString();
                // Unchanged: what the grid shows, or what the record holds where the grid
                // shows nothing (a channel without transmit frequency) and the file gives it
                // back as it was exported.
                if (text == table.text(n, col).trimmed()) continue;
                const field::Env shown{false, table.bands(), false};
                if (!table.text(n, 1).isEmpty() && table.text(n, col).isEmpty() &&
                    text == field::show(ch.fields[col - 1], image.data() + recordOffset(n), shown)
                                .trimmed())
                    continue;
                const QString path = pathOf(kChannels, label, QString::fromUtf8(key));
                if (const QString bad = controlRefusal(text, zh); !bad.isEmpty())
                    return fail(path + bad);
                const CellEntry e = table.typeCell(n, col, text);
                if (e.refused)
                    return fail(path + say(": '%1': %2", "：'%1'：%2")
                                           .arg(text, ChannelTable::refusalText(e, zh)));
                if (e.changed)
                    return fail(path + say(": '%1' would be stored as '%2'", "：'%1' 将被存为 '%2'")
                                           .arg(text, table.text(n, col)));
            }
        }
        table.store(image);
    }

    result.ok = true;
    result.image = image;
    return result;
}

}  // namespace cps::exchange
