#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace pimoko {

// Memo1 shows a page's text as a reader sees it: the private-use aliases a loaded text
// keeps for byte identity are shown as the characters they stand for. What the author
// types is stored as typed, and a line left as it was shown keeps its stored form.

// The memo's text for the page's lines, one line a paragraph.
QString MemoDisplayText(const QStringList& lines);

// The shown form of each stored line, mapped back to the stored line.
QHash<QString, QString> MemoStoredForms(const QStringList& lines);

// The lines to store for the memo's text (as the page editor splits a memo's text); a
// line that reads as a shown line gets that line's stored form.
QStringList MemoStoredLines(const QString& text, const QHash<QString, QString>& storedForms);

} // namespace pimoko
