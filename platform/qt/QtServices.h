// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt side of the small platform services: message boxes and the beep, the clipboard,
// dialogs for plain dialog models, and timers.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>

#include "platform/Clipboard.h"
#include "platform/DialogService.h"
#include "platform/Prompt.h"
#include "platform/Timers.h"
#include "platform/qt/X11Selection.h"

class QTimer;

namespace qv {

class QtPrompt : public IPrompt {
public:
    explicit QtPrompt(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    PromptAnswer Show(const std::string& text, const std::string& caption, PromptIcon icon, PromptButtons buttons,
                      PromptAnswer defaultButton) override;
    void Beep() override;

private:
    QPointer<QWidget> parent_;
};

// The desktop clipboard. Whether it offers text is followed from its change notices, so
// that updating the commands' states never waits for another program; the owner is asked
// only when the text is fetched, and an owner that does not answer within a second gives
// no text. Text that is not well-formed or holds characters without a Windows-1252 byte
// gives none either: pasted, it would be bytes the user never copied.
class QtClipboard : public IClipboard {
public:
    QtClipboard();
    ~QtClipboard() override;
    QtClipboard(const QtClipboard&) = delete;
    QtClipboard& operator=(const QtClipboard&) = delete;

    std::optional<std::string> GetText() override;
    // Sets the X11 primary selection too, where there is one.
    bool SetText(const std::string& text) override;
    bool SetUtf8Text(const std::string& utf8) override;
    bool HasText() override;

private:
    // Starts following the clipboard once the application exists.
    void Follow();
    void Changed();

    bool following_ = false;
    bool offersText_ = false;
    QMetaObject::Connection changes_;
    std::unique_ptr<X11Selection> x11_;  // on X11 only
};

class QtDialogService : public IDialogService {
public:
    explicit QtDialogService(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // A model whose widget is not registered counts as cancelled.
    bool Run(DialogModel& model) override;

private:
    QPointer<QWidget> parent_;
};

class QtTimerService : public ITimerService {
public:
    ~QtTimerService() override;
    int Start(int intervalMs, std::function<void()> onTick) override;
    void Stop(int id) override;

private:
    std::map<int, QTimer*> timers_;
    int lastId_ = 0;
};

}  // namespace qv
