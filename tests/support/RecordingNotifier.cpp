#include "RecordingNotifier.h"

RecordingNotifier::RecordingNotifier() : m_previous(tavix::setNotifier(this)) {}

RecordingNotifier::~RecordingNotifier()
{
    tavix::setNotifier(m_previous);
}

void RecordingNotifier::showError(const QString &caption, const QString &text)
{
    messages << caption + QLatin1Char('|') + text;
}
