#pragma once
// The comuni page: name -> code and region, code -> name and province. The condition is read as
// one column, "=", and one quoted literal (apostrophes doubled); nothing else is accepted.

#include "QueryCommon.h"

namespace tafserver {

struct Condition
{
    enum Column { NomeComune, CodiceFiscale } column;
    std::string value;
};

std::optional<Condition> parseCondition(std::string_view text);

Answer codicePerNComune(const QueryRequest &request); // codice_per_ncomune
Answer nComunePerCodice(const QueryRequest &request); // ncomune_per_codice

} // namespace tafserver
