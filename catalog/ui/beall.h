#pragma once

#include <QString>
#include <array>

// The settings record that lives for the whole run of the catalogue program.
struct TBeall
{
    std::array<int, 9> TabOf{99, 99, 99, 99, 99, 99, 99, 99, 99}; // tab position per kind 1..9, 99 = hidden
    bool NewItemStarted = false;
    int NextLeltszam = 0;
    QString LeltszamMaszk;
    int TabSetWidth = 0;
    std::array<bool, 9> VisibleTabs{true, true, true, true, true, true, true, true, true};
    bool FullScreen = true;
    QString DatabasePath;
    int FontSize = 9;
    std::array<int, 10> LastAz{}; // per tab position, and a last slot used before any tab is selected
    QString HtmlPath;
};

extern TBeall Beall;

// Name of the catalogue's one database connection.
inline const QString& CatalogConnection()
{
    static const QString name = QStringLiteral("Lerovani");
    return name;
}
