#include "upgrade.h"

#include "database.h"
#include "dberror.h"
#include "folderuse.h"
#include "messages.h"
#include "paradoxchange.h"

#include <initializer_list>

using Engine::Database;
using Engine::DbError;
using Engine::FieldInfo;
using Engine::FieldType;

namespace Maintenance {

namespace {

QString lines(std::initializer_list<const char*> text)
{
    QStringList out;
    for (const char* line : text)
        out.append(QString::fromUtf8(line));
    return out.join(QLatin1Char('\n'));
}

// The upgrade's statements run one by one; a failing one is passed over without a word.
void silently(const QString& connection, const QString& sql)
{
    try {
        Database::exec(connection, sql);
    } catch (const DbError&) {
    }
}

struct FieldStep
{
    const char* field; // as the upper-case field list holds it
    const char* statements[2];
};

// Steps 7 to 30 after sorszam; each runs only when its field is missing.
const FieldStep kFieldSteps[] = {
    {"KIADO_NEV",
     {"ALTER TABLE konyv ADD kiado_nev CHAR(50);",
      "UPDATE konyv SET kiado_nev = (SELECT kiado_nev FROM kiado WHERE kiado.kiado = konyv.kiado);"}},
    {"POLC_NEV",
     {"ALTER TABLE konyv ADD polc_nev CHAR(50);",
      "UPDATE konyv SET polc_nev = (SELECT polc_nev FROM polc WHERE polc.polc = konyv.polc);"}},
    {"TARGYKOR_NEV",
     {"ALTER TABLE konyv ADD targykor_nev CHAR(50);",
      "UPDATE konyv SET targykor_nev = (SELECT targykor_nev FROM targykor WHERE targykor.targykor = "
      "konyv.targykor);"}},
    {"PRGTIPUS_NEV",
     {"ALTER TABLE konyv ADD prgtipus_nev CHAR(50);",
      "UPDATE konyv SET prgtipus_nev = (SELECT prgtipus_nev FROM prgtipus WHERE prgtipus.prgtipus = "
      "konyv.prgtipus);"}},
    {"MUFAJ_NEV",
     {"ALTER TABLE konyv ADD mufaj_nev CHAR(50);",
      "UPDATE konyv SET mufaj_nev = (SELECT mufaj_nev FROM mufaj WHERE mufaj.mufaj = konyv.mufaj);"}},
    {"MINOSEG_NEV",
     {"ALTER TABLE konyv ADD minoseg_nev CHAR(50);", "UPDATE konyv SET minoseg_nev = (SELECT minoseg_nev "
                                                     "FROM minoseg WHERE minoseg.minoseg = konyv.minoseg);"}},
    {"SOROZAT_NEV",
     {"ALTER TABLE konyv ADD sorozat_nev CHAR(50);", "UPDATE konyv SET sorozat_nev = (SELECT sorozat_nev "
                                                     "FROM sorozat WHERE sorozat.sorozat = konyv.sorozat);"}},
    {"DAT_SELEJT", {"ALTER TABLE konyv ADD dat_selejt DATE;"}},
    {"TOROLVE", {"ALTER TABLE konyv ADD torolve CHAR(1);", "UPDATE konyv SET torolve = 'N';"}},
    {"DAT_BESZERZES", {"ALTER TABLE konyv ADD dat_beszerzes DATE;"}},
    {"SZAKJEL", {"ALTER TABLE konyv ADD szakjel CHAR(10);"}},
    {"KOLCSONZES", {"ALTER TABLE konyv ADD kolcsonzes INT;"}},
    {"POLC", {"ALTER TABLE konyv ADD polc INT;"}},
    {"DAT_KIADVA", {"ALTER TABLE konyv ADD dat_kiadva DATE;"}},
    {"DAT_VISSZAKELL", {"ALTER TABLE konyv ADD dat_visszakell DATE;"}},
    {"DAT_VISSZA", {"ALTER TABLE konyv ADD dat_vissza DATE;"}},
    {"UGYFEL", {"ALTER TABLE konyv ADD ugyfel INT;"}},
    {"ISBN", {"ALTER TABLE konyv ADD isbn CHAR(20);"}},
    {"ALCIM", {"ALTER TABLE konyv ADD alcim CHAR(128);"}},
    {"SZERKESZTO", {"ALTER TABLE konyv ADD szerkeszto CHAR(255);"}},
    {"AR", {"ALTER TABLE konyv ADD ar FLOAT;", "UPDATE konyv SET ar=0;"}},
    {"SOROZAT", {"ALTER TABLE konyv ADD sorozat INT;", "UPDATE konyv SET sorozat=0;"}},
    {"SZOVEG", {"ALTER TABLE konyv ADD szoveg CHAR(255);"}},
};

QString konyv()
{
    return QStringLiteral("konyv");
}

// The field as the table has it now; the engine's field-not-found error when it is missing.
FieldInfo konyvField(const QString& connection, const QString& name, bool* found = nullptr)
{
    for (const FieldInfo& f : Database::fields(connection, konyv()))
        if (f.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (found) *found = true;
            return f;
        }
    if (found) {
        *found = false;
        return FieldInfo();
    }
    throw DbError(QStringLiteral("A(z) %1 mező nem található a(z) %2 táblában.").arg(name, konyv()));
}

// A memo turned into text keeps 255 characters; the user decides before anything is cut.
bool memoToText(TParadoxChange& change, const QString& field, QWidget* owner)
{
    const qint64 longer = change.CountLongerThan(field, TParadoxChange::MemoToTextLength);
    if (longer > 0 &&
        !AskConfirm(
            QStringLiteral("A konyv tábla %1 mezője szöveg mezővé alakul, amely legfeljebb %2 karaktert "
                           "tárol.\r\n%3 tétel szövege ennél hosszabb; a %2. karakter utáni rész elvész.\r\n"
                           "Folytatja a verzióváltást?")
                .arg(field)
                .arg(TParadoxChange::MemoToTextLength)
                .arg(longer),
            QStringLiteral("Megerősítés"), owner))
        return false;
    change.ChangeFieldType(field, FieldType::String);
    return true;
}

} // namespace

QStringList CatalogueUsers(const QString& folder)
{
    return Engine::FolderUse::otherUsers(folder);
}

QString CatalogueRunningText(const QStringList& users)
{
    return QStringLiteral(
               "Az adatbázist jelenleg a Lerovani program használja (%1).\r\nZárja be a programot minden "
               "számítógépen, majd próbálja újra.")
        .arg(users.join(QStringLiteral(", ")));
}

bool UpgradeDatabase(const QString& connection, const Progress& progress, QWidget* owner)
{
    progress.max(33);
    progress.show(QStringLiteral("Táblák létrehozása"));
    QStringList tables;
    try {
        for (const QString& t : Database::tableNames(connection))
            tables.append(t.toUpper());
    } catch (const DbError& e) {
        ShowError(e.message(), owner);
        return false;
    }

    // 1
    progress.advance();
    if (!tables.contains(QLatin1String("BEALLIT"))) {
        silently(connection, lines({"CREATE TABLE beallit(", " beallit AUTOINC,", " leltszam INT,",
                                    " leltszammaszk CHAR(15),", "PRIMARY KEY (beallit));"}));
        silently(connection,
                 lines({"INSERT INTO beallit (leltszam,leltszammaszk)", "VALUES (0,'0000000');"}));
        try {
            Database::exec(connection, QStringLiteral("INSERT INTO tipus (tipus_nev) VALUES ('Kotta');"));
        } catch (const DbError& e) {
            ShowError(e.message(), owner);
            return false;
        }
    }
    // 2
    progress.advance();
    if (!tables.contains(QLatin1String("POLC")))
        silently(connection, lines({"CREATE TABLE polc(", " polc AUTOINC,", " polc_nev CHAR(25),",
                                    "PRIMARY KEY (polc));"}));
    // 3
    progress.advance();
    if (!tables.contains(QLatin1String("SOROZAT")))
        silently(connection, lines({"CREATE TABLE sorozat (", " sorozat AUTOINC,", " sorozat_nev CHAR(50),",
                                    "PRIMARY KEY(sorozat));"}));
    // 4
    progress.advance();
    if (!tables.contains(QLatin1String("SZAKJEL")))
        silently(connection, lines({"CREATE TABLE szakjel (", " szakjel CHAR(10),", " szakjel_nev CHAR(50),",
                                    "PRIMARY KEY(szakjel));"}));

    progress.show(QStringLiteral("Mezők ellenőrzése, létrehozása"));
    QStringList fieldList;
    TParadoxChange change;
    change.setDatabaseName(connection);
    change.setTableName(QStringLiteral("konyv.DB"));
    try {
        for (const FieldInfo& f : Database::fields(connection, konyv()))
            fieldList.append(f.name.toUpper());

        // 5
        progress.advance();
        if (konyvField(connection, QStringLiteral("az")).type == FieldType::AutoInc)
            change.ChangeFieldType(QStringLiteral("az"), FieldType::Integer);
        if (konyvField(connection, QStringLiteral("tartalom")).type == FieldType::Memo &&
            !memoToText(change, QStringLiteral("tartalom"), owner))
            return false;

        // 6: a konyv without lista gets it as the text the catalogue needs.
        progress.advance();
        bool hasLista = false;
        const FieldInfo lista = konyvField(connection, QStringLiteral("lista"), &hasLista);
        if (!hasLista)
            silently(connection, QStringLiteral("ALTER TABLE konyv ADD lista CHAR(255);"));
        else if (lista.type == FieldType::Memo && !memoToText(change, QStringLiteral("lista"), owner))
            return false;

        // 7: numbered over the whole table in az order, in one statement rather than a post per row.
        progress.advance();
        if (!fieldList.contains(QLatin1String("SORSZAM"))) {
            silently(connection, QStringLiteral("ALTER TABLE konyv ADD sorszam INT;"));
            Database::exec(
                connection,
                QStringLiteral("UPDATE konyv SET sorszam = n.sorszam FROM (SELECT rowid AS rid, "
                               "row_number() OVER (ORDER BY az, rowid) AS sorszam FROM konyv) AS n "
                               "WHERE konyv.rowid = n.rid"));
        }
    } catch (const DbError& e) {
        ShowError(e.message(), owner);
        return false;
    }

    // 8 to 30
    for (const FieldStep& step : kFieldSteps) {
        progress.advance();
        if (fieldList.contains(QLatin1String(step.field))) continue;
        for (const char* sql : step.statements)
            if (sql) silently(connection, QString::fromUtf8(sql));
    }
    return true;
}

} // namespace Maintenance
