#pragma once

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <functional>

namespace pimoko {

class PenSlots;
class TGraphicEditor;
struct MouseState;

// The buttons and keys of a mouse event as the graphic editor reads them.
MouseState MouseStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// CanvasImage: the picture being painted, 640 x 480 and unscaled. While a pen's rectangle is
// dragged it is outlined in white, inverting what lies under the outline.
class PaintCanvasView : public QWidget {
    Q_OBJECT
public:
    explicit PaintCanvasView(const TGraphicEditor& editor, QWidget* parent = nullptr);

    std::function<void(QPoint, const MouseState&)> onMouseDown;
    std::function<void(QPoint, const MouseState&)> onMouseMove;
    std::function<void(QPoint, const MouseState&)> onMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const TGraphicEditor& editor_;
};

// The pen grid: 6 cells a row, each pen drawn unscaled at its cell's top-left corner.
class PenGridView : public QWidget {
    Q_OBJECT
public:
    explicit PenGridView(const PenSlots& pens, QWidget* parent = nullptr);
    // The pens' files are read again the next time the grid is drawn.
    void Reload();

    // A press on a cell: the cell and whether it was the right button.
    std::function<void(int cell, bool right, QPoint globalPos)> onCellPressed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const PenSlots& pens_;
    QHash<QString, QImage> images_;
};

// PalletImage: the colours a pen can take, picked by a click or a drag with either button.
class PaletteView : public QWidget {
    Q_OBJECT
public:
    explicit PaletteView(QWidget* parent = nullptr);
    const QImage& Picture() const { return picture_; }
    // Hue from left to right, from white through the full colour to black downwards, and a
    // strip of greys at the bottom.
    static QImage MakePalette(int width, int height);

    std::function<void(QRgb colour)> onPick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Pick(QPoint at);
    QImage picture_;
};

// A box that shows one picture or one colour and tells when the pointer comes over it.
class SwatchView : public QWidget {
    Q_OBJECT
public:
    explicit SwatchView(QWidget* parent = nullptr);
    void SetPicture(const QImage& picture);
    void SetColour(const QColor& colour);
    std::function<void()> onEnter;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    QImage picture_;
    QColor colour_;
    bool showsColour_ = false;
};

} // namespace pimoko
