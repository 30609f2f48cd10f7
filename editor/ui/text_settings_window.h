#pragma once

#include "editor/editor_ports.h"
#include "editor/text_settings.h"
#include "editor/ui/link_picker_port.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTableView;

namespace pimoko {

class FontTable;
class PromptPort;
class SpeedGridModel;
class TBusyState;
class TPageEditor;

// A picture shown at its own size that reports presses, and moves with only the left button
// down, in its own pixels: the preview and the two colour palettes.
class TextSettingsPicture : public QWidget {
    Q_OBJECT
public:
    TextSettingsPicture(const QImage* picture, bool anyButton, QWidget* parent = nullptr);

    std::function<void(int x, int y)> onPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const QImage* picture_;
    bool anyButton_;
};

// "テキスト詳細設定": how the current page's text looks and how fast each character is
// typed. The window shows the fields of its TTextSettings and turns the author's changes
// into its actions; it keeps no state of its own.
class TForm1 : public QWidget, public TextSettingsPort, public TextSettingsView {
    Q_OBJECT
public:
    TForm1(TPageEditor& editor, TBusyState& busy, PromptPort& prompt, const FontTable& fonts,
        QWidget* parent = nullptr);
    ~TForm1() override;

    TTextSettings& State() { return state_; }
    // Every control shows the state again.
    void ShowState();

    // TextSettingsPort
    void OpenTextSettings(const TextSettingsRequest& request) override;

    // TextSettingsView
    void SetCursor(int id) override;
    void ControlsChanged() override { ShowState(); }
    void PreviewChanged() override;
    void ShowWindow() override;
    void HideWindow() override { hide(); }
    void OpenLinkPicker() override;
    // The picker of the link page; without one the window's own small list is used.
    void SetLinkPicker(LinkPickerPort* picker) { linkPicker_ = picker; }

    QTabWidget* PageControl1 = nullptr;

    // "フォント設定"
    QWidget* FontSheet = nullptr;
    QCheckBox* NoShadowCheckBox = nullptr;
    QCheckBox* VerticalCheckBox = nullptr;
    QCheckBox* highlightCheckBox = nullptr;
    QComboBox* HighLightComboBox = nullptr;
    QLabel* FontSizeLabel = nullptr;
    QSlider* FontSizeTrackBar = nullptr;
    QPushButton* Button7 = nullptr;
    TextSettingsPicture* Image1 = nullptr;

    // "速度"
    QWidget* SpeedSheet = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QTableView* StringGrid1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QButtonGroup* RadioButtons = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* SpeedResetButton = nullptr;
    QLabel* SpeedHelpLabel = nullptr;

    // Outside the tabs.
    QPushButton* Button6 = nullptr; // "決定"
    QPushButton* Button4 = nullptr; // "標準として使用"
    QPushButton* Button3 = nullptr; // "キャンセル"
    QPushButton* Button1 = nullptr; // "文字色"
    TextSettingsPicture* FontColorImage = nullptr;
    QPushButton* Button2 = nullptr; // "かげの色"
    TextSettingsPicture* ShadowColorImage = nullptr;
    QLabel* PitchLabel = nullptr;
    QSlider* PitchTrackBar = nullptr;
    QPushButton* LinkBitBtn = nullptr;
    QLabel* LinkLabel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildFontSheet();
    QWidget* BuildSpeedSheet();
    QWidget* BuildSidePanel();
    void ShowFontSheet();
    void ShowSpeedSheet();
    void GridMouse(const QPoint& position);

    // Runs an action of the state; the window shows the state afterwards, also when the
    // action stopped at a conversion error. Deactivation while one runs (a dialog of its
    // own took the focus) cancels nothing.
    void Act(const std::function<void()>& action);

    TTextSettings state_;
    TPageEditor& editor_;
    SpeedGridModel* gridModel_ = nullptr;
    bool firstShow_ = true;
    bool waitCursor_ = false;
    int acting_ = 0;
    LinkPickerPort* linkPicker_ = nullptr;
};

} // namespace pimoko
