#include "formutil.h"

#include "database.h"
#include "dberror.h"
#include "dbgrid.h"
#include "folders.h"
#include "menustyle.h"
#include "table.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

class FocusHighlighter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
            QWidget* target = w;
            // A combo box's editor belongs to the combo box.
            if (auto* combo = qobject_cast<QComboBox*>(w->parentWidget()))
                target = combo;
            QPalette p = target->palette();
            const QColor normal = QApplication::palette(target).color(QPalette::Base);
            p.setColor(QPalette::Base, event->type() == QEvent::FocusIn ? FocusColor() : normal);
            target->setPalette(p);
            if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->lineEdit())
                combo->lineEdit()->setPalette(p);
        }
        return QObject::eventFilter(watched, event);
    }
};

FocusHighlighter* highlighter()
{
    static auto* h = new FocusHighlighter(qApp);
    return h;
}

bool isEntryControl(QWidget* w)
{
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w);
}

// The next (or previous) tab stop of the window, wrapping around.
void moveFocus(QWidget* from, bool forward)
{
    QWidget* form = from->window();
    QWidget* w = from;
    for (int guard = 0; guard < 10000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == from)
            return;
        if (w->window() == form && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() &&
            !w->focusProxy()) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

class EnterNavigator : public QObject
{
public:
    explicit EnterNavigator(QWidget* form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* ke = static_cast<QKeyEvent*>(event);
        if ((ke->key() != Qt::Key_Return && ke->key() != Qt::Key_Enter) || ke->modifiers() & ~Qt::KeypadModifier)
            return false;
        QWidget* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != m_form)
            return false;
        if (qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w))
            return false;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            b->click();
            return true;
        }
        if (auto* combo = qobject_cast<QComboBox*>(w->parentWidget()); combo && combo->view()->isVisible())
            return false;
        moveFocus(QApplication::focusWidget() ? QApplication::focusWidget() : w, true);
        return true;
    }

private:
    QWidget* m_form;
};

class ArrowNavigator : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() != Qt::Key_Right && ke->key() != Qt::Key_Left)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        QLineEdit* edit = qobject_cast<QLineEdit*>(watched);
        if (!edit)
            if (auto* combo = qobject_cast<QComboBox*>(watched))
                edit = combo->lineEdit();
        if (!edit || !w)
            return false;
        const bool all = edit->hasSelectedText() && edit->selectedText() == edit->text();
        const int pos = edit->cursorPosition();
        QWidget* form = w->window();
        if (ke->key() == Qt::Key_Right && (all || pos >= edit->text().size())) {
            QMetaObject::invokeMethod(form, [edit] { moveFocus(QApplication::focusWidget() ? QApplication::focusWidget() : edit, true); }, Qt::QueuedConnection);
        } else if (ke->key() == Qt::Key_Left && (all || pos == 0)) {
            QMetaObject::invokeMethod(form, [edit] { moveFocus(QApplication::focusWidget() ? QApplication::focusWidget() : edit, false); }, Qt::QueuedConnection);
        }
        return false;
    }
};

QString& queryIntConnection()
{
    static QString name = QStringLiteral("Lerovani");
    return name;
}

} // namespace

void InstallFocusHighlight(QWidget* control)
{
    control->installEventFilter(highlighter());
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(highlighter());
}

void InstallFocusHighlightAll(QWidget* form)
{
    for (QWidget* w : form->findChildren<QWidget*>())
        if (isEntryControl(w) && !qobject_cast<QComboBox*>(w->parentWidget()))
            InstallFocusHighlight(w);
}

void InstallEnterNavigation(QWidget* form)
{
    auto* nav = new EnterNavigator(form);
    for (QWidget* w : form->findChildren<QWidget*>())
        w->installEventFilter(nav);
}

void InstallArrowNavigation(QWidget* control)
{
    static auto* nav = new ArrowNavigator(qApp);
    // An editable combo box hands keys to its editor by a direct call that filters never see,
    // so the combo box itself is watched.
    control->installEventFilter(nav);
}

void HighlightSortColumn(QTableView* grid, const QString& field)
{
    auto* model = qobject_cast<Engine::TableModel*>(grid->model());
    if (!model)
        return;
    for (int c = 0; c < model->columnCount(); ++c)
        model->setColumnColor(c, model->columnField(c) == field ? SortColumnColor() : QColor());
}

QString RecordPosText(const Engine::Table& table)
{
    return QStringLiteral("%1: %2").arg(table.recordCount()).arg(table.recNo());
}

void SetQueryIntConnection(const QString& connectionName) { queryIntConnection() = connectionName; }

int QueryInt(const QString& sql, int def)
{
    const QVariant v = Engine::Database::scalar(queryIntConnection(), sql);
    if (!v.isValid() || v.isNull())
        return def;
    bool ok = false;
    const int n = v.toInt(&ok);
    if (!ok)
        throw Engine::DbError(QStringLiteral("'%1' nem érvényes egész szám.").arg(v.toString()));
    return n;
}

void SetupMenuDrawing(QWidget* window)
{
    for (QMenu* m : window->findChildren<QMenu*>())
        m->setStyle(MenuStyle::instance());
    for (QMenuBar* b : window->findChildren<QMenuBar*>())
        b->setStyle(MenuStyle::instance());
}

void ShellOpen(const QString& target)
{
    if (target.isEmpty())
        return;
    const QFileInfo fi(target);
    if (fi.isFile() && fi.isExecutable() && fi.suffix().isEmpty()) {
        QProcess::startDetached(fi.absoluteFilePath(), {}, ExeDir());
        return;
    }
    const QUrl url = fi.exists() || !target.contains(QLatin1Char(':')) ? QUrl::fromLocalFile(fi.absoluteFilePath())
                                                                       : QUrl(target);
    QDesktopServices::openUrl(url);
}

QHBoxLayout* MakeOkCancelRow(QWidget* parent, QPushButton*& ok, QPushButton*& cancel, const QString& okName,
                             const QString& cancelName)
{
    ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setObjectName(okName);
    cancel = new QPushButton(QStringLiteral("Mégsem"), parent);
    cancel->setObjectName(cancelName);
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
