#include "tests/editor/ui/editor_window_fixture.h"

#include "editor/ui/editor_glyphs.h"
#include "editor/ui/memo_text.h"
#include "platform/sjis_codec.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

namespace pimoko {
namespace {

using test::EditorWindowTest;

// 0xED40 is a second code of 纊: a text read from a file keeps it as a private-use alias.
QString AliasedLine()
{
    return DecodeSjis(QByteArray("\xED\x40", 2)) + QStringLiteral("の木");
}

TEST_F(EditorWindowTest, InputMethodTextReachesThePageEditorOnceCommitted)
{
    window->Memo1->setFocus();
    book.Modified = false;
    const int previews = window->previews;

    QList<QInputMethodEvent::Attribute> attributes;
    attributes << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 4, 1, QVariant());
    QInputMethodEvent preedit(QStringLiteral("にほんご"), attributes);
    QApplication::sendEvent(window->Memo1, &preedit);
    EXPECT_TRUE(editor->Memo1.isEmpty());
    EXPECT_FALSE(book.Modified);
    EXPECT_EQ(window->previews, previews);

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本語"));
    QApplication::sendEvent(window->Memo1, &commit);
    EXPECT_EQ(editor->Memo1, QStringList({ QStringLiteral("日本語") }));
    EXPECT_TRUE(editor->TextChanged);
    EXPECT_TRUE(book.Modified);
    EXPECT_EQ(window->previews, previews + 1);
    EXPECT_EQ(window->Memo1->toPlainText(), QStringLiteral("日本語"));
}

TEST_F(EditorWindowTest, MemoShowsAliasesAsCharactersAndKeepsUntouchedLines)
{
    const QString aliased = AliasedLine();
    TNovelPage& p2 = book.Page(2);
    p2.InUse = true;
    p2.TextLines = { aliased, QStringLiteral("おわり") };
    editor->ShowPage(2);
    window->ShowState();
    EXPECT_EQ(window->Memo1->toPlainText(), QStringLiteral("纊の木\nおわり"));

    // The author changes the second line only: the first keeps its bytes.
    QTextCursor cursor = window->Memo1->textCursor();
    cursor.movePosition(QTextCursor::End);
    window->Memo1->setTextCursor(cursor);
    Commit(window->Memo1, QStringLiteral("です"));
    EXPECT_EQ(editor->Memo1, QStringList({ aliased, QStringLiteral("おわりです") }));
    QTest::mouseClick(window->BitBtn2, Qt::LeftButton);
    EXPECT_EQ(EncodeSjis(book.Page(2).TextLines[0]).bytes, QByteArray("\xED\x40\x82\xcc\x96\xd8"));
}

TEST(MemoText, ShownAndStoredForms)
{
    const QString aliased = AliasedLine();
    const struct {
        const char* what;
        QStringList page;
        QString typed;
        QStringList stored;
    } cases[] = {
        { "an empty memo has no line", { QStringLiteral("あ") }, QString(), {} },
        { "a line break at the end opens no line", {}, QStringLiteral("あ\n"),
            { QStringLiteral("あ") } },
        { "an empty line between stays", {}, QStringLiteral("あ\n\nい"),
            { QStringLiteral("あ"), QString(), QStringLiteral("い") } },
        { "an untouched aliased line keeps its alias", { aliased, QStringLiteral("い") },
            QStringLiteral("いいい\n纊の木"), { QStringLiteral("いいい"), aliased } },
        { "an edited aliased line is stored as typed", { aliased }, QStringLiteral("纊の木々"),
            { QStringLiteral("纊の木々") } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MemoStoredLines(c.typed, MemoStoredForms(c.page)), c.stored);
    }
    EXPECT_EQ(MemoDisplayText({ aliased, QStringLiteral("い") }), QStringLiteral("纊の木\nい"));
}

TEST_F(EditorWindowTest, HeadingIsStoredOnEnterAndWhenTheEditIsLeft)
{
    window->Edit4->setFocus();
    Commit(window->Edit4, QStringLiteral("もりのなか"));
    EXPECT_TRUE(editor->Edit4Modified);
    EXPECT_TRUE(book.Page(1).Title.isEmpty());
    QTest::keyClick(window->Edit4, Qt::Key_Return);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("もりのなか"));
    EXPECT_FALSE(editor->Edit4Modified);

