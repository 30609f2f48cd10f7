#pragma once

#include "editor/clip_settings.h"
#include "editor/editor_ports.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace pimoko {

class TPageEditor;

// The 640 x 480 view of the clip window: the scene at its own size, any mouse button
// placing the clip.
class ClipView : public QWidget {
    Q_OBJECT
public:
    explicit ClipView(const TClipSettings& settings, QWidget* parent = nullptr);

signals:
    void Pressed(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const TClipSettings& settings_;
};

// "クリップ設定": the current page's picture placed as a clip by clicking on the scene
// the earlier pages leave. A binding over TClipSettings; it hides when it loses the
// focus, leaving the page as it was.
class TForm7 : public QWidget, public ClipSettingsPort {
    Q_OBJECT
public:
    explicit TForm7(TPageEditor& editor, QWidget* parent = nullptr);

    TClipSettings& Settings() { return settings_; }

    // ClipSettingsPort
    void OpenClipSettings(const ClipRequest& request) override;

    void Image1MouseDown(int x, int y);
    void CheckBox1Click();
    void Button1Click(); // "決定"
    void Button2Click(); // "キャンセル"

    ClipView* Image1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TClipSettings settings_;
};

} // namespace pimoko
