#pragma once
// One line of the cadastre's TAF file: 251 fixed columns, Latin-1. Parsing trims padded
// numbers (blank or zero padded) and converts text to UTF-8; formatting writes the layout back.

#include <optional>
#include <string>
#include <string_view>

namespace tafserver {

struct TafRecord
{
    std::string codice;  // cadastral code, 4 characters
    std::string sezione; // empty or one letter
    int foglio = 0;
    char allegato = ' '; // blank when none
    std::string pf;      // as written, trimmed: "5" or "05"
    std::string particella;
    std::string descPlanim;
    double nord = 0;
    double est = 0;
    int attP = 0;
    int fgOrig = 9999; // 9999: no origin PF
    char allOrig = ' ';
    std::string pfOrig;
    std::string data; // DDMMYY, may be blank
    std::string causale;
    std::string descAltim;
    std::string attA;
    std::optional<double> quota; // nullopt: 9999.000, not determined

    int pfNumber() const;
};

constexpr int kTafLineLength = 251;
constexpr int kMaxSheet = 3599; // Z99: the largest sheet the canonical code can write

// nullopt with a reason (Italian) when the line cannot be read.
std::optional<TafRecord> parseTafLine(std::string_view line, std::string &reason);
std::string formatTafLine(const TafRecord &record);

// The four-character sheet code: three for the number (A..Z for 10..35 hundreds) + allegato.
std::string canonicalSheet(int number, char allegato);
// "DDMMYY" as "DD/MM/YYYY"; empty when blank.
std::string displayDate(std::string_view ddmmyy);
// Gauss-Boaga coordinates have an Est of millions; the fuso follows from its false east.
bool isGaussEast(double est);
std::string_view fusoOf(double gaussEast);

} // namespace tafserver
