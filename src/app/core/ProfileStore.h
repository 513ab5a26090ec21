#pragma once

#include <QString>
#include <QVector>

namespace cps {

// Reader and writer of the sectioned key=value settings file ("Program.ini"). The whole
// file is held in memory; lookups are answered from memory and the file is rewritten on
// save when anything changed. Names compare ignoring letter case. Duplicate sections and
// keys stay separate entries in file order.
class ProfileStore {
  public:
    ProfileStore() = default;
    ~ProfileStore();  // saves
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    // Opens the file at path, creating it empty when missing. On failure the store stays
    // empty with no path: every get returns its default and set does nothing.
    bool open(const QString& path);
    // Opens fileName in dir (the program's folder).
    bool openIn(const QString& dir, const QString& fileName);

    QString get(const QString& section, const QString& key, const QString& def = QString()) const;
    void set(const QString& section, const QString& key, const QString& value);
    // Writes the file when the changed flag is set. Returns false when nothing could be written.
    bool save();

    QString path() const { return path_; }
    bool changed() const { return changed_; }

  private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    QByteArray serialise() const;

    QString path_;
    QVector<Section> sections_;
    bool changed_ = false;
    bool gb18030_ = false;  // the file was read as GB18030 and is written back that way
};

}  // namespace cps
