#include "player/sound_player_sdl.h"

#include "tests/player/playback_test_support.h"
#include "tests/support/test_support.h"

#include <QTest>
#include <gtest/gtest.h>

namespace pimoko {
namespace {

class SoundPlayersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsurePlaybackApp();
        shortWav = test::WriteFile(dir.file("short.wav"), test::SineWav(120));
        longWav = test::WriteFile(dir.file("long.WAV"), test::SineWav(3000));
        otherWav = test::WriteFile(dir.file("other.wav"), test::SineWav(3000, 22050, 660));
        midi = test::WriteFile(dir.file("tune.mid"), test::OneNoteMidi(150));
    }

    test::TempFolder dir;
    QString shortWav, longWav, otherWav, midi;
};

TEST(SoundKind, IsDecidedByExtensionWithoutRegardToCase)
{
    EXPECT_EQ(SoundKindOf(QStringLiteral("a.wav")), SoundKind::Wav);
    EXPECT_EQ(SoundKindOf(QStringLiteral("/x/A.WAV")), SoundKind::Wav);
    EXPECT_EQ(SoundKindOf(QStringLiteral("b.Mid")), SoundKind::Midi);
    EXPECT_EQ(SoundKindOf(QStringLiteral("c.midi")), SoundKind::None);
    EXPECT_EQ(SoundKindOf(QStringLiteral("d.mp3")), SoundKind::None);
    EXPECT_EQ(SoundKindOf(QStringLiteral("wav")), SoundKind::None);
}

TEST_F(SoundPlayersTest, KindsPlayTogetherAndANewSoundReplacesOnlyItsOwnKind)
{
    SdlSoundPlayers players;
    ASSERT_TRUE(players.AudioOpen());
    players.PlaySound(longWav, false);
    players.PlaySound(midi, true);
    EXPECT_TRUE(players.IsPlaying(SoundKind::Wav));
    EXPECT_EQ(players.File(SoundKind::Wav), longWav);
    if (players.HasSoundFont()) {
        EXPECT_TRUE(players.IsPlaying(SoundKind::Midi));
        EXPECT_TRUE(players.LoopFlag(SoundKind::Midi));
    }

    // The old WAV is stopped and closed first; its halt is not taken for an end.
    players.PlaySound(otherWav, false);
    EXPECT_EQ(players.File(SoundKind::Wav), otherWav);
    EXPECT_EQ(players.File(SoundKind::Midi), midi);
    QTest::qWait(50);
    EXPECT_TRUE(players.IsPlaying(SoundKind::Wav));
    EXPECT_EQ(players.Starts(SoundKind::Wav), 2);
}

TEST_F(SoundPlayersTest, MissingFileOrOtherExtensionPlaysNothingAndLeavesOthersRunning)
{
    SdlSoundPlayers players;
    ASSERT_TRUE(players.AudioOpen());
    players.PlaySound(longWav, true);
    players.PlaySound(dir.file("missing.wav"), false);
    players.PlaySound(dir.file("missing.mid"), false);
    const QString text = test::WriteFile(dir.file("notes.txt"), "not a sound");
    players.PlaySound(text, false);
    const QString broken = test::WriteFile(dir.file("broken.wav"), "RIFF....");
    EXPECT_TRUE(players.IsPlaying(SoundKind::Wav));
    EXPECT_EQ(players.File(SoundKind::Wav), longWav);
    EXPECT_FALSE(players.IsPlaying(SoundKind::Midi));

    // A file that exists but cannot be opened replaces the WAV with silence.
    players.PlaySound(broken, false);
    EXPECT_FALSE(players.IsPlaying(SoundKind::Wav));
}

TEST_F(SoundPlayersTest, LoopedSoundStartsAgainAtItsEndAndAOnceSoundDoesNot)
{
    SdlSoundPlayers players;
    ASSERT_TRUE(players.AudioOpen());
    players.PlaySound(shortWav, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return players.Starts(SoundKind::Wav) >= 3; }, 5000));
    EXPECT_TRUE(players.IsPlaying(SoundKind::Wav));

    players.PlaySound(shortWav, false);
    const int starts = players.Starts(SoundKind::Wav);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !players.IsPlaying(SoundKind::Wav); }, 5000));
    QTest::qWait(300);
    EXPECT_EQ(players.Starts(SoundKind::Wav), starts);
}

TEST_F(SoundPlayersTest, LoopedMidiStartsAgainAtItsEnd)
{
    SdlSoundPlayers players;
    ASSERT_TRUE(players.AudioOpen());
    if (!players.HasSoundFont())
        GTEST_SKIP() << "no General MIDI soundfont installed";
    players.PlaySound(midi, true);
    ASSERT_TRUE(players.IsPlaying(SoundKind::Midi));
    EXPECT_TRUE(QTest::qWaitFor([&] { return players.Starts(SoundKind::Midi) >= 2; }, 10000));
}

TEST_F(SoundPlayersTest, StopSoundsStopsBothAndLoopingEndsWithIt)
{
    SdlSoundPlayers players;
    ASSERT_TRUE(players.AudioOpen());
    players.PlaySound(shortWav, true);
    players.PlaySound(midi, true);
    players.StopSounds();
    EXPECT_FALSE(players.IsPlaying(SoundKind::Wav));
    EXPECT_FALSE(players.IsPlaying(SoundKind::Midi));
    EXPECT_FALSE(players.LoopFlag(SoundKind::Wav));
    EXPECT_TRUE(players.File(SoundKind::Wav).isEmpty());
    const int wavStarts = players.Starts(SoundKind::Wav);
    const int midiStarts = players.Starts(SoundKind::Midi);
    // The halts post their callbacks like an end would; none of them restarts a sound.
    QTest::qWait(400);
    EXPECT_EQ(players.Starts(SoundKind::Wav), wavStarts);
    EXPECT_EQ(players.Starts(SoundKind::Midi), midiStarts);
    EXPECT_FALSE(players.IsPlaying(SoundKind::Wav));

    // The players open again after a stop.
    players.PlaySound(longWav, false);
    EXPECT_TRUE(players.IsPlaying(SoundKind::Wav));
}

} // namespace
} // namespace pimoko
