#pragma once

#include "book/book_hooks.h"
#include "book/open_book.h"
#include "editor/page_editor.h"
#include "editor/ui/editor_window.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"
#include "player/sound_player.h"
#include "player/thumbnail_cache.h"
#include "text/font_table.h"

#include "tests/support/test_support.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <gtest/gtest.h>

#include <memory>

namespace pimoko::test {

// The book's hooks as the session forwards them to the page editor.
struct EditorHooks : BookHooks {
    TPageEditor* editor = nullptr;
    void StorePage() override { editor->StorePage(); }
    void ShowEditorWindow() override { editor->ShowEditorWindow(); }
    void ShowBookHeader(const TOpenBook& book) override { editor->ShowBookHeader(book); }
    void ShowFirstPage() override { editor->ShowFirstPage(); }
    void SetPageFadeWaitField(const QString& text) override { editor->SetPageFadeWaitField(text); }
};

struct WindowPeers : EditorWindowPeers {
    int plays = 0;
    int distributions = 0;
    int settingsWrites = 0;
    void PlayFromCurrentPage() override { ++plays; }
    void OpenDistribution() override { ++distributions; }
    void WriteSettings() override { ++settingsWrites; }
};

struct TitleList : EditorTitleListPort {
    int shownForEditing = 0;
    void ShowForEditing() override { ++shownForEditing; }
};

struct Sounds : SoundPort {
    QStringList calls;
    void PlaySound(const QString& file, bool looped) override
    {
        calls << (looped ? QStringLiteral("loop:") : QStringLiteral("once:")) + file;
    }
    void StopSounds() override { calls << QStringLiteral("stop"); }
};

// The windows the editor opens, as far as the editor window reaches them.
struct OtherWindows : TextSettingsPort, EffectsPort, BookOptionsPort, GraphicEditorPort {
    QStringList opened;
    void OpenTextSettings(const TextSettingsRequest&) override { opened << "text"; }
    void OpenEffects(const EffectsRequest&) override { opened << "effects"; }
    void OpenBookOptions(const BookOptionsRequest&) override { opened << "options"; }
    void OpenGraphicEditor(const QString& file) override { opened << "paint:" + file; }
};

// Counts the preview pictures the page editor hands the window.
class CountingEditorWindow : public TForm2 {
public:
    using TForm2::TForm2;
    void PreviewChanged() override
    {
        ++previews;
        TForm2::PreviewChanged();
    }
    int previews = 0;
};

// An editor window over a page editor over a new book in a folder of its own.
class EditorWindowTest : public ::testing::Test {
protected:
    EditorWindowTest()
        : book(prompt, hooks, tmp.path())
        , thumbnails(tmp.path())
    {
        fonts.Add(QStringLiteral("ＭＳ ゴシック"), 128, 49);
        editor = std::make_unique<TPageEditor>(book, prompt, busy, fonts, &thumbnails);
        hooks.editor = editor.get();
        EditorPorts ports;
        ports.titleList = &titleList;
        ports.sound = &sound;
        ports.textSettings = &others;
        ports.effects = &others;
        ports.bookOptions = &others;
        ports.graphicEditor = &others;
        window = std::make_unique<CountingEditorWindow>(*editor, busy, prompt, peers, ports);
        book.NewBook();
        window->show();
        QApplication::processEvents();
    }

    // Types text into a widget as an input method commits it.
    static void Commit(QWidget* widget, const QString& text)
    {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(widget, &commit);
    }

    TempFolder tmp;
    ScriptedPromptPort prompt;
    EditorHooks hooks;
    TOpenBook book;
    TBusyState busy;
    FontTable fonts;
    ThumbnailCache thumbnails;
    TitleList titleList;
    Sounds sound;
    OtherWindows others;
    WindowPeers peers;
    std::unique_ptr<TPageEditor> editor;
    std::unique_ptr<CountingEditorWindow> window;
};

} // namespace pimoko::test
