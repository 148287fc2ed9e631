#pragma once
// Loads TAF files into the archive. A point may come as two records, one in Gauss-Boaga and one
// in Cassini-Soldner (the Est value tells which); they are merged on the point's key.

#include <iosfwd>
#include <string>

namespace tafserver {

class Database;

struct ImportResult
{
    long loaded = 0;
    long rejected = 0;
};

// One transaction per file; rejected lines are reported on `log` with their line numbers and
// the rest is loaded. Throws DbError or std::runtime_error when the file cannot be read.
ImportResult importTafFile(Database &db, const std::string &path, std::ostream &log);

// Stamps the archive's load date (what "data_agg_taf" answers) with today's date.
void stampLoadDate(Database &db);

} // namespace tafserver
