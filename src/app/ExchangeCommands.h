#pragma once

#include <QObject>
#include <memory>

#include "RadioImage.h"

class Prompter;
class Workspace;
namespace cps {
struct Settings;
class ScratchReadHost;
}  // namespace cps

// File > Import Channels... / Export Channels... (a CSV channel list) and Program > Compare
// with Radio, on the main window's active document.
class ExchangeCommands : public QObject {
    Q_OBJECT
  public:
    ExchangeCommands(Workspace& workspace, const cps::Settings& settings, Prompter& prompter,
                     QObject* parent);
    ~ExchangeCommands() override;

    void importChannels();
    void exportChannels();
    void compareWithRadio();

  private:
    void showComparison(const cps::RadioImage& document, const cps::RadioImage& radio);
    QString caption() const;

    Workspace& workspace_;
    const cps::Settings& settings_;
    Prompter& prompter_;
    std::unique_ptr<cps::ScratchReadHost> scratch_;
};
