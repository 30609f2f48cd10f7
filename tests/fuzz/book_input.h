// What the two book harnesses share: the folder their input file lives in, and putting
// the current folder back after LoadBook has moved into it.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace pimoko::fuzz {

// In memory where the system has a memory file system: every input is written, and a
// save syncs its file to disk.
inline const QTemporaryDir& InputFolder()
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
            ? QStringLiteral("/dev/shm/pimoko-fuzz-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/pimoko-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir;
}

inline QString InputPath()
{
    static const QString path = InputFolder().filePath(QStringLiteral("fuzz.pmk"));
    return path;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        std::abort();
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        std::abort();
    return f.readAll();
}

inline void WriteInput(const uint8_t* data, size_t size)
{
    WriteBytes(InputPath(),
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
}

// LoadBook makes the book's folder the current folder; libFuzzer's corpus and artifact
// paths may be relative, so the folder the run started in is put back after every input.
struct KeepCurrentFolder {
    KeepCurrentFolder() { (void)Start(); }
    ~KeepCurrentFolder() { QDir::setCurrent(Start()); }

private:
    static const QString& Start()
    {
        static const QString start = QDir::currentPath();
        return start;
    }
};

} // namespace pimoko::fuzz
