#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every question and error of the programs reaches the user through these boxes.
// Button texts come from Qt's Hungarian translation, which the programs install.
bool AskConfirm(const QString& msg, const QString& caption, QWidget* owner = nullptr);
void ShowError(const QString& msg, QWidget* owner = nullptr);
void ShowWarning(const QString& msg, QWidget* owner = nullptr);
void ShowInfo(const QString& msg, QWidget* owner = nullptr);

enum class MsgKind { Confirm, Error, Warning, Info };

struct MsgRecord
{
    MsgKind kind;
    QString caption;
    QString text;
};

// A hook answers in place of the user (tests); its result is the Yes of a Confirm and is
// ignored for the other kinds. An empty function brings the real boxes back.
using MessageHook = std::function<bool(const MsgRecord&)>;
void setMessageHook(MessageHook hook);

// File dialogs: filter in Qt's syntax ("Szöveg (*.txt);;Minden fájl (*)"); empty result = cancelled.
QString AskOpenFileName(QWidget* owner, const QString& title, const QString& dir, const QString& filter);
QString AskSaveFileName(QWidget* owner, const QString& title, const QString& dir, const QString& filter);

using FileDialogHook =
    std::function<QString(bool save, const QString& title, const QString& dir, const QString& filter)>;
void setFileDialogHook(FileDialogHook hook);
