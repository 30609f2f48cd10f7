#pragma once

#include "book/open_book.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"

#include <QDir>
#include <QFileInfo>

namespace pimoko::test {

// Writes a small book file with the given title and page texts; returns its path.
inline QString WriteBook(const QString& path, const QString& title,
    const QStringList& pageTexts = { QStringLiteral("はじまり") }, bool period = true)
{
    ScriptedPromptPort prompt;
    TOpenBook book(prompt, QFileInfo(path).absolutePath());
    book.BookTitle = title;
    for (int i = 0; i < pageTexts.size(); ++i) {
        TNovelPage& p = book.Page(i + 1);
        p.InUse = true;
        p.Title = QStringLiteral("ページ%1").arg(i + 1);
        p.FillImage = true;
        p.FillColor = 0x00402010;
        p.TextLines = QStringList { pageTexts[i] };
        p.FontName = QStringLiteral("ＭＳ ゴシック");
        p.FontHeight = 24;
        p.FontColor = 0x00FFFFFF;
        p.TextX = 40;
        p.TextY = 40;
        p.Period = period;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteLineFile(path, book.BookFileLines());
    return path;
}

} // namespace pimoko::test
