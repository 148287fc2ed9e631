#pragma once

#include <QString>
#include <QStringList>

// The addresses of the archive service. They are compiled in enciphered from the deployment
// file and deciphered anew on every call; a run-time override points the client at another
// service (a local one for demos and tests).
namespace tavix {

QString serviceBase();
QString queryPage();
QString comuniPage();
QString uploadPage();
QString printedCardsPage();
QString newUserPage();
QString replaceImagePage();
QString deleteImagePage();
QString cardPrintPage();
QString listPrintPage();
QString defaultPrintBase();

// Empty clears the override. A base without a final "/" gets one, since page names follow it
// directly. Throws tavix::Error for an address that is not http(s).
void setServiceBaseOverride(const QString &base);
void setPrintBaseOverride(const QString &base);

// Applies TAVIX_SERVICE_BASE / TAVIX_PRINT_BASE, then the options "--service-base URL" and
// "--print-base URL" (also "--option=URL"), which win; the options are removed from args.
// Throws tavix::Error for an option without its address or for a bad address.
void applyServiceOverrides(QStringList &args);

// address with the deployment's base in front replaced by overrideBase; otherwise unchanged.
QString rebaseAddress(const QString &address, const QString &deploymentBase,
                      const QString &overrideBase);

} // namespace tavix
