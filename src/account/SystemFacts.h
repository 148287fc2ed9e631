#pragma once

#include <QString>

namespace tavix {

// What the About box tells of the computer.
struct SystemFacts
{
    QString processor;
    QString system;
    QString version;
    QString versionCaption; // "Versione Windows:" on Windows
};

// "PENTIUM O SUPERIORE" from a processor type number of 486 up, otherwise the number.
QString ProcessorText(int processorType);
// For an architecture name: x86 processors are all of the 486 line or later.
QString ProcessorTextForArchitecture(const QString &architecture);
// major "." minor " - " service pack (which may be empty).
QString VersionText(int major, int minor, const QString &servicePack);

SystemFacts CurrentSystemFacts();

} // namespace tavix
