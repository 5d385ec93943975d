#include "kindviews.h"

namespace {

Engine::Column col(const char* field, const char* title, double share)
{
    return {QString::fromLatin1(field), QString::fromUtf8(title), share,
            qstrcmp(field, "sorszam") == 0 ? QStringLiteral("00000") : QString()};
}

const char* const kLent = "kölcsönadva";

DetailField det(const char* caption, std::initializer_list<const char*> fields)
{
    DetailField d{QString::fromUtf8(caption), {}};
    for (const char* f : fields)
        d.fields.append(QString::fromLatin1(f));
    return d;
}

QList<KindView> build()
{
    const DetailField lent = det(kLent, {"kolcsonadva", "datum"});
    const DetailField polcon = det("polcon", {"polconstr"});
    const QList<DetailField> common = {det("kiadó", {"kiado_nev"}), det("kiadás", {"kiadas"}), polcon, lent};
    QList<KindView> v;
    v.append({1, "aKonyvek", "Könyvek", QKeySequence(Qt::CTRL | Qt::Key_F1), "Könyvek", 55, "p0", "DBGrid1", "PAlja0",
              {col("sorszam", "sorszám", 0.08), col("szerzo", "szerző", 0.25), col("cim", "cím", 0.25),
               col("targykor_nev", "tárgykör", 0.14), col("mufaj_nev", "műfaj", 0.14), col("kiado_nev", "kiadó", 0.14)},
              {det("kiadó", {"kiado_nev"}), det("kiadás", {"kiadas"}), det("sorozat", {"sorozat_nev"}), polcon,
               det("ISBN", {"isbn"}), det("polc", {"polc_nev"}), lent},
              "Könyvek", "Könyvek", "x-office-address-book"});
    v.append({2, "aCDProgi", "CD-Programok", QKeySequence(Qt::CTRL | Qt::Key_F2), "CD-program", 60, "p1", "DBGrid2",
              "Panel3",
              {col("sorszam", "sorszám", 0.10), col("prgtipus_nev", "típus", 0.20), col("cim", "program neve", 0.25),
               col("kiado_nev", "kiadó", 0.25), col("prgkod", "program kódja", 0.20)},
              common, "Program CD-k", "Programok", "media-optical"});
    v.append({3, "aCDZene", "CD-Zene", QKeySequence(Qt::CTRL | Qt::Key_F3), "CD-zene", 55, "p2", "DBGrid3", "Panel34",
              {col("sorszam", "sorszám", 0.10), col("szerzo", "előadó", 0.25), col("cim", "album címe", 0.20),
               col("mufaj_nev", "műfaj", 0.20), col("kotetszam", "CD-k száma", 0.10), col("hossz", "hossz", 0.15)},
              common, "Zenei CD-k", "Zene CD-k", "media-optical-cd-audio"});
    v.append({4, "aCDVideo", "CD-Video", QKeySequence(Qt::CTRL | Qt::Key_F4), "CD-video", 60, "p3", "DBGrid4",
              "Panel38",
              {col("sorszam", "sorszám", 0.10), col("cim", "film címe", 0.25), col("mufaj_nev", "műfaj", 0.20),
               col("minoseg_nev", "formátum", 0.20), col("kotetszam", "CD-k száma", 0.10), col("hossz", "hossz", 0.15)},
              {det("főszereplő", {"szerzo"}), det("rendezte", {"kiado_nev"}), polcon, lent}, "Video CD-k", "Video CD-k",
              "video-x-generic"});
    v.append({5, "aBakelit", "Bakelit", QKeySequence(Qt::CTRL | Qt::Key_F5), "Bakelit", 60, "p4", "DBGrid5", "Panel42",
              {col("sorszam", "sorszám", 0.10), col("szerzo", "előadó", 0.25), col("cim", "album", 0.20),
               col("mufaj_nev", "műfaj", 0.20), col("minoseg_nev", "minőség", 0.10),
               col("kotetszam", "lemezek száma", 0.15)},
              common, "Hanglemezek", "Bakelit lemezek", "media-optical-audio"});
    v.append({6, "aVHS", "VHS", QKeySequence(Qt::CTRL | Qt::Key_F6), "VHS-video", 60, "p5", "DBGrid6", "Panel46",
              {col("sorszam", "sorszám", 0.10), col("cim", "film címe", 0.25), col("mufaj_nev", "műfaj", 0.25),
               col("minoseg_nev", "minőség", 0.15), col("hossz", "hossz", 0.15), col("kotetszam", "számláló", 0.10)},
              {det("rendező", {"kiado_nev"}), det("főszereplők", {"szerzo"}), polcon, lent}, "VHS kazetták",
              "VHS kazetták", "media-tape"});
    v.append({7, "aHang", "Hangkazetta", QKeySequence(Qt::CTRL | Qt::Key_F7), "Hangkazetta", 65, "p6", "DBGrid7",
              "Panel50",
              {col("sorszam", "sorszám", 0.10), col("szerzo", "előadó", 0.25), col("cim", "album", 0.20),
               col("mufaj_nev", "műfaj", 0.20), col("minoseg_nev", "minőség", 0.10), col("hossz", "hossz", 0.15)},
              common, "Hangkazetták", "Hangkazetták", "audio-x-generic"});
    v.append({8, "aDVD", "DVD", QKeySequence(Qt::CTRL | Qt::Key_F8), "DVD", 55, "p7", "DBGrid8", "Panel54",
              {col("sorszam", "sorszám", 0.10), col("cim", "film címe", 0.25), col("kiado_nev", "rendezte", 0.20),
               col("mufaj_nev", "műfaj", 0.20), col("kotetszam", "DVD-k száma", 0.10), col("hossz", "hossz", 0.15)},
              {det("rendező", {"kiado_nev"}), det("kiadás", {"kiadas"}), polcon, lent}, "DVD-k", "DVD-k",
              "media-optical-dvd"});
    v.append({9, "aKotta", "Kották", QKeySequence(Qt::CTRL | Qt::Key_F9), "Kotta", 55, "p8", "DBGrid9", "Panel4",
              {col("sorszam", "sorszám", 0.10), col("szerzo", "szerző", 0.25), col("cim", "cím", 0.25),
               col("targykor_nev", "típus", 0.15), col("mufaj_nev", "műfaj", 0.15), col("kiado_nev", "kiadó", 0.10)},
              {det("kiadó", {"kiado_nev"}), det("kiadás", {"kiadas"}), det("sorozat", {"sorozat_nev"}),
               det("ISBN", {"isbn"}), det("polc", {"polc_nev"}), lent},
              "Kották", "Kották", "audio-x-generic"});
    return v;
}

} // namespace

const QList<KindView>& kindViews()
{
    static const QList<KindView> all = build();
    return all;
}
