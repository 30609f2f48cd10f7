#include "tests/editor/editor_fixture.h"

#include "editor/book_options.h"
#include "editor/effects_settings.h"
#include "platform/numbers.h"

namespace pimoko {
namespace {

class BookOptionsTest : public test::EditorTest {
protected:
    void Open()
    {
        struct Capture : BookOptionsPort {
            BookOptionsRequest request;
            void OpenBookOptions(const BookOptionsRequest& r) override { request = r; }
        } capture;
        EditorPorts ports;
        ports.bookOptions = &capture;
        editor->SetPorts(ports);
        editor->OptionButtonClick();
        editor->SetPorts(EditorPorts());
        options.Open(capture.request);
    }

    TBookOptions options { *editor };
};

TEST_F(BookOptionsTest, OpeningShowsTheBookFileOrThatThereIsNone)
{
    book.Escapement = QStringLiteral("ー～");
    editor->SetDefaultEffectWaitEdit(QStringLiteral("120"));
    Open();
    EXPECT_EQ(options.CurrentFilePathLabel, QStringLiteral("ファイルが保存されていない"));
    EXPECT_EQ(options.DefaultEffectWaitEdit, QStringLiteral("120"));
    EXPECT_EQ(options.EscEdit, QStringLiteral("ー～"));

    book.BookFilePath = tmp.file("えほん.pmk");
    Open();
    EXPECT_EQ(options.CurrentFilePathLabel, tmp.file("えほん.pmk"));
}

TEST_F(BookOptionsTest, OkWritesTheNumberInDecimal)
{
    const struct {
        const char* typed;
        const char* stored;
        bool modified;
    } cases[] = {
        { "050", "50", true }, { " +7", "7", true },
        { "500", "500", false }, // the book's own value: nothing changed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        editor->SetDefaultEffectWaitEdit(QStringLiteral("500"));
        book.Modified = false;
        Open();
        options.DefaultEffectWaitEdit = QString::fromLatin1(c.typed);
        options.Ok();
        EXPECT_EQ(editor->DefaultEffectWaitEdit(), QString::fromLatin1(c.stored));
        EXPECT_EQ(book.DefaultEffectWait, StrToInt(QString::fromLatin1(c.stored)));
        EXPECT_EQ(book.Modified, c.modified);
    }

    // A preset, then a text that is no number: the editor keeps the value it had.
    options.SpeedPreset(4);
    EXPECT_EQ(options.DefaultEffectWaitEdit, QStringLiteral("15"));
    options.DefaultEffectWaitEdit = QStringLiteral("5o");
    EXPECT_THROW(options.Ok(), EConvertError);
    EXPECT_EQ(editor->DefaultEffectWaitEdit(), QStringLiteral("500"));
}

TEST_F(BookOptionsTest, TheEscapementIsTheBooks)
{
    Open();
    book.Modified = false;
    options.EscEditChange(QString());
    EXPECT_FALSE(book.Modified);
    options.EscEditChange(QStringLiteral("ー"));
    EXPECT_EQ(book.Escapement, QStringLiteral("ー"));
    EXPECT_TRUE(book.Modified);
}

} // namespace
} // namespace pimoko
