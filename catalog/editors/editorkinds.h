#pragma once

#include <QList>
#include <QString>

// What makes the nine item editors differ, as data. The editor framework (Tfrm_Szerk) builds
// its window, lists, buttons and closing step from one of these rows.
namespace EditorKinds {

// The date picker stands in the field lists under this name; the row's field is not bound.
inline const QString DateField = QStringLiteral("dat_beszerzes");

enum class Action {
    AppendName,   // ChooseSzerzo on `chooserTip`, the name appended to `field` with ", "
    Clear,        // `field` := empty text
    ChooseLookup, // ChooseKiado/Targykor/Mufaj/Prgtipus/Minoseg on `table`: key and name into the item
    ChooseSorozat,
    ChoosePolc,
    ChooseSzakjel,
};

struct FieldSpec
{
    QString field; // konyv field, or DateField
    QString label;
};

struct ListSpec
{
    QString table; // master table; its key field is named like it
    int tip;       // -1: not partitioned
    QString keyField() const { return table; }
    QString nameField() const;                        // szakjel: the code itself
    QString itemField() const { return nameField(); } // the item's field shown in the list
};

struct ButtonSpec
{
    QString name; // objectName
    Action action;
    QString field; // AppendName, Clear: the text field; ChooseLookup: the master table
    int tip = -1;
    QString caption;
    QString focusAfter;          // field name, button name or DateField; empty: the focus stays
    bool focusAlways = false;    // also when the chooser returned nothing
    QString besideField() const; // the field the button stands beside
};

struct KindSpec
{
    int kind;
    QString className;  // "Tfrm_Szerk_Konyv"
    QString windowName; // "frm_Szerk_Konyv"
    QString caption;
    QList<FieldSpec> fields; // first page, in tab order
    QList<ListSpec> lists;   // filled in this order, resolved on OK in this order
    QList<ButtonSpec> buttons;
    bool buttonsTabStop = false; // video CD and vinyl: Tab and Enter stop on the picture buttons
    bool polconWritable = false; // program CD only
    QString polconLabel = QStringLiteral("polcon");
};

const KindSpec& kindSpec(int kind); // 1..9; throws std::out_of_range otherwise
const QList<KindSpec>& allKinds();

// Controls keep one objectName per field in every editor ("DBEdit13" is always the title).
QString controlName(const QString& field);
bool isListField(const QString& field); // drop-down list with free typing

} // namespace EditorKinds
