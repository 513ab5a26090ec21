#pragma once

#include <QString>
#include <deque>
#include <ostream>
#include <vector>

#include "RadioLink.h"

namespace cps::test {

// Answers message boxes from a script and records everything the protocol shows.
class ScriptPrompt : public LinkPrompt {
  public:
    struct Box {
        QString text;
        QString caption;
        Buttons buttons;
    };
    std::deque<Answer> answers;  // taken in order; Cancel when empty
    std::vector<Box> boxes;
    std::vector<QString> statuses;
    std::vector<int> progress;
    int progressMax = -1;
    int pumps = 0;
    int cancelAtProgress = -1;  // cancel at the first pump after this position
    int cancelAtPump = -1;

    Answer message(const QString& text, const QString& caption, Buttons buttons) override {
        boxes.push_back({text, caption, buttons});
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void setStatus(const QString& text) override { statuses.push_back(text); }
    void setProgressRange(int maximum) override { progressMax = maximum; }
    void setProgress(int position) override { progress.push_back(position); }
    bool pump() override {
        ++pumps;
        if (cancelAtPump >= 0 && pumps >= cancelAtPump) return true;
        return cancelAtProgress >= 0 && !progress.empty() && progress.back() >= cancelAtProgress;
    }
};

}  // namespace cps::test

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
