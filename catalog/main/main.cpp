#include "mainwindow.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lerovani"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vemla Lerovani - otthoni célra"));
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::Hungarian), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

    Tfrm_Main frm_Main;
    if (!frm_Main.created())
        return 1;
    frm_Main.show();
    return QApplication::exec();
}
