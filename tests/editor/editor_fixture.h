#pragma once

#include "book/open_book.h"
#include "editor/page_editor.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"
#include "player/sound_player.h"
#include "player/thumbnail_cache.h"
#include "text/font_table.h"

#include "tests/support/test_support.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace pimoko::test {

// Text is drawn through the font database, which needs the application object.
inline void EnsureGuiApp()
{
    if (QGuiApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_editor";
    static char* argv[] = { name, nullptr };
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

struct RecordingTitleList : EditorTitleListPort {
    bool visible = false;
    int refreshes = 0;
    int reloads = 0;
    bool IsVisible() const override { return visible; }
    void Refresh() override { ++refreshes; }
    void ReloadTitles() override { ++reloads; }
};

struct RecordingSound : SoundPort {
    QStringList calls;
    void PlaySound(const QString& file, bool looped) override
    {
        calls << (looped ? QStringLiteral("loop:") : QStringLiteral("once:")) + file;
    }
    void StopSounds() override { calls << QStringLiteral("stop"); }
};

struct RecordingView : EditorViewPort {
    QList<int> cursors;
    void SetCursor(int id) override { cursors << id; }
};

// A book in a folder of its own with an editor over it, the prompts scripted.
class EditorTest : public ::testing::Test {
protected:
    EditorTest()
        : book(prompt, tmp.path())
        , thumbnails(tmp.path())
    {
        EnsureGuiApp();
        book.BookFolder = tmp.path();
        fonts.Add(QStringLiteral("ＭＳ ゴシック"), 128, 49);
        EditorPorts ports;
        ports.titleList = &titleList;
        ports.sound = &sound;
        ports.view = &view;
        editor = std::make_unique<TPageEditor>(book, prompt, busy, fonts, &thumbnails, ports);
    }

    // Pages 1..count in use, each titled with its number and with one line of text whose
    // delays are 7.
    void UsePages(int count)
    {
        for (int n = 1; n <= count; ++n) {
            TNovelPage& p = book.Page(n);
            p.InUse = true;
            p.PageNumber = n;
            p.Title = QString::number(n);
            p.TextLines = { QStringLiteral("ページ%1").arg(n) };
            p.FontName = QStringLiteral("ＭＳ ゴシック");
            p.FontHeight = 20;
            p.CharDelays.fill(7);
        }
        editor->ShowPage(1);
    }

    TempFolder tmp;
    ScriptedPromptPort prompt;
    TOpenBook book;
    TBusyState busy;
    FontTable fonts;
    ThumbnailCache thumbnails;
    RecordingTitleList titleList;
    RecordingSound sound;
    RecordingView view;
    std::unique_ptr<TPageEditor> editor;
};

} // namespace pimoko::test
