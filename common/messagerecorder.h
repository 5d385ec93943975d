#pragma once

#include "messages.h"

#include <QList>
#include <QStringList>

#include <algorithm>

// Test helpers: answer the boxes and file dialogs without a human while they live.

class MessageRecorder
{
public:
    MessageRecorder()
    {
        setMessageHook([this](const MsgRecord& r) {
            records.append(r);
            if (r.kind != MsgKind::Confirm || answers.isEmpty()) return true;
            return answers.takeFirst();
        });
    }
    ~MessageRecorder() { setMessageHook({}); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    int count(MsgKind kind) const
    {
        return int(std::count_if(records.cbegin(), records.cend(),
                                 [kind](const MsgRecord& r) { return r.kind == kind; }));
    }
    QStringList texts() const
    {
        QStringList list;
        for (const MsgRecord& r : records)
            list.append(r.text);
        return list;
    }

    QList<MsgRecord> records;
    QList<bool> answers; // consumed by Confirm boxes in turn; Yes when empty
};

struct FileDialogCall
{
    bool save;
    QString title;
    QString dir;
    QString filter;
};

class FileDialogRecorder
{
public:
    FileDialogRecorder()
    {
        setFileDialogHook([this](bool save, const QString& title, const QString& dir, const QString& filter) {
            calls.append(FileDialogCall{save, title, dir, filter});
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
    }
    ~FileDialogRecorder() { setFileDialogHook({}); }
    FileDialogRecorder(const FileDialogRecorder&) = delete;
    FileDialogRecorder& operator=(const FileDialogRecorder&) = delete;

    QList<FileDialogCall> calls;
    QStringList answers; // file names given in turn; cancelled (empty) when none is left
};
