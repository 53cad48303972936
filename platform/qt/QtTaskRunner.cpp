// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtTaskRunner.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace qv {
namespace {

// The work's thread, and the news that it ended.
class Worker {
public:
    Worker(const std::function<void(TaskProgress&)>& work, TaskProgress& progress)
        : progress_(progress), thread_([this, &work, &progress] {
              try {
                  work(progress);
              } catch (...) {
                  error_ = std::current_exception();
              }
              std::lock_guard lock(mutex_);
              finished_ = true;
              ended_.notify_all();
          })
    {
    }
    // Only when leaving early (an exception on the window thread): the work is stopped.
    ~Worker()
    {
        if (!thread_.joinable()) return;
        progress_.Cancel();
        thread_.join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Whether the work ended within the time.
    bool WaitFor(int ms)
    {
        std::unique_lock lock(mutex_);
        return ended_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return finished_; });
    }
    bool Finished()
    {
        std::lock_guard lock(mutex_);
        return finished_;
    }
    // Waits for the thread and passes on what the work threw.
    void Join()
    {
        thread_.join();
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool finished_ = false;
    std::exception_ptr error_;
    TaskProgress& progress_;
    std::thread thread_;  // last: it starts once everything above exists
};

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

class ProgressDialog : public QDialog {
public:
    ProgressDialog(QWidget* parent, const QString& title) : QDialog(parent)
    {
        setObjectName("LongTaskDialog");
        setWindowTitle("Quarnival");
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(title);
        layout->addWidget(label);
        bar_ = new QProgressBar;
        bar_->setObjectName("progress");
        bar_->setRange(0, kSteps);
        bar_->setMinimumWidth(300);
        layout->addWidget(bar_);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        auto* cancel = new QPushButton("Abbrechen");
        cancel->setObjectName("cancel");
        cancel->setDefault(true);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        buttons->addWidget(cancel);
        layout->addLayout(buttons);
    }

    void ShowProgress(int64_t done, int64_t total)
    {
        if (total <= 0) {
            bar_->setRange(0, 0);  // moving bar: the work does not say how far it got
            return;
        }
        const double part = static_cast<double>(std::clamp<int64_t>(done, 0, total)) / static_cast<double>(total);
        bar_->setRange(0, kSteps);
        bar_->setValue(static_cast<int>(part * kSteps));
    }

private:
    static constexpr int kSteps = 1000;
    QProgressBar* bar_ = nullptr;
};

}  // namespace

bool QtTaskRunner::Run(const std::string& title, const std::function<void(TaskProgress&)>& work)
{
    LongTaskScope running;
    TaskProgress progress;
    std::optional<WaitCursor> waitCursor(std::in_place);
    Worker worker(work, progress);
    if (!worker.WaitFor(showAfterMs_)) {
        waitCursor.reset();  // the dialog shows that work goes on, and its button takes clicks
        // Over the dialog the user is in (a tool dialog may run work), else over the window.
        QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent_.data();
        ProgressDialog dialog(owner, QString::fromStdString(title));
        QTimer poll;
        poll.setInterval(kPollMs);
        QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
            if (worker.Finished())
                dialog.accept();
            else
                dialog.ShowProgress(progress.Done(), progress.Total());
        });
        dialog.ShowProgress(progress.Done(), progress.Total());
        poll.start();
        // Anything but the work's end closes the dialog as a cancel: "Abbrechen", Escape,
        // closing the window, or the application quitting its event loops.
        if (dialog.exec() != QDialog::Accepted) progress.Cancel();
    }
    worker.Join();
    return !progress.Cancelled();
}

}  // namespace qv
