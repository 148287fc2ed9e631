#pragma once

#include <QString>

namespace tavix {

// The run's private scratch folder, ending with a path separator. Created on first use inside
// the system's temporary folder with mode 0700 under an unpredictable name (fixed names in a
// folder shared by every user invite symlink attacks), and removed with its content at exit.
// Throws tavix::Error when it cannot be created.
QString TempFolder();

} // namespace tavix
