#pragma once

#include <QString>
#include <QVector>

namespace cps {

// Reader and writer of the sectioned key=value settings file ("Program.ini"). The whole
// file is held in memory; lookups are answered from memory and the file is rewritten on
// save when anything changed. Names compare ignoring letter case. Duplicate sections and
// keys stay separate entries in file order. Lines the program did not change are written
// back with their original bytes, whatever their encoding.
class ProfileStore {
  public:
    ProfileStore() = default;
    ~ProfileStore();  // saves
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // Opens the file at path, creating it empty when missing. On failure the store stays
    // empty with no path: every get returns its default and set does nothing. A path that
    // is not a regular file, or a file larger than kMaxFileSize, is not read at all.
    bool open(const QString& path);
    static constexpr qint64 kMaxFileSize = 1024 * 1024;
    // Opens fileName in dir (the program's folder).
    bool openIn(const QString& dir, const QString& fileName);

    QString get(const QString& section, const QString& key, const QString& def = QString()) const;
    void set(const QString& section, const QString& key, const QString& value);
    // Writes the file when the changed flag is set. Returns false when nothing could be written.
    bool save();

    QString path() const { return path_; }
    bool changed() const { return changed_; }
    // Why the last open or save failed, naming the file; empty after success.
    QString errorString() const { return error_; }

  private:
    struct Entry {
        QString key;
        QString value;
        QByteArray raw;  // the line as read, trimmed; empty once the entry is new or changed
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
        QByteArray raw;  // the header line as read
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    QByteArray serialise() const;

    QString path_;
    QVector<Section> sections_;
    bool changed_ = false;
    bool gb18030_ = false;  // most non-ASCII lines were GB18030: new lines are written so
    QString error_;
};

}  // namespace cps
