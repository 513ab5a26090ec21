#pragma once

#include <QMdiSubWindow>

#include "RadioUi.h"

class CProgramDoc;
class CProgramView;
class Prompter;
class Session;
namespace cps {
struct Settings;
}

// The channel window: one per document. Closing it only hides it, so the document and
// its grid stay as they are until Channel Information shows it again. It hosts the radio
// commands: it knows the document, its view and the settings and session they need.
class CChildFrame : public QMdiSubWindow, public cps::RadioViewHost {
    Q_OBJECT
  public:
    static constexpr int kWidth = 1095;
    static constexpr int kHeight = 650;

    CChildFrame(CProgramDoc* doc, const cps::Settings& settings, Session& session,
                Prompter* prompter, QWidget* parent = nullptr);

    CProgramDoc* document() const { return doc_; }
    CProgramView* view() const { return view_; }

    // The grid refilled from the image, after the program's step before every fill.
    void fillGridFromImage();

    // Program > Read, Program > Write, Setup > Com Setup.
    void read();
    void write();
    void comSetup();
    // Whether the Process window is open (a transfer may be about to start or running).
    bool transferWindowOpen() const;
    // Whether a transfer holds the document (its busy state).
    bool transferRunning() const;

    // The caption: "Channel Information - NAME", with "*" while there are unsaved changes.
    void updateCaption();

    // RadioViewHost
    QWidget* hostWidget() override;
    cps::RadioImage& documentImage() override;
    cps::RadioContext radioContext() override;
    cps::Bands bandsInUse() override;
    void commitPendingEdit() override;
    void storeGridIntoImage() override;
    void imageReadFromRadio() override;
    void transferStarted(bool write) override;
    void transferEnded(bool write, bool ok) override;

    // The name of a radio read as an undo step.
    QString readStepName() const;
    void reportStatus(const QString& text) override { emit statusReport(text); }

  signals:
    // A line for the status bar (the verify result).
    void statusReport(const QString& text);
    // A transfer ended; ok: it completed.
    void transferFinished(bool write, bool ok);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    CProgramDoc* doc_;
    const cps::Settings& settings_;
    Session& session_;
    CProgramView* view_;
};
