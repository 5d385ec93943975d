#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Maintenance {

// Asks which code page a Paradox table's text was written in, when its header names none
// or one that cannot be right; Windows-1250 is proposed. 0 when the user cancels.
int AskCodePage(const QString& tableFile, int headerCodePage, QWidget* owner);

// Answers in place of the user (tests): the code page to use, 0 for a cancel. An empty
// function brings the real dialog back.
using CodePageHook = std::function<int(const QString& tableFile, int headerCodePage)>;
void setCodePageHook(CodePageHook hook);

} // namespace Maintenance
