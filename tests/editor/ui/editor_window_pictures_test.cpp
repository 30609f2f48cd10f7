#include "tests/editor/ui/editor_window_fixture.h"

#include <QDirIterator>
#include <QProcess>

namespace pimoko {
namespace {

using test::EditorWindowTest;

// PIMOKO_EDITOR_PICTURES=DIR keeps pictures of the window on a new book, on the sample
// book's vertical-text page and on its clip page (also in a larger window), to be
// looked at.
TEST_F(EditorWindowTest, KeepsPicturesWhenAsked)
{
    const QString dir = qEnvironmentVariable("PIMOKO_EDITOR_PICTURES");
    if (dir.isEmpty())
        GTEST_SKIP() << "set PIMOKO_EDITOR_PICTURES to a folder";
    const auto keep = [&](const char* name) {
        window->ShowState();
        QApplication::processEvents();
        ASSERT_TRUE(window->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
    };
    keep("editor_new_book");

    QProcess sample;
    sample.start(QStringLiteral(PIMOKO_BINARY_DIR "/bin/pimoko-sample"), { tmp.path() });
    ASSERT_TRUE(sample.waitForFinished(120000));
    ASSERT_EQ(sample.exitCode(), 0);
    QDirIterator books(tmp.path() + QStringLiteral("/BOOKS"), { QStringLiteral("*.pmk") },
        QDir::Files, QDirIterator::Subdirectories);
    ASSERT_TRUE(books.hasNext());
    ASSERT_TRUE(book.LoadBook(books.next()));

    editor->ShowPage(4);
    keep("editor_vertical_text");
    editor->ShowPage(3);
    keep("editor_clip_page");
    window->resize(1200, 800);
    keep("editor_clip_page_large");
}

} // namespace
} // namespace pimoko
