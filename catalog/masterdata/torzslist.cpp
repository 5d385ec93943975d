#include "torzslist.h"

#include "beall.h"
#include "choosers.h"
#include "convert.h"
#include "dberror.h"
#include "dbgrid.h"
#include "folders.h"
#include "formpos.h"
#include "formutil.h"
#include "messages.h"
#include "table.h"
#include "torzseditor.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <memory>

namespace {

QAction* makeAction(QWidget* owner, const char* name, const QString& caption, const QString& hint,
                    const QList<QKeySequence>& keys, const QIcon& icon)
{
    auto* a = new QAction(icon, caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(hint.isEmpty() ? caption : hint);
    a->setStatusTip(hint);
    a->setShortcuts(keys);
    owner->addAction(a);
    return a;
}

QIcon themed(const char* name, QStyle::StandardPixmap fallback, const QStyle* style)
{
    return QIcon::fromTheme(QString::fromLatin1(name), style->standardIcon(fallback));
}

// The characters that, typed into the grid, start the search.
bool startsSearch(QChar c)
{
    static const QString hungarian = QStringLiteral("áéíóőöúűü");
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || hungarian.contains(c);
}

} // namespace

TorzsListWindow::TorzsListWindow(TorzsKind kind, QWidget* parent)
    : QDialog(parent), m_member(TorzsMemberOf(kind))
{
    setObjectName(m_member.windowName());
    setWindowTitle(m_member.listCaption);
    setSizeGripEnabled(true);
    resize(m_member.designSize);

    Tbl = new Engine::Table(CatalogConnection(), this);
    Tbl->setObjectName(QStringLiteral("Tbl"));
    Tbl->setTableName(m_member.table);

    const QStyle* st = style();
    aUj = makeAction(this, "aUj", QStringLiteral("Új sor"), QStringLiteral("Új sor"),
                     {QKeySequence(Qt::Key_Insert)}, themed("document-new", QStyle::SP_FileIcon, st));
    aSzerkeszt = makeAction(this, "aSzerkeszt", QStringLiteral("Szerkeszt"), QStringLiteral("Szerkeszt"),
                            {QKeySequence(Qt::Key_F2)},
                            themed("document-edit", QStyle::SP_FileDialogDetailedView, st));
    aTorol = makeAction(this, "aTorol", QStringLiteral("Sor törlése"), QStringLiteral("Sor törlése"),
                        {QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                        themed("edit-delete", QStyle::SP_TrashIcon, st));
    if (m_member.hasKereso)
        aKeres = makeAction(this, "aKeres", QStringLiteral("Kereső"), QStringLiteral("Ugrás a keresőbe"),
                            {QKeySequence(Qt::CTRL | Qt::Key_F)},
                            themed("edit-find", QStyle::SP_FileDialogContentsView, st));
    aElfogad = makeAction(this, "aElfogad", QStringLiteral("Elfogad"), QString(),
                          {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                          themed("dialog-ok", QStyle::SP_DialogOkButton, st));
    aBezar =
        makeAction(this, "aBezar", QStringLiteral("Bezár"), QStringLiteral("Bezár"),
                   {QKeySequence(Qt::Key_Escape)}, themed("window-close", QStyle::SP_DialogCloseButton, st));
    // Only a chooser accepts a row.
    aElfogad->setEnabled(false);
    aElfogad->setVisible(false);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setMovable(false);
    ToolBar1->addAction(aUj);
    ToolBar1->addAction(aSzerkeszt);
    ToolBar1->addAction(aTorol);
    ToolBar1->addSeparator();
    ToolBar1->addAction(aElfogad);
    ToolBar1->addAction(aBezar);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(121);
    Panel1Caption = new QLabel(Panel1);
    Panel1Caption->setObjectName(QStringLiteral("Panel1Caption"));
    Panel1Caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPointSize(11);
    captionFont.setBold(true);
    Panel1Caption->setFont(captionFont);
    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 3, 4, 3);
    panelLayout->addWidget(Edit1);
    panelLayout->addWidget(Panel1Caption, 1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<Engine::Column> columns;
    if (m_member.isSzakjel())
        columns = {{m_member.keyField, QStringLiteral("szakjel"), 0.33, QString()},
                   {m_member.nameField, QStringLiteral("megnevezés"), 0.67, QString()}};
    else
        columns = {{m_member.nameField, m_member.columnTitle, 1.0, QString()}};
    DBGrid1->setTable(Tbl, columns);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusBar1->addWidget(StatusPanel1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(Panel1);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(StatusBar1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(aUj);
    PopupMenu1->addAction(aSzerkeszt);
    PopupMenu1->addAction(aTorol);
    PopupMenu1->addSeparator();
    if (aKeres) {
        PopupMenu1->addAction(aKeres);
        PopupMenu1->addSeparator();
    }
    PopupMenu1->addAction(aElfogad);
    PopupMenu1->addAction(aBezar);

    connect(aUj, &QAction::triggered, this, &TorzsListWindow::aUjExecute);
    connect(aSzerkeszt, &QAction::triggered, this, &TorzsListWindow::aSzerkesztExecute);
    connect(aTorol, &QAction::triggered, this, &TorzsListWindow::aTorolExecute);
    if (aKeres) connect(aKeres, &QAction::triggered, this, &TorzsListWindow::aKeresExecute);
    connect(aElfogad, &QAction::triggered, this, &TorzsListWindow::aElfogadExecute);
    connect(aBezar, &QAction::triggered, this, &TorzsListWindow::aBezarExecute);
    connect(Edit1, &QLineEdit::textChanged, this, &TorzsListWindow::Edit1Change);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TorzsListWindow::DBGrid1DblClick);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos)); });
    connect(Tbl, &Engine::Table::afterScroll, this, &TorzsListWindow::TblAfterScroll);
    DBGrid1->setKeyPressHandler([this](QKeyEvent* e) { return DBGrid1KeyPress(e); });
    Edit1->installEventFilter(this);
    DBGrid1->installEventFilter(this);
}

