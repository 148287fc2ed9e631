#pragma once

#include <QString>

// Rules of the sheet-number edit: canonical PF numbers (two digits) and sheet codes (four
// characters: three for the number, a letter A..Z standing for 10..35 in the hundreds place
// from sheet 1000, and one allegato character), key filtering and the leave step.
namespace tavix::sheet {

// Order of the "/"-separated parts: PF first then sheet, or sheet first then PF.
enum class Sequenza { oPFFoglio, oFoglioPF };

// Each normaliser returns whether the value is valid and, when it is, rewrites it in canonical
// form; an invalid value is left as it was.
bool NormalisePF(QString &part);
bool NormaliseSheet(QString &part);
bool NormaliseText(QString &text, Sequenza sequenza);

// Number of "/"-separated parts (an empty text has one).
int partCount(const QString &text);

// Valid for the field when not empty, with exactly `parametri` parts that normalise.
bool validateText(QString &text, int parametri, Sequenza sequenza);

// What the field does with one typed character.
struct KeyCheck
{
    bool accepted = true;
    bool validateFirst = false; // Enter: run the focus validation, then let the key through
    bool normalised = false;    // "/": the text was normalised and the caret goes to its end
    QString text;               // the text to put in the field when normalised
};
KeyCheck CheckKey(const QString &text, bool wholeTextSelected, QChar ch, int parametri,
                  Sequenza sequenza);

// What happens after a focus validation.
struct LeaveDecision
{
    enum Action {
        RunExit,     // the exit event runs
        SyntaxError, // "Sintassi scorretta...", focus back, no exit event
        Stay,        // nothing more, no exit event
        Replace      // the text becomes `text`, no exit event
    };
    Action action = RunExit;
    QString text;
};
// `saved` is the text as it was when the validation started; `typedByUser` says whether the
// user edited it since the field last normalised it. The four-digit rule reads only typed text:
// a sheet 123 that the field itself turned into 1230 must not become sheet 1230 (C300) at the
// next focus change.
LeaveDecision LeaveStep(const QString &saved, int parametri, Sequenza sequenza, bool typedByUser);

} // namespace tavix::sheet
