#include "player/compositor.h"

#include "platform/bitmap.h"
#include "platform/paths.h"

#include <cmath>
#include <cstring>

namespace pimoko {

struct Compositor::Fade {
    FadeHooks hooks;
    int wait = 0;
    qint64 start = 0;
    qint64 last = 0;
    int step = 1;
    bool measured = false;
    int increment = 1;
    int steps = 0;
    bool stopAsked = false;
    Clock::TaskId task = 0;
};

namespace {

constexpr int kLastStep = 100;

bool IsPageBitmap(const QImage& image)
{
    return image.format() == QImage::Format_BGR888 && image.width() == kPageWidth
        && image.height() == kPageHeight;
}

void MakePageBitmap(QImage& image)
{
    if (!IsPageBitmap(image))
        image = NewBitmap24(kPageWidth, kPageHeight);
}

void CopyPixels(QImage& dest, const QImage& source)
{
    MakePageBitmap(dest);
    if (IsPageBitmap(source) && dest.bytesPerLine() == source.bytesPerLine()) {
        std::memcpy(dest.bits(), source.constBits(), static_cast<std::size_t>(dest.sizeInBytes()));
        return;
    }
    dest = NewBitmap24(kPageWidth, kPageHeight);
    CopyBlit(dest, 0, 0, source);
}

} // namespace

Compositor::Compositor(Clock& clock)
    : clock_(clock)
    , backBuffer_(NewBitmap24(kPageWidth, kPageHeight))
    , fadeSource_(NewBitmap24(kPageWidth, kPageHeight))
    , clip_(NewBitmap24(kPageWidth, kPageHeight))
    , ownViewer_(NewBitmap24(kPageWidth, kPageHeight))
{
}

Compositor::~Compositor()
{
    if (fade_) {
        if (fade_->task)
            clock_.Cancel(fade_->task);
        delete fade_;
    }
}

void Compositor::SetViewerPicture(QImage* picture)
{
    viewer_ = picture;
}

QImage& Compositor::Viewer()
{
    QImage& v = viewer_ ? *viewer_ : ownViewer_;
    MakePageBitmap(v);
    return v;
}

QString Compositor::ResolvePath(const QString& name) const
{
    return ResolveMediaFile(name, bookFolder_);
}

void Compositor::LoadPictureToBackBuffer(const QString& file)
{
    DrawPictureCentred(backBuffer_, LoadPicture(ResolvePath(file)));
}

void Compositor::FillBackBuffer(ColorRef color)
{
    MakePageBitmap(backBuffer_);
    FillBitmap(backBuffer_, color);
}

void Compositor::DrawClip(const QString& file, int x, int y, bool transparent)
{
    QImage picture = LoadPicture(ResolvePath(file));
    if (picture.isNull())
        return;
    clip_ = picture;
    MakePageBitmap(backBuffer_);
    if (transparent)
        TransparentBlit(backBuffer_, x, y, clip_);
    else
        CopyBlit(backBuffer_, x, y, clip_);
}

void Compositor::PresentBackBuffer()
{
    CopyPixels(Viewer(), backBuffer_);
}

void Compositor::BlankViewer()
{
    Viewer().fill(Qt::black);
    MakePageBitmap(backBuffer_);
    backBuffer_.fill(Qt::black);
    MakePageBitmap(fadeSource_);
    fadeSource_.fill(Qt::black);
}

bool Compositor::FadeIn(int effectWait, FadeHooks hooks)
{
    if (fade_)
        FinishFade(true);
    CopyPixels(fadeSource_, Viewer());
    MakePageBitmap(backBuffer_);

    fade_ = new Fade;
    fade_->hooks = std::move(hooks);
    // A negative wait read from a book would make every step overdue; it fades as fast as
    // the machine can, like a wait of 0.
    fade_->wait = qMax(0, effectWait);
    fade_->start = fade_->last = clock_.NowMs();
    // Pending window events run before the first step, as before every later one.
    fade_->task = clock_.At(clock_.NowMs(), [this] { FadeStep(); });
    return true;
}

void Compositor::StopFade()
{
    if (!fade_)
        return;
    fade_->stopAsked = true;
    if (fade_->task)
        clock_.Cancel(fade_->task);
    fade_->task = clock_.At(clock_.NowMs(), [this] { FadeStep(); });
}

void Compositor::AbandonFade(bool showTarget)
{
    if (!fade_)
        return;
    if (fade_->task)
        clock_.Cancel(fade_->task);
    delete fade_;
    fade_ = nullptr;
    if (showTarget)
        PresentBackBuffer();
}

void Compositor::FadeStep()
{
    if (!fade_)
        return;
    Fade& f = *fade_;
    f.task = 0;
    if (f.stopAsked || (f.hooks.stopRequested && f.hooks.stopRequested())) {
        FinishFade(true);
        return;
    }
    // Row addresses are taken afresh each step: the viewer may have shared its picture
    // with the screen in between, and writing must not reach that copy.
    QImage& out = Viewer();
    const std::size_t rowBytes = static_cast<std::size_t>(kPageWidth) * 3;
    if (out.bytesPerLine() == static_cast<qsizetype>(rowBytes)
        && fadeSource_.bytesPerLine() == out.bytesPerLine()
        && backBuffer_.bytesPerLine() == out.bytesPerLine()) {
        tables_.BlendStep(fadeSource_.constBits(), backBuffer_.constBits(), out.bits(),
            rowBytes * kPageHeight, f.step);
    } else {
        for (int y = 0; y < kPageHeight; ++y)
            tables_.BlendStep(fadeSource_.constScanLine(y), backBuffer_.constScanLine(y),
                out.scanLine(y), rowBytes, f.step);
    }
    ++f.steps;
    Fade* running = fade_;
    if (f.hooks.refresh)
        f.hooks.refresh();
    // The refresh may have stopped this fade or started another.
    if (fade_ != running || fade_->task)
        return;
    fade_->task = clock_.At(fade_->last + fade_->wait, [this] { FadeAfterWait(); });
}

void Compositor::FadeAfterWait()
{
    if (!fade_)
        return;
    Fade& f = *fade_;
    f.task = 0;
    f.last = clock_.NowMs();
    if (!f.measured) {
        // Measured once, on the first step: a machine that cannot draw a step within the
        // wait skips ahead by the ratio, so the fade keeps about its planned length.
        f.measured = true;
        const qint64 elapsed = f.last - f.start;
        if (elapsed > f.wait) {
            if (f.wait == 0)
                f.wait = 1;
            const double ratio = 100.0 / ((f.wait * 100.0) / static_cast<double>(elapsed));
            f.increment = qMax(1, static_cast<int>(std::nearbyint(ratio)));
        } else {
            f.increment = 1;
        }
    }
    f.step += f.increment;
    if (f.step < kLastStep)
        FadeStep();
    else
        FinishFade(false);
}

void Compositor::FinishFade(bool stopped)
{
    Fade* f = fade_;
    if (f->task)
        clock_.Cancel(f->task);
    f->task = 0;
    // Always the exact target, also after a stop: the steps only approach it.
    PresentBackBuffer();
    FadeReport report;
    report.steps = f->steps;
    report.wait = f->wait;
    report.increment = f->increment;
    report.stopped = stopped;
    FadeHooks hooks = std::move(f->hooks);
    fade_ = nullptr;
    delete f;
    if (hooks.refresh)
        hooks.refresh();
    if (hooks.done)
        hooks.done(report);
}

} // namespace pimoko
