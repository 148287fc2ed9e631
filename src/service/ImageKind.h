#pragma once

#include <QString>

#include <array>

namespace tavix {

// The four images of a point, in this order everywhere.
enum class ImageKind { DetailMonograph = 0, Photograph = 1, MapExtract = 2, AuxiliaryInfo = 3 };

inline constexpr std::array<ImageKind, 4> kImageKinds = {
    ImageKind::DetailMonograph, ImageKind::Photograph, ImageKind::MapExtract,
    ImageKind::AuxiliaryInfo};

// Field of the "download_img" answer holding the kind's remote path.
QString imageAnswerField(ImageKind kind);
// Field of the upload form carrying a file of that kind.
QString imageUploadField(ImageKind kind);

// Local name of a downloaded image: folder, then c1 "1" c2 "2" c3 and the kind's suffix
// ("3a", "3b", "3c", "3d"), where c1..c3 are the last three characters of the remote path.
// A path separator or NUL among them becomes "_" so the name stays inside the folder.
QString ImageLocalName(const QString &folder, const QString &remotePath, ImageKind kind);

} // namespace tavix
