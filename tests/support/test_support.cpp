#include "tests/support/test_support.h"

#include "platform/sjis_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace pimoko::test {

QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray Sjis(const QString& text)
{
    return EncodeSjis(text).bytes;
}

TempFolder::TempFolder()
    : dir_(QDir::tempPath() + QStringLiteral("/pimoko-test-XXXXXX"))
{
    // PIMOKO_KEEP_TEST_FILES=1 leaves the folders behind, to look at what a test wrote.
    dir_.setAutoRemove(qEnvironmentVariableIntValue("PIMOKO_KEEP_TEST_FILES") == 0);
}

} // namespace pimoko::test
