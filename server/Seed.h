#pragma once
// Fills a database: the comuni (with the sections), a release, the demo account and, by scope,
// the demo archive of fiducial points with its images.

#include <filesystem>
#include <iosfwd>
#include <string_view>

namespace tafserver {

class Database;

enum class SeedScope {
    Comuni, // reference tables and the demo account only (test fixtures import their own TAF)
    Demo,   // plus the archive of a handful of provinces
    All,    // plus the archive of every comune
};

constexpr std::string_view kDemoUser = "demo@tavix.it";
constexpr std::string_view kDemoPassword = "demo";

void seedDatabase(Database &db, const std::filesystem::path &root, SeedScope scope,
                  std::ostream &log);

} // namespace tafserver
