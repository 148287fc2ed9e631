#pragma once

#include "controls/LinkRules.h"
#include "controls/NumericText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>

class TVXGenericButton;
class TVXGenericLabel;

// The family's one-line edit: refuses characters outside a set, can insist on not being left
// empty, inserts today's date on Ctrl+Shift+comma, and can be chained to further edits (read
// and written together through GlobalText) and linked to a label and a button that keep their
// place beside it.
class TVXGenericEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(bool Obbligatorio READ obbligatorio WRITE setObbligatorio)
    Q_PROPERTY(QString ObbligatorioText READ obbligatorioText WRITE setObbligatorioText)
    Q_PROPERTY(bool BloccaAltezza READ bloccaAltezza WRITE setBloccaAltezza)
    Q_PROPERTY(QString GlobalText READ globalText WRITE setGlobalText)
    Q_PROPERTY(QString Author READ author)
public:
    explicit TVXGenericEdit(QWidget *parent = nullptr);
    ~TVXGenericEdit() override;

    bool obbligatorio() const { return m_obbligatorio; }
    void setObbligatorio(bool on) { m_obbligatorio = on; }
    QString obbligatorioText() const { return m_obbligatorioText; }
    // An empty text stores the default message.
    void setObbligatorioText(const QString &text);
    bool bloccaAltezza() const { return m_bloccaAltezza; }
    void setBloccaAltezza(bool on);
    tavix::Allineamento allineamento() const { return m_allineamento; }
    void setAllineamento(tavix::Allineamento side);
    QString author() const;

    const tavix::CharSet &acceptedChars() const { return m_accepted; }
    void setAcceptedChars(const tavix::CharSet &chars) { m_accepted = chars; }
    QString refusedText() const { return m_refusedText; }

    // Linking; each refusal shows its message and changes nothing.
    TVXGenericEdit *internalLinkEdit() const { return m_next; }
    void setInternalLinkEdit(TVXGenericEdit *edit);
    TVXGenericButton *linkButton() const { return m_button; }
    void setLinkButton(TVXGenericButton *button);
    TVXGenericLabel *linkLabel() const { return m_label; }
    void setLinkLabel(TVXGenericLabel *label);
    TVXGenericEdit *linkedFrom() const { return m_linkedFrom; }

    // The texts of the chain from this edit on, joined by each edit's separator; writing gives
    // the n-th word to the n-th edit (an empty text when there are fewer words).
    QString globalText() const;
    void setGlobalText(const QString &value);
    QChar globalSeparator() const { return m_globalSeparator; }
    void setGlobalSeparator(QChar c) { m_globalSeparator = c; }

    // False, after the error message, when the field is mandatory and `text` is empty.
    virtual bool CheckObbligatorio(const QString &text);
    // False for an empty text (silently) or, after the refused-characters message, when a
    // character within the length limit is not accepted.
    virtual bool CheckCaratteri(const QString &text);

    // Moves the edit and keeps its partners beside it (and itself beside the edit chaining it).
    virtual void SetBounds(const QRect &bounds);

signals:
    // The field's exit notification to its form, before the mandatory test.
    void exited();

protected:
    // Whether one input may reach the field; descendants try it on a copy of the text.
    virtual bool acceptEdit(tavix::EditInput input, const QString &inserted = QString());
    virtual void leaveField();
    bool hasLeavingFocus(const QFocusEvent *event) const;

    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TVXGenericButton;
    friend class TVXGenericLabel;
    template <typename Part>
    bool attach(QPointer<Part> &slot, Part *part, const QString &takenMessage);

    void tryPaste();
    void tryCut();
    bool insertDate();
    void checkMandatoryLater();
    void takeBounds(const QRect &bounds);
    void placeButton();
    void placeLabel();
    void placeChained();
    bool chains(const TVXGenericEdit *edit) const;

    bool m_obbligatorio = false;
    QString m_obbligatorioText;
    bool m_bloccaAltezza = true;
    tavix::Allineamento m_allineamento = tavix::Allineamento::Sinistra;
    QChar m_globalSeparator = QLatin1Char(' ');
    tavix::CharSet m_accepted;
    QString m_refusedText;

    QPointer<TVXGenericEdit> m_next;
    QPointer<TVXGenericEdit> m_linkedFrom;
    QPointer<TVXGenericButton> m_button;
    QPointer<TVXGenericLabel> m_label;
    bool m_guardChained = false;
    bool m_guardButton = false;
    bool m_guardLabel = false;
    bool m_settingBounds = false;
};

// The small button that sits beside its edit.
class TVXGenericButton : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(bool BloccaAltezza READ bloccaAltezza WRITE setBloccaAltezza)
    Q_PROPERTY(QString Author READ author)
public:
    explicit TVXGenericButton(QWidget *parent = nullptr);
    ~TVXGenericButton() override;

    bool bloccaAltezza() const { return m_bloccaAltezza; }
    void setBloccaAltezza(bool on);
    tavix::Allineamento allineamento() const { return m_allineamento; }
    void setAllineamento(tavix::Allineamento side);
    QString author() const;
    TVXGenericEdit *ownerEdit() const { return m_owner; }

    virtual void SetBounds(const QRect &bounds);

protected:
    // Called after a left-button release inside the button; sounds the default beep.
    virtual void ButtonReleased();
    void mouseReleaseEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TVXGenericEdit;

    bool m_bloccaAltezza = true;
    tavix::Allineamento m_allineamento = tavix::Allineamento::Destra;
    QPointer<TVXGenericEdit> m_owner;
    bool m_settingBounds = false;
};

// The caption that sits beside its edit.
class TVXGenericLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString Author READ author)
public:
    explicit TVXGenericLabel(QWidget *parent = nullptr);
    ~TVXGenericLabel() override;

    tavix::Allineamento allineamento() const { return m_allineamento; }
    void setAllineamento(tavix::Allineamento side);
    QString author() const;
    TVXGenericEdit *ownerEdit() const { return m_owner; }

    virtual void SetBounds(const QRect &bounds);

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TVXGenericEdit;

    tavix::Allineamento m_allineamento = tavix::Allineamento::Sopra;
    QPointer<TVXGenericEdit> m_owner;
    bool m_settingBounds = false;
};
