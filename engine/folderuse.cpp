#include "folderuse.h"

#include <QCoreApplication>
#include <QDir>
#include <QSysInfo>

namespace Engine {

QString FolderUse::usersFolder(const QString& databaseFolder)
{
    return QDir(databaseFolder).filePath(QStringLiteral("lerovani.users"));
}

bool FolderUse::acquire(const QString& databaseFolder)
{
    release();
    const QString dir = usersFolder(databaseFolder);
    if (!QDir().mkpath(dir))
        return false;
    m_path = QDir(dir).filePath(QStringLiteral("%1-%2.lock")
                                    .arg(QSysInfo::machineHostName().isEmpty() ? QStringLiteral("gep")
                                                                               : QSysInfo::machineHostName())
                                    .arg(QCoreApplication::applicationPid()));
    auto lock = std::make_unique<QLockFile>(m_path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
}

void FolderUse::release()
{
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}

QStringList FolderUse::otherUsers(const QString& databaseFolder, const FolderUse* self)
{
    QStringList users;
    QDir dir(usersFolder(databaseFolder));
    if (!dir.exists())
        return users;
    for (const QString& name : dir.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString path = dir.filePath(name);
        if (self && self->m_lock && path == self->m_path)
            continue;
        QLockFile probe(path);
        probe.setStaleLockTime(0);
        // A lock that can be taken belonged to a copy that has ended.
        if (probe.tryLock(0)) {
            probe.unlock();
            continue;
        }
        users.append(name.chopped(5));
    }
    return users;
}

} // namespace Engine
