#include "editor/ui/editor_window.h"
#include "editor/ui/editor_window_parts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pimoko {

// "開始サウンド": the sound the page starts with, its audition, and how it plays.
void TForm2::BuildSoundPanel()
{
    SoundPanel = new QGroupBox(QStringLiteral("開始サウンド"));
    LoadSoundBitBtn = MakeButton(QStringLiteral("サウンド読込み"),
        QStringLiteral("このページで鳴らすサウンド（WAV、MIDI）を読み込みます。"),
        EditorGlyph::LoadSound, SoundPanel);
    Button13 = MakeButton(QStringLiteral("サウンドなし"),
        QStringLiteral("このページのサウンドをなくします。"), EditorGlyph::NoSound, SoundPanel);
    Button12 = MakeButton(QStringLiteral("試聴"), QStringLiteral("サウンドを聞いてみます。"),
        EditorGlyph::Audition, SoundPanel);
    Button1 = MakeButton(QStringLiteral("試聴止め"), QStringLiteral("試聴を止めます。"),
        EditorGlyph::StopAudition, SoundPanel);
    SoundPathLabel = new QLabel(SoundPanel);
    SoundPathLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SoundPathLabel->setMinimumWidth(60);
    SoundPathLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    RepeatSoundCheckBox = new QCheckBox(QStringLiteral("くり返し鳴らす"), SoundPanel);
    RepeatSoundCheckBox->setToolTip(
        QStringLiteral("サウンドを終わりまで鳴らしたら、また始めから鳴らします。"));
    StopSoundCheckBox = new QCheckBox(QStringLiteral("鳴っているサウンドを止める"), SoundPanel);
    StopSoundCheckBox->setToolTip(
        QStringLiteral("前のページから鳴っているサウンドをこのページで止めます。"));

    auto* column = new QVBoxLayout(SoundPanel);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton* b : { LoadSoundBitBtn, Button13, Button12, Button1 })
        buttons->addWidget(b);
    column->addLayout(buttons);
    auto* flags = new QHBoxLayout;
    flags->addWidget(SoundPathLabel, 1);
    flags->addWidget(RepeatSoundCheckBox);
    flags->addWidget(StopSoundCheckBox);
    column->addLayout(flags);

    connect(LoadSoundBitBtn, &QPushButton::clicked, this,
        [this] { Act([&] { editor_.LoadSoundBitBtnClick(); }); });
    connect(
        Button13, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button13Click(); }); });
    connect(
        Button12, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button12Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { Act([&] { editor_.Button1Click(); }); });
}

void TForm2::ShowSoundState()
{
    SoundPathLabel->setText(editor_.SoundPathLabel);
    SoundPathLabel->setToolTip(editor_.SoundFile);
    const QSignalBlocker blockRepeat(RepeatSoundCheckBox);
    const QSignalBlocker blockStop(StopSoundCheckBox);
    RepeatSoundCheckBox->setChecked(editor_.RepeatSoundCheckBox);
    StopSoundCheckBox->setChecked(editor_.StopSoundCheckBox);
}

} // namespace pimoko
