#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace Engine {
class Table;
}

// What an item editor needs of the main window.
struct EditorContext
{
    // The catalogue cursor on konyv (bound fields and the calculated polconstr); the editor edits
    // its current row in place.
    Engine::Table* tbl = nullptr;
    // Leaves tbl in insert state on a new row of the kind, numbered and pre-filled.
    std::function<void(int kind)> insertNewItem;
};

// Shows the editor of kind 1..9 modally over tbl's current row (isNew: over a row that
// insertNewItem inserts first). The az of the saved row after OK, -1 after Mégsem. Editing an
// empty view does nothing and gives -1.
int EditItem(int kind, bool isNew, const EditorContext& ctx, QWidget* parent);

// One-line input dialog. With normalCase false every letter becomes a capital, the value put in
// included. maxLength -1: no limit. True after OK, with value set to the text.
bool AskString(const QString& caption, const QString& prompt, QString& value, bool normalCase, int maxLength,
               QWidget* parent = nullptr);

// Tests answer AskString without a window: the hook gets the arguments and returns the final
// text as AskString gives it back (the hook does its own upper-casing, the maximum length is
// not applied), or nullopt for Mégsem. An empty function brings the dialog back.
using AskStringHook = std::function<std::optional<QString>(const QString& caption, const QString& prompt,
                                                           const QString& value, bool normalCase)>;
void setAskStringHook(AskStringHook hook);

// The attachments window for catalog's current item, modal. Nothing happens on an empty view.
void ShowAttachments(Engine::Table& catalog, QWidget* parent);
