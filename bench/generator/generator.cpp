#include "generator.h"

#include "database.h"
#include "dberror.h"
#include "schema.h"

#include <QDate>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

const QStringList kSurnames = {
    "Nagy", "Kovács", "Tóth", "Szabó", "Horváth", "Varga", "Kiss", "Molnár", "Németh", "Farkas", "Balogh", "Papp",
    "Takács", "Juhász", "Lakatos", "Mészáros", "Oláh", "Simon", "Rácz", "Fekete", "Szilágyi", "Török", "Fehér",
    "Balázs", "Gál", "Kis", "Szűcs", "Kocsis", "Orsós", "Pintér", "Fodor", "Szalai", "Sipos", "Magyar", "Lukács",
    "Gulyás", "Biró", "Király", "Katona", "László", "Jakab", "Bogdán", "Balog", "Sándor", "Boros", "Fazekas",
    "Kelemen", "Antal", "Orosz", "Somogyi", "Fülöp", "Veres", "Budai", "Vincze", "Hegedűs", "Deák", "Pap", "Bálint",
    "Illés", "Pál", "Vass", "Szőke", "Fábián", "Vörös", "Lengyel", "Bognár", "Jónás", "Szücs", "Csonka", "Zsigmond",
    "Gyöngyösi", "Ötvös", "Ürge", "Dzsida", "Csáth", "Örkény", "Weöres", "Radnóti", "Petőfi", "Arany", "Jókai"};
const QStringList kGivenNames = {
    "László", "István", "József", "János", "Zoltán", "Sándor", "Gábor", "Ferenc", "Attila", "Péter", "Tamás",
    "Zsolt", "Tibor", "András", "Csaba", "Imre", "Lajos", "György", "Balázs", "Gyula", "Mária", "Erzsébet", "Katalin",
    "Éva", "Ilona", "Anna", "Zsuzsanna", "Margit", "Judit", "Ágnes", "Andrea", "Erika", "Krisztina", "Ildikó",
    "Eszter", "Enikő", "Őrs", "Ügyes", "Ödön", "Dzsenifer", "Gyöngyi", "Nyikolett", "Szilvia", "Tünde", "Zsófia"};
const QStringList kAdjectives = {
    "A kék", "Az elveszett", "Egy régi", "A titkos", "Az utolsó", "A csendes", "A nagy", "Egri", "A fekete",
    "Az arany", "A kis", "A hosszú", "Egy különös", "A sötét", "Az örök", "A vándorló", "A hűséges", "A budai",
    "Egy őszi", "A téli", "Az első", "A zöld", "A szegény", "A gazdag", "Az ismeretlen", "A bátor", "A csodálatos"};
const QStringList kNouns = {
    "csillagok", "kert", "város", "folyó", "ház", "vár", "erdő", "tenger", "levél", "hajó", "álom", "út", "ösvény",
    "könyv", "dal", "szél", "tó", "hegy", "falu", "kapu", "torony", "hídja", "napló", "története", "titka",
    "öröksége", "nyara", "csendje", "gyermekei", "szerelme", "ünnepe", "útja", "zsoltára", "dzsungel", "cukrászda"};
const QStringList kPublishers = {
    "Móra", "Magvető", "Európa", "Szépirodalmi", "Gondolat", "Corvina", "Akadémiai", "Helikon", "Park", "Libri",
    "Athenaeum", "Ciceró", "Kossuth", "Tankönyvkiadó", "Műszaki", "Medicina", "Osiris", "Jelenkor", "Kalligram",
    "Holnap", "Hungaroton", "Universal", "EMI", "Sony", "Warner", "Mokép", "InterCom", "Fórum", "Pannónia", "Microsoft"};
const QStringList kGenres = {"regény", "vers", "novella", "ifjúsági", "mese", "krimi", "sci-fi", "fantasy", "történelmi",
                             "életrajz", "útleírás", "szakkönyv", "rock", "pop", "jazz", "klasszikus", "népzene",
                             "vígjáték", "dráma", "akció", "dokumentum", "rajzfilm", "operett", "musical", "egyházi"};
const QStringList kSubjects = {"irodalom", "történelem", "földrajz", "biológia", "fizika", "kémia", "matematika",
                               "művészet", "zene", "filozófia", "vallás", "nyelvészet", "informatika", "sport",
                               "gasztronómia", "kertészet", "orvostudomány", "jog", "közgazdaság", "néprajz"};
