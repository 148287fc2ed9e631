#pragma once

#include "controls/NumericText.h"
#include "controls/VXGenericEdit.h"

// The numeric field: only ever holds a decimal number with at most `Interi` integer and
// `Decimali` decimal characters, an optional leading sign and one separator. Every keystroke,
// deletion, cut and paste is tried on a copy of the text first and silently refused when the
// result would break the rule; Enter and leaving the field put the number in canonical form.
class TVXGenericNumEdit : public TVXGenericEdit
{
    Q_OBJECT
    Q_PROPERTY(bool AccettaSegno READ accettaSegno WRITE setAccettaSegno)
    Q_PROPERTY(int Interi READ interi WRITE setInteri)
    Q_PROPERTY(int Decimali READ decimali WRITE setDecimali)
    Q_PROPERTY(QChar Separatore READ separatore WRITE setSeparatore)
    Q_PROPERTY(int DecimalPrecision READ decimalPrecision WRITE setDecimalPrecision)
    Q_PROPERTY(QString ParteIntera READ parteIntera)
    Q_PROPERTY(QString ParteDecimale READ parteDecimale)
    Q_PROPERTY(QString Valore READ valore WRITE setValore)
public:
    explicit TVXGenericNumEdit(QWidget *parent = nullptr);

    bool accettaSegno() const { return m_rules.accettaSegno(); }
    void setAccettaSegno(bool on);
    int interi() const { return m_rules.interi(); }
    void setInteri(int n);
    int decimali() const { return m_rules.decimali(); }
    void setDecimali(int n);
    QChar separatore() const { return m_rules.separatore(); }
    void setSeparatore(QChar c);
    int decimalPrecision() const { return m_rules.decimalPrecision(); }
    void setDecimalPrecision(int n) { m_rules.setDecimalPrecision(n); }
    const tavix::NumericText &rules() const { return m_rules; }

    QString parteIntera() const { return m_rules.integerPartOf(text()); }
    QString parteDecimale() const { return m_rules.decimalPartOf(text()); }
    bool IsValid() const { return m_rules.isValidText(text()); }

    // Reading formats the text first. Writing a text that breaks the rule leaves the last
    // valid text in place.
    QString valore();
    void setValore(const QString &value);

    // Puts the number in canonical form (".5" becomes "0.5", "12." becomes "12").
    void FormatText();

protected:
    bool acceptEdit(tavix::EditInput input, const QString &inserted) override;
    void leaveField() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void configure();
    void keepValid(const QString &text);

    tavix::NumericText m_rules;
    QString m_lastValidText;
};
