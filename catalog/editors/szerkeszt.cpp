#include "szerkeszt.h"

#include "beall.h"
#include "choosers.h"
#include "convert.h"
#include "database.h"
#include "dberror.h"
#include "fieldlink.h"
#include "formpos.h"
#include "formutil.h"
#include "kindicon.h"
#include "messages.h"
#include "schema.h"
#include "table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStringListModel>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

using namespace EditorKinds;

namespace {

// The date system's day 0: what the picker shows for an item without acquisition date.
const QDate kEmptyDate(1899, 12, 30);

QIcon buttonIcon(Action a, QStyle* style)
{
    if (a == Action::Clear)
        return QIcon::fromTheme(QStringLiteral("edit-clear"),
                                style->standardIcon(QStyle::SP_DialogResetButton));
    return QIcon::fromTheme(QStringLiteral("view-list-details"),
                            style->standardIcon(QStyle::SP_FileDialogContentsView));
}

QString buttonHint(const ButtonSpec& b)
{
    switch (b.action) {
    case Action::Clear:
        return QStringLiteral("Törlés");
    case Action::ChoosePolc:
        return QStringLiteral("Polcok");
    case Action::ChooseSorozat:
        return QStringLiteral("Sorozatok");
    case Action::ChooseSzakjel:
        return QStringLiteral("Szakjelek");
    default:
        return b.caption;
    }
}

int masterNameSize(const QString& table, const QString& nameField)
{
    if (const Schema::TableDef* t = Schema::table(table))
        for (const Schema::FieldDef& f : t->fields)
            if (f.name == nameField) return f.size;
    return 0;
}

void setIfDifferent(Engine::Table& t, const QString& field, const QVariant& v)
{
    const QVariant cur = t.value(field);
    if (cur.isNull() != v.isNull() || cur != v) t.setValue(field, v);
}

int chooseLookup(const QString& table, int start, int tip, const QString& caption, QString& name,
                 QWidget* parent)
{
    if (table == QLatin1String("kiado")) return ChooseKiado(start, tip, caption, name, parent);
    if (table == QLatin1String("targykor")) return ChooseTargykor(start, tip, caption, name, parent);
    if (table == QLatin1String("mufaj")) return ChooseMufaj(start, tip, caption, name, parent);
    if (table == QLatin1String("prgtipus")) return ChoosePrgtipus(start, tip, caption, name, parent);
    if (table == QLatin1String("minoseg")) return ChooseMinoseg(start, tip, caption, name, parent);
    return -1;
}

} // namespace

Tfrm_Szerk::Tfrm_Szerk(int kind, QWidget* parent) : QDialog(parent), m_spec(kindSpec(kind))
{
    setObjectName(m_spec.windowName);
    setWindowTitle(m_spec.caption);
    setModal(true);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    ApplyFontSize(this, Beall.FontSize);
    buildWindow();
}

Tfrm_Szerk::~Tfrm_Szerk() = default;

QWidget* Tfrm_Szerk::buildFieldControl(const FieldSpec& f, QWidget* page)
{
    QWidget* w = nullptr;
    if (f.field == DateField) {
        DateTimePicker1 = new QDateEdit(page);
        DateTimePicker1->setCalendarPopup(false);
        DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy.MM.dd"));
        DateTimePicker1->setMinimumDate(QDate(100, 1, 1));
        w = DateTimePicker1;
    } else if (isListField(f.field)) {
        auto* combo = new QComboBox(page);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // What is typed stays as typed; the names are matched when the item is saved.
        combo->setCompleter(nullptr);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(22);
        combo->setMaxVisibleItems(20);
        if (auto* view = qobject_cast<QListView*>(combo->view())) view->setUniformItemSizes(true);
        w = combo;
    } else {
        auto* edit = new QLineEdit(page);
        if (f.field == QLatin1String("sorszam")) {
            edit->setFont(QFont(QStringLiteral("Arial"), 11, QFont::Bold));
            edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
        }
        edit->setMinimumWidth(fontMetrics().averageCharWidth() * 26);
        w = edit;
    }
    w->setObjectName(controlName(f.field));
    m_fieldWidgets.insert(f.field, w);
    return w;
}