const QStringList kLanguages = {"magyar", "angol", "német", "francia", "olasz", "orosz", "spanyol", "latin", "cseh",
                                "lengyel", "szlovák", "román", "szerb", "horvát", "finn", "észt"};
const QStringList kQualities = {"kiváló", "jó", "közepes", "gyenge", "új", "használt", "DVD-R", "VCD", "SVCD",
                                "DivX", "stereo", "mono", "Dolby", "PAL", "NTSC", "dupla"};

struct Lookup
{
    QString table;
    QList<int> tips;
    QStringList words;
};

class Rng
{
public:
    explicit Rng(quint32 seed) : m_g(seed) {}
    int below(int n) { return static_cast<int>(m_g.bounded(static_cast<quint32>(n))); }
    const QString& pick(const QStringList& l) { return l[below(static_cast<int>(l.size()))]; }

private:
    QRandomGenerator m_g;
};

QString person(Rng& r) { return r.pick(kSurnames) + QLatin1Char(' ') + r.pick(kGivenNames); }

QString title(Rng& r)
{
    QString t = r.pick(kAdjectives) + QLatin1Char(' ') + r.pick(kNouns);
    if (r.below(4) == 0)
        t += QLatin1Char(' ') + QString::number(1 + r.below(12)) + QStringLiteral(". rész");
    return t;
}

void exec(QSqlQuery& q)
{
    if (!q.exec())
        throw Engine::DbError(Engine::Database::errorText(q.lastError()));
}

} // namespace

