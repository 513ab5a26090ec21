#include "ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "Gb18030.h"
#include "SafeFile.h"

namespace cps {
namespace {

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isCommentKey(const QString& key) {
    const QChar c = key.at(0);
    return c == QLatin1Char(';') || c == QLatin1Char('/') || c == QLatin1Char('\\') ||
           c == QLatin1Char('*');
}

bool isAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool decodeUtf8(const QByteArray& bytes, QString* text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *text = utf8(bytes);
    return !utf8.hasError();
}

}  // namespace

ProfileStore::~ProfileStore() {
    save();
    if (user_) user_->changed_ = false;  // saved just now
}

bool ProfileStore::openIn(const QString& dir, const QString& fileName) {
    return open(QDir(dir.isEmpty() ? QDir::currentPath() : dir).filePath(fileName));
}

bool ProfileStore::open(const QString& path) {
    user_.reset();
    return load(path, true);
}

bool ProfileStore::load(const QString& path, bool createMissing) {
    path_.clear();
    error_.clear();
    gb18030_ = false;
    created_ = false;
    eol_ = "\r\n";
    sections_.clear();
    sections_.append(Section{});  // lines before the first header
    QFile file(path);
    if (!file.exists() && createMissing) {
        if (!file.open(QIODevice::WriteOnly)) {
            error_ = QStringLiteral("Cannot create %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        file.close();
        created_ = true;
    }
    if (!file.exists()) {  // a per-user copy not written yet: empty until its first save
        path_ = path;
        return true;
    }
    if (!openRegularFile(file, path, &error_)) return false;
    // A settings file is a few lines; anything larger is not one (or a link to an endless
    // device) and would only fill the memory.
    QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) {
        error_ = QStringLiteral("Cannot read %1: it is larger than 1 MiB")
                     .arg(QDir::toNativeSeparators(path));
        return false;
    }
    const bool readFailed = file.error() != QFileDevice::NoError;
    if (readFailed)
        error_ = QStringLiteral("Cannot read %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
    // A file rewritten in place may end in zero bytes; they are no content.
    bytes.replace('\0', QByteArray());
    path_ = path;

    // Settings files are UTF-8; files written on a Chinese Windows system are GB18030, and a
    // file edited by hand may mix them. Each line is decoded on its own and keeps its bytes.
    int utf8Lines = 0, gbLines = 0;
    int crlfLines = 0, lfLines = 0;
    const QList<QByteArray> lines = bytes.split('\n');
    QVector<QByteArray> ends;  // each line's end, in file order
    for (int i = 0; i + 1 < lines.size(); ++i) {
        const bool crlf = lines[i].endsWith('\r');
        ++(crlf ? crlfLines : lfLines);
        ends.append(crlf ? QByteArray("\r\n") : QByteArray("\n"));
    }
    // A file saved by hand on another system keeps its line ends: CRLF only where most
    // lines had it (or the file had none to go by).
    eol_ = lfLines > crlfLines ? QByteArray("\n") : QByteArray("\r\n");
    ends.append(eol_);  // the last line had none: it gets the file's own when written
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray& rawLine = lines[i];
        const QByteArray& eol = ends[i];
        const QByteArray raw = rawLine.trimmed();
        if (raw.isEmpty()) continue;
        QString line;
        if (isAscii(raw)) {
            line = QString::fromLatin1(raw);
        } else if (decodeUtf8(raw, &line)) {
            ++utf8Lines;
        } else {
            line = decodeGb18030(raw);
            ++gbLines;
        }
        line = line.trimmed();
        if (line.size() >= 2 && line.startsWith(QLatin1Char('[')) &&
            line.endsWith(QLatin1Char(']'))) {
            sections_.append(Section{line.mid(1, line.size() - 2), {}, raw, eol});
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        Entry entry;
        entry.key = (eq < 0 ? line : line.left(eq)).trimmed();
        entry.value = eq < 0 ? QString() : line.mid(eq + 1).trimmed();
        // A line without "=" is written back as a key with an empty value.
        entry.raw = eq < 0 ? raw + '=' : raw;
        entry.eol = eol;
        if (entry.key.isEmpty() || isCommentKey(entry.key)) continue;
        sections_.last().entries.append(entry);
    }
    gb18030_ = gbLines > utf8Lines;
    return !readFailed;
}

bool ProfileStore::writable() const {
    if (path_.isEmpty()) return false;
    // Opening for writing without truncating or creating asks the system itself, whatever
    // its permission model (access lists included), and changes nothing.
    QFile file(path_);
    return file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

bool ProfileStore::useUserCopy(const QString& userPath) {
    if (path_.isEmpty()) return false;
    auto copy = std::make_unique<ProfileStore>();
    // Unreadable, it stays unused: a save must not replace what could not be read.
    if (!copy->load(userPath, false)) {
        error_ = copy->error_;
        return false;
    }
    user_ = std::move(copy);
    return true;
}

ProfileStore::Section* ProfileStore::findSection(const QString& name) {
    for (Section& s : sections_)
        if (sameName(s.name, name)) return &s;
    return nullptr;
}

const ProfileStore::Section* ProfileStore::findSection(const QString& name) const {
    return const_cast<ProfileStore*>(this)->findSection(name);
}

const ProfileStore::Entry* ProfileStore::findEntry(const QString& section,
                                                   const QString& key) const {
    const Section* s = findSection(section);
    if (!s) return nullptr;
    for (auto it = s->entries.crbegin(); it != s->entries.crend(); ++it)
        if (sameName(it->key, key)) return &*it;
    return nullptr;
}

QString ProfileStore::get(const QString& section, const QString& key, const QString& def) const {
    if (user_ && user_->findEntry(section, key)) return user_->get(section, key, def);
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
    if (user_) {
        // The copy keeps only what differs from the program's file.
        if (!user_->findEntry(section, key)) {
            const Entry* own = findEntry(section, key);
            if (own && sameName(own->value, value)) return;
        }
        user_->set(section, key, value);
        return;
    }
    Section* s = findSection(section);
    if (!s) {
        sections_.append(Section{section, {}, {}, {}});
        s = &sections_.last();
        changed_ = true;
    }
    for (auto it = s->entries.rbegin(); it != s->entries.rend(); ++it) {
        if (!sameName(it->key, key)) continue;
        if (!sameName(it->value, value)) changed_ = true;
        if (it->value != value) it->raw.clear();
        it->value = value;
        return;
    }
    s->entries.append(Entry{key, value, {}, {}});
    changed_ = true;
}

QByteArray ProfileStore::serialise() const {
    // Lines read from the file go back as they were; new and changed ones are written in
    // the encoding most of the file uses.
    auto encode = [this](const QString& text) -> QByteArray {
        return gb18030_ ? encodeGb18030(text) : text.toUtf8();
    };
    QByteArray bytes;
    for (int i = 0; i < sections_.size(); ++i) {
        const Section& s = sections_[i];
        // Section 0 holds the lines before the first header; every other section had one,
        // also "[]", whose keys must not slide into the section before it.
        if (i > 0 && (!s.name.isEmpty() || !s.raw.isEmpty()))
            bytes +=
                (s.raw.isEmpty() ? encode(QLatin1Char('[') + s.name + QLatin1Char(']')) : s.raw) +
                (s.eol.isEmpty() ? eol_ : s.eol);
        for (const Entry& e : s.entries)
            bytes += (e.raw.isEmpty() ? encode(e.key + QLatin1Char('=') + e.value) : e.raw) +
                     (e.eol.isEmpty() ? eol_ : e.eol);
    }
    return bytes;
}

bool ProfileStore::save() {
    if (user_) {
        if (!user_->changed_) return true;
        QDir().mkpath(QFileInfo(user_->path_).absolutePath());
        const bool ok = user_->save();
        error_ = user_->error_;
        return ok;
    }
    if (!changed_ || path_.isEmpty()) return true;
    const QByteArray bytes = serialise();
    error_.clear();
    switch (replaceFileContents(path_, bytes, &error_)) {
        case ReplaceResult::Ok:
            return true;
        case ReplaceResult::Refused:
        case ReplaceResult::WriteFailed:
            return false;
        case ReplaceResult::NotStarted:
        case ReplaceResult::NotReplaced:
            break;
    }
    // Another program may hold the file open, or its folder is read-only: rewrite it in
    // place. The old text is overwritten rather than truncated first, so a write that fails
    // part-way still leaves the file its length; a tail beyond the new text becomes zeros
    // when it cannot be cut off, and the next load ignores them.
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        error_ = QStringLiteral("Cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path_), file.errorString());
        return false;
    }
    const qint64 oldSize = file.size();
    bool ok = file.write(bytes) == bytes.size();
    if (ok && oldSize > bytes.size() && !file.resize(bytes.size()))
        ok = file.write(QByteArray(static_cast<int>(oldSize - bytes.size()), '\0')) ==
             oldSize - bytes.size();
    ok = ok && file.flush() && file.error() == QFileDevice::NoError;
    if (ok)
        error_.clear();
    else
        error_ = QStringLiteral("Cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path_), file.errorString());
    return ok;
}

}  // namespace cps
