// The desktop program's answer to the actions' questions ("Do you want to open ...?"):
// a yes/no box on the user-interface thread, whichever thread the action runs on. An
// action on a worker thread waits for the answer. After shutdown() every question, also
// one already waiting, is answered "no", so a program that quits never leaves a worker
// waiting. Failures go to the user-interface thread as a signal and never wait.
// Create on the user-interface thread; Confirm and ReportFailure from any thread.
#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "actions/action_prompt.h"

namespace vandrel {

class UiThreadPrompt : public QObject, public ActionPrompt {
    Q_OBJECT

  public:
    // Asks on the user-interface thread; true means yes.
    using Asker = std::function<bool(const QString& title, const QString& text)>;

    explicit UiThreadPrompt(Asker asker, QObject* parent = nullptr);

    // Replaces the asker (tests answer without a box). User-interface thread only.
    void setAsker(Asker asker) { asker_ = std::move(asker); }

    bool Confirm(const QString& title, const QString& text) override;
    void ReportFailure(const QString& message) override;

    // From now on every question is answered "no"; a waiting worker goes on at once.
    void shutdown();
    bool isShutDown() const;

  signals:
    void failureReported(const QString& message);

  private:
    struct Question;
    void answer(Question& q, const QString& title, const QString& text);

    Asker asker_;
    mutable std::mutex mutex_;
    std::condition_variable answered_;
    bool shutDown_ = false;
};

}  // namespace vandrel
