#pragma once

#include <QMdiSubWindow>

class CProgramDoc;
class CProgramView;
class Prompter;

// The channel window: one per document. Closing it only hides it, so the document and
// its grid stay as they are until Channel Information shows it again.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
  public:
    static constexpr int kWidth = 1095;
    static constexpr int kHeight = 650;

    CChildFrame(CProgramDoc* doc, Prompter* prompter, QWidget* parent = nullptr);

    CProgramDoc* document() const { return doc_; }
    CProgramView* view() const { return view_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CProgramDoc* doc_;
    CProgramView* view_;
};