TorzsListWindow::~TorzsListWindow() = default;

void TorzsListWindow::setListCaption(const QString& caption)
{
    m_caption = caption;
    // A caller without a caption keeps the list's own.
    if (caption.isEmpty()) return;
    setWindowTitle(caption);
    DBGrid1->tableModel()->setColumnTitle(0, caption);
    if (m_member.captionOnPanel) Panel1Caption->setText(caption + QStringLiteral("  "));
}

void TorzsListWindow::enableElfogad()
{
    aElfogad->setEnabled(true);
    aElfogad->setVisible(true);
}

void TorzsListWindow::setPartition(int tip)
{
    m_tip = tip;
    Tbl->setFilter(QStringLiteral("tip=%1").arg(tip));
    Tbl->setFiltered(true);
}

void TorzsListWindow::openAt(const QVariant& start)
{
    Tbl->setIndexName(m_member.indexName);
    Tbl->open();
    if (m_member.isSzakjel()) {
        if (!start.toString().isEmpty()) Tbl->locate(m_member.keyField, start.toString());
    } else {
        Tbl->locate(m_member.keyField, start.toInt());
    }
}

QVariant TorzsListWindow::currentKey() const
{
    const QVariant v = Tbl->value(m_member.keyField);
    if (m_member.isSzakjel()) return VarToStrDef(v, QString());
    return VarToIntDef(v, 0);
}

QString TorzsListWindow::currentName() const
{
    return VarToStrDef(Tbl->value(m_member.nameField), QString());
}

void TorzsListWindow::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TorzsListWindow::FormShow()
{
    DBGrid1->tableModel()->setColumnColor(0, SortColumnColor());
    SetupMenuDrawing(this);
    const QRect r =
        LoadFormBounds(objectName(), 10, 10, m_member.designSize.width(), m_member.designSize.height());
    move(r.topLeft());
    resize(r.size());
    ApplyFontSize(this, Beall.FontSize);
    ApplyFontSize(Edit1, Beall.FontSize);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);
    TblAfterScroll();
    Edit1->setFocus();
}

void TorzsListWindow::done(int r)
{
    if (m_shown) SaveFormBounds(objectName(), x(), y(), width(), height());
    QDialog::done(r);
}

