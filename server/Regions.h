#pragma once
// The twenty regions: the archive file each region's queries name, and where its land lies in
// Gauss-Boaga (for the demo generator).

#include <string_view>

namespace tafserver {

struct RegionInfo
{
    std::string_view name; // as the comuni table writes it
    std::string_view file; // the "filename" of its queries
    double centreEast;     // Gauss-Boaga, in the region's usual fuso
    double centreNorth;
};

const RegionInfo *findRegion(std::string_view name);
// True for one of the twenty region files.
bool isRegionFile(std::string_view filename);

} // namespace tafserver
