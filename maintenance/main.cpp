#include "updmain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lerovani_Upd"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pelmorati - adatbázis karbantartás"));

    // Qt's own buttons and dialogs (Igen, Nem, Mégse) in Hungarian.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Hungarian, QLocale::Hungary), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Tfrm_Upd_Main window;
    window.show();
    return QApplication::exec();
}
