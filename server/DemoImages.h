#pragma once
// Generated images for the demo archive: each kind drawn as what it is (a detail sketch with the
// PF marked, a photo-like view, a map extract, an information sheet).

#include <QByteArray>

#include <filesystem>
#include <string>
#include <vector>

namespace tafserver {

class Database;

struct ImagePoint
{
    std::string comune; // 4 or 5 characters
    std::string foglio; // canonical
    int pf = 0;
    double east = 0; // Gauss if present, else Cassini
    double north = 0;
    std::string description;
    std::string particella;
    std::string reliability;
};

// PNG bytes of one kind (0..3) for a point.
QByteArray drawDemoImage(const ImagePoint &point, int kind);

// Draws images for the points of the first sheet of each given comune (a deterministic share
// of them and of the kinds), stores them below `root` and records them. Returns how many.
int generateDemoImages(Database &db, const std::filesystem::path &root,
                       const std::vector<std::string> &comuni);

} // namespace tafserver
