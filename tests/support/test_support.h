#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace pimoko::test {

// Writes bytes to a file, creating its folders. Returns the path.
QString WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadAll(const QString& path);

// Shift_JIS bytes of a text written here as UTF-8 (test data in the Windows form).
QByteArray Sjis(const QString& text);

// A folder of its own for each test, removed at the end.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace pimoko::test
