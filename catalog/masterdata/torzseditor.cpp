#include "torzseditor.h"

#include "beall.h"
#include "dberror.h"
#include "fieldlink.h"
#include "formpos.h"
#include "formutil.h"
#include "messages.h"
#include "table.h"
#include "torzslist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TorzsEditor::TorzsEditor(TorzsKind kind, TorzsListWindow* list)
    : QDialog(list), m_member(TorzsMemberOf(kind)), m_list(list)
{
    setObjectName(m_member.editorWindowName());
    setWindowTitle(m_member.editorCaption);

    Label1 = new QLabel(m_member.editorLabel, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setMinimumWidth(280);
    Label1->setBuddy(DBEdit1);

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(DBEdit1, 1, 0);
    if (m_member.isSzakjel()) {
        QFont bold(QStringLiteral("Arial"));
        bold.setPointSize(11);
        bold.setBold(true);
        DBEdit1->setFont(bold);
        FieldLink::bind(DBEdit1, list->Tbl, m_member.keyField);
        Label2 = new QLabel(QStringLiteral("Megnevezés"), this);
        Label2->setObjectName(QStringLiteral("Label2"));
        DBEdit2 = new QLineEdit(this);
        DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
        Label2->setBuddy(DBEdit2);
        FieldLink::bind(DBEdit2, list->Tbl, m_member.nameField);
        fields->addWidget(Label2, 2, 0);
        fields->addWidget(DBEdit2, 3, 0);
    } else {
        FieldLink::bind(DBEdit1, list->Tbl, m_member.nameField);
    }

    // Enter moves between the controls; it presses a button only when that has the focus.
    QHBoxLayout* buttons = MakeOkCancelRow(this, btnOK, btnMegsem);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (DBEdit2) {
        setTabOrder(DBEdit1, DBEdit2);
        setTabOrder(DBEdit2, btnOK);
    } else {
        setTabOrder(DBEdit1, btnOK);
    }
    setTabOrder(btnOK, btnMegsem);

    connect(btnOK, &QPushButton::clicked, this, &TorzsEditor::btnOKClick);
    connect(btnMegsem, &QPushButton::clicked, this, &QDialog::reject);
    InstallFocusHighlightAll(this);
    InstallEnterNavigation(this);
}

void TorzsEditor::setLabelAndCaption(const QString& text)
{
    Label1->setText(text);
    setWindowTitle(text);
}

void TorzsEditor::showEvent(QShowEvent* e)
{
    if (!m_shown) {
        m_shown = true;
        RestoreFormPos(this);
        if (!m_member.editorKeepsFont) ApplyFontSize(this, Beall.FontSize);
        DBEdit1->setFocus();
    }
    QDialog::showEvent(e);
}

void TorzsEditor::done(int r)
{
    if (m_shown) StoreFormPos(this);
    QDialog::done(r);
}

void TorzsEditor::btnOKClick()
{
    Engine::Table* t = m_list->Tbl;
    if (!FieldLink::commitAll(this)) return;
    try {
        // The code is the row's key: a row without one could never be found or told apart.
        if (m_member.isSzakjel() && t->value(m_member.keyField).toString().trimmed().isEmpty())
            throw Engine::DbError(QStringLiteral("A szakjel megadása kötelező."));
        t->post();
    } catch (const Engine::DbError& e) {
        ShowError(QStringLiteral("Hiányos, vagy hibás adatmegadás\n") + e.message(), this);
        DBEdit1->setFocus();
        return;
    }
    accept();
}
