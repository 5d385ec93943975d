#include "megj.h"

#include "database.h"
#include "dberror.h"
#include "dbgrid.h"
#include "editors.h"
#include "fieldlink.h"
#include "formpos.h"
#include "messages.h"
#include "table.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <functional>

namespace {

// The file name shown as a link: blue, underlined, a hand over it.
class LinkLabel : public QLabel
{
public:
    explicit LinkLabel(QWidget* parent) : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setCursor(Qt::PointingHandCursor);
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        setPalette(p);
    }
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick) onClick();
        QLabel::mouseReleaseEvent(e);
    }
};

QAction* makeAction(QObject* owner, const char* name, const QString& caption, const QKeySequence& key,
                    const QIcon& icon)
{
    auto* a = new QAction(icon, caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(caption);
    a->setStatusTip(caption);
    a->setShortcut(key);
    return a;
}

QLineEdit* itemField(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    QFont f = e->font();
    f.setBold(true);
    e->setFont(f);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, QColor(255, 251, 240)); // cream
    e->setPalette(p);
    return e;
}

} // namespace

Tfrm_Megj::Tfrm_Megj(Engine::Table& catalog, QWidget* parent) : QDialog(parent), m_catalog(catalog)
{
    setObjectName(QStringLiteral("frm_Megj"));
    setWindowTitle(QStringLiteral("Képek, egyebek"));
    setModal(true);
    resize(520, 360);

    m_az = catalog.value(QStringLiteral("az")).toInt();
    Tbl = new Engine::Table(catalog.connectionName(), this);
    Tbl->setObjectName(QStringLiteral("Tbl"));
    Tbl->setTableName(QStringLiteral("megj.DB"));
    Tbl->setIndexFieldNames(QStringLiteral("konyv;doknev"));
    Tbl->setFilter(QStringLiteral("konyv=") + QString::number(m_az));
    Tbl->setFiltered(true);
    Tbl->open();

    auto* top = new QVBoxLayout(this);
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* pl = new QHBoxLayout(panel);
    pl->setContentsMargins(0, 0, 0, 0);
    DBEdit1 = itemField(panel, "DBEdit1");
    DBEdit1->setMaximumWidth(120);
    DBEdit2 = itemField(panel, "DBEdit2");
    pl->addWidget(DBEdit1);
    pl->addWidget(DBEdit2, 1);
    top->addWidget(panel);
    FieldLink::bind(DBEdit1, &catalog, QStringLiteral("azonosito"), {false, true, {}});
    FieldLink::bind(DBEdit2, &catalog, QStringLiteral("cim"), {false, true, {}});

    QStyle* st = style();
    aUj = makeAction(this, "aUj", QStringLiteral("Új dokumentum"), QKeySequence(Qt::Key_Insert),
                     QIcon::fromTheme(QStringLiteral("document-new"), st->standardIcon(QStyle::SP_FileIcon)));
    aTorol =
        makeAction(this, "aTorol", QStringLiteral("Töröl"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                   QIcon::fromTheme(QStringLiteral("edit-delete"), st->standardIcon(QStyle::SP_TrashIcon)));
    aMegnyit = makeAction(
        this, "aMegnyit", QStringLiteral("Megnyit"), QKeySequence(Qt::CTRL | Qt::Key_O),
        QIcon::fromTheme(QStringLiteral("document-open"), st->standardIcon(QStyle::SP_DialogOpenButton)));
    aBezar = makeAction(
        this, "aBezar", QStringLiteral("Bezár"), QKeySequence(Qt::Key_Escape),
        QIcon::fromTheme(QStringLiteral("window-close"), st->standardIcon(QStyle::SP_DialogCloseButton)));
    connect(aUj, &QAction::triggered, this, &Tfrm_Megj::aUjExecute);
    connect(aTorol, &QAction::triggered, this, &Tfrm_Megj::aTorolExecute);
    connect(aMegnyit, &QAction::triggered, this, &Tfrm_Megj::aMegnyitExecute);
    connect(aBezar, &QAction::triggered, this, &Tfrm_Megj::aBezarExecute);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(22, 22));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->addAction(aUj);
    ToolBar1->addAction(aTorol);
    ToolBar1->addSeparator();
    ToolBar1->addAction(aMegnyit);
    ToolBar1->addSeparator();
    ToolBar1->addAction(aBezar);
    top->addWidget(ToolBar1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setTable(Tbl, {{QStringLiteral("doknev_rovid"), QStringLiteral("rövid név"), 0.75, {}},
                            {QStringLiteral("datum"), QStringLiteral("dátum"), 0.25, {}}});
    DBGrid1->horizontalHeader()->setSectionsClickable(false);
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DBGrid1->setColumnWidth(1, DBGrid1->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00")) + 24);
    top->addWidget(DBGrid1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(aUj);
    PopupMenu1->addAction(aTorol);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(aMegnyit);
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(aBezar);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(pos)); });

    auto* bottom = new QWidget(this);
    bottom->setObjectName(QStringLiteral("Panel2"));
    auto* bl = new QHBoxLayout(bottom);
    bl->setContentsMargins(2, 2, 2, 2);
    auto* link = new LinkLabel(bottom);
    link->setObjectName(QStringLiteral("DBText1"));
    link->onClick = [this] { aMegnyitExecute(); };
    DBText1 = link;
    bl->addWidget(DBText1, 1);
    top->addWidget(bottom);

    connect(Tbl, &Engine::Table::currentValuesChanged, this, &Tfrm_Megj::updateLink);
    connect(Tbl, &Engine::Table::rowsReset, this, &Tfrm_Megj::updateLink);
    updateLink();

    move(LoadFormPos(objectName()));
}

