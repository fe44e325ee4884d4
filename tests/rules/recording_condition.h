// Test-only: a condition that answers what it is told and counts its calls.
#pragma once

#include "rules/i_action_take.h"
#include "rules/i_condition_check.h"

namespace vandrel::test {

class RecordingCondition : public IConditionCheck {
  public:
    RecordingCondition(bool answer, int* calls) : answer_(answer), calls_(calls) {}
    bool DoCheck(const QString& paramList) override {
        ++*calls_;
        lastParams = paramList;
        return answer_;
    }
    QString SaveToString() const override { return QStringLiteral("rec"); }
    void LoadFromString(const QString&) override {}
    QString lastParams;

  private:
    bool answer_;
    int* calls_;
};

// Test-only: an action that appends a marker to the path it was given.
class SuffixAction : public IActionTake {
  public:
    SuffixAction(QString suffix, QStringList* seen) : suffix_(std::move(suffix)), seen_(seen) {}
    QString TakeAction(const QString& paramList) override {
        seen_->append(paramList);
        return paramList + suffix_;
    }
    QString SaveToString() const override { return suffix_; }
    void LoadFromString(const QString&) override {}

  private:
    QString suffix_;
    QStringList* seen_;
};

}  // namespace vandrel::test
