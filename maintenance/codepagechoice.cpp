#include "codepagechoice.h"

#include "paradoxcodepage.h"
#include "paradoxreader.h"

#include <QDir>
#include <QFileInfo>
#include <QInputDialog>

namespace Maintenance {

namespace {

CodePageHook& hook()
{
    static CodePageHook h;
    return h;
}

} // namespace

void setCodePageHook(CodePageHook h)
{
    hook() = std::move(h);
}

int AskCodePage(const QString& tableFile, int headerCodePage, QWidget* owner)
{
    if (hook()) return hook()(tableFile, headerCodePage);

    const QList<int> pages = ParadoxCodePage::supported();
    QStringList items;
    int proposed = 0;
    for (int i = 0; i < pages.size(); ++i) {
        items.append(ParadoxCodePage::displayName(pages[i]));
        if (pages[i] == ParadoxReader::proposedCodePage()) proposed = i;
    }
    const QString header =
        headerCodePage == 0 ? QStringLiteral("nincs megadva") : QStringLiteral("%1").arg(headerCodePage);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        owner, QStringLiteral("Kódlap"),
        QStringLiteral("A(z) %1 tábla fejlécében nincs használható kódlap (fejléc: %2).\n"
                       "Válassza ki, milyen kódlappal készültek a tábla szövegei:")
            .arg(QFileInfo(tableFile).fileName(), header),
        items, proposed, false, &ok);
    if (!ok) return 0;
    const qsizetype i = items.indexOf(chosen);
    return i >= 0 ? pages[i] : 0;
}

} // namespace Maintenance
