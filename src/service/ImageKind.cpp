#include "service/ImageKind.h"

namespace tavix {

QString imageAnswerField(ImageKind kind)
{
    switch (kind) {
    case ImageKind::DetailMonograph: return QStringLiteral("monografia_planim");
    case ImageKind::Photograph: return QStringLiteral("monografia_altim");
    case ImageKind::MapExtract: return QStringLiteral("emp");
    case ImageKind::AuxiliaryInfo: return QStringLiteral("info_ausiliarie");
    }
    return {};
}

QString imageUploadField(ImageKind kind)
{
    switch (kind) {
    case ImageKind::DetailMonograph: return QStringLiteral("file_planim");
    case ImageKind::Photograph: return QStringLiteral("file_altim");
    case ImageKind::MapExtract: return QStringLiteral("file_emp");
    case ImageKind::AuxiliaryInfo: return QStringLiteral("file_infoaus");
    }
    return {};
}

QString ImageLocalName(const QString &folder, const QString &remotePath, ImageKind kind)
{
    static const char *const suffixes[] = {"3a", "3b", "3c", "3d"};
    QString last3 = remotePath.right(3);
    for (QChar &c : last3) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isNull())
            c = QLatin1Char('_');
    }
    QString name = folder;
    const char *const marks[] = {"1", "2", ""};
    for (int i = 0; i < last3.size(); ++i)
        name += last3.at(i) + QLatin1String(marks[i]);
    return name + QLatin1String(suffixes[static_cast<int>(kind)]);
}

} // namespace tavix
