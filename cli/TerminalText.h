#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <cstdio>

namespace cps::cli {

// Text from an image or from the user, made harmless for a terminal: C0 and C1 controls and
// DEL become \xNN, as `cps channels` writes them, so that a crafted name cannot clear the
// screen or rewrite earlier lines. A new line stays one when keepLines is set.
QString terminalText(const QString& text, bool keepLines = false);

// JSON text with the C1 controls and DEL (which JSON may carry raw) written as \u00XX
// escapes; what it parses to stays the same.
QByteArray jsonTerminalSafe(const QByteArray& json);

// The device under cps's message and text streams: UTF-8 bytes pass to file, except
// controls, which arrive as \xNN. Line ends pass, and tabs when keepTabs is set (the
// column separators of printed tables).
class TerminalDevice : public QIODevice {
  public:
    TerminalDevice(FILE* file, bool keepTabs);

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    FILE* file_;
    bool keepTabs_;
    bool pendingC2_ = false;  // a lead byte whose C1 follower may come in the next write
};

}  // namespace cps::cli
