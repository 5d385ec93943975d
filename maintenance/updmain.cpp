#include "updmain.h"

#include "database.h"
#include "dberror.h"
#include "folders.h"
#include "indexrebuild.h"
#include "messages.h"
#include "paradoximport.h"
#include "settingsfile.h"
#include "upgrade.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

using Engine::Database;
using Engine::DbError;

namespace {

QStringList instructions()
{
    return {
        QStringLiteral("Lépések, ha új verziót kíván telepíteni:"),
        QString(),
        QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se fusson a lerovani program."),
        QStringLiteral("2. Nyomja meg a verzióváltás gombot a frissítéshez."),
        QStringLiteral("3. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, "),
        QStringLiteral("optimalizálásához."),
        QString(),
        QStringLiteral("Lépések, ha adatbázisa sérült, vagy csak lassabban fut a program:"),
        QString(),
        QStringLiteral("1. Ellenőrizze, hogy egyetlen számítógépen se működjön a lerovani program."),
        QStringLiteral("2. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, "),
        QStringLiteral("optimalizálásához."),
    };
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setGeometry(x, 58, 100, 25);
    return b;
}

} // namespace

Tfrm_Upd_Main::Tfrm_Upd_Main(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_Upd_Main"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    setFixedSize(675, 372);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, 64, 64);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(64, 64));

    Label1 = new QLabel(QStringLiteral("Adatbázis elérési útvonala"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(88, 8, 577, 18);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(88, 28, 577, 23);
    Label1->setBuddy(Edit1);

    Button1 = makeButton(this, "Button1", QStringLiteral("Karbantartás"), 88);
    Button3 = makeButton(this, "Button3", QStringLiteral("Verzióváltás"), 196);
    Button2 = makeButton(this, "Button2", QStringLiteral("Bezár"), 304);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 92, 659, 222);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::ClickFocus);
    Memo1->setFont(QFont(QStringLiteral("Courier New"), 10));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(instructions().join(QLatin1Char('\n')));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 320, 659, 18);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 342, 659, 20);
    ProgressBar1->setRange(1, 33);
    ProgressBar1->setValue(1);
    ProgressBar1->setTextVisible(false);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button3);
    setTabOrder(Button3, Button2);

    connect(Button1, &QPushButton::clicked, this, &Tfrm_Upd_Main::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &Tfrm_Upd_Main::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &Tfrm_Upd_Main::Button2Click);

    FormCreate();
}

void Tfrm_Upd_Main::FormCreate()
{
    // Only read: a folder typed here is used for this run alone.
    Edit1->setText(QDir::toNativeSeparators(IniReadString(QStringLiteral("Database"), QStringLiteral("Path"),
                                                          ExeDir() + QStringLiteral("/Data"))));
    setWindowTitle(QStringLiteral("Vemla Lerovani program adatbázis karbantartás V") + version());
}

void Tfrm_Upd_Main::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void Tfrm_Upd_Main::FormShow()
{
    Edit1->setFocus();
}

Maintenance::Progress Tfrm_Upd_Main::progress()
{
    Maintenance::Progress p;
    p.setMaximum = [this](int m) {
        ProgressBar1->setMaximum(m);
        ProgressBar1->setValue(ProgressBar1->minimum());
    };
    p.step = [this] {
        ProgressBar1->setValue(qMin(ProgressBar1->value() + 1, ProgressBar1->maximum()));
        ProgressBar1->repaint();
    };
    p.status = [this](const QString& text) {
        Label2->setText(text);
        Label2->repaint();
    };
    return p;
}

void Tfrm_Upd_Main::ResetProgress()
{
    Label2->clear();
    ProgressBar1->setValue(ProgressBar1->minimum());
}

bool Tfrm_Upd_Main::OpeningSequence()
{
    const QString typed = Edit1->text().trimmed();
    if (typed.isEmpty() || !QFileInfo(typed).isDir()) {
        ShowError(QStringLiteral("Nem létező adatbázis mappa."), this);
        return false;
    }
    // cleanPath drops the trailing separator, so file names built from it have no doubled one.
    m_folder = QDir::cleanPath(QDir::fromNativeSeparators(typed));
    CloseConnection();
    return true;
}

bool Tfrm_Upd_Main::OpenConnection()
{
    try {
        Database::open(connectionName(), m_folder, Database::OpenMode::MustExist);
        return true;
    } catch (const DbError& e) {
        ShowError(e.message(), this);
        return false;
    }
}

void Tfrm_Upd_Main::CloseConnection()
{
    Database::close(connectionName());
}

void Tfrm_Upd_Main::Button1Click()
{
    if (m_running || !OpeningSequence()) return;
    m_running = true;
    try {
        if (Maintenance::IsParadoxFolder(m_folder)) {
            ShowError(
                QStringLiteral("A mappában régi formátumú (Paradox) adatbázis van.\r\nElőbb nyomja meg a "
                               "verzióváltás gombot, amely átveszi az adatokat."),
                this);
        } else if (OpenConnection()) {
            Maintenance::RebuildIndexes(connectionName(), m_folder, progress(), this);
            ShowInfo(QStringLiteral("Indexek újraépítése kész."), this);
        }
    } catch (const DbError& e) {
        ShowError(e.message(), this);
    }
    CloseConnection();
    ResetProgress();
    m_running = false;
}

void Tfrm_Upd_Main::Button3Click()
{
    if (m_running || !OpeningSequence()) return;
    m_running = true;
    bool done = false;
    try {
        const QStringList users = Maintenance::CatalogueUsers(m_folder);
        if (!users.isEmpty())
            ShowError(Maintenance::CatalogueRunningText(users), this);
        else if ((!Maintenance::IsParadoxFolder(m_folder) ||
                  Maintenance::ImportParadoxFolder(m_folder, progress(), this)) &&
                 OpenConnection())
            done = Maintenance::UpgradeDatabase(connectionName(), progress(), this);
    } catch (const DbError& e) {
        ShowError(e.message(), this);
    }
    CloseConnection();
    if (done) ShowInfo(QStringLiteral("Verzióváltás kész"), this);
    ResetProgress();
    m_running = false;
}

void Tfrm_Upd_Main::Button2Click()
{
    close();
}
