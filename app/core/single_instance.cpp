#include "app/core/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace pimoko {

QString RuntimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

SingleInstanceGuard::SingleInstanceGuard(const QString& folder)
    : path_(QDir(folder).filePath(kInstanceLockName))
{
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(path_);
    // The lock lives as long as the program: only a dead owner makes it stale, never age.
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
    if (!held_)
        anotherRuns_ = lock_->error() == QLockFile::LockFailedError;
}

SingleInstanceGuard::~SingleInstanceGuard()
{
    Release();
}

void SingleInstanceGuard::Release()
{
    if (held_)
        lock_->unlock();
    held_ = false;
}

} // namespace pimoko
