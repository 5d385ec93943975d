#pragma once

#include "tablemodel.h"

#include <QKeySequence>
#include <QList>
#include <QString>

// What each of the nine views shows: commands, tabs, grid columns, detail captions, titles.
struct DetailField
{
    QString caption;
    QStringList fields; // shown side by side ("kölcsönadva": borrower and date)
};

struct KindView
{
    int tipus;
    QString command;        // aKonyvek ...
    QString commandCaption; // "Könyvek"
    QKeySequence shortcut;
    QString tabCaption;
    int tabWidth;
    QString panel, grid, detail; // p0, DBGrid1, PAlja0
    QList<Engine::Column> columns;
    QList<DetailField> details;
    QString printTitle; // simple list report
    QString htmlTitle;  // HTML export
    QString iconName;
};

const QList<KindView>& kindViews();
inline QString kindFilter(int tipus) { return QStringLiteral("(tipus=%1)").arg(tipus); }
