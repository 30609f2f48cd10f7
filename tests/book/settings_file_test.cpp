#include "book/settings_file.h"

#include "platform/line_file.h"
#include "tests/book/book_test_data.h"

#include <QFile>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QString Write(const QStringList& lines)
    {
        return test::WriteFile(tmp.file(QStringLiteral("ini.dat")), test::WindowsLines(lines));
    }
    QStringList Lines()
    {
        return SplitSjisLines(test::ReadAll(tmp.file(QStringLiteral("ini.dat"))));
    }
    test::TempFolder tmp;
};

const QStringList kV08 = {
    QStringLiteral("PBOOK_INIFILE_V08"),
    QStringLiteral("ＭＳ 明朝"),
    QStringLiteral("Type_BI"),
    QStringLiteral("-20"),
    QStringLiteral("255"),
    QStringLiteral("T"),
    QStringLiteral("65280"),
    QStringLiteral("T"),
    QStringLiteral("30"),
    QStringLiteral("40"),
    QStringLiteral("80"),
    QStringLiteral(" 300"),
    QStringLiteral("5"),
};

TEST_F(SettingsFileTest, MissingFileMeansPlayerModeAndIsNeverCreated)
{
    const TSettings s = ReadSettings(tmp.path());
    EXPECT_TRUE(s.PlayerMode);
    EXPECT_TRUE(s.FileMissing);
    EXPECT_FALSE(s.Marker.has_value());
    EXPECT_EQ(s.DefaultFontName, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(s.DefaultFontHeight, 18);
    EXPECT_EQ(s.DefaultCharDelay, 100);
    EXPECT_EQ(s.DefaultEffectWait, 500);
    EXPECT_EQ(s.TransitionFineness, 1);
    EXPECT_FALSE(WriteSettings(tmp.path(), s, 1));
    EXPECT_FALSE(QFile::exists(tmp.file(QStringLiteral("ini.dat"))));
}

TEST_F(SettingsFileTest, UnknownMarkerIsLeftUntouched)
{
    const QByteArray bytes
        = test::WindowsLines({ QStringLiteral("PBOOK_INIFILE_V13  "), QStringLiteral("x") });
    test::WriteFile(tmp.file(QStringLiteral("ini.dat")), bytes);
    const TSettings s = ReadSettings(tmp.path());
    EXPECT_TRUE(s.PlayerMode);
    EXPECT_FALSE(s.FileMissing);
    EXPECT_EQ(*s.Marker, QStringLiteral("PBOOK_INIFILE_V13  "));
    EXPECT_FALSE(WriteSettings(tmp.path(), s, 1));
    EXPECT_EQ(test::ReadAll(tmp.file(QStringLiteral("ini.dat"))), bytes);
}

TEST_F(SettingsFileTest, V03IsReadAndUpgradedAtClose)
{
    Write({ QStringLiteral("PBOOK_INIFILE_V03"), QStringLiteral("ＭＳ 明朝"), QStringLiteral("24"),
        QStringLiteral("255"), QStringLiteral("60"), QStringLiteral("1000"), QStringLiteral("3") });
    TSettings s = ReadSettings(tmp.path());
    EXPECT_FALSE(s.PlayerMode);
    EXPECT_EQ(s.Version, 3);
    EXPECT_FALSE(s.Damaged);
    EXPECT_EQ(s.DefaultFontHeight, 24);
    EXPECT_EQ(s.DefaultFontColor, 255);
    EXPECT_EQ(s.DefaultCharDelay, 60);
    EXPECT_EQ(s.DefaultEffectWait, 1000);
    EXPECT_EQ(s.DefaultEffectWaitText, QStringLiteral("1000"));
    EXPECT_EQ(s.TransitionFineness, 3);
    EXPECT_TRUE(s.DefaultFontStyle.isEmpty());
    EXPECT_FALSE(s.DefaultShadow);
    EXPECT_EQ(s.DefaultHighlightLevel, 0);

    ASSERT_TRUE(WriteSettings(tmp.path(), s, s.TransitionFineness));
    const QStringList after = Lines();
    ASSERT_EQ(after.size(), 16);
    EXPECT_EQ(after[0], QStringLiteral("PBOOK_INIFILE_V13"));
    EXPECT_EQ(after[11], QStringLiteral("1000"));
    EXPECT_EQ(after[12], QStringLiteral("3"));
    EXPECT_EQ(after[14], QStringLiteral("F"));
}

TEST_F(SettingsFileTest, LaterVersionsAndTheFadeWaitText)
{
    Write(kV08);
    TSettings s = ReadSettings(tmp.path());
    EXPECT_EQ(s.Version, 8);
    EXPECT_EQ(s.DefaultFontStyle, QStringLiteral("Type_BI"));
    EXPECT_TRUE(s.DefaultShadow);
    EXPECT_EQ(s.DefaultShadowColor, 65280);
    EXPECT_TRUE(s.DefaultVertical);
    EXPECT_EQ(s.DefaultTextY, 40);
    EXPECT_EQ(s.DefaultEffectWait, 300);
    EXPECT_EQ(s.DefaultEffectWaitText, QStringLiteral(" 300")); // kept as written
    EXPECT_EQ(s.TransitionFineness, 5);

    QStringList v12 = kV08;
    v12[0] = QStringLiteral("PBOOK_INIFILE_V12");
    v12 << QStringLiteral("6");
    Write(v12);
    s = ReadSettings(tmp.path());
    EXPECT_EQ(s.DefaultLinePitch, 6);
    EXPECT_FALSE(s.DefaultHighlight);

    QStringList v13 = v12;
    v13[0] = QStringLiteral("PBOOK_INIFILE_V13");
    v13 << QStringLiteral("T") << QStringLiteral("4");
    Write(v13);
    s = ReadSettings(tmp.path());
    EXPECT_TRUE(s.DefaultHighlight);
    EXPECT_EQ(s.DefaultHighlightLevel, 4);
    ASSERT_TRUE(WriteSettings(tmp.path(), s, s.TransitionFineness));
    EXPECT_EQ(Lines(), v13);
}

TEST_F(SettingsFileTest, ValuesTheFileCannotHoldAreNotWrittenAsQuestionMarks)
{
    Write(kV08);
    TSettings s = ReadSettings(tmp.path());
    s.DefaultFontName = QStringLiteral("Gänseblümchen");
    s.DefaultFontStyle = QStringLiteral("Type_B");
    s.DefaultEffectWaitText = QStringLiteral("abc");
    s.DefaultEffectWait = 250;
    ASSERT_TRUE(WriteSettings(tmp.path(), s, s.TransitionFineness));
    const QStringList after = Lines();
    ASSERT_EQ(after.size(), 16);
    EXPECT_EQ(after[1], QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(after[2], QStringLiteral("Type_B"));
    EXPECT_EQ(after[11], QStringLiteral("250"));
    EXPECT_FALSE(ReadSettings(tmp.path()).Damaged);
}

TEST_F(SettingsFileTest, OversizedFileIsNeitherReadNorRewritten)
{
    QByteArray bytes = test::WindowsLines(kV08);
    bytes += QByteArray(100 << 10, ' ');
    test::WriteFile(tmp.file(QStringLiteral("ini.dat")), bytes);
    const TSettings s = ReadSettings(tmp.path());
    EXPECT_TRUE(s.PlayerMode);
    EXPECT_FALSE(s.FileMissing);
    EXPECT_FALSE(WriteSettings(tmp.path(), s, 1));
    EXPECT_EQ(test::ReadAll(tmp.file(QStringLiteral("ini.dat"))), bytes);
}

TEST_F(SettingsFileTest, ShortOrMalformedFileKeepsTheAuthoringToolWithStartupValues)
{
    QStringList bad = kV08;
    bad[3] = QStringLiteral("big");
    bad[11] = QStringLiteral("fast");
    bad.removeLast();
    Write(bad);
    const TSettings s = ReadSettings(tmp.path());
    EXPECT_FALSE(s.PlayerMode);
    EXPECT_TRUE(s.Damaged);
    EXPECT_EQ(s.DefaultFontHeight, 18);
    EXPECT_EQ(s.DefaultEffectWait, 500);
    EXPECT_EQ(s.DefaultEffectWaitText, QStringLiteral("500"));
    EXPECT_EQ(s.TransitionFineness, 1);
    EXPECT_EQ(s.DefaultCharDelay, 80);

    // The close then repairs the file.
    ASSERT_TRUE(WriteSettings(tmp.path(), s, s.TransitionFineness));
    EXPECT_FALSE(ReadSettings(tmp.path()).Damaged);

    Write({ QStringLiteral("PBOOK_INIFILE_V13") });
    const TSettings bare = ReadSettings(tmp.path());
    EXPECT_FALSE(bare.PlayerMode);
    EXPECT_EQ(bare.DefaultFontName, QStringLiteral("ＭＳ ゴシック"));
}

} // namespace
} // namespace pimoko
