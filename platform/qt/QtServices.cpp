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

namespace {

// How long a clipboard owner may stay silent before the paste gives up.
constexpr std::chrono::milliseconds kOwnerPatience{1000};

// ISO 8859-1 bytes as UTF-8: each byte is the character of the same number.
std::string Latin1ToUtf8(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

}  // namespace

QtClipboard::QtClipboard() = default;

QtClipboard::~QtClipboard()
{
    QObject::disconnect(changes_);
}

void QtClipboard::Follow()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (following_ || !clipboard) return;
    following_ = true;
    x11_ = X11Selection::ForApplication();
    changes_ = QObject::connect(clipboard, &QClipboard::changed, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard) Changed();
    });
    Changed();
}

void QtClipboard::Changed()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard()) {
        offersText_ = true;  // this program puts nothing but text there
    } else if (x11_) {
        // Which formats another owner offers is only known by asking it: it is asked when
        // the user pastes.
        offersText_ = x11_->HasOwner();
    } else {
        // Elsewhere the offered formats come with the notice.
        const QMimeData* data = clipboard->mimeData();
        offersText_ = data && data->hasText();
    }
}

std::optional<std::string> QtClipboard::GetText()
{
    Follow();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return std::nullopt;
    if (x11_ && !clipboard->ownsClipboard()) {
        const SelectionText read = x11_->ReadText(kOwnerPatience);
        if (read.outcome != SelectionText::Outcome::Text) return std::nullopt;
        return Utf8ToCp1252Exactly(read.utf8 ? read.bytes : Latin1ToUtf8(read.bytes));
    }
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    const QByteArray bytes = data->data("text/plain");
    return Utf8ToCp1252Exactly(bytes.isEmpty() ? data->text().toStdString() : bytes.toStdString());
}

bool QtClipboard::SetText(const std::string& text)
{
    return SetUtf8Text(Cp1252ToUtf8(text));
}

bool QtClipboard::SetUtf8Text(const std::string& utf8)
{
    Follow();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    const QString text = Utf8ToQt(utf8);
    clipboard->setText(text);
    if (clipboard->supportsSelection()) clipboard->setText(text, QClipboard::Selection);
    return true;
}

bool QtClipboard::HasText()
{
    Follow();
    return offersText_;
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