Tfrm_Megj::~Tfrm_Megj() = default;

void Tfrm_Megj::updateLink()
{
    const QString path = Tbl->isActive() && Tbl->recordCount() > 0
                             ? Tbl->value(QStringLiteral("doknev")).toString()
                             : QString();
    DBText1->setText(QDir::toNativeSeparators(path));
}

bool Tfrm_Megj::alreadyAttached(const QString& path) const
{
    // doknev compares byte for byte: on this system two spellings are two files.
    return Engine::Database::scalar(
               Tbl->connectionName(),
               QStringLiteral("SELECT COUNT(*) FROM megj WHERE konyv = :k AND doknev = :d"), 0,
               {{QStringLiteral("k"), m_az}, {QStringLiteral("d"), path}})
               .toInt() > 0;
}

void Tfrm_Megj::aUjExecute()
{
    // On this system "*" is every file; "*.*" would leave out the names without a dot.
    const QString path = AskOpenFileName(this, QStringLiteral("Dokumentum csatolás"), QString(),
                                         QStringLiteral("Minden file (*)"));
    if (path.isEmpty()) return;
    try {
        const int pathSize = Tbl->field(QStringLiteral("doknev")).size;
        if (pathSize > 0 && path.size() > pathSize) {
            ShowError(QStringLiteral("A fájl elérési útja túl hosszú (legfeljebb %1 karakter lehet):\n%2")
                          .arg(pathSize)
                          .arg(QDir::toNativeSeparators(path)),
                      this);
            return;
        }
        const QString duplicate = QStringLiteral("Ez a fájl már csatolva van ehhez a tételhez:\n%1")
                                      .arg(QDir::toNativeSeparators(path));
        if (alreadyAttached(path)) {
            ShowWarning(duplicate, this);
            Tbl->locate(QStringLiteral("doknev"), path);
            return;
        }
        QString description = QFileInfo(path).fileName();
        const int descSize = Tbl->field(QStringLiteral("doknev_rovid")).size;
        if (!AskString(QStringLiteral("Rövid leírás"), QStringLiteral("Add meg a rövid leírást"), description,
                       false, descSize > 0 ? descSize : -1, this))
            return;
        Tbl->append();
        try {
            Tbl->setValue(QStringLiteral("konyv"), m_az);
            Tbl->setValue(QStringLiteral("doknev"), path);
            Tbl->setValue(QStringLiteral("doknev_rovid"), description);
            Tbl->setValue(QStringLiteral("datum"), QDate::currentDate());
            Tbl->post();
        } catch (const Engine::DbError& e) {
            Tbl->cancel();
            // Another copy of the program may have attached it meanwhile.
            if (alreadyAttached(path))
                ShowWarning(duplicate, this);
            else
                ShowError(e.message(), this);
        }
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
    }
}

void Tfrm_Megj::aTorolExecute()
{
    try {
        if (Tbl->recordCount() == 0 || Tbl->value(QStringLiteral("doknev")).toString().isEmpty()) return;
        if (!AskConfirm(QStringLiteral("Valóban töröljem a bejegyzést?"), QStringLiteral("Megerősítés"),
                        this))
            return;
        Tbl->remove();
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
    }
}

void Tfrm_Megj::aMegnyitExecute()
{
    QString path;
    try {
        if (Tbl->recordCount() > 0) path = Tbl->value(QStringLiteral("doknev")).toString();
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
        return;
    }
    if (path.isEmpty()) return;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        ShowError(QStringLiteral("A fájl nem nyitható meg:\n%1").arg(QDir::toNativeSeparators(path)), this);
}

void Tfrm_Megj::aBezarExecute()
{
    accept();
}

void Tfrm_Megj::done(int r)
{
    SaveFormPos(objectName(), x(), y());
    Tbl->close();
    QDialog::done(r);
}

void ShowAttachments(Engine::Table& catalog, QWidget* parent)
{
    try {
        if (!catalog.isActive() || catalog.isEditing() || catalog.recordCount() == 0 || catalog.recNo() == 0)
            return;
        Tfrm_Megj w(catalog, parent);
        w.exec();
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), parent);
    }
}
