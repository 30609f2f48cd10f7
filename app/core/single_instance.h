#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace pimoko {

inline const QString kInstanceLockName = QStringLiteral("PimokoPV126_Moruka");

// The user's runtime folder, where the instance lock lives.
QString RuntimeFolder();

// Keeps a second copy of the program from running: a lock file named after the version
// in the runtime folder, held for the whole run. A lock left behind by a process that
// died does not count, so a crash never locks the user out.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const QString& folder = RuntimeFolder());
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when another running process holds the lock: this one must end at once.
    bool AnotherInstanceRuns() const { return anotherRuns_; }
    // True when this process holds the lock. False with AnotherInstanceRuns() false
    // means the lock could not be made at all; the program then runs without a guard.
    bool Held() const { return held_; }
    QString LockPath() const { return path_; }

    void Release();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
    bool anotherRuns_ = false;
};

} // namespace pimoko
