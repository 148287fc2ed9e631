#pragma once
// The account, update and image queries of the query page.

#include "QueryCommon.h"

namespace tafserver {

Answer dataAggTaf(const QueryRequest &request);             // data_agg_taf
Answer controllaUser(const QueryRequest &request);          // controlla_user
Answer controllaAggiornamenti(const QueryRequest &request); // controlla_aggiornamenti
Answer downloadImg(const QueryRequest &request);            // download_img

// Dotted versions compared part by part as numbers ("0.10" after "0.9").
int compareVersions(std::string_view a, std::string_view b);

} // namespace tafserver