void Tfrm_Szerk::buildWindow()
{
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    top->addWidget(PageControl1);

    auto* page1 = new QWidget;
    page1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(page1, QStringLiteral("Törzsadatok"));

    // Picture, the first three fields and the shelf flag at the top; the rest in two columns.
    auto* pageLayout = new QVBoxLayout(page1);
    auto* head = new QHBoxLayout;
    pageLayout->addLayout(head);
    Image1 = new QLabel(page1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(64, 64);
    Image1->setAlignment(Qt::AlignCenter);
    head->addWidget(Image1, 0, Qt::AlignTop);
    auto* headGrid = new QGridLayout;
    head->addLayout(headGrid, 1);
    auto* grid = new QGridLayout;
    pageLayout->addLayout(grid);
    pageLayout->addStretch(1);

    QHash<QString, QHBoxLayout*> buttonRows;
    auto addRow = [&](QGridLayout* g, int row, int col, const FieldSpec& f) {
        QWidget* control = buildFieldControl(f, page1);
        auto* label = new QLabel(f.label, page1);
        label->setObjectName(QStringLiteral("Label_") + f.field);
        label->setBuddy(control);
        g->addWidget(label, row, col * 3, Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(control, row, col * 3 + 1);
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(2);
        g->addLayout(buttons, row, col * 3 + 2, Qt::AlignLeft);
        buttonRows.insert(f.field, buttons);
    };

    const int headCount = std::min<int>(3, static_cast<int>(m_spec.fields.size()));
    for (int i = 0; i < headCount; ++i)
        addRow(headGrid, i, 0, m_spec.fields[i]);
    DBCheckBox1 = new QCheckBox(m_spec.polconLabel, page1);
    DBCheckBox1->setObjectName(controlName(QStringLiteral("polcon")));
    DBCheckBox1->setFocusPolicy(m_spec.polconWritable ? Qt::ClickFocus : Qt::NoFocus);
    headGrid->addWidget(DBCheckBox1, 0, 3, Qt::AlignLeft);
    headGrid->setColumnStretch(3, 1);

    const int rest = static_cast<int>(m_spec.fields.size()) - headCount;
    const int perColumn = (rest + 1) / 2;
    for (int i = 0; i < rest; ++i)
        addRow(grid, i % perColumn, i / perColumn, m_spec.fields[headCount + i]);

    for (const ButtonSpec& b : m_spec.buttons) {
        auto* btn = new QPushButton(page1);
        btn->setObjectName(b.name);
        btn->setIcon(buttonIcon(b.action, style()));
        btn->setToolTip(buttonHint(b));
        btn->setFixedSize(26, 22);
        btn->setAutoDefault(false);
        btn->setFocusPolicy(m_spec.buttonsTabStop ? Qt::StrongFocus : Qt::ClickFocus);
        if (QHBoxLayout* row = buttonRows.value(b.besideField())) row->addWidget(btn);
        connect(btn, &QPushButton::clicked, this, [this, &b] { buttonClick(b); });
        m_buttons.append(btn);
    }

    const QFont memoFont(QStringLiteral("Courier New"), 9);
    auto makeMemo = [&](const char* pageName, const QString& title, const QString& field) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(pageName));
        auto* l = new QVBoxLayout(page);
        auto* memo = new QPlainTextEdit(page);
        memo->setObjectName(controlName(field));
        memo->setFont(memoFont);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setTabChangesFocus(true);
        l->addWidget(memo);
        PageControl1->addTab(page, title);
        return memo;
    };
    DBMemo1 = makeMemo("TabSheet2", QStringLiteral("Egyéb adatok"), QStringLiteral("tartalom"));
    DBMemo2 = makeMemo("TabSheet3", QStringLiteral("Lista"), QStringLiteral("lista"));

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(80);
        bottom->addWidget(b);
    }
    top->addLayout(bottom);
    connect(Button1, &QPushButton::clicked, this, &Tfrm_Szerk::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    // The focus chain is the order of creation: the page control, the fields in tab order, the
    // picture buttons, the memos, then OK and Mégsem; as a ring that is OK, Mégsem, page control,
    // fields. (Reordering with setTabOrder breaks the ring around compound widgets in Qt 6.4.)
    InstallFocusHighlightAll(this);
    InstallEnterNavigation(this);
    for (const FieldSpec& f : m_spec.fields)
        if (f.field != DateField)
            InstallArrowNavigation(fieldWidget(f.field));
}

