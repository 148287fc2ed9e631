#include "account/CRAbout.h"
#include "ui_CRAbout.h"

#include "account/SystemFacts.h"
#include "settings/CRGestioneRegistro.h"

#include <QApplication>

namespace tavix {

TAboutBox::TAboutBox(const SettingsStore &settings, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TAboutBox>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(size());
    m_ui->ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    m_ui->VersioneLabel->setText(m_ui->VersioneLabel->text() +
                                 settings.ReadRootValue(setting::kVersione));
    m_ui->UserLabel->setText(settings.ReadRootValue(setting::kUser));
    const SystemFacts facts = CurrentSystemFacts();
    m_ui->CpuLabel->setText(facts.processor);
    m_ui->SOpLabel->setText(facts.system);
    m_ui->WinCaption->setText(facts.versionCaption);
    m_ui->WinLabel->setText(facts.version);
    connect(m_ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    m_ui->OKButton->setFocus();
}

TAboutBox::~TAboutBox() = default;

} // namespace tavix