void GenerateCatalogue(const QString& folder, const GeneratorOptions& o)
{
    Schema::createDatabase(folder);
    const QString c = QStringLiteral("generator");
    Engine::Database::open(c, folder);
    Rng r(o.seed);
    try {
        Engine::Database::exec(c, QStringLiteral("PRAGMA synchronous=OFF"));
        Engine::Database::begin(c);
        // Lookup rows in every list group the editors use; names are shared across groups.
        const QList<Lookup> lookups = {
            {QStringLiteral("kiado"), {1, 2, 3, 4}, kPublishers},
            {QStringLiteral("targykor"), {1, 33, 99}, kSubjects},
            {QStringLiteral("mufaj"), {1, 3, 4, 99}, kGenres},
            {QStringLiteral("prgtipus"), {1, 21, 121}, kLanguages},
            {QStringLiteral("minoseg"), {3, 4, 6}, kQualities},
            {QStringLiteral("szerzo"), {1, 3, 4, 33, 98, 99}, {}},
            {QStringLiteral("sorozat"), {}, kNouns},
            {QStringLiteral("polc"), {}, {}},
        };
        QHash<QString, QList<std::pair<int, QString>>> rows; // table -> (key, name)
        for (const Lookup& l : lookups) {
            const QString nameField = l.table + QStringLiteral("_nev");
            QSqlQuery q(Engine::Database::handle(c));
            const bool tip = !l.tips.isEmpty();
            q.prepare(QStringLiteral("INSERT INTO %1 (%2%3) VALUES (?%4)")
                          .arg(l.table, nameField, tip ? QStringLiteral(", tip") : QString(),
                               tip ? QStringLiteral(", ?") : QString()));
            const QList<int> groups = tip ? l.tips : QList<int>{-1};
            int key = 0;
            for (int g : groups) {
                for (int i = 0; i < o.lookupRows; ++i) {
                    QString name;
                    if (l.table == QLatin1String("szerzo"))
                        name = person(r);
                    else if (l.table == QLatin1String("polc"))
                        name = QStringLiteral("%1. polc %2").arg(1 + i / 10).arg(QChar(u'A' + i % 10));
                    else
                        name = i < l.words.size() ? l.words[i] : l.words[i % l.words.size()] + QStringLiteral(" %1").arg(i);
                    q.addBindValue(name.left(l.table == QLatin1String("polc") ? 25 : 50));
                    if (tip)
                        q.addBindValue(g);
                    exec(q);
                    rows[l.table].append({++key, name});
                }
            }
        }
        for (int i = 0; i < 200; ++i)
            Engine::Database::exec(c, QStringLiteral("INSERT INTO szakjel (szakjel, szakjel_nev) VALUES (:k, :n)"),
                                   {{QStringLiteral(":k"), QStringLiteral("%1.%2").arg(i / 10).arg(i % 10)},
                                    {QStringLiteral(":n"), r.pick(kSubjects)}});

        QSqlQuery ins(Engine::Database::handle(c));
        ins.prepare(QStringLiteral(
            "INSERT INTO konyv (az, tipus, szerzo, cim, kiado, kiado_nev, kiadas, targykor, targykor_nev, polcon, "
            "kolcsonadva, datum, prgkod, prgtipus, prgtipus_nev, mufaj, mufaj_nev, minoseg, minoseg_nev, kotetszam, "
            "hossz, tartalom, azonosito, szoveg, lista, isbn, alcim, szerkeszto, ar, sorozat, sorozat_nev, polc, "
            "polc_nev, kolcsonzes, dat_beszerzes, szakjel, torolve, sorszam, dat_visszakell) VALUES "
            "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        std::array<int, 10> sorszam{};
        auto pickRow = [&](const QString& table) -> std::pair<int, QString> {
            const auto& list = rows[table];
            return list[r.below(static_cast<int>(list.size()))];
        };
        const QDate start(1995, 1, 1);
        for (int az = 1; az <= o.items; ++az) {
            const int tipus = 1 + (az - 1) % 9;
            const bool lent = r.below(25) == 0;
            const auto kiado = pickRow(QStringLiteral("kiado"));
            const auto targykor = pickRow(QStringLiteral("targykor"));
            const auto prgtipus = pickRow(QStringLiteral("prgtipus"));
            const auto mufaj = pickRow(QStringLiteral("mufaj"));
            const auto minoseg = pickRow(QStringLiteral("minoseg"));
            const auto sorozat = r.below(3) == 0 ? pickRow(QStringLiteral("sorozat")) : std::pair<int, QString>{0, {}};
            const auto polc = pickRow(QStringLiteral("polc"));
            QStringList list;
            for (int t = 0, n = r.below(8); t < n; ++t)
                list << QStringLiteral("%1. %2").arg(t + 1).arg(title(r));
            const QVariantList values = {
                az, tipus, person(r) + (r.below(5) == 0 ? QStringLiteral(", ") + person(r) : QString()), title(r),
                kiado.first, kiado.second, 1950 + r.below(76), targykor.first, targykor.second, lent ? 0 : 1,
                lent ? QVariant(person(r)) : QVariant(), lent ? QVariant(QDate::currentDate().addDays(-r.below(90)).toString(Qt::ISODate)) : QVariant(),
                tipus == 2 ? QVariant(QStringLiteral("KEY-%1").arg(r.below(99999), 5, 10, QLatin1Char('0'))) : QVariant(),
                prgtipus.first, prgtipus.second, mufaj.first, mufaj.second, minoseg.first, minoseg.second,
                1 + (r.below(6) == 0 ? r.below(4) : 0), QString::number(40 + r.below(900)),
                r.below(3) == 0 ? QVariant(QStringLiteral("Megjegyzés: ") + title(r)) : QVariant(),
                QStringLiteral("%1").arg(az, 7, 10, QLatin1Char('0')), QVariant(), list.join(QLatin1Char('\n')).left(255),
                tipus == 1 ? QVariant(QStringLiteral("963-%1-%2").arg(r.below(99), 2, 10, QLatin1Char('0')).arg(r.below(99999), 5, 10, QLatin1Char('0'))) : QVariant(),
                QVariant(), r.below(6) == 0 ? QVariant(person(r)) : QVariant(), double(r.below(9000)), sorozat.first,
                sorozat.second.isEmpty() ? QVariant() : QVariant(sorozat.second), polc.first, polc.second, 0,
                start.addDays(r.below(11000)).toString(Qt::ISODate),
                r.below(4) == 0 ? QVariant(QStringLiteral("%1.%2").arg(r.below(20)).arg(r.below(10))) : QVariant(),
                QStringLiteral("N"), ++sorszam[tipus],
                lent && r.below(2) == 0 ? QVariant(QDate::currentDate().addDays(r.below(60) - 30).toString(Qt::ISODate)) : QVariant()};
            for (const QVariant& v : values)
                ins.addBindValue(v);
            exec(ins);
        }
        Engine::Database::exec(c, QStringLiteral("UPDATE beallit SET leltszam = :n"), {{QStringLiteral(":n"), o.items}});
        Engine::Database::commit(c);
        Engine::Database::exec(c, QStringLiteral("ANALYZE"));
    } catch (...) {
        Engine::Database::rollback(c);
        Engine::Database::close(c);
        throw;
    }
    Engine::Database::close(c);
}
