#include "fieldlink.h"

#include "dberror.h"
#include "messages.h"
#include "table.h"
#include "tablemodel.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDate>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

FieldLink::FieldLink(QWidget* w, Engine::Table* t, const QString& field, Options o)
    : QObject(w), m_widget(w), m_table(t), m_field(field), m_options(o)
{
    w->installEventFilter(this);
    connect(t, &Engine::Table::currentValuesChanged, this, &FieldLink::refresh);
    connect(t, &Engine::Table::stateChanged, this, &FieldLink::refresh);
    refresh();
}

FieldLink* FieldLink::bind(QLineEdit* w, Engine::Table* t, const QString& field, Options o)
{
    auto* link = new FieldLink(w, t, field, o);
    w->setReadOnly(o.readOnly);
    if (t->isActive() && t->hasField(field)) {
        const Engine::FieldInfo f = t->field(field);
        if (f.type == Engine::FieldType::String && f.size > 0)
            w->setMaxLength(f.size);
    }
    if (o.upperCase)
        QObject::connect(w, &QLineEdit::textEdited, w, [w](const QString& text) {
            const QString up = text.toUpper();
            if (up != text) {
                const int pos = w->cursorPosition();
                w->setText(up);
                w->setCursorPosition(pos);
            }
        });
    return link;
}

FieldLink* FieldLink::bind(QComboBox* w, Engine::Table* t, const QString& field, Options o)
{
    w->setEditable(true);
    w->setInsertPolicy(QComboBox::NoInsert);
    auto* link = new FieldLink(w, t, field, o);
    if (w->lineEdit()) {
        w->lineEdit()->installEventFilter(link);
        if (t->isActive() && t->hasField(field)) {
            const Engine::FieldInfo f = t->field(field);
            if (f.type == Engine::FieldType::String && f.size > 0)
                w->lineEdit()->setMaxLength(f.size);
        }
    }
    QObject::connect(w, &QComboBox::activated, link, [link] { link->commit(); });
    return link;
}

FieldLink* FieldLink::bind(QPlainTextEdit* w, Engine::Table* t, const QString& field, Options o)
{
    w->setReadOnly(o.readOnly);
    return new FieldLink(w, t, field, o);
}

FieldLink* FieldLink::bind(QCheckBox* w, Engine::Table* t, const QString& field, Options o)
{
    auto* link = new FieldLink(w, t, field, o);
    w->setEnabled(!o.readOnly);
    QObject::connect(w, &QCheckBox::clicked, link, [link] { link->commit(); });
    return link;
}

FieldLink* FieldLink::bind(QLabel* w, Engine::Table* t, const QString& field, Options o)
{
    o.readOnly = true;
    return new FieldLink(w, t, field, o);
}

QString FieldLink::widgetText() const
{
    if (auto* e = qobject_cast<QLineEdit*>(m_widget))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(m_widget))
        return c->currentText();
    if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget))
        return p->toPlainText();
    if (auto* l = qobject_cast<QLabel*>(m_widget))
        return l->text();
    return QString();
}

void FieldLink::setWidgetText(const QString& text)
{
    if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
        if (e->text() != text) {
            e->setText(text);
            e->setCursorPosition(0);
        }
    } else if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
        if (c->currentText() != text)
            c->setEditText(text);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
        if (p->toPlainText() != text)
            p->setPlainText(text);
    } else if (auto* l = qobject_cast<QLabel*>(m_widget)) {
        l->setText(text);
    }
}

static bool userModified(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->isModified();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->lineEdit() && c->lineEdit()->isModified();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->document()->isModified();
    return false;
}

static void clearModified(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setModified(false);
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit())
        c->lineEdit()->setModified(false);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->document()->setModified(false);
}

void FieldLink::refresh()
{
    if (!m_widget || m_committing || !m_table->isActive() || !m_table->hasField(m_field))
        return;
    // Text typed into this widget and not yet written to the row is not overwritten when
    // another field of the row changes.
    if (m_table->isEditing() && userModified(m_widget))
        return;
    m_updating = true;
    const QVariant v = m_table->value(m_field);
    if (auto* box = qobject_cast<QCheckBox*>(m_widget)) {
        box->setChecked(v.toBool());
    } else {
        QString text = Engine::TableModel::formatValue(v, m_options.format);
        if (!m_options.format.isEmpty() && v.typeId() == QMetaType::QDate)
            text = v.toDate().toString(m_options.format);
        if (m_options.upperCase)
            text = text.toUpper();
        setWidgetText(text);
    }
    clearModified(m_widget);
    m_updating = false;
}

bool FieldLink::commit()
{
    if (!m_widget || m_options.readOnly || qobject_cast<QLabel*>(m_widget) || !m_table->isEditing())
        return true;
    QVariant value;
    if (auto* box = qobject_cast<QCheckBox*>(m_widget)) {
        value = box->isChecked();
    } else {
        const QString text = widgetText();
        const QVariant current = m_table->value(m_field);
        if (Engine::TableModel::formatValue(current, m_options.format) == text) {
            clearModified(m_widget);
            return true;
        }
        value = text;
        if (text.isEmpty() && m_table->field(m_field).type != Engine::FieldType::String &&
            m_table->field(m_field).type != Engine::FieldType::Memo)
            value = QVariant();
    }
    m_committing = true;
    try {
        m_table->setValue(m_field, value);
    } catch (const Engine::DbError& e) {
        m_committing = false;
        ShowError(e.message(), m_widget->window());
        QWidget* w = m_widget;
        QTimer::singleShot(0, w, [w] { w->setFocus(); });
        return false;
    }
    m_committing = false;
    clearModified(m_widget);
    refresh();
    return true;
}

bool FieldLink::commitAll(QWidget* root)
{
    for (FieldLink* link : root->findChildren<FieldLink*>()) {
        if (!link->commit()) {
            if (link->widget())
                link->widget()->setFocus();
            return false;
        }
    }
    return true;
}

bool FieldLink::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !m_updating) {
        auto* combo = qobject_cast<QComboBox*>(m_widget);
        // The combo's own line edit loses the focus to its pop-up list; that is no leaving.
        if (!(combo && combo->view() && combo->view()->isVisible()))
            commit();
    }
    return QObject::eventFilter(watched, event);
}
