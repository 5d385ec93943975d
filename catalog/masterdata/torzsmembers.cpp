#include "torzsmembers.h"

#include "torzseditor.h"
#include "torzslist.h"

namespace {

TorzsMember member(TorzsKind kind, const char* table, const char* unit, const char* list,
                   const QString& caption, int nameSize, bool partitioned, const QString& columnTitle,
                   const QString& editorCaption, const QString& editorLabel, QSize design)
{
    const QString t = QString::fromLatin1(table);
    const bool szakjel = kind == TorzsKind::Szakjel;
    TorzsMember m;
    m.kind = kind;
    m.table = t;
    m.unit = QString::fromLatin1(unit);
    m.listClass = QString::fromLatin1(list);
    m.listCaption = caption;
    m.indexName = szakjel ? QString() : QStringLiteral("idx_") + t + QStringLiteral("_nev");
    m.keyField = t;
    m.nameField = t + QStringLiteral("_nev");
    m.nameSize = nameSize;
    m.partitioned = partitioned;
    m.columnTitle = columnTitle;
    m.editorClass = m.listClass + QStringLiteral("_Szerkeszt");
    m.editorCaption = editorCaption;
    m.editorLabel = editorLabel;
    m.designSize = design;
    m.hasKereso = kind != TorzsKind::Kiado;
    m.editorKeepsFont = kind == TorzsKind::Szerzo;
    m.captionOnPanel = kind == TorzsKind::Targykor;
    return m;
}

QList<TorzsMember> buildMembers()
{
    using K = TorzsKind;
    return {
        member(K::Szerzo, "szerzo", "Torzs_Szerzo", "Tfrm_TorzsSzerzo", QStringLiteral("Szerzők"), 50, true,
               QStringLiteral("Szerzők"), QStringLiteral("Szerző szerkesztés"), QStringLiteral("szerző neve"),
               {405, 410}),
        member(K::Kiado, "kiado", "TorzsKiado", "Tfrm_TorzsKiado", QStringLiteral("Kiadók"), 50, true,
               QStringLiteral("Kiadók"), QStringLiteral("Kiadó szerkesztés"), QStringLiteral("kiadó neve"),
               {405, 382}),
        member(K::Targykor, "targykor", "TorzsTargykor", "Tfrm_TorzsTargykor", QStringLiteral("Tárgykörök"),
               50, true, QStringLiteral("Tárgykörök"), QStringLiteral("Tárgykör szerkesztés"),
               QStringLiteral("tárgykör"), {374, 378}),
        member(K::Mufaj, "mufaj", "TorzsMufaj", "Tfrm_TorzsMufaj", QStringLiteral("Műfajok"), 50, true,
               QStringLiteral("Műfajok"), QStringLiteral("Műfaj szerkesztés"), QStringLiteral("műfaj"),
               {414, 390}),
        member(K::Sorozat, "sorozat", "Torzs_Sorozat", "Tfrm_TorzsSorozat", QStringLiteral("Sorozatok"), 50,
               false, QStringLiteral("sorozat"), QStringLiteral("Sorozat szerkesztés"),
               QStringLiteral("sorozat"), {376, 364}),
        member(K::PrgTipus, "prgtipus", "TorzsPrgTipus", "Tfrm_TorzsPrgTipus",
               QStringLiteral("Program típusok"), 50, true, QStringLiteral("Program típusok"),
               QStringLiteral("Program típus szerkesztés"), QStringLiteral("program típus"), {380, 395}),
        member(K::Polc, "polc", "TorzsPolc", "Tfrm_TorzsPolc", QStringLiteral("Polcok"), 25, false,
               QStringLiteral("Polc"), QStringLiteral("Polc szerkesztés"), QStringLiteral("Polc"),
               {400, 368}),
        member(K::Szakjel, "szakjel", "TorzsSzakjel", "Tfrm_TorzsSzakjel", QStringLiteral("Szakjelek"), 50,
               false, QStringLiteral("szakjel"), QStringLiteral("Szakjel szerkesztés"),
               QStringLiteral("Szakjel"), {393, 445}),
        member(K::Minoseg, "minoseg", "TorzsMinoseg", "Tfrm_TorzsMinoseg", QStringLiteral("Minőség"), 50,
               true, QStringLiteral("Minőség"), QStringLiteral("Minőség szerkesztés"),
               QStringLiteral("minőség"), {398, 368}),
    };
}

} // namespace

const QList<TorzsMember>& TorzsMembers()
{
    static const QList<TorzsMember> members = buildMembers();
    return members;
}

const TorzsMember& TorzsMemberOf(TorzsKind kind)
{
    for (const TorzsMember& m : TorzsMembers())
        if (m.kind == kind) return m;
    return TorzsMembers().first();
}

const TorzsMember* TorzsMemberOfTable(const QString& table)
{
    for (const TorzsMember& m : TorzsMembers())
        if (m.table.compare(table, Qt::CaseInsensitive) == 0) return &m;
    return nullptr;
}

TorzsListWindow* TorzsMember::createList(QWidget* parent) const
{
    switch (kind) {
    case TorzsKind::Szerzo:
        return new Tfrm_TorzsSzerzo(parent);
    case TorzsKind::Kiado:
        return new Tfrm_TorzsKiado(parent);
    case TorzsKind::Targykor:
        return new Tfrm_TorzsTargykor(parent);
    case TorzsKind::Mufaj:
        return new Tfrm_TorzsMufaj(parent);
    case TorzsKind::Sorozat:
        return new Tfrm_TorzsSorozat(parent);
    case TorzsKind::PrgTipus:
        return new Tfrm_TorzsPrgTipus(parent);
    case TorzsKind::Polc:
        return new Tfrm_TorzsPolc(parent);
    case TorzsKind::Szakjel:
        return new Tfrm_TorzsSzakjel(parent);
    case TorzsKind::Minoseg:
        return new Tfrm_TorzsMinoseg(parent);
    }
    return nullptr;
}

TorzsEditor* TorzsMember::createEditor(TorzsListWindow* list) const
{
    switch (kind) {
    case TorzsKind::Szerzo:
        return new Tfrm_TorzsSzerzo_Szerkeszt(list);
    case TorzsKind::Kiado:
        return new Tfrm_TorzsKiado_Szerkeszt(list);
    case TorzsKind::Targykor:
        return new Tfrm_TorzsTargykor_Szerkeszt(list);
    case TorzsKind::Mufaj:
        return new Tfrm_TorzsMufaj_Szerkeszt(list);
    case TorzsKind::Sorozat:
        return new Tfrm_TorzsSorozat_Szerkeszt(list);
    case TorzsKind::PrgTipus:
        return new Tfrm_TorzsPrgTipus_Szerkeszt(list);
    case TorzsKind::Polc:
        return new Tfrm_TorzsPolc_Szerkeszt(list);
    case TorzsKind::Szakjel:
        return new Tfrm_TorzsSzakjel_Szerkeszt(list);
    case TorzsKind::Minoseg:
        return new Tfrm_TorzsMinoseg_Szerkeszt(list);
    }
    return nullptr;
}