QWidget* Tfrm_Szerk::fieldWidget(const QString& field) const
{
    return m_fieldWidgets.value(field);
}

QStringList Tfrm_Szerk::FillLookupList(const QString& connection, const QString& table,
                                       const QString& nameField, int tip)
{
    QVariantMap params;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(nameField, table);
    if (tip != -1) {
        sql += QStringLiteral(" WHERE tip = :tip");
        params.insert(QStringLiteral("tip"), tip);
    }
    sql += QStringLiteral(" ORDER BY %1")
               .arg(Schema::table(table) ? Schema::table(table)->primaryKey.join(u',') : nameField);
    QSqlQuery q = Engine::Database::exec(connection, sql, params);
    QStringList lines{QString()};
    while (q.next()) {
        const QString name = q.value(0).toString();
        if (!name.isEmpty()) lines.append(name);
    }
    return lines;
}

void Tfrm_Szerk::ResolveLookup(Engine::Table& item, const QString& table, const QString& keyField, int tip,
                               const QString& nameField)
{
    const QString name = VarToStrDef(item.value(nameField), QString());
    const bool codeIsKey = keyField == nameField;
    if (name.trimmed().isEmpty()) {
        // No name, no lookup: an empty master row would only collect blank names.
        if (!name.isEmpty()) item.setValue(nameField, QStringLiteral(""));
        if (!codeIsKey) setIfDifferent(item, keyField, 0);
        return;
    }

    QVariantMap params{{QStringLiteral("name"), name}};
    QString sql = QStringLiteral("SELECT %1, %2 FROM %3 WHERE lower(%2) = lower(:name)")
                      .arg(keyField, nameField, table);
    if (tip != -1) {
        sql += QStringLiteral(" AND tip = :tip");
        params.insert(QStringLiteral("tip"), tip);
    }
    sql += QStringLiteral(" ORDER BY %1 LIMIT 1").arg(keyField);
    QSqlQuery q = Engine::Database::exec(item.connectionName(), sql, params);
    if (q.next()) {
        setIfDifferent(item, keyField, q.value(0));
        setIfDifferent(item, nameField, q.value(1).toString());
        return;
    }

    Engine::Table TblC(item.connectionName());
    TblC.setTableName(table + QStringLiteral(".DB"));
    TblC.open();
    TblC.append();
    TblC.setValue(nameField, name);
    if (tip != -1) TblC.setValue(QStringLiteral("tip"), tip);
    if (codeIsKey && TblC.hasField(table + QStringLiteral("_nev")))
        TblC.setValue(table + QStringLiteral("_nev"), QStringLiteral(""));
    TblC.post();
    const QVariant key = TblC.value(keyField);
    TblC.close();
    setIfDifferent(item, keyField, key);
}

void Tfrm_Szerk::copyDateIn()
{
    const QVariant v = m_tbl->value(DateField);
    const QDate d = v.toDate();
    DateTimePicker1->setDate(d.isValid() ? d : kEmptyDate);
}

void Tfrm_Szerk::copyDateOut()
{
    const QDate d = DateTimePicker1->date();
    // Day 0 is what an empty date looks like in the picker; it stays empty rather than become a date.
    const QVariant v = d == kEmptyDate ? QVariant() : QVariant(d);
    const QVariant cur = m_tbl->value(DateField);
    if (cur.toDate() != v.toDate() || cur.isNull() != v.isNull()) m_tbl->setValue(DateField, v);
}

void Tfrm_Szerk::fillLists()
{
    const QString conn = m_tbl->connectionName();
    for (const ListSpec& l : m_spec.lists) {
        auto* combo = qobject_cast<QComboBox*>(fieldWidget(l.itemField()));
        if (!combo) continue;
        const QStringList lines = FillLookupList(conn, l.table, l.nameField(), l.tip);
        // The combo box deletes the model it owned before.
        combo->setModel(new QStringListModel(lines, combo));
    }
}

