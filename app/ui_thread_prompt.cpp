#include "app/ui_thread_prompt.h"

#include <QThread>
#include <memory>

namespace vandrel {

struct UiThreadPrompt::Question {
    bool done = false;
    bool yes = false;
};

UiThreadPrompt::UiThreadPrompt(Asker asker, QObject* parent)
    : QObject(parent), asker_(std::move(asker)) {}

bool UiThreadPrompt::isShutDown() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return shutDown_;
}

void UiThreadPrompt::shutdown() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        shutDown_ = true;
    }
    answered_.notify_all();
}

void UiThreadPrompt::answer(Question& q, const QString& title, const QString& text) {
    // The box is a nested event loop: the program may begin to quit while it is open,
    // and then the answer no longer counts.
    const bool yes = !isShutDown() && asker_ && asker_(title, text);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        q.yes = yes && !shutDown_;
        q.done = true;
    }
    answered_.notify_all();
}

bool UiThreadPrompt::Confirm(const QString& title, const QString& text) {
    auto q = std::make_shared<Question>();
    if (QThread::currentThread() == thread()) {
        answer(*q, title, text);
        return q->yes;
    }
    if (isShutDown()) return false;
    QMetaObject::invokeMethod(
        this, [this, q, title, text] { answer(*q, title, text); }, Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(mutex_);
    answered_.wait(lock, [&] { return q->done || shutDown_; });
    return q->done && q->yes;
}

void UiThreadPrompt::ReportFailure(const QString& message) {
    QMetaObject::invokeMethod(
        this, [this, message] { emit failureReported(message); }, Qt::QueuedConnection);
}

}  // namespace vandrel
