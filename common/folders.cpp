#include "folders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#include <optional>

namespace {

struct Folders
{
    QString exeDir;
    QString homeDir;
    QString iniFileName;
};

struct State
{
    std::optional<Folders> folders;
    std::optional<QRect> workArea;
    QString exeDirOverride;
    QRect workAreaOverride;
};

State& state()
{
    static State s;
    return s;
}

QString withoutTrailingSeparator(QString path)
{
    if (path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

const Folders& folders()
{
    State& s = state();
    if (!s.folders) {
        Folders f;
        f.exeDir = s.exeDirOverride.isEmpty() ? ProgramFolder() : withoutTrailingSeparator(s.exeDirOverride);
        if (QFileInfo::exists(f.exeDir + QStringLiteral("/Lerovani.ini")))
            f.homeDir = f.exeDir;
        else
            f.homeDir = CommonAppDataFolder() + QStringLiteral("/Lerovani");
        f.iniFileName = f.homeDir + QStringLiteral("/Lerovani.ini");
        s.folders = f;
    }
    return *s.folders;
}

} // namespace

QString ProgramFolder()
{
    return withoutTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString CommonAppDataFolder()
{
    return withoutTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString DocumentsFolder()
{
    return withoutTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString ExeDir()
{
    return folders().exeDir;
}

QString HomeDir()
{
    return folders().homeDir;
}

QString IniFileName()
{
    return folders().iniFileName;
}

QColor SortColumnColor()
{
    return QColor(255, 255, 185);
}

QRect WorkArea()
{
    State& s = state();
    if (!s.workAreaOverride.isNull()) return s.workAreaOverride;
    if (!s.workArea) {
        const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
        s.workArea = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    }
    return *s.workArea;
}

void ResetFolders()
{
    state().folders.reset();
    state().workArea.reset();
}

void SetExeDirForTests(const QString& dir)
{
    state().exeDirOverride = dir;
    state().folders.reset();
}

void SetWorkAreaForTests(const QRect& rect)
{
    state().workAreaOverride = rect;
}