void Tfrm_Szerk::bindFields()
{
    for (const FieldSpec& f : m_spec.fields) {
        if (f.field == DateField) continue;
        QWidget* w = fieldWidget(f.field);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            FieldLink::bind(combo, m_tbl, f.field);
            combo->setCompleter(nullptr);
            // A name longer than the master table keeps would never be found again after saving.
            for (const ListSpec& l : m_spec.lists) {
                if (l.itemField() != f.field) continue;
                const int size = masterNameSize(l.table, l.nameField());
                if (size > 0 && combo->lineEdit() &&
                    (combo->lineEdit()->maxLength() <= 0 || size < combo->lineEdit()->maxLength()))
                    combo->lineEdit()->setMaxLength(size);
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            FieldLink::Options o;
            o.upperCase = f.field == QLatin1String("isbn");
            if (f.field == QLatin1String("sorszam")) o.format = QStringLiteral("00000");
            FieldLink::bind(edit, m_tbl, f.field, o);
        }
    }
    FieldLink::bind(DBMemo1, m_tbl, QStringLiteral("tartalom"));
    FieldLink::bind(DBMemo2, m_tbl, QStringLiteral("lista"));
    FieldLink::Options polcon;
    polcon.readOnly = !m_spec.polconWritable;
    FieldLink::bind(DBCheckBox1, m_tbl, QStringLiteral("polcon"), polcon);
}

void Tfrm_Szerk::showPicture()
{
    const int az = m_tbl->value(QStringLiteral("az")).toInt();
    QPixmap pm = AttachedPicture(m_tbl->connectionName(), az, 64);
    if (pm.isNull()) pm = KindPixmap(m_spec.kind, 64);
    Image1->setPixmap(pm);
}

int Tfrm_Szerk::run(bool isNew, const EditorContext& ctx)
{
    m_tbl = ctx.tbl;
    m_isNew = isNew;
    try {
        if (isNew)
            ctx.insertNewItem(m_spec.kind);
        else
            m_tbl->edit();
        if (!m_tbl->isEditing()) return -1;
        copyDateIn();
        fillLists();
        bindFields();
        showPicture();
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), parentWidget());
        if (m_tbl->isEditing()) {
            m_tbl->cancel();
            if (isNew) --Beall.NextLeltszam;
        }
        return -1;
    }

    move(LoadFormPos(objectName()));
    if (exec() == QDialog::Accepted) return m_result;
    m_tbl->cancel();
    if (isNew) --Beall.NextLeltszam;
    return -1;
}

void Tfrm_Szerk::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_shown) return;
    m_shown = true;
    for (const FieldSpec& f : m_spec.fields)
        if (auto* combo = qobject_cast<QComboBox*>(fieldWidget(f.field)); combo && combo->lineEdit()) {
            combo->lineEdit()->deselect();
            combo->lineEdit()->setCursorPosition(
                std::min<int>(1, static_cast<int>(combo->currentText().size())));
        }
    if (QWidget* first = fieldWidget(QStringLiteral("sorszam"))) first->setFocus(Qt::OtherFocusReason);
}

void Tfrm_Szerk::done(int r)
{
    SaveFormPos(objectName(), x(), y());
    QDialog::done(r);
}

void Tfrm_Szerk::Button1Click()
{
    if (!m_tbl || !m_tbl->isEditing()) return;
    try {
        if (!FieldLink::commitAll(this)) return;
        copyDateOut();
        for (const ListSpec& l : m_spec.lists)
            ResolveLookup(*m_tbl, l.table, l.keyField(), l.tip, l.nameField());
        m_tbl->post();
        m_result = m_tbl->value(QStringLiteral("az")).toInt();
    } catch (const Engine::DbError& e) {
        // A new row gets its az again at the next try, so a number taken meanwhile is not reused.
        if (m_isNew && m_tbl->isEditing()) {
            try {
                m_tbl->setValue(QStringLiteral("az"), QVariant());
            } catch (const Engine::DbError&) {
            }
        }
        ShowError(e.message(), this);
        return;
    }
    accept();
}

