#pragma once

#include <QString>

namespace tavix {
class ResultTable;
}

namespace tavix::cli {

// A result table as CSV (RFC 4180, header line of field names) or as an aligned text table.
QString tableAsCsv(const ResultTable &table);
QString tableAsText(const ResultTable &table);

} // namespace tavix::cli
