#include "editor/page_editor.h"

#include "book/open_book.h"
#include "book/page_limits.h"
#include "editor/page_editor_internal.h"
#include "platform/busy_state.h"
#include "platform/prompt_port.h"
#include "player/thumbnail_cache.h"

namespace pimoko {

namespace {

const QString kCaption = QStringLiteral("ピモコエディタ");

} // namespace

// ---- Moving between pages ---------------------------------------------------------------

void TPageEditor::Button5Click()
{
    if (Busy() || book_.CurrentPage >= kMaxPages)
        return;
    StorePage();
    ++book_.CurrentPage;
    PageLabel = IntToStr(book_.CurrentPage);
    if (Current().InUse) {
        ShowPage(book_.CurrentPage);
    } else {
        // Moving forward onto a free slot makes an empty page there.
        ClearPage();
        StorePage();
    }
}

void TPageEditor::Button6Click()
{
    if (Busy() || book_.CurrentPage <= 1)
        return;
    StorePage();
    --book_.CurrentPage;
    PageLabel = IntToStr(book_.CurrentPage);
    if (Current().InUse) {
        ShowPage(book_.CurrentPage);
    } else {
        ClearPage();
        RefreshTitleListIfVisible();
    }
}

// ---- Insertion --------------------------------------------------------------------------

bool TPageEditor::MakeRoomAt(int index)
{
    // A page in slot 300 would be pushed out of the book: nothing is inserted then.
    if (index < 1 || index > kMaxPages || book_.Page(kMaxPages).InUse)
        return false;
    for (int i = kMaxPages - 1; i >= index; --i) {
        TNovelPage& to = book_.Page(i + 1);
        to.Assign(book_.Page(i));
        to.PageNumber = i + 1;
    }
    TNovelPage& fresh = book_.Page(index);
    fresh.Clear();
    fresh.PageNumber = index;
    PagesChanged();
    return true;
}

namespace {

// A link into the book after an insertion at index; one that would point past the last
// slot points nowhere.
int LinkAfterInsert(int value, int index)
{
    if (value <= 0 || value < index)
        return value;
    return value + 1 > kMaxPages ? 0 : value + 1;
}

} // namespace

void TPageEditor::RenumberAfterInsert(int index)
{
    for (int k = 1; k <= kMaxPages; ++k) {
        TNovelPage& page = book_.Page(k);
        if (page.InUse)
            page.LinkPage = LinkAfterInsert(page.LinkPage, index);
    }
    for (int k = 1; k <= kMaxPages; ++k) {
        TNovelPage& page = book_.Page(k);
        if (page.InUse)
            page.GotoPage = LinkAfterInsert(page.GotoPage, index);
    }
}

bool TPageEditor::InsertNewPage(int index)
{
    if (index < 1 || index >= kMaxPages || book_.Page(kMaxPages).InUse) {
        prompt_.ShowMessage(MessageKind::Information, kCaption, kCannotInsert);
        return false;
    }
    StorePage();
    MakeRoomAt(index);
    // The new page is the one being edited, whichever page was before.
    book_.CurrentPage = index;
    PageLabel = IntToStr(index);
    ClearPage();
    Current().InUse = true;
    Edit4.clear();
    StorePage();
    RenumberAfterInsert(index);
    return true;
}

bool TPageEditor::InsertEmptyPage(int index)
{
    if (!MakeRoomAt(index))
        return false;
    TNovelPage& page = book_.Page(index);
    page.InUse = true;
    return true;
}

void TPageEditor::InsertBeforeCurrent()
{
    if (Busy())
        return;
    WaitCursor wait(*view_);
    const int asked = book_.CurrentPage;
    if (!InsertNewPage(book_.CurrentPage))
        return;
    AfterInsertion(asked);
}

void TPageEditor::InsertAfterCurrent()
{
    if (Busy())
        return;
    WaitCursor wait(*view_);
    const int asked = book_.CurrentPage;
    if (book_.CurrentPage < kMaxPages) {
        StorePage();
        ++book_.CurrentPage;
        if (Current().InUse)
            ShowPage(book_.CurrentPage);
        else
            ClearPage();
    }
    if (!InsertNewPage(book_.CurrentPage))
        return;
    AfterInsertion(asked);
}

void TPageEditor::AfterInsertion(int askedAt)
{
    if (thumbnails_)
        thumbnails_->InvalidateThumbnailsFrom(askedAt);
    MarkModified();
    RedrawPreview();
    RefreshTitleListIfVisible();
}

void TPageEditor::CopiesInserted(int first)
{
    ShowPage(first);
    AfterInsertion(first);
}

bool TPageEditor::CountFreeTail(int needed) const
{
    int free = 0;
    for (int k = kMaxPages; k >= 1 && !book_.Page(k).InUse; --k)
        ++free;
    return free >= needed;
}

// ---- Deletion ---------------------------------------------------------------------------

void TPageEditor::RenumberAfterDelete(int index)
{
    // Two passes, links first: a page that loses both gets two messages.
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 1; k <= kMaxPages; ++k) {
            TNovelPage& page = book_.Page(k);
            if (!page.InUse)
                continue;
            int& value = pass == 0 ? page.LinkPage : page.GotoPage;
            if (value > 0 && value == index) {
                value = 0;
                prompt_.ShowMessage(MessageKind::Information, kCaption, LinkRemovedMessage(k));
            } else if (value > index) {
                --value;
            }
        }
    }
}

void TPageEditor::DeletePage(int index)
{
    if (index < 1 || index > kMaxPages)
        return;
    if (index < kMaxPages) {
        for (int i = index; i < kMaxPages; ++i) {
            TNovelPage& to = book_.Page(i);
            to.Assign(book_.Page(i + 1));
            to.PageNumber = i;
        }
    }
    TNovelPage& last = book_.Page(kMaxPages);
    last.Clear();
    last.PageNumber = kMaxPages;
    PagesChanged();

    RenumberAfterDelete(index);

    if (book_.Page(index).InUse) {
        ShowPage(index);
        return;
    }
    // The last page went: the one before it is shown.
    book_.CurrentPage = index;
    PageLabel = IntToStr(index);
    ClearPage();
    if (book_.CurrentPage > 1) {
        --book_.CurrentPage;
        PageLabel = IntToStr(book_.CurrentPage);
        if (Current().InUse) {
            ShowPage(book_.CurrentPage);
        } else {
            ClearPage();
            StorePage();
        }
    }
    RefreshTitleListIfVisible();
}

void TPageEditor::DeleteBitBtnClick()
{
    if (Busy())
        return;
    if (prompt_.Ask(MessageKind::Warning, kCaption, kConfirmDelete, Buttons::YesCancel)
        != Answer::Yes)
        return;
    WaitCursor wait(*view_);
    MarkModified();
    if (thumbnails_)
        thumbnails_->InvalidateThumbnailsFrom(book_.CurrentPage);
    DeletePage(book_.CurrentPage);
    RedrawPreview();
    RefreshTitleListIfVisible();
}

} // namespace pimoko