void Tfrm_Szerk::focusTo(const QString& target)
{
    for (QPushButton* b : m_buttons)
        if (b->objectName() == target) {
            b->setFocus(Qt::OtherFocusReason);
            return;
        }
    if (QWidget* w = fieldWidget(target)) w->setFocus(Qt::OtherFocusReason);
}

void Tfrm_Szerk::buttonClick(const ButtonSpec& b)
{
    if (!m_tbl || !m_tbl->isEditing()) return;
    try {
        if (!FieldLink::commitAll(this)) return;
        bool done = false;
        switch (b.action) {
        case Action::AppendName: {
            const QString name = ChooseSzerzo(-1, b.tip, b.caption, this);
            if (!name.isEmpty()) {
                const QString old = VarToStrDef(m_tbl->value(b.field), QString());
                m_tbl->setValue(b.field, old.isEmpty() ? name : old + QStringLiteral(", ") + name);
                done = true;
            }
            break;
        }
        case Action::Clear:
            m_tbl->setValue(b.field, QStringLiteral(""));
            done = true;
            break;
        case Action::ChooseLookup:
        case Action::ChooseSorozat:
        case Action::ChoosePolc: {
            const QString table = b.action == Action::ChooseSorozat ? QStringLiteral("sorozat")
                                  : b.action == Action::ChoosePolc  ? QStringLiteral("polc")
                                                                    : b.field;
            const int start = VarToIntDef(m_tbl->value(table), 0);
            QString name;
            const int key = b.action == Action::ChooseSorozat ? ChooseSorozat(start, name, this)
                            : b.action == Action::ChoosePolc
                                ? ChoosePolc(start, name, this)
                                : chooseLookup(table, start, b.tip, b.caption, name, this);
            if (key != -1) {
                m_tbl->setValue(table, key);
                m_tbl->setValue(table + QStringLiteral("_nev"), name);
                done = true;
            }
            break;
        }
        case Action::ChooseSzakjel: {
            QString description;
            const QString code = ChooseSzakjel(
                VarToStrDef(m_tbl->value(QStringLiteral("szakjel")), QString()), description, this);
            if (!code.isEmpty()) {
                m_tbl->setValue(QStringLiteral("szakjel"), code);
                done = true;
            }
            break;
        }
        }
        if (!b.focusAfter.isEmpty() && (done || b.focusAlways)) focusTo(b.focusAfter);
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), this);
    } catch (const ConversionError& e) {
        ShowError(e.message(), this);
    }
}

int EditItem(int kind, bool isNew, const EditorContext& ctx, QWidget* parent)
{
    // A cursor already in edit state belongs to someone else's change; it is not ours to end.
    if (!ctx.tbl || kind < 1 || kind > 9 || (isNew && !ctx.insertNewItem) || ctx.tbl->isEditing()) return -1;
    try {
        // No blank row without numbers and kind is ever started on an empty view.
        if (!isNew && (!ctx.tbl->isActive() || ctx.tbl->recordCount() == 0 || ctx.tbl->recNo() == 0))
            return -1;
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), parent);
        return -1;
    }
    std::unique_ptr<Tfrm_Szerk> w;
    switch (kind) {
    case 1:
        w = std::make_unique<Tfrm_Szerk_Konyv>(parent);
        break;
    case 2:
        w = std::make_unique<Tfrm_Szerk_Program>(parent);
        break;
    case 3:
        w = std::make_unique<Tfrm_Szerk_CDZene>(parent);
        break;
    case 4:
        w = std::make_unique<Tfrm_Szerk_CDVideo>(parent);
        break;
    case 5:
        w = std::make_unique<Tfrm_Szerk_Bakelit>(parent);
        break;
    case 6:
        w = std::make_unique<Tfrm_Szerk_VHS>(parent);
        break;
    case 7:
        w = std::make_unique<Tfrm_Szerk_Hang>(parent);
        break;
    case 8:
        w = std::make_unique<Tfrm_Szerk_DVD>(parent);
        break;
    default:
        w = std::make_unique<Tfrm_Szerk_Kotta>(parent);
        break;
    }
    return w->run(isNew, ctx);
}
