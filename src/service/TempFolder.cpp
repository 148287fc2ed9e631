#include "service/TempFolder.h"

#include "service/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace tavix {

namespace {

std::unique_ptr<QTemporaryDir> &runFolder()
{
    // Destroyed at exit, which removes the folder and everything written into it.
    static std::unique_ptr<QTemporaryDir> folder;
    return folder;
}

} // namespace

QString TempFolder()
{
    auto &folder = runFolder();
    if (!folder) {
        auto created = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                       QLatin1String("/tavix-XXXXXX"));
        if (!created->isValid()) {
            throw Error(QCoreApplication::translate("tavix", "Impossibile creare la cartella "
                                                             "temporanea: %1")
                            .arg(created->errorString()));
        }
        folder = std::move(created);
    }
    return QDir::fromNativeSeparators(folder->path()) + QLatin1Char('/');
}

} // namespace tavix
