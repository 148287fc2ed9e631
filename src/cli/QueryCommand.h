#pragma once

#include <QStringList>

namespace tavix::cli {

// "query OPERATION ARG… [--user U --password P] [--format packet|csv|table] [--out DIR]":
// runs one operation of the data module against the service and prints its result.
// Exit code 0; 1 when the query failed; 2 on bad input.
int runQuery(const QStringList &args);

} // namespace tavix::cli
