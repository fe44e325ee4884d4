#include "actions/action_prompt.h"

#include <QTextStream>

namespace vandrel {

bool FixedAnswerPrompt::Confirm(const QString& title, const QString& text) {
    (void)title;
    ++questions_;
    if (!answerYes_ && questions_ == 1)
        err_ << "vandrel: \"" << text
             << "?\" answered no; actions that ask first were skipped (use --yes to answer yes)"
             << Qt::endl;
    return answerYes_;
}

void FixedAnswerPrompt::ReportFailure(const QString& message) {
    ++failures_;
    err_ << "vandrel: " << message << Qt::endl;
}

}  // namespace vandrel
