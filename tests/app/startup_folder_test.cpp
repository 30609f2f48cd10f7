#include "app/core/startup_folder.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace pimoko {
namespace {

// A template as an installation carries it.
void WriteTemplate(const QString& folder)
{
    test::WriteFile(folder + "/ini.dat", "template settings");
    test::WriteFile(folder + "/PBooklst.dat", "template list");
    test::WriteFile(folder + "/BOOKS/Sample/ehon.pmk", "template book");
    test::WriteFile(folder + "/pen/Brush1.bmp", "pen");
    test::WriteFile(folder + "/Player/PimokoP.exe", "program");
    QDir().mkpath(folder + "/Temp");
}

TEST(StartupFolder, IsKnownByItsSettingsFileOrBookListInAnyCase)
{
    const struct {
        const char* file;
        bool startup;
    } cases[] = {
        { "ini.dat", true },
        { "INI.DAT", true },
        { "PBooklst.dat", true },
        { "Pbooklst.dat", true },
        { "ehon.pmk", false },
        { nullptr, false },
    };
    for (const auto& c : cases) {
        test::TempFolder dir;
        if (c.file)
            test::WriteFile(dir.file(QString::fromLatin1(c.file)), "x");
        EXPECT_EQ(IsStartupFolder(dir.path()), c.startup) << (c.file ? c.file : "empty");
    }
}

TEST(StartupFolder, FirstStartCopyNeverWritesOverTheUsersFiles)
{
    test::TempFolder templ, data;
    WriteTemplate(templ.path());
    // What the user already has, some of it under other cases of the names.
    test::WriteFile(data.file("ini.dat"), "my settings");
    test::WriteFile(data.file("Pbooklst.dat"), "my list");
    test::WriteFile(data.file("Books/Sample/ehon.pmk"), "my edited sample");
    const QFile::Permissions program
        = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup;
    QFile::setPermissions(templ.file("Player/PimokoP.exe"), program);

    QString error;
    ASSERT_TRUE(CopyStartupTemplate(templ.path(), data.path(), &error)) << error.toStdString();
    EXPECT_EQ(test::ReadAll(data.file("ini.dat")), "my settings");
    EXPECT_EQ(test::ReadAll(data.file("Pbooklst.dat")), "my list");
    EXPECT_FALSE(QFileInfo::exists(data.file("PBooklst.dat")));
    EXPECT_EQ(test::ReadAll(data.file("Books/Sample/ehon.pmk")), "my edited sample");
    EXPECT_FALSE(QFileInfo::exists(data.file("BOOKS")));
    // What the user lacks arrives, the program still runnable.
    EXPECT_EQ(test::ReadAll(data.file("pen/Brush1.bmp")), "pen");
    EXPECT_TRUE(QFileInfo(data.file("Temp")).isDir());
    EXPECT_TRUE(QFileInfo(data.file("Player/PimokoP.exe")).isExecutable());
}

TEST(StartupFolder, ChosenFromWhereTheProgramStarted)
{
    test::TempFolder templ, data, here;
    WriteTemplate(templ.path());
    QString error;
    // No installation (a run from the build folder): the current folder, whatever it holds.
    EXPECT_EQ(ChooseStartupFolder(here.path(), QString(), data.path(), &error), here.path());
    EXPECT_FALSE(QFileInfo::exists(data.file("ini.dat")));

    // Started from the menu: the data folder, laid out from the template.
    EXPECT_EQ(ChooseStartupFolder(here.path(), templ.path(), data.path(), &error), data.path());
    EXPECT_EQ(test::ReadAll(data.file("ini.dat")), "template settings");
    EXPECT_EQ(test::ReadAll(data.file("BOOKS/Sample/ehon.pmk")), "template book");
    EXPECT_TRUE(error.isEmpty());

    // Later starts take the folder as the user left it: a removed sample stays removed.
    QFile::remove(data.file("BOOKS/Sample/ehon.pmk"));
    EXPECT_EQ(ChooseStartupFolder(here.path(), templ.path(), data.path(), &error), data.path());
    EXPECT_FALSE(QFileInfo::exists(data.file("BOOKS/Sample/ehon.pmk")));

    // Started in a start-up folder (a distribution has only its book list): it stays there.
    test::WriteFile(here.file("PBooklst.dat"), "list");
    EXPECT_EQ(ChooseStartupFolder(here.path(), templ.path(), data.path(), &error), here.path());
}

TEST(StartupFolder, InstalledTemplateIsFoundFromTheProgramFolderOnly)
{
    test::TempFolder prefix;
    WriteTemplate(prefix.file("share/pimoko/startup"));
    QDir().mkpath(prefix.file("lib/pimoko"));
    EXPECT_EQ(InstalledStartupTemplate(prefix.file("lib/pimoko")),
        QDir::cleanPath(prefix.file("share/pimoko/startup")));
    EXPECT_EQ(InstalledStartupTemplate(prefix.file("bin")), QString());
}

} // namespace
} // namespace pimoko
