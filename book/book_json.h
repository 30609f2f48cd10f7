#pragma once

#include <QJsonObject>

namespace pimoko {

class TNovelPage;
struct TBookDefaults;

// The book in the JSON shape the command-line dump prints and the web edition reads.
// The book defaults under their names.
QJsonObject DefaultsToJson(const TBookDefaults& defaults);
// A page in use: "page" and every stored field under its own name.
QJsonObject PageToJson(const TNovelPage& page, int pageNumber);

} // namespace pimoko
