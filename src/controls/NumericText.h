#pragma once

#include <QString>
#include <bitset>

// Rules of the numeric edit: a decimal number with a bounded count of integer and decimal
// characters, an optional leading sign and one separator. Pure, so the edit can try every
// input on a copy of its text first.
namespace tavix {

// The byte values an edit accepts; characters beyond 255 are never accepted.
using CharSet = std::bitset<256>;
bool charSetHas(const CharSet &set, QChar c);
void charSetSet(CharSet &set, QChar c, bool on);

class NumericText
{
public:
    NumericText();

    bool accettaSegno() const { return m_accettaSegno; }
    int interi() const { return m_interi; }
    int decimali() const { return m_decimali; }
    QChar separatore() const { return m_separatore; }
    int decimalPrecision() const { return m_decimalPrecision; }
    const CharSet &acceptedChars() const { return m_accepted; }

    // Each writer returns `text` as it must be after the change (switching the sign off drops
    // the first "+", or else the first "-"). Negative counts are taken as 0.
    QString setAccettaSegno(bool on, const QString &text);
    void setInteri(int n);
    void setDecimali(int n);
    void setSeparatore(QChar c);
    void setDecimalPrecision(int n) { m_decimalPrecision = n; }

    // Interi + Decimali, + 1 for the sign when accepted, + 1 for the separator when decimals are.
    int maxLength() const;

    QString integerPartOf(const QString &text) const;
    QString decimalPartOf(const QString &text) const;
    int separatorPos(const QString &text) const; // from 1; 0 without separator
    bool hasSeparator(const QString &text) const { return separatorPos(text) > 0; }
    QString signOf(const QString &text) const; // "-", "+" or empty
    bool isValidText(const QString &text) const;
    // The canonical form ("0" before a bare decimal part, no dangling separator), or the text
    // itself when that form would not be valid.
    QString formatText(const QString &text) const;

private:
    void configure();

    bool m_accettaSegno = true;
    int m_interi = 6;
    int m_decimali = 6;
    QChar m_separatore = QLatin1Char('.');
    int m_decimalPrecision = 0;
    CharSet m_accepted;
};

// The text an edit would hold after one input, for trying it before it happens.
struct EditState
{
    QString text;
    int selectionStart = 0; // the caret when nothing is selected
    int selectionLength = 0;
};
enum class EditInput { Insert, Backspace, Delete, Cut };
QString candidateText(const EditState &state, EditInput input, const QString &inserted = {});

} // namespace tavix
