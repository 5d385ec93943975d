#include "editorkinds.h"

#include <QHash>

#include <stdexcept>

namespace EditorKinds {

QString ListSpec::nameField() const
{
    return table == QLatin1String("szakjel") ? table : table + QStringLiteral("_nev");
}

QString ButtonSpec::besideField() const
{
    switch (action) {
    case Action::AppendName:
    case Action::Clear:
        return field;
    case Action::ChooseLookup:
        return field + QStringLiteral("_nev");
    case Action::ChooseSorozat:
        return QStringLiteral("sorozat_nev");
    case Action::ChoosePolc:
        return QStringLiteral("polc_nev");
    case Action::ChooseSzakjel:
        return QStringLiteral("szakjel");
    }
    return QString();
}

namespace {

using A = Action;

FieldSpec F(const char* field, const char* label)
{
    return {QString::fromUtf8(field), QString::fromUtf8(label)};
}
ListSpec L(const char* table, int tip)
{
    return {QString::fromLatin1(table), tip};
}

ButtonSpec B(const char* name, Action action, const char* field = "", int tip = -1, const char* caption = "",
             const char* focusAfter = "", bool focusAlways = false)
{
    return {QString::fromLatin1(name),
            action,
            QString::fromLatin1(field),
            tip,
            QString::fromUtf8(caption),
            QString::fromLatin1(focusAfter),
            focusAlways};
}

// The three fields every editor starts with.
QList<FieldSpec> head(QList<FieldSpec> rest)
{
    QList<FieldSpec> f{F("sorszam", "azonosító"), F("polc_nev", "polc"), F("dat_beszerzes", "beszerzés")};
    f.append(rest);
    return f;
}

QList<KindSpec> build()
{
    QList<KindSpec> k;

    KindSpec konyv;
    konyv.kind = 1;
    konyv.className = QStringLiteral("Tfrm_Szerk_Konyv");
    konyv.caption = QStringLiteral("Könyv adatainak szerkesztése");
    konyv.fields = head({F("szerzo", "szerző(k)"), F("szerkeszto", "szerkesztő(k)"), F("cim", "cím"),
                         F("isbn", "ISBN"), F("alcim", "alcím"), F("szakjel", "szakjel"),
                         F("kiado_nev", "kiadó"), F("sorozat_nev", "sorozat"), F("targykor_nev", "tárgykör"),
                         F("mufaj_nev", "műfaj"), F("kiadas", "kiadás (év)"), F("kotetszam", "kötetszám"),
                         F("hossz", "terjedelem"), F("ar", "ár"), F("prgtipus_nev", "nyelv")});
    konyv.lists = {L("polc", -1),    L("szakjel", -1), L("kiado", 1),     L("sorozat", -1),
                   L("targykor", 1), L("mufaj", 1),    L("prgtipus", 121)};
    konyv.buttons = {B("btnSzerzo", A::AppendName, "szerzo", 1, "szerző"),
                     B("btnSzerzoTorol", A::Clear, "szerzo", -1, "", "btnSzerzo"),
                     B("BitBtn2", A::AppendName, "szerkeszto", 1, "szerkesztő", "cim"),
                     B("BitBtn1", A::Clear, "szerkeszto", -1, "", "BitBtn2"),
                     B("BitBtn5", A::ChoosePolc),
                     B("BitBtn6", A::ChooseSzakjel),
                     B("btnKiado", A::ChooseLookup, "kiado", 1, "kiadó"),
                     B("BitBtn3", A::ChooseSorozat, "", -1, "", "btnTargykor", true),
                     B("btnTargykor", A::ChooseLookup, "targykor", 1, "Tárgykör"),
                     B("btnMufaj", A::ChooseLookup, "mufaj", 1, "műfaj"),
                     B("BitBtn4", A::ChooseLookup, "prgtipus", 121, "Nyelv")};
    k.append(konyv);

    KindSpec program;
    program.kind = 2;
    program.className = QStringLiteral("Tfrm_Szerk_Program");
    program.caption = QStringLiteral("Program CD adatainak szerkesztése");
    program.fields = head({F("cim", "program neve"), F("kiado_nev", "kiadó (software fejlesztő)"),
                           F("kiadas", "kiadás"), F("prgtipus_nev", "típus"), F("kotetszam", "CD-k száma"),
                           F("hossz", "méret (Mb)"), F("prgkod", "program azonosító (key)"), F("ar", "ár")});
    program.lists = {L("polc", -1), L("kiado", 2), L("prgtipus", 1)};
    program.buttons = {B("BitBtn3", A::ChoosePolc), B("btnKiado", A::ChooseLookup, "kiado", 2, "kiadó"),
                       B("btnMufaj", A::ChooseLookup, "prgtipus", 1, "program típus")};
    program.polconWritable = true;
    k.append(program);

    KindSpec zene;
    zene.kind = 3;
    zene.className = QStringLiteral("Tfrm_Szerk_CDZene");
    zene.caption = QStringLiteral("Zenei CD adatainak szerkesztése");
    zene.fields =
        head({F("szerzo", "előadó"), F("cim", "album"), F("kiado_nev", "kiadó"), F("kiadas", "kiadás"),
              F("mufaj_nev", "műfaj"), F("kotetszam", "CD-k száma"), F("hossz", "hossz")});
    zene.lists = {L("polc", -1), L("kiado", 3), L("mufaj", 3)};
    zene.buttons = {B("BitBtn3", A::ChoosePolc), B("btnSzerzo", A::AppendName, "szerzo", 3, "előadó"),
                    B("btnSzerzoTorol", A::Clear, "szerzo", -1, "", "btnSzerzo"),
                    B("btnKiado", A::ChooseLookup, "kiado", 3, "kiadó"),
                    B("btnMufaj", A::ChooseLookup, "mufaj", 3, "műfaj")};
    k.append(zene);

    KindSpec video;
    video.kind = 4;
    video.className = QStringLiteral("Tfrm_Szerk_CDVideo");
    video.caption = QStringLiteral("Video CD adatainak szerkesztése");
    video.fields = head({F("szerzo", "főszereplők"), F("cim", "film címe"), F("kiado_nev", "rendezte"),
                         F("kiadas", "kiadás"), F("minoseg_nev", "formátum"), F("mufaj_nev", "műfaj"),
                         F("prgtipus_nev", "nyelvi típus"), F("kotetszam", "CD-k száma"), F("hossz", "hossz"),
                         F("szoveg", "feliratok")});
    video.lists = {L("polc", -1), L("kiado", 4), L("minoseg", 4), L("mufaj", 4), L("prgtipus", 21)};
    video.buttons = {B("BitBtn1", A::ChoosePolc),
                     B("btnSzerzo", A::AppendName, "szerzo", 4, "szereplők", "cim"),
                     B("btnSzerzoTorol", A::Clear, "szerzo", -1, "", "btnSzerzo"),
                     B("btnKiado", A::ChooseLookup, "kiado", 4, "rendező"),
                     B("btnMinoseg", A::ChooseLookup, "minoseg", 4, "formátum"),
                     B("btnMufaj", A::ChooseLookup, "mufaj", 4, "műfaj"),
                     B("BitBtn2", A::ChooseLookup, "prgtipus", 21, "Nyelvi típus"),
                     B("BitBtn4", A::AppendName, "szoveg", 33, "nyelvek"),
                     B("BitBtn3", A::Clear, "szoveg")};
    video.buttonsTabStop = true;
    k.append(video);

    KindSpec bakelit;
    bakelit.kind = 5;
    bakelit.className = QStringLiteral("Tfrm_Szerk_Bakelit");
    bakelit.caption = QStringLiteral("Hanglemez adatainak szerkesztése");
    bakelit.fields = head({F("szerzo", "előadó"), F("cim", "album"), F("kiado_nev", "kiadó"),
                           F("kiadas", "kiadás"), F("mufaj_nev", "műfaj"), F("minoseg_nev", "minőség"),
                           F("kotetszam", "lemezek száma"), F("hossz", "hossz")});
    bakelit.lists = {L("polc", -1), L("kiado", 3), L("mufaj", 3), L("minoseg", 3)};
    bakelit.buttons = {B("BitBtn3", A::ChoosePolc),
                       B("btnSzerzo", A::AppendName, "szerzo", 3, "előadó"),
                       B("btnSzerzoTorol", A::Clear, "szerzo", -1, "", "btnSzerzo"),
                       B("btnKiado", A::ChooseLookup, "kiado", 3, "kiadó"),
                       B("btnMufaj", A::ChooseLookup, "mufaj", 3, "műfaj"),
                       B("btnMinoseg", A::ChooseLookup, "minoseg", 3, "minőség")};
    bakelit.buttonsTabStop = true;
    k.append(bakelit);

    KindSpec vhs;
    vhs.kind = 6;
    vhs.className = QStringLiteral("Tfrm_Szerk_VHS");
    vhs.caption = QStringLiteral("Videokazetta adatainak szerkesztése");
    vhs.fields = head({F("szerzo", "főszereplők"), F("cim", "film címe"), F("kiado_nev", "rendezte"),
                       F("kiadas", "kiadás"), F("minoseg_nev", "minőség"), F("mufaj_nev", "műfaj"),
                       F("prgtipus_nev", "nyelv"), F("targykor_nev", "felirat"), F("kotetszam", "számláló"),
                       F("hossz", "hossz"), F("ar", "ár")});
    vhs.lists = {L("polc", -1), L("kiado", 4),     L("minoseg", 6),
                 L("mufaj", 4), L("prgtipus", 21), L("targykor", 33)};
    vhs.buttons = {B("BitBtn3", A::ChoosePolc),
                   B("btnSzerzo", A::AppendName, "szerzo", 4, "szereplők"),
                   B("btnSzerzoTorol", A::Clear, "szerzo"),
                   B("btnKiado", A::ChooseLookup, "kiado", 4, "rendező"),
                   B("btnMinoseg", A::ChooseLookup, "minoseg", 6, "minőség"),
                   B("btnMufaj", A::ChooseLookup, "mufaj", 4, "műfaj"),
                   B("BitBtn1", A::ChooseLookup, "prgtipus", 21, "Nyelvi típus"),
                   B("BitBtn2", A::ChooseLookup, "targykor", 33, "Tárgykör választás")};
    k.append(vhs);

    KindSpec hang;
    hang.kind = 7;
    hang.className = QStringLiteral("Tfrm_Szerk_Hang");
    hang.caption = QStringLiteral("Hangkazetta adatainak szerkesztése");
    hang.fields = head({F("szerzo", "előadó"), F("cim", "album"), F("kiado_nev", "kiadó"),
                        F("kiadas", "kiadás"), F("mufaj_nev", "műfaj"), F("minoseg_nev", "minőség"),
                        F("kotetszam", "számláló"), F("hossz", "hossz")});
    hang.lists = {L("polc", -1), L("kiado", 3), L("mufaj", 3), L("minoseg", 3)};
    hang.buttons = {B("BitBtn3", A::ChoosePolc),
                    B("btnSzerzo", A::AppendName, "szerzo", 3, "előadó"),
                    B("btnSzerzoTorol", A::Clear, "szerzo"),
                    B("btnKiado", A::ChooseLookup, "kiado", 3, "kiadó"),
                    B("btnMufaj", A::ChooseLookup, "mufaj", 3, "műfaj"),
                    B("btnMinoseg", A::ChooseLookup, "minoseg", 3, "minőség")};
    k.append(hang);

    KindSpec dvd;
    dvd.kind = 8;
    dvd.className = QStringLiteral("Tfrm_Szerk_DVD");
    dvd.caption = QStringLiteral("DVD adatainak szerkesztése");
    dvd.fields = head({F("cim", "film címe"), F("szerzo", "főszereplők"), F("kiado_nev", "rendezte"),
                       F("mufaj_nev", "műfaj"), F("kiadas", "kiadás"), F("kotetszam", "DVD-k száma"),
                       F("hossz", "hossz"), F("prgtipus_nev", "nyelvi típus"), F("szoveg", "feliratok")});
    dvd.lists = {L("polc", -1), L("kiado", 4), L("mufaj", 4), L("prgtipus", 21)};
    dvd.buttons = {B("BitBtn2", A::ChoosePolc, "", -1, "", "dat_beszerzes"),
                   B("btnSzerzo", A::AppendName, "szerzo", 4, "szereplők"),
                   B("btnSzerzoTorol", A::Clear, "szerzo"),
                   B("btnKiado", A::ChooseLookup, "kiado", 4, "rendező"),
                   B("btnMufaj", A::ChooseLookup, "mufaj", 4, "műfaj"),
                   B("BitBtn1", A::ChooseLookup, "prgtipus", 21, "Nyelvi típus"),
                   B("BitBtn4", A::AppendName, "szoveg", 33, "nyelvek"),
                   B("BitBtn3", A::Clear, "szoveg")};
    k.append(dvd);

    KindSpec kotta;
    kotta.kind = 9;
    kotta.className = QStringLiteral("Tfrm_Szerk_Kotta");
    kotta.caption = QStringLiteral("Kotta adatainak szerkesztése");
    kotta.fields = head({F("szerzo", "szerző(k)"), F("szerkeszto", "szerkesztő(k)"), F("cim", "cím"),
                         F("isbn", "ISBN"), F("alcim", "alcím"), F("szoveg", "hangszerek"),
                         F("kiado_nev", "kiadó"), F("sorozat_nev", "sorozat"), F("targykor_nev", "típus"),
                         F("mufaj_nev", "műfaj"), F("kiadas", "kiadás (év)"), F("kotetszam", "kötetszám"),
                         F("hossz", "terjedelem"), F("ar", "ár"), F("prgtipus_nev", "nyelv")});
    kotta.lists = {L("polc", -1),     L("kiado", 1),  L("sorozat", -1),
                   L("targykor", 99), L("mufaj", 99), L("prgtipus", 121)};
    kotta.buttons = {B("BitBtn5", A::ChoosePolc),
                     B("btnSzerzo", A::AppendName, "szerzo", 99, "szerző"),
                     B("btnSzerzoTorol", A::Clear, "szerzo", -1, "", "btnSzerzo"),
                     B("BitBtn2", A::AppendName, "szerkeszto", 99, "szerkesztő", "cim"),
                     B("BitBtn1", A::Clear, "szerkeszto", -1, "", "BitBtn2"),
                     B("BitBtn6", A::AppendName, "szoveg", 98, "hangszerek"),
                     B("BitBtn7", A::Clear, "szoveg"),
                     B("btnKiado", A::ChooseLookup, "kiado", 1, "kiadó"),
                     B("BitBtn3", A::ChooseSorozat, "", -1, "", "btnTargykor", true),
                     B("btnTargykor", A::ChooseLookup, "targykor", 99, "Típus"),
                     B("btnMufaj", A::ChooseLookup, "mufaj", 99, "műfaj"),
                     B("BitBtn4", A::ChooseLookup, "prgtipus", 121, "Nyelv")};
    k.append(kotta);

    for (KindSpec& s : k)
        s.windowName = s.className.mid(1);
    return k;
}

} // namespace

const QList<KindSpec>& allKinds()
{
    static const QList<KindSpec> kinds = build();
    return kinds;
}

const KindSpec& kindSpec(int kind)
{
    if (kind < 1 || kind > allKinds().size()) throw std::out_of_range("item kind");
    return allKinds()[kind - 1];
}

QString controlName(const QString& field)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("sorszam"), QStringLiteral("DBEdit1")},
        {QStringLiteral("szerzo"), QStringLiteral("DBEdit2")},
        {QStringLiteral("alcim"), QStringLiteral("DBEdit3")},
        {QStringLiteral("szoveg"), QStringLiteral("DBEdit4")},
        {QStringLiteral("kiadas"), QStringLiteral("DBEdit5")},
        {QStringLiteral("prgkod"), QStringLiteral("DBEdit6")},
        {QStringLiteral("kotetszam"), QStringLiteral("DBEdit10")},
        {QStringLiteral("hossz"), QStringLiteral("DBEdit11")},
        {QStringLiteral("isbn"), QStringLiteral("DBEdit12")},
        {QStringLiteral("cim"), QStringLiteral("DBEdit13")},
        {QStringLiteral("ar"), QStringLiteral("DBEdit14")},
        {QStringLiteral("szerkeszto"), QStringLiteral("DBEdit15")},
        {QStringLiteral("polc_nev"), QStringLiteral("DBComboBox1")},
        {QStringLiteral("kiado_nev"), QStringLiteral("DBComboBox2")},
        {QStringLiteral("sorozat_nev"), QStringLiteral("DBComboBox3")},
        {QStringLiteral("targykor_nev"), QStringLiteral("DBComboBox4")},
        {QStringLiteral("mufaj_nev"), QStringLiteral("DBComboBox5")},
        {QStringLiteral("szakjel"), QStringLiteral("DBComboBox6")},
        {QStringLiteral("prgtipus_nev"), QStringLiteral("DBComboBox7")},
        {QStringLiteral("minoseg_nev"), QStringLiteral("DBComboBox8")},
        {DateField, QStringLiteral("DateTimePicker1")},
        {QStringLiteral("polcon"), QStringLiteral("DBCheckBox1")},
        {QStringLiteral("tartalom"), QStringLiteral("DBMemo1")},
        {QStringLiteral("lista"), QStringLiteral("DBMemo2")},
    };
    return names.value(field);
}

bool isListField(const QString& field)
{
    return field.endsWith(QLatin1String("_nev")) || field == QLatin1String("szakjel");
}

} // namespace EditorKinds
