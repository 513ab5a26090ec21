#pragma once

#include <QObject>
#include <memory>

#include "RadioImage.h"

class CMainFrame;
class Prompter;
class QAction;
namespace cps {
struct AppContext;
class ScratchReadHost;
}  // namespace cps

namespace cmd {
enum : int {
    ImportChannels = 0x8040,
    ExportChannels = 0x8041,
    CompareWithRadio = 0x8042,
};
}

// File > Import Channels... / Export Channels... (a CSV channel list) and Program > Compare
// with Radio, on the main window's active document. Kept apart from the frame so that its
// menus stay one list of the framework's commands.
class ExchangeCommands : public QObject {
    Q_OBJECT
  public:
    // Adds the three commands to the frame's File and Program menus.
    ExchangeCommands(CMainFrame& frame, cps::AppContext& context, Prompter& prompter);
    ~ExchangeCommands() override;

    void importChannels();
    void exportChannels();
    void compareWithRadio();

    // The document's image with the grid's rows stored into a copy (the document untouched).
    static bool documentWithGrid(CMainFrame& frame, cps::RadioImage* image);

  private:
    QAction* makeAction(int id, const char* text, const char* prompt);
    void showComparison(const cps::RadioImage& document, const cps::RadioImage& radio);
    QString caption() const;

    CMainFrame& frame_;
    cps::AppContext& context_;
    Prompter& prompter_;
    std::unique_ptr<cps::ScratchReadHost> scratch_;
};
