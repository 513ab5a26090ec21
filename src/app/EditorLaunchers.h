#pragma once

#include <QDialog>
#include <QHash>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class CChildFrame;
class Workspace;
namespace cps {
class RadioImage;
namespace field {
struct Table;
}
}  // namespace cps

// The feature and service editors, one line each: which command opens it, whether the
// service access code is asked first, how long its dialog lives, how it is made and the
// field table it edits, whose title names the undo step its changes make.
class EditorLaunchers {
  public:
    enum class Lifetime {
        Window,    // made with the main window, run again at every opening
        PerUse,    // made for one opening
        Document,  // one object per document, made again only for another document's image
    };
    // What a dialog is made with.
    struct Context {
        CChildFrame* frame = nullptr;  // the active channel window; null for a Window dialog
        std::function<cps::RadioImage*()> activeImage;  // for a Window dialog
        bool chinese = false;
        QWidget* parent = nullptr;
    };
    struct Launcher {
        int command = 0;
        bool needsAccessCode = false;
        Lifetime lifetime = Lifetime::PerUse;
        std::function<std::unique_ptr<QDialog>(const Context&)> make;
        const cps::field::Table* fields = nullptr;  // its title names the undo step
        // Optional steps around the opening: before it, and after OK; with afterOk only OK
        // makes a step.
        std::function<void(CChildFrame&)> before;
        std::function<void(CChildFrame&)> afterOk;
        // The step's name when the dialog spans several tables (2-Tone).
        const char* stepEn = nullptr;
        const char* stepZh = nullptr;
    };

    // Makes the Window dialogs, as children of the workspace's dialog parent.
    EditorLaunchers(Workspace& workspace, bool chinese, std::vector<Launcher> table);
    ~EditorLaunchers();

    // Runs the command's editor on the active document; false when there is none.
    bool launch(int command);
    // A Window or Document dialog, once made.
    QDialog* dialog(int command) const;
    // The undo step a launcher's changes make, in the program's language.
    QString stepName(int command) const;
    // The document's dialogs go with it.
    void forget(CChildFrame* frame);

    // The program's editors. afterSoftwareInfo: what follows Software Info's OK beside the
    // grid's refill (the image is no longer a new one).
    static std::vector<Launcher> standard(std::function<void()> afterSoftwareInfo);

  private:
    const Launcher* find(int command) const;

    Workspace& workspace_;
    bool chinese_;
    std::vector<Launcher> table_;
    QHash<int, QDialog*> kept_;  // Window dialogs (children of the main window)
    // Document dialogs, with the channel window they were made for.
    struct ForDocument {
        std::unique_ptr<QDialog> dialog;
        CChildFrame* frame = nullptr;
    };
    std::map<int, ForDocument> perDocument_;
};
