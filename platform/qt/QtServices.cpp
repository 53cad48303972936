// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/DialogRegistry.h"
#include "platform/qt/QtText.h"

namespace qv {

std::map<std::string, DialogRunner>& RegisteredDialogs()
{
    static std::map<std::string, DialogRunner> dialogs;
    return dialogs;
}

PromptAnswer QtPrompt::Show(const std::string& text, const std::string& caption, PromptIcon icon,
                            PromptButtons buttons, PromptAnswer defaultButton)
{
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
    case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
    case PromptIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case PromptIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case PromptIcon::None: break;
    }
    std::map<QAbstractButton*, PromptAnswer> answers;
    auto add = [&](const char* label, QMessageBox::ButtonRole role, PromptAnswer answer) {
        QPushButton* button = box.addButton(QString::fromUtf8(label), role);
        answers[button] = answer;
        if (answer == defaultButton) box.setDefaultButton(button);
        if (role == QMessageBox::RejectRole || (role == QMessageBox::NoRole && buttons == PromptButtons::YesNo) ||
            (role == QMessageBox::AcceptRole && buttons == PromptButtons::Ok))
            box.setEscapeButton(button);
    };
    switch (buttons) {
    case PromptButtons::Ok: add("OK", QMessageBox::AcceptRole, PromptAnswer::Ok); break;
    case PromptButtons::OkCancel:
        add("OK", QMessageBox::AcceptRole, PromptAnswer::Ok);
        add("Abbrechen", QMessageBox::RejectRole, PromptAnswer::Cancel);
        break;
    case PromptButtons::YesNo:
        add("&Ja", QMessageBox::YesRole, PromptAnswer::Yes);
        add("&Nein", QMessageBox::NoRole, PromptAnswer::No);
        break;
    case PromptButtons::YesNoCancel:
        add("&Ja", QMessageBox::YesRole, PromptAnswer::Yes);
        add("&Nein", QMessageBox::NoRole, PromptAnswer::No);
        add("Abbrechen", QMessageBox::RejectRole, PromptAnswer::Cancel);
        break;
    }
    box.exec();
    auto it = answers.find(box.clickedButton());
    if (it != answers.end()) return it->second;
    return buttons == PromptButtons::YesNo ? PromptAnswer::No
         : buttons == PromptButtons::Ok    ? PromptAnswer::Ok
                                           : PromptAnswer::Cancel;
}

void QtPrompt::Beep()
{
    QApplication::beep();
}

std::optional<std::string> QtClipboard::GetText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return std::nullopt;
    const QString text = clipboard->text();
    if (text.isNull()) return std::nullopt;
    return FromQt(text);
}

bool QtClipboard::SetText(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    const QString converted = ToQt(text);
    clipboard->setText(converted);
    if (clipboard->supportsSelection()) clipboard->setText(converted, QClipboard::Selection);
    return true;
}

bool QtClipboard::HasText()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

bool QtDialogService::Run(DialogModel& model)
{
    auto& dialogs = RegisteredDialogs();
    auto it = dialogs.find(model.DialogName());
    if (it == dialogs.end()) return false;
    return it->second(model, parent_);
}

QtTimerService::~QtTimerService()
{
    for (auto& [id, timer] : timers_) delete timer;
}

int QtTimerService::Start(int intervalMs, std::function<void()> onTick)
{
    auto* timer = new QTimer;
    timer->setInterval(intervalMs);
    QObject::connect(timer, &QTimer::timeout, std::move(onTick));
    timer->start();
    timers_[++lastId_] = timer;
    return lastId_;
}

void QtTimerService::Stop(int id)
{
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second->stop();
    it->second->deleteLater();  // the timer may be stopping itself from its own tick
    timers_.erase(it);
}

}  // namespace qv
