#include "platform/clock.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"

#include "tests/support/test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

TEST(ManualClock, RunsTasksInTimeThenSchedulingOrder)
{
    ManualClock clock;
    std::vector<int> order;
    clock.At(20, [&] { order.push_back(3); });
    clock.At(10, [&] { order.push_back(1); });
    auto dropped = clock.At(15, [&] { order.push_back(99); });
    clock.At(10, [&] { order.push_back(2); });
    clock.Cancel(dropped);
    clock.Advance(12);
    EXPECT_EQ(order, (std::vector<int> { 1, 2 }));
    EXPECT_EQ(clock.NowMs(), 12);
    clock.RunUntilIdle();
    EXPECT_EQ(order, (std::vector<int> { 1, 2, 3 }));
    EXPECT_EQ(clock.NowMs(), 20);
}

TEST(ManualClock, TaskDueAlreadyRunsLaterNotInside)
{
    ManualClock clock;
    bool ran = false;
    clock.At(-5, [&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_TRUE(clock.RunNext());
    EXPECT_TRUE(ran);
    EXPECT_EQ(clock.NowMs(), 0);
}

TEST(ManualClock, TickCountWrapsAndDifferencesStayRight)
{
    ManualClock clock;
    clock.Advance((qint64(1) << 32) - 10);
    const quint32 start = clock.TickCount();
    clock.Advance(1000);
    EXPECT_LT(clock.TickCount(), start);
    EXPECT_EQ(static_cast<quint32>(clock.TickCount() - start), 1000u);
}

TEST(LineFile, ReadsCrLfAndLfAndWritesCrLf)
{
    test::TempFolder dir;
    test::WriteFile(
        dir.file("a.txt"), test::Sjis(QString::fromUtf8("一\r\n二\nthree\r\n\r\nlast")));
    QStringList lines;
    ASSERT_TRUE(ReadLineFile(dir.file("a.txt"), &lines));
    EXPECT_EQ(lines,
        QStringList({ QString::fromUtf8("一"), QString::fromUtf8("二"), "three", "", "last" }));
    ASSERT_TRUE(WriteLineFile(dir.file("b.txt"), lines));
    EXPECT_EQ(test::ReadAll(dir.file("b.txt")),
        test::Sjis(QString::fromUtf8("一\r\n二\r\nthree\r\n\r\nlast\r\n")));
    EXPECT_FALSE(ReadLineFile(dir.file("missing.txt"), &lines));
}

TEST(LineFile, CrLfFileComesBackByteIdentical)
{
    test::TempFolder dir;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        if (i != '\r' && i != '\n')
            bytes.append(static_cast<char>(i));
    bytes += "\r\n\x81\x40\xED\x40\x87\x90\r\n\r\n";
    test::WriteFile(dir.file("in.dat"), bytes);
    QStringList lines;
    ASSERT_TRUE(ReadLineFile(dir.file("in.dat"), &lines));
    ASSERT_TRUE(WriteLineFile(dir.file("out.dat"), lines));
    EXPECT_EQ(test::ReadAll(dir.file("out.dat")), bytes);
}

TEST(LineFile, UnencodableCharactersAreReportedWithTheirPlace)
{
    QVector<UnencodableChar> bad;
    JoinSjisLines({ "ok", QString::fromUtf8("a한b") }, &bad);
    ASSERT_EQ(bad.size(), 1);
    EXPECT_EQ(bad[0].line, 1);
    EXPECT_EQ(bad[0].column, 1);
}

TEST(LineFile, AtomicWriteLeavesNoTemporaryAndReplacesWhole)
{
    test::TempFolder dir;
    const QString path = dir.file("book.pmk");
    test::WriteFile(path, "old contents that are longer");
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(test::ReadAll(path), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "book.pmk" }));
    QString error;
    EXPECT_FALSE(WriteFileAtomically(dir.file("no/such/folder/x"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(ScriptedPromptPort, AnswersInOrderAndRecordsTexts)
{
    ScriptedPromptPort port;
    port.answers = { Answer::Yes, Answer::No };
    port.defaultAnswer = Answer::Cancel;
    port.ShowMessage(MessageKind::Error, "c", QString::fromUtf8("ファイルを開けませんでした。"));
    EXPECT_EQ(port.Ask(MessageKind::Question, "c", "q1", Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(port.Ask(MessageKind::Question, "c", "q2", Buttons::YesNoCancel), Answer::No);
    EXPECT_EQ(port.Ask(MessageKind::Question, "c", "q3", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(port.Texts(),
        QStringList({ QString::fromUtf8("ファイルを開けませんでした。"), "q1", "q2", "q3" }));
    EXPECT_EQ(port.shown[2].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(port.OpenFileName({}), QString());
}

} // namespace
} // namespace pimoko
