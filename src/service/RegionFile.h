#pragma once

#include <QString>

namespace tavix {

// The service's archive file of a region, or empty text for a region it does not know.
// Compared ignoring case and surrounding blanks: the lookup may spell "Valle d'Aosta".
QString RegionFile(const QString &region);

} // namespace tavix
