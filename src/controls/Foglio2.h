#pragma once

#include "controls/SheetRules.h"

#include <QLineEdit>

// The field for the archive's keys: a sheet number, a PF number, or both (and a free third
// part) separated by "/". It filters what is typed and, when it gains or loses the focus or
// on Enter, normalises the text to the canonical PF (two digits) and sheet (four characters).
class TFoglio : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(int Parametri READ parametri WRITE setParametri)
public:
    using Sequenza = tavix::sheet::Sequenza;

    explicit TFoglio(QWidget *parent = nullptr);

    // Number of "/"-separated parts the text must have, 1 to 3; other values are ignored.
    int parametri() const { return m_parametri; }
    void setParametri(int n);
    Sequenza sequenza() const { return m_sequenza; }
    // Clears the text, then stores the order.
    void setSequenza(Sequenza s);

    // Normalises the text when it is valid, then runs the leave step.
    void ValidateOnFocus(bool leaving = false);

signals:
    // The field's exit notification to its form. It comes from the leave step, so on gaining
    // the focus as well as on losing it, and not when the leave step holds the field.
    void exited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    static bool validatesOn(const QFocusEvent *event);
    void leaveStep(bool leaving, bool typed);
    void refuseKey();
    void syntaxError(bool leaving);

    int m_parametri = 3;
    Sequenza m_sequenza = Sequenza::oPFFoglio;
    QString m_savedText;
    bool m_typed = false;       // the user edited the text since the field last normalised it
    bool m_syntaxShown = false; // the syntax message was shown for the current text
};
