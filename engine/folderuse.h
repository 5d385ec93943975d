#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

namespace Engine {

// Every running catalogue copy holds a lock file in the database folder's users folder,
// the way the old engine's network control file told who works on the tables. The
// maintenance program looks there before it changes anything.
class FolderUse
{
public:
    static QString usersFolder(const QString& databaseFolder);

    // Registers this process as a user of the folder until release() or destruction.
    bool acquire(const QString& databaseFolder);
    void release();
    bool isHeld() const { return m_lock != nullptr; }

    // Users other than this FolderUse: live lock files (stale ones of crashed copies are removed).
    static QStringList otherUsers(const QString& databaseFolder, const FolderUse* self = nullptr);

    ~FolderUse() { release(); }

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};

} // namespace Engine
