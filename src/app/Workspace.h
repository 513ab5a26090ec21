#pragma once

class CChildFrame;
class QWidget;
namespace cps {
class RadioImage;
}

// The main window as the commands under it see it: the channel window in front and the
// window their dialogs belong to. They never need the main window itself.
class Workspace {
  public:
    virtual ~Workspace() = default;
    // Null without a document.
    virtual CChildFrame* activeFrame() const = 0;
    virtual QWidget* dialogParent() = 0;

    // The active document's image with the grid's rows stored into a copy (the document
    // untouched). False without a document.
    bool documentWithGrid(cps::RadioImage* image) const;
};
