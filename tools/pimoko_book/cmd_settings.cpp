#include "book/book_json.h"
#include "book/settings_file.h"
#include "tools/pimoko_book/commands.h"

namespace pimoko::tool {
namespace {

int RunSettings(const QStringList& args)
{
    if (args.size() != 1)
        return UsageError(QStringLiteral("settings"));
    const TSettings s = ReadSettings(args[0]);
    QJsonObject o = DefaultsToJson(s);
    o.insert(QStringLiteral("playerMode"), s.PlayerMode);
    o.insert(QStringLiteral("marker"), s.Marker ? QJsonValue(*s.Marker) : QJsonValue());
    o.insert(QStringLiteral("TransitionFineness"), s.TransitionFineness);
    PrintJson(o);
    return 0;
}

CommandRegistration reg("settings", "DIR", &RunSettings);

} // namespace
} // namespace pimoko::tool
