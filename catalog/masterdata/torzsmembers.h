#pragma once

#include <QList>
#include <QSize>
#include <QString>

class QWidget;
class TorzsEditor;
class TorzsListWindow;

// The nine master lists share one window and one editor; what differs is in this table.
enum class TorzsKind { Szerzo, Kiado, Targykor, Mufaj, Sorozat, PrgTipus, Polc, Szakjel, Minoseg };

struct TorzsMember
{
    TorzsKind kind;
    QString table;
    QString unit;
    QString listClass;
    QString listCaption;
    QString indexName; // order of the list; empty: the primary key (the classification code)
    QString keyField;
    QString nameField;
    int nameSize;
    // A partitioned list shows one tip group, and it is also one that takes the caller's caption
    // for its window, its column and its editor.
    bool partitioned;
    QString columnTitle; // the column's own title where no caption is given
    QString editorClass;
    QString editorCaption;
    QString editorLabel;
    QSize designSize;
    bool hasKereso;       // the publisher list has no "Kereső"
    bool editorKeepsFont; // the author editor keeps its design font size
    bool captionOnPanel;  // the subject list shows the caption beside the search box

    bool isSzakjel() const { return kind == TorzsKind::Szakjel; }
    // The field that the search box and the start key work on.
    QString searchField() const { return isSzakjel() ? keyField : nameField; }
    QString windowName() const { return listClass.mid(1); }
    QString editorWindowName() const { return editorClass.mid(1); }

    TorzsListWindow* createList(QWidget* parent) const;
    TorzsEditor* createEditor(TorzsListWindow* list) const;
};

const QList<TorzsMember>& TorzsMembers();
const TorzsMember& TorzsMemberOf(TorzsKind kind);
const TorzsMember* TorzsMemberOfTable(const QString& table);
