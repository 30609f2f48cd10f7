// LoadBook on arbitrary bytes, then the editor's save and a second load: whatever loads
// saves without a character lost, the saved file is what BookFileLines gives, and it
// loads again into a book whose save is the same bytes.
#include "book/open_book.h"
#include "platform/line_file.h"
#include "platform/prompt_port.h"
#include "tests/fuzz/book_input.h"

#include <cstdint>
#include <cstdlib>

using namespace pimoko;

namespace {

// The saver writes every block from the page's fields alone, so what a round trip can
// get wrong shows within a few blocks; 8 KB still holds a block with all 2001 delays and
// one past them. Longer inputs repeat that at the cost of a 300-page save each.
constexpr size_t kMaxInput = 8192;

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kMaxInput)
        return 0;
    const fuzz::KeepCurrentFolder keep;
    static ScriptedPromptPort prompt; // a question about a lost character gets Cancel
    static TOpenBook first(prompt, fuzz::InputFolder().path());
    static TOpenBook again(prompt, fuzz::InputFolder().path());
    prompt.shown.clear();

    fuzz::WriteInput(data, size);
    if (!first.LoadBook(fuzz::InputPath()))
        return 0;
    QVector<UnencodableChar> lost;
    const QByteArray lines = JoinSjisLines(first.BookFileLines(), &lost);
    Check(lost.isEmpty()); // text decoded from any bytes encodes back
    Check(first.SaveBook());
    const QByteArray saved = fuzz::ReadBytes(fuzz::InputPath());
    Check(saved == lines);

    Check(again.LoadBook(fuzz::InputPath())); // a book this program saved must load
    Check(again.SaveBook());
    Check(fuzz::ReadBytes(fuzz::InputPath()) == saved); // and not change by a load and save
    return 0;
}
