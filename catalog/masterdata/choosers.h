#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>

class QWidget;

// The master-data choosers. Each shows its list modally, positioned on the row whose key is start
// (the first row when there is none), restricted to the rows of group tip where the list has
// groups, with caption as the window's and the column's title. The user may add, change and
// delete rows on the way; those changes are saved at once whatever the result.
//
// Elfogad (or a double click) chooses the current row: its key, 0 on an empty list, and its name.
// Bezár chooses nothing: -1 (or empty text), and name is left as it was.

QString ChooseSzerzo(int start, int tip, const QString& caption, QWidget* parent = nullptr); // name or ""
int ChooseKiado(int start, int tip, const QString& caption, QString& name, QWidget* parent = nullptr);
int ChooseTargykor(int start, int tip, const QString& caption, QString& name, QWidget* parent = nullptr);
int ChooseMufaj(int start, int tip, const QString& caption, QString& name, QWidget* parent = nullptr);
int ChoosePrgtipus(int start, int tip, const QString& caption, QString& name, QWidget* parent = nullptr);
int ChooseMinoseg(int start, int tip, const QString& caption, QString& name, QWidget* parent = nullptr);
int ChooseSorozat(int start, QString& name, QWidget* parent = nullptr);
int ChoosePolc(int start, QString& name, QWidget* parent = nullptr);
// The code (empty when nothing was chosen) and its description.
QString ChooseSzakjel(const QString& start, QString& description, QWidget* parent = nullptr);

// "Törzsadatok hozzáadása": the text typed, lines separated by "\n", after OK; empty otherwise.
QString AskMasterLines(QWidget* parent = nullptr);
// The same with text already in the editor (given back to the user to correct).
QString AskMasterLines(const QString& initialText, QWidget* parent);

// Tests answer the choosers without windows. While a hook is set, every Choose function calls it
// instead of showing its list and returns what it returns: a value is (key, name), nullopt means
// "left with Bezár".
//   table          the master table: "szerzo", "kiado", "targykor", "mufaj", "prgtipus", "minoseg",
//                  "sorozat", "polc" or "szakjel"
//   start_or_code  the start key; -1 for "szakjel", whose start code comes in caption instead
//   tip            the group; -1 for the lists without groups (sorozat, polc, szakjel)
//   caption        the caller's caption; empty for sorozat and polc; the start code for szakjel
// The key is read with toInt() (ChooseSzerzo ignores it and returns the name), for "szakjel" with
// toString() as the code. An empty function brings the windows back.
using ChooserHook = std::function<std::optional<std::pair<QVariant, QString>>(
    const QString& table, int start_or_code, int tip, const QString& caption)>;
void setChooserHook(ChooserHook hook);

// Likewise for AskMasterLines: called with the text already in the editor (usually empty), returns
// the text as if typed and confirmed with OK, or empty text for Mégsem.
using MasterLinesHook = std::function<QString(const QString& initialText)>;
void setMasterLinesHook(MasterLinesHook hook);
