#include "editor/book_options.h"

#include "book/open_book.h"
#include "editor/effects_settings.h"
#include "editor/page_editor.h"
#include "platform/numbers.h"

namespace pimoko {

const QString TBookOptions::kNeverSaved = QStringLiteral("ファイルが保存されていない");

TBookOptions::TBookOptions(TPageEditor& editor)
    : editor_(editor)
{
}

void TBookOptions::Open(const BookOptionsRequest& request)
{
    DefaultEffectWaitEdit = request.defaultEffectWait;
    CurrentFilePathLabel = request.fileLabel.isEmpty() ? kNeverSaved : request.fileLabel;
    EscEdit = editor_.Book().Escapement;
}

void TBookOptions::SpeedPreset(int item)
{
    const QString value = FadeSpeedPresetValue(item);
    if (!value.isEmpty())
        DefaultEffectWaitEdit = value;
}

void TBookOptions::Ok()
{
    const QString text = IntToStr(StrToInt(DefaultEffectWaitEdit));
    DefaultEffectWaitEdit = text;
    if (text == editor_.DefaultEffectWaitEdit())
        return;
    editor_.SetDefaultEffectWaitEdit(text);
    editor_.MarkModified();
}

void TBookOptions::EscEditChange(const QString& text)
{
    EscEdit = text;
    if (editor_.Book().Escapement == text)
        return;
    // The player's engine takes it from the book when a reading starts.
    editor_.Book().Escapement = text;
    editor_.MarkModified();
}

} // namespace pimoko
