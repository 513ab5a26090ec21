#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "ChannelTable.h"
#include "RadioImage.h"

// One document: one radio memory image, its title and the file it belongs to, and the
// history of the user's changes to it (undo and redo, and whether it has unsaved changes).
//
// The grid is the working copy of the channel rows, so what the user changed is the image
// together with the grid's rows: a step keeps both, before and after. The channel window
// attaches its grid; without one the document's state is its image alone.
class CProgramDoc : public QObject {
    Q_OBJECT
  public:
    // What a step restores.
    struct State {
        cps::RadioImage image;
        cps::ChannelTable table;
        bool operator==(const State& other) const;
        bool operator!=(const State& other) const { return !(*this == other); }
    };

    explicit CProgramDoc(QObject* parent = nullptr);

    // The factory image with the title and proposed name of a new document.
    void startNew(const QString& title, const QString& proposedPath);
    // Loads the data file; on failure nothing changes and error says why, in Chinese when
    // chinese is set.
    bool load(const QString& path, QString* error, bool chinese = false);
    bool save(const QString& path, QString* error);

    cps::RadioImage& image() { return image_; }
    const cps::RadioImage& image() const { return image_; }
    QString title() const { return title_; }
    QString pathName() const { return pathName_; }
    // True once the image was loaded from or saved to pathName(); a new document's path
    // name is only the name proposed for its first save.
    bool hasFile() const { return hasFile_; }
    // The file's name, or for a document without a file the name its first save proposes.
    QString displayName() const;

    // The grid whose rows belong to the document's state: how to read and restore them.
    void attachGrid(std::function<cps::ChannelTable()> read,
                    std::function<void(const cps::ChannelTable&)> restore);

    // History. The state as it is now becomes the start: no steps, no unsaved changes.
    void resetHistory();
    // What changed since the last known state becomes one step called name; nothing
    // changed, no step. Returns whether a step was made.
    bool recordChange(const QString& name);
    // A change that is no edit of the user's (the grid stored into the image before a save
    // or a write): the last step's result takes it, no step is made and the unsaved-changes
    // marker stays as it is.
    void absorbChange();
    // The state as it is now is what the file or the radio holds (saved, opened, read).
    void markClean();
    bool isModified() const { return index_ != cleanIndex_; }

    bool canUndo() const { return !busy_ && index_ > 0; }
    bool canRedo() const { return !busy_ && index_ < static_cast<int>(steps_.size()); }
    QString undoName() const { return canUndo() ? steps_[index_ - 1].name : QString(); }
    QString redoName() const { return canRedo() ? steps_[index_].name : QString(); }
    void undo();
    void redo();
    int stepCount() const { return static_cast<int>(steps_.size()); }

    // Busy while a transfer uses the document or the radio: nothing may change the
    // document or talk to the radio until it ends.
    void setBusy(bool busy);
    bool isBusy() const { return busy_; }

    // Steps kept; the oldest go first.
    static constexpr int kMaxSteps = 100;

  signals:
    // Undo or redo became possible or impossible, or their names changed.
    void historyChanged();
    void modifiedChanged(bool modified);
    void busyChanged(bool busy);

  private:
    struct Step {
        QString name;
        State before;
        State after;
    };
    State capture() const;
    void apply(const State& state);
    void notify(bool wasModified);

    cps::RadioImage image_;
    QString title_;
    QString pathName_;
    bool hasFile_ = false;
    bool busy_ = false;

    std::function<cps::ChannelTable()> readGrid_;
    std::function<void(const cps::ChannelTable&)> restoreGrid_;
    State known_;  // the state after the last step, open, save or read
    std::vector<Step> steps_;
    int index_ = 0;       // steps applied
    int cleanIndex_ = 0;  // steps applied when the state was last saved; -1 when out of reach
};
