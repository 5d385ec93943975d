#include "choosers.h"

#include "dberror.h"
#include "messages.h"
#include "table.h"
#include "torzsadat.h"
#include "torzslist.h"

#include <memory>

namespace {

ChooserHook& chooserHook()
{
    static ChooserHook hook;
    return hook;
}

MasterLinesHook& masterLinesHook()
{
    static MasterLinesHook hook;
    return hook;
}

using Choice = std::optional<std::pair<QVariant, QString>>;

Choice runChooser(TorzsKind kind, const QVariant& start, int tip, const QString& caption, QWidget* parent)
{
    const TorzsMember& m = TorzsMemberOf(kind);
    if (chooserHook()) {
        if (m.isSzakjel()) return chooserHook()(m.table, -1, -1, start.toString());
        return chooserHook()(m.table, start.toInt(), m.partitioned ? tip : -1,
                             m.partitioned ? caption : QString());
    }
    std::unique_ptr<TorzsListWindow> w(m.createList(parent));
    Choice result;
    try {
        if (m.partitioned) w->setListCaption(caption);
        w->enableElfogad();
        if (m.partitioned) w->setPartition(tip);
        w->openAt(start);
    } catch (const Engine::DbError& e) {
        ShowError(e.message(), parent);
        return result;
    }
    if (w->exec() == QDialog::Accepted) {
        try {
            result = std::make_pair(w->currentKey(), w->currentName());
        } catch (const Engine::DbError& e) {
            ShowError(e.message(), parent);
        }
    }
    w->Tbl->close();
    return result;
}

int chooseKey(TorzsKind kind, int start, int tip, const QString& caption, QString& name, QWidget* parent)
{
    const Choice c = runChooser(kind, start, tip, caption, parent);
    if (!c) return -1;
    name = c->second;
    return c->first.toInt();
}

} // namespace

void setChooserHook(ChooserHook hook)
{
    chooserHook() = std::move(hook);
}

void setMasterLinesHook(MasterLinesHook hook)
{
    masterLinesHook() = std::move(hook);
}

QString ChooseSzerzo(int start, int tip, const QString& caption, QWidget* parent)
{
    const Choice c = runChooser(TorzsKind::Szerzo, start, tip, caption, parent);
    return c ? c->second : QString();
}

int ChooseKiado(int start, int tip, const QString& caption, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::Kiado, start, tip, caption, name, parent);
}

int ChooseTargykor(int start, int tip, const QString& caption, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::Targykor, start, tip, caption, name, parent);
}

int ChooseMufaj(int start, int tip, const QString& caption, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::Mufaj, start, tip, caption, name, parent);
}

int ChoosePrgtipus(int start, int tip, const QString& caption, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::PrgTipus, start, tip, caption, name, parent);
}

int ChooseMinoseg(int start, int tip, const QString& caption, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::Minoseg, start, tip, caption, name, parent);
}

int ChooseSorozat(int start, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::Sorozat, start, 0, QString(), name, parent);
}

int ChoosePolc(int start, QString& name, QWidget* parent)
{
    return chooseKey(TorzsKind::Polc, start, 0, QString(), name, parent);
}

QString ChooseSzakjel(const QString& start, QString& description, QWidget* parent)
{
    const Choice c = runChooser(TorzsKind::Szakjel, start, 0, QString(), parent);
    if (!c) return QString();
    description = c->second;
    return c->first.toString();
}

QString AskMasterLines(QWidget* parent)
{
    return AskMasterLines(QString(), parent);
}

QString AskMasterLines(const QString& initialText, QWidget* parent)
{
    if (masterLinesHook()) return masterLinesHook()(initialText);
    Tfrm_Torzsadat w(parent);
    w.Memo1->setPlainText(initialText);
    w.Memo1->moveCursor(QTextCursor::End);
    if (w.exec() != QDialog::Accepted) return QString();
    return w.Memo1->toPlainText();
}
