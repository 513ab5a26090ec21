#pragma once

#include <QString>
#include <QVector>
#include <memory>

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
    // is not a regular file, or a file larger than kMaxInputFile (SafeFile.h), is not read at all.
    bool open(const QString& path);
    // Opens fileName in dir (the program's folder).
    bool openIn(const QString& dir, const QString& fileName);

    // Whether the opened file can be saved: false for a program folder the user cannot
    // write, where the settings go to a per-user copy instead.
    bool writable() const;
    // From now on what is set goes to the per-user copy at userPath rather than the opened
    // file, and its entries are looked up before the opened file's. The copy is read when
    // it exists and written (its folder created) by the first save with a value in it that
    // differs from the opened file's, so a user who changes nothing gets no file. Needs an
    // opened file; false when the copy exists but cannot be read (it is then left alone).
    bool useUserCopy(const QString& userPath);
    // The per-user copy in use, empty while settings are saved to the opened file.
    QString userCopyPath() const { return user_ ? user_->path_ : QString(); }

    QString get(const QString& section, const QString& key, const QString& def = QString()) const;
    void set(const QString& section, const QString& key, const QString& value);
    // Writes the file when the changed flag is set. Returns false when nothing could be written.
    bool save();

    QString path() const { return path_; }
    // Whether open() found no file and created it empty.
    bool createdMissing() const { return created_; }
    bool changed() const { return changed_ || (user_ && user_->changed_); }
    // Why the last open or save failed, naming the file; empty after success.
    QString errorString() const { return error_; }

  private:
    struct Entry {
        QString key;
        QString value;
        QByteArray raw;  // the line as read, trimmed; empty once the entry is new or changed
        QByteArray eol;  // the line end it was read with; empty for a new line
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
        QByteArray raw;  // the header line as read
        QByteArray eol;
    };

    bool load(const QString& path, bool createMissing);
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    const Entry* findEntry(const QString& section, const QString& key) const;
    QByteArray serialise() const;

    QString path_;
    QVector<Section> sections_;
    bool changed_ = false;
    bool created_ = false;
    QByteArray eol_ = "\r\n";  // the line end most of the file uses: new lines get it
    bool gb18030_ = false;     // most non-ASCII lines were GB18030: new lines are written so
    QString error_;
    std::unique_ptr<ProfileStore> user_;  // the per-user copy, when the file is not writable
};

}  // namespace cps
