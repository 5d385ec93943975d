#pragma once

#include "editorkinds.h"
#include "editors.h"

#include <QDialog>
#include <QHash>


class FieldLink;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The item editor: one window design for the nine kinds, built from the kind's row of
// EditorKinds. It edits the catalogue cursor's current row in place; the cursor stays in
// insert or edit state while the window is open.
class Tfrm_Szerk : public QDialog
{
    Q_OBJECT

public:
    ~Tfrm_Szerk() override;
    const EditorKinds::KindSpec& spec() const { return m_spec; }

    // Lines of a drop-down list: an empty first line, then every non-empty name of the
    // table's rows (only of group tip unless -1) in key order.
    static QStringList FillLookupList(const QString& connection, const QString& table,
                                      const QString& nameField, int tip);
    // Turns the item's name into the master key: the first row of the group, in key order, whose
    // name equals it ignoring case gives its key and spelling; a new name becomes a new master row.
    // An empty name means no lookup: key 0 (for the classification code an empty code).
    static void ResolveLookup(Engine::Table& item, const QString& table, const QString& keyField, int tip,
                              const QString& nameField);

protected:
    Tfrm_Szerk(int kind, QWidget* parent);

    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    friend int EditItem(int kind, bool isNew, const EditorContext& ctx, QWidget* parent);
    int run(bool isNew, const EditorContext& ctx);

    void buildWindow();
    QWidget* buildFieldControl(const EditorKinds::FieldSpec& f, QWidget* page);
    void fillLists();
    void bindFields();
    void copyDateIn();
    void copyDateOut();
    void showPicture();

    void Button1Click();
    void buttonClick(const EditorKinds::ButtonSpec& b);
    void focusTo(const QString& target);
    QWidget* fieldWidget(const QString& field) const;

    const EditorKinds::KindSpec& m_spec;
    Engine::Table* m_tbl = nullptr;
    bool m_isNew = false;
    int m_result = -1;
    bool m_shown = false;

    QTabWidget* PageControl1 = nullptr;
    QLabel* Image1 = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QCheckBox* DBCheckBox1 = nullptr;
    QPlainTextEdit* DBMemo1 = nullptr;
    QPlainTextEdit* DBMemo2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QHash<QString, QWidget*> m_fieldWidgets; // by field
    QList<QPushButton*> m_buttons;           // in the kind's order
};

// The nine editors by name; everything else comes from their kind's row.
class Tfrm_Szerk_Konyv : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_Konyv(QWidget* parent = nullptr) : Tfrm_Szerk(1, parent) {}
};

class Tfrm_Szerk_Program : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_Program(QWidget* parent = nullptr) : Tfrm_Szerk(2, parent) {}
};

class Tfrm_Szerk_CDZene : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_CDZene(QWidget* parent = nullptr) : Tfrm_Szerk(3, parent) {}
};

class Tfrm_Szerk_CDVideo : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_CDVideo(QWidget* parent = nullptr) : Tfrm_Szerk(4, parent) {}
};

class Tfrm_Szerk_Bakelit : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_Bakelit(QWidget* parent = nullptr) : Tfrm_Szerk(5, parent) {}
};

class Tfrm_Szerk_VHS : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_VHS(QWidget* parent = nullptr) : Tfrm_Szerk(6, parent) {}
};

class Tfrm_Szerk_Hang : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_Hang(QWidget* parent = nullptr) : Tfrm_Szerk(7, parent) {}
};

class Tfrm_Szerk_DVD : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_DVD(QWidget* parent = nullptr) : Tfrm_Szerk(8, parent) {}
};

class Tfrm_Szerk_Kotta : public Tfrm_Szerk
{
    Q_OBJECT
public:
    explicit Tfrm_Szerk_Kotta(QWidget* parent = nullptr) : Tfrm_Szerk(9, parent) {}
};
