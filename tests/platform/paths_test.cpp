#include "platform/paths.h"

#include "tests/support/test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

TEST(Paths, PartsOfWindowsAndLinuxPaths)
{
    EXPECT_EQ(FileNamePart("C:\\絵本\\a.bmp"), "a.bmp");
    EXPECT_EQ(FileNamePart("/home/u/b.JPG"), "b.JPG");
    EXPECT_EQ(FileNamePart("C:a.bmp"), "a.bmp");
    EXPECT_EQ(FileNamePart("a.bmp"), "a.bmp");
    EXPECT_EQ(FileNamePart("dir/"), "");
    EXPECT_EQ(FolderPart("C:\\絵本\\a.bmp"), "C:\\絵本");
    EXPECT_EQ(FolderPart("/a.bmp"), "/");
    EXPECT_EQ(FolderPart("C:\\a.bmp"), "C:\\");
    EXPECT_EQ(FolderPart("a.bmp"), "");
    EXPECT_EQ(ExtensionOf("x/y.tar.GZ"), ".GZ");
    EXPECT_EQ(ExtensionOf("dir.d/noext"), "");
    EXPECT_TRUE(HasExtension("A.BMP", ".bmp"));
    EXPECT_FALSE(HasExtension("a.bmpx", ".bmp"));
    EXPECT_TRUE(HasDriveLetter("c:\\x"));
    EXPECT_FALSE(HasDriveLetter("\\x"));
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

TEST(Paths, WindowsNetworkPathsAndThePartFromALastFolder)
{
    EXPECT_TRUE(IsUncPath("\\\\pc\\share\\a.pmk"));
    EXPECT_FALSE(IsUncPath("//home/a.pmk"));
    EXPECT_FALSE(IsUncPath("\\BOOKS\\a.pmk"));

    const struct {
        const char* path;
        const char* tail;
    } cases[] = {
        { "C:\\ehon\\BOOKS\\P2002_0315(1)\\NewBook.pmk", "BOOKS/P2002_0315(1)/NewBook.pmk" },
        // The last of two, matched without regard to case.
        { "C:\\Books\\old\\books\\P1\\a.pmk", "books/P1/a.pmk" },
        { "\\\\pc\\share\\BOOKS\\a.pmk", "BOOKS/a.pmk" },
        // A file named like the folder is no folder.
        { "C:\\ehon\\BOOKS", "" },
        { "C:\\ehon\\a.pmk", "" },
        { "C:\\BOOKS\\..\\..\\etc\\a.pmk", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathFromLastFolder(QString::fromUtf8(c.path), "BOOKS"), QString::fromUtf8(c.tail))
            << c.path;
}

TEST(Paths, LooksUpNamesWithoutRegardToCase)
{
    test::TempFolder dir;
    test::WriteFile(dir.file("Books/Pic.BMP"), "x");
    EXPECT_EQ(FindExistingPath(dir.path() + "/books/pic.bmp"), dir.path() + "/Books/Pic.BMP");
    EXPECT_EQ(FindExistingPath(dir.path() + "\\BOOKS\\PIC.bmp"), dir.path() + "/Books/Pic.BMP");
    // A "BOOKS" beside "Books" (a folder copied from a system that keeps them apart):
    // the one that leads to the file is taken.
    test::WriteFile(dir.file("BOOKS/other.bmp"), "x");
    EXPECT_EQ(FindExistingPath(dir.path() + "\\BOOKS\\PIC.bmp"), dir.path() + "/Books/Pic.BMP");
    EXPECT_EQ(FindExistingPath(dir.path() + "/books/Other.bmp"), dir.path() + "/BOOKS/other.bmp");
    // Nothing matches: the path comes back as asked, in slashes.
    EXPECT_EQ(FindExistingPath(dir.path() + "\\none\\x.bmp"), dir.path() + "/none/x.bmp");
}

TEST(Paths, MediaOfABookWrittenOnWindows)
{
    test::TempFolder dir;
    test::WriteFile(dir.file("sora.bmp"), "x");
    EXPECT_EQ(ResolveMediaFile("sora.bmp", dir.path()), dir.file("sora.bmp"));
    EXPECT_EQ(ResolveMediaFile("SORA.BMP", dir.path()), dir.file("sora.bmp"));
    EXPECT_EQ(ResolveMediaFile("C:\\ehon\\Sora.bmp", dir.path()), dir.file("sora.bmp"));
    EXPECT_EQ(ResolveMediaFile(dir.file("sora.bmp"), "/elsewhere"), dir.file("sora.bmp"));
    EXPECT_EQ(ResolveMediaFile("", dir.path()), "");
}

TEST(Paths, DatedFolderTakesTheFirstFreeNumber)
{
    test::TempFolder dir;
    const QDate day(2002, 3, 15);
    EXPECT_EQ(FreeDatedFolder(dir.path(), day), dir.path() + "/P2002_0315(1)");
    QDir().mkpath(dir.path() + "/P2002_0315(1)");
    QDir().mkpath(dir.path() + "/P2002_0315(3)");
    EXPECT_EQ(FreeDatedFolder(dir.path(), day), dir.path() + "/P2002_0315(2)");
    EXPECT_EQ(FreeDatedFolder(dir.path(), QDate(987, 12, 1)), dir.path() + "/P0987_1201(1)");
}

} // namespace
} // namespace pimoko
