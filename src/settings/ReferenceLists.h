#pragma once

#include <QStringList>

namespace tavix {

// Appends the 103 provinces, in their fixed order, to the end of the list (not cleared first).
void FillProvinceList(QStringList &list);

// Clears the list, then fills it with the lines of the province's comuni file, whole and in file
// order. The list stays empty, and a tavix::Error names the file, when it cannot be read.
void LoadComuni(const QString &province, QStringList &list);

// The folder of the comuni files: "FilesComuni" beside the program, unless overridden.
QString ComuniFolder();
void setComuniFolder(const QString &folder); // empty text restores the default

// The lines of 8-bit text: CR LF, lone LF and lone CR end a line; no extra entry after a final
// line end.
QStringList SplitLines(const QByteArray &bytes);

} // namespace tavix
