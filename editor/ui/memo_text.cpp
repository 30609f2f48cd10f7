#include "editor/ui/memo_text.h"

#include "editor/page_editor.h"
#include "platform/sjis_codec.h"

namespace pimoko {

QString MemoDisplayText(const QStringList& lines)
{
    QStringList shown;
    shown.reserve(lines.size());
    for (const QString& line : lines)
        shown.append(SjisDisplayText(line));
    return shown.join(QLatin1Char('\n'));
}

QHash<QString, QString> MemoStoredForms(const QStringList& lines)
{
    QHash<QString, QString> forms;
    for (const QString& line : lines) {
        const QString shown = SjisDisplayText(line);
        if (!forms.contains(shown))
            forms.insert(shown, line);
    }
    return forms;
}

QStringList MemoStoredLines(const QString& text, const QHash<QString, QString>& storedForms)
{
    QStringList lines = TPageEditor::MemoLinesOf(text);
    for (QString& line : lines) {
        const auto stored = storedForms.constFind(line);
        if (stored != storedForms.constEnd())
            line = stored.value();
    }
    return lines;
}

} // namespace pimoko
