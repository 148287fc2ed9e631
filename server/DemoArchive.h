#pragma once
// Deterministic demo archive: fiducial points of the given comuni written as TAF-layout files
// (one per province, as the cadastre's offices distribute them), to be loaded by the importer.

#include <filesystem>
#include <string>
#include <vector>

namespace tafserver {

struct ComuneRow
{
    std::string codice; // 4 characters, or 5 for a section
    std::string nome;
    std::string provincia;
    std::string regione;
};

struct DemoArchive
{
    std::vector<std::filesystem::path> files;
    std::vector<std::pair<std::string, std::string>> origini; // code (4 or 5) -> origin name
    std::vector<std::string> codes;                           // every generated code, 4 or 5
};

// The provinces of the "demo" scope.
const std::vector<std::string> &demoProvinces();

// Comuni whose base code has sections get their points under the sections only.
DemoArchive writeDemoArchive(const std::vector<ComuneRow> &comuni,
                             const std::filesystem::path &folder);

} // namespace tafserver
