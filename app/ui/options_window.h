#pragma once

#include <QWidget>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace pimoko {

// "オプション": window or full screen for the viewer. The choice is handed to whoever
// keeps the viewer's wanted screen mode; the window only remembers the selection it was
// opened with, for its cancel button.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    enum ScreenMode { WindowMode = 0, FullScreenMode = 1 };

    explicit TForm4(QWidget* parent = nullptr);

    // OK hands the chosen mode here (true for full screen).
    std::function<void(bool fullScreen)> SetFullScreen;

    // Placed at the given point, remembering the current selection, and shown.
    void OpenAt(const QPoint& topLeft);

    int ItemIndex() const;
    // The viewer's menu sets the selection when it switches the mode itself.
    void SetItemIndex(int index);
    bool RememberedFullScreen() const { return remembered_; }

    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* WindowRadio = nullptr;
    QRadioButton* FullScreenRadio = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void OkButtonClick();
    void CancelButtonClick();

protected:
    bool event(QEvent* event) override;

private:
    QButtonGroup* group_ = nullptr;
    bool remembered_ = false;
};

} // namespace pimoko
