// How an action asks the user a yes/no question ("Do you want to open ...") and reports
// a failure it cannot show itself (a list file that cannot be written). The desktop
// program answers with a message box, the command line from its --yes flag. An action
// handed no prompt treats every question as answered "no" and reports nothing.
#pragma once

#include <QString>

class QTextStream;

namespace vandrel {

class ActionPrompt {
  public:
    virtual ~ActionPrompt() = default;
    // A yes/no question; true means yes.
    virtual bool Confirm(const QString& title, const QString& text) = 0;
    // An action could not do what it was set up to do; message names the file and why.
    virtual void ReportFailure(const QString& message) = 0;
};

// The command line's prompt: answers every question with a fixed answer. When the answer
// is "no" it says so once on the error stream; every failure is written there as one
// "vandrel: ..." line and counted.
class FixedAnswerPrompt final : public ActionPrompt {
  public:
    FixedAnswerPrompt(bool answerYes, QTextStream& err) : answerYes_(answerYes), err_(err) {}

    bool Confirm(const QString& title, const QString& text) override;
    void ReportFailure(const QString& message) override;

    int failureCount() const { return failures_; }
    int questionCount() const { return questions_; }

  private:
    bool answerYes_;
    QTextStream& err_;
    int failures_ = 0;
    int questions_ = 0;
};

}  // namespace vandrel