bool TorzsListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit1) {
        if (event->type() == QEvent::FocusIn) {
            Edit1->selectAll();
        } else if (event->type() == QEvent::KeyPress) {
            if (Edit1KeyDown(static_cast<QKeyEvent*>(event))) return true;
        } else if (event->type() == QEvent::ShortcutOverride) {
            // The line edit would take Ctrl+Delete for deleting a word; here it deletes the row.
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Delete && ke->modifiers() == Qt::ControlModifier) {
                event->ignore();
                return true;
            }
        }
    } else if (watched == DBGrid1 && event->type() == QEvent::Resize) {
        DBGrid1Resize();
    }
    return QDialog::eventFilter(watched, event);
}

void TorzsListWindow::DBGrid1Resize()
{
    const int w = std::max(0, DBGrid1->width() - 40);
    if (m_member.isSzakjel()) {
        DBGrid1->setColumnWidth(0, static_cast<int>(w * 0.33));
        DBGrid1->setColumnWidth(1, static_cast<int>(w * 0.67));
    } else {
        DBGrid1->setColumnWidth(0, w);
    }
}

void TorzsListWindow::TblAfterScroll()
{
    StatusPanel1->setText(RecordPosText(*Tbl));
}

void TorzsListWindow::Edit1Change(const QString& text)
{
    if (!Tbl->isActive() || Tbl->isEditing()) return;
    try {
        Tbl->locate(m_member.searchField(), text, {true, true});
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
    }
}

bool TorzsListWindow::Edit1KeyDown(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
        DBGrid1->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        return false;
    }
}

bool TorzsListWindow::DBGrid1KeyPress(QKeyEvent* e)
{
    const QString typed = e->text().toLower();
    if (typed.size() != 1 || (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        !startsSearch(typed[0]))
        return false;
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->setText(typed);
    Edit1->setCursorPosition(1);
    return true;
}

void TorzsListWindow::DBGrid1DblClick()
{
    aElfogad->trigger();
}

void TorzsListWindow::aKeresExecute()
{
    Edit1->setFocus(Qt::ShortcutFocusReason);
}

void TorzsListWindow::aElfogadExecute()
{
    done(QDialog::Accepted);
}

void TorzsListWindow::aBezarExecute()
{
    done(QDialog::Rejected);
}

void TorzsListWindow::aUjExecute()
{
    try {
        if (m_member.isSzakjel()) {
            Tbl->append();
            runEditor();
        } else {
            addLines();
        }
    } catch (const Engine::DbError& e) {
        Tbl->cancel();
        ShowError(e.message(), this);
    }
}

void TorzsListWindow::addLines()
{
    QStringList lines;
    QString text;
    for (;;) {
        text = AskMasterLines(text, this);
        if (text.isEmpty()) return;
        lines.clear();
        int tooLong = 0;
        for (QString line : text.split(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
            if (line.isEmpty()) continue;
            lines.append(line);
            if (line.size() > m_member.nameSize) ++tooLong;
        }
        if (tooLong == 0) break;
        // The field holds only nameSize characters: cutting the rest off is the user's decision.
        if (AskConfirm(
                QStringLiteral("%1 sor hosszabb %2 karakternél, ezekből csak az első %2 karakter tárolható.\n"
                               "Rögzítsem a sorokat így, levágva?\n"
                               "(Nem: a szöveg visszakerül a szerkesztőbe.)")
                    .arg(tooLong)
                    .arg(m_member.nameSize),
                QStringLiteral("Megerősítés"), this))
            break;
    }
    for (const QString& line : lines) {
        Tbl->append();
        if (m_member.partitioned) Tbl->setValue(QStringLiteral("tip"), m_tip);
        Tbl->setValue(m_member.nameField, line);
        Tbl->post();
    }
}

void TorzsListWindow::aSzerkesztExecute()
{
    try {
        // An empty list has no row to edit; editing there would save an untyped row.
        if (!Tbl->isActive() || Tbl->isEmpty()) return;
        Tbl->edit();
        runEditor();
    } catch (const Engine::DbError& e) {
        Tbl->cancel();
        ShowError(e.message(), this);
    }
}

void TorzsListWindow::runEditor()
{
    std::unique_ptr<TorzsEditor> editor(m_member.createEditor(this));
    if (m_member.partitioned) editor->setLabelAndCaption(windowTitle());
    if (editor->exec() != QDialog::Accepted) Tbl->cancel();
}

void TorzsListWindow::aTorolExecute()
{
    try {
        if (!Tbl->isActive() || Tbl->isEmpty()) return;
        if (AskConfirm(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
            Tbl->remove();
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
    }
}