    Commit(window->Edit4, QStringLiteral("で"));
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(window->Edit4, &leave);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("もりのなかで"));

    // Another window takes over while the heading changed but lost no focus: stored too.
    window->Memo1->setFocus();
    Commit(window->Edit4, QStringLiteral("は"));
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QEvent deactivated(QEvent::ActivationChange);
    QApplication::sendEvent(window.get(), &deactivated);
    EXPECT_EQ(book.Page(1).Title, QStringLiteral("もりのなかでは"));
}

TEST_F(EditorWindowTest, BookMadeInTheWindowReadsBackTheSame)
{
    window->BookTitleEdit->selectAll();
    QTest::keyClicks(window->BookTitleEdit, "Mori");
    window->Edit4->setFocus();
    Commit(window->Edit4, QStringLiteral("はじめ"));
    window->Memo1->setFocus();
    Commit(window->Memo1, QStringLiteral("もりに\nいきました"));
    QTest::mouseClick(window->BitBtn3, Qt::LeftButton);
    prompt.colors = { 0x00336699 };
    QTest::mouseClick(window->FillPaintBitBtn, Qt::LeftButton);
    window->Memo1->setFocus();
    Commit(window->Memo1, QStringLiteral("おしまい"));
    QTest::mousePress(window->PeriodCheckBox, Qt::LeftButton);
    QTest::mouseRelease(window->PeriodCheckBox, Qt::LeftButton);

    const QString path = tmp.file(QStringLiteral("mori.pmk"));
    prompt.fileNames = { path };
    prompt.answers = { Answer::No }; // not listed in the library
    QTest::mouseClick(window->SaveAsBitBtn, Qt::LeftButton);
    ASSERT_FALSE(book.Modified);
    const QStringList saved = book.BookFileLines();

    ScriptedPromptPort otherPrompt;
    TOpenBook reread(otherPrompt, tmp.path());
    ASSERT_TRUE(reread.LoadBook(path));
    EXPECT_EQ(reread.BookFileLines(), saved);
    EXPECT_EQ(reread.BookTitle, QStringLiteral("Mori"));
    EXPECT_EQ(reread.Page(1).Title, QStringLiteral("はじめ"));
    EXPECT_EQ(reread.Page(1).TextLines,
        QStringList({ QStringLiteral("もりに"), QStringLiteral("いきました") }));
    EXPECT_EQ(reread.Page(1).CharDelays[7], 100);
    EXPECT_EQ(reread.Page(1).CharDelays[8], -1);
    EXPECT_TRUE(reread.Page(2).FillImage);
    EXPECT_EQ(reread.Page(2).FillColor, 0x00336699);
    EXPECT_TRUE(reread.Page(2).Period);
    EXPECT_FALSE(reread.Page(3).InUse);
}

TEST(EditorGlyphs, EveryGlyphIsDrawnAndTellsItselfApart)
{
    QSet<QByteArray> seen;
    for (int i = 0; i < kEditorGlyphCount; ++i) {
        SCOPED_TRACE(i);
        const QImage glyph = EditorGlyphImage(static_cast<EditorGlyph>(i));
        ASSERT_EQ(glyph.size(), QSize(16, 16));
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += qAlpha(glyph.pixel(x, y)) > 0;
        EXPECT_GT(drawn, 20);
        EXPECT_LT(drawn, 256); // something of the button shows around it
        const QByteArray bits(
            reinterpret_cast<const char*>(glyph.constBits()), glyph.sizeInBytes());
        EXPECT_FALSE(seen.contains(bits));
        seen.insert(bits);
    }
    for (int mode = 1; mode <= 3; ++mode) {
        const QImage picture = DrawModePicture(mode);
        EXPECT_EQ(picture.size(), QSize(32, 32));
        // Doubled without smoothing: each glyph pixel is a 2 x 2 block.
        EXPECT_EQ(picture.pixel(9, 7), DrawModeGlyph(mode).pixel(4, 3));
        EXPECT_EQ(picture.pixel(8, 6), DrawModeGlyph(mode).pixel(4, 3));
    }
    EXPECT_NE(DrawModeGlyph(1), DrawModeGlyph(2));
    EXPECT_NE(DrawModeGlyph(2), DrawModeGlyph(3));
}

} // namespace
} // namespace pimoko
