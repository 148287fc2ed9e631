#pragma once

#include <QFont>

namespace tavix {

// The fixed-pitch font of the province and comune pick lists and of the settings edits, so
// that entries laid out in columns line up: "Courier New" 8 points, or the system's fixed-pitch
// font where that is missing.
QFont ReferenceListFont();

} // namespace tavix
