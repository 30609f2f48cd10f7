#pragma once

#include "editor/editor_ports.h"
#include "editor/effects_settings.h"

#include <QWidget>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace pimoko {

class PromptPort;
class TBusyState;
class TPageEditor;

// "特殊効果、設定": how the editor's current page is drawn, whether its picture or the
// sketch fades in and how fast, and which page follows it. A binding over
// TEffectsSettings; it hides when it loses the focus, keeping what was chosen in it until
// the next opening loads the page again.
class TForm10 : public QWidget, public EffectsPort, public GotoPageTarget {
    Q_OBJECT
public:
    TForm10(
        TPageEditor& editor, PromptPort& prompt, const TBusyState& busy, QWidget* parent = nullptr);

    // The editor window it places itself by, and the picker behind "変更" (none leaves the
    // button disabled).
    void SetEditorWindow(QWidget* editorWindow) { editorWindow_ = editorWindow; }
    void SetGotoPicker(GotoPickerPort* picker);

    TEffectsSettings& Settings() { return settings_; }

    // EffectsPort
    void OpenEffects(const EffectsRequest& request) override;
    // GotoPageTarget: the picker's choice, and the window up again.
    void SetGotoPage(int page) override;

    // The controls show the settings again.
    void ShowState();

    void SpeedButtonClick(int mode);
    void Button1Click(); // "OK"
    void Button2Click(); // "キャンセル"
    void LinkBitBtnClick();

    QLabel* DrawModeCaption = nullptr; // "描画の方法を選ぶ"
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QFrame* Panel1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioGroup1At = nullptr; // "すぐに切り替わる"
    QRadioButton* RadioGroup1Fade = nullptr; // "徐々に切り替わる"
    QLabel* Label1 = nullptr; // "スピード"
    QLineEdit* Edit1 = nullptr;
    QFrame* Panel3 = nullptr;
    QGroupBox* RadioGroup3 = nullptr;
    QRadioButton* RadioGroup3At = nullptr;
    QRadioButton* RadioGroup3Fade = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QGroupBox* Panel2 = nullptr; // "進むページの設定"
    QLabel* NextPageLabel = nullptr;
    QPushButton* LinkBitBtn = nullptr;
    QGroupBox* RadioGroup2 = nullptr; // "ページの進み方", never shown
    QRadioButton* RadioGroup2Wait = nullptr;
    QRadioButton* RadioGroup2Auto = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void BuildModeButtons();
    QFrame* BuildFadePanel(const QString& caption, QGroupBox** group, QRadioButton** at,
        QRadioButton** fade, QLabel** label, QLineEdit** edit);
    void BuildFlow();
    void ShowUp();

    TEffectsSettings settings_;
    QWidget* editorWindow_ = nullptr;
    GotoPickerPort* picker_ = nullptr;
    QButtonGroup* modes_ = nullptr;
};

} // namespace pimoko
