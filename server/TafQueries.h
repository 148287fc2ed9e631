#pragma once
// The selections of the archive (every field of the TAF record) and the lists that feed the
// client's selection dialogs. Each needs valid credentials and a valid "filename".

#include "QueryCommon.h"

namespace tafserver {

Answer tafPerNComune(const QueryRequest &request);           // Taf_Per_NComune
Answer tafPerPfFoglio(const QueryRequest &request);          // TAF_Per_PFFoglio
Answer tafPerIntervalloFogli(const QueryRequest &request);   // TAF_Per_IntervalloFogli
Answer tafPerIntAttendibilita(const QueryRequest &request);  // TAF_Per_Int_Attendibilita
Answer tafPerFogliCComuni(const QueryRequest &request);      // TAF_Per_Fogli_CComuni
Answer tafPerPfFogliCComuni(const QueryRequest &request);    // TAF_Per_PF_Fogli_CComuni
Answer fogliPerNComune(const QueryRequest &request);         // Fogli_PerNComune
Answer pfPerNComuneEFoglio(const QueryRequest &request);     // PF_PerNComuneEFoglio
Answer attendibilitaPerNComune(const QueryRequest &request); // Attendibilita_PerNComune

} // namespace tafserver
