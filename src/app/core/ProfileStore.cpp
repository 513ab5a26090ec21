#include "ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace cps {
namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isCommentKey(const QString& key) {
    const QChar c = key.at(0);
    return c == QLatin1Char(';') || c == QLatin1Char('/') || c == QLatin1Char('\\') ||
           c == QLatin1Char('*');
}

// Settings files are UTF-8; files written on a Chinese Windows system are GB18030.
QString decode(const QByteArray& bytes, bool* gb18030) {
    *gb18030 = false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    QStringDecoder gb("GB18030");
    if (gb.isValid()) {
        *gb18030 = true;
        return gb(bytes);
    }
    return QString::fromLatin1(bytes);
}

}  // namespace

ProfileStore::~ProfileStore() { save(); }

bool ProfileStore::openIn(const QString& dir, const QString& fileName) {
    return open(QDir(dir.isEmpty() ? QDir::currentPath() : dir).filePath(fileName));
}

bool ProfileStore::open(const QString& path) {
    path_.clear();
    sections_.clear();
    sections_.append(Section{});  // lines before the first header
    QFile file(path);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly)) return false;
        file.close();
    }
    if (!file.open(QIODevice::ReadOnly)) return false;

    QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    // A file rewritten in place may end in zero bytes; they are no content.
    bytes.replace('\0', QByteArray());
    const QString text = decode(bytes, &gb18030_);
    path_ = path;

    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) &&
            line.endsWith(QLatin1Char(']'))) {
            sections_.append(Section{line.mid(1, line.size() - 2), {}});
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        Entry entry;
        entry.key = (eq < 0 ? line : line.left(eq)).trimmed();
        entry.value = eq < 0 ? QString() : line.mid(eq + 1).trimmed();
        if (entry.key.isEmpty() || isCommentKey(entry.key)) continue;
        sections_.last().entries.append(entry);
    }
    return !readFailed;
}

ProfileStore::Section* ProfileStore::findSection(const QString& name) {
    for (Section& s : sections_)
        if (sameName(s.name, name)) return &s;
    return nullptr;
}

const ProfileStore::Section* ProfileStore::findSection(const QString& name) const {
    return const_cast<ProfileStore*>(this)->findSection(name);
}

QString ProfileStore::get(const QString& section, const QString& key, const QString& def) const {
    const Section* s = findSection(section);
    if (!s) return def;
    for (auto it = s->entries.crbegin(); it != s->entries.crend(); ++it) {
        if (!sameName(it->key, key)) continue;
        QString value = it->value;
        for (const char* marker : {"//", "\t;", "/*"}) {
            const int cut = value.indexOf(QLatin1String(marker));
            if (cut >= 0) value.truncate(cut);
        }
        return value;
    }
    return def.trimmed();
}

void ProfileStore::set(const QString& section, const QString& key, const QString& value) {
    if (path_.isEmpty()) return;
    Section* s = findSection(section);
    if (!s) {
        sections_.append(Section{section, {}});
        s = &sections_.last();
        changed_ = true;
    }
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it) {
        if (!sameName(it->key, key)) continue;
        if (!sameName(it->value, value)) changed_ = true;
        it->value = value;
        return;
    }
    s->entries.append(Entry{key, value});
    changed_ = true;
}

QByteArray ProfileStore::serialise() const {
    QString text;
    for (int i = 0; i < sections_.size(); ++i) {
        const Section& s = sections_[i];
        if (i > 0 && !s.name.isEmpty()) text += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const Entry& e : s.entries)
            text += e.key + QLatin1Char('=') + e.value + QLatin1String("\r\n");
    }
    if (gb18030_) {
        QStringEncoder gb("GB18030");
        if (gb.isValid()) return gb(text);
    }
    return text.toUtf8();
}

bool ProfileStore::save() {
    if (!changed_ || path_.isEmpty()) return true;
    const QByteArray bytes = serialise();
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // Another program may hold the file: rewrite it in place, blanking the old length
        // first so that no stale tail survives a shorter text.
        if (!file.open(QIODevice::ReadWrite)) return false;
        const qint64 oldSize = file.size();
        file.write(QByteArray(static_cast<int>(oldSize), '\0'));
        file.seek(0);
    }
    return file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace cps
