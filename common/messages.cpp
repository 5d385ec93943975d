#include "messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

MessageHook& messageHook()
{
    static MessageHook hook;
    return hook;
}

FileDialogHook& fileDialogHook()
{
    static FileDialogHook hook;
    return hook;
}

bool showBox(MsgKind kind, const QString& caption, const QString& msg, QWidget* owner)
{
    if (messageHook()) return messageHook()(MsgRecord{kind, caption, msg});

    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    bool keepActive = false;
    switch (kind) {
    case MsgKind::Confirm:
        icon = QMessageBox::Question;
        buttons = QMessageBox::Yes | QMessageBox::No;
        keepActive = true;
        break;
    case MsgKind::Error:
        icon = QMessageBox::Critical;
        keepActive = true;
        break;
    case MsgKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MsgKind::Info:
        icon = QMessageBox::Information;
        break;
    }

    // The active window may be closed while the box is up, hence the guarded pointer.
    QPointer<QWidget> active = keepActive ? QApplication::activeWindow() : nullptr;
    QMessageBox box(icon, caption, msg, buttons, owner);
    box.setObjectName(QStringLiteral("MessageBox"));
    if (kind == MsgKind::Confirm) box.setDefaultButton(QMessageBox::Yes);
    const int result = box.exec();
    if (active) {
        active->raise();
        active->activateWindow();
    }
    return result == QMessageBox::Yes;
}

} // namespace

bool AskConfirm(const QString& msg, const QString& caption, QWidget* owner)
{
    return showBox(MsgKind::Confirm, caption, msg, owner);
}

void ShowError(const QString& msg, QWidget* owner)
{
    showBox(MsgKind::Error, QStringLiteral("Hiba"), msg, owner);
}

void ShowWarning(const QString& msg, QWidget* owner)
{
    showBox(MsgKind::Warning, QStringLiteral("Figyelmeztetés"), msg, owner);
}

void ShowInfo(const QString& msg, QWidget* owner)
{
    showBox(MsgKind::Info, QStringLiteral("Üzenet"), msg, owner);
}

void setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

QString AskOpenFileName(QWidget* owner, const QString& title, const QString& dir, const QString& filter)
{
    if (fileDialogHook()) return fileDialogHook()(false, title, dir, filter);
    return QFileDialog::getOpenFileName(owner, title, dir, filter);
}

QString AskSaveFileName(QWidget* owner, const QString& title, const QString& dir, const QString& filter)
{
    if (fileDialogHook()) return fileDialogHook()(true, title, dir, filter);
    return QFileDialog::getSaveFileName(owner, title, dir, filter);
}

void setFileDialogHook(FileDialogHook hook)
{
    fileDialogHook() = std::move(hook);
}
