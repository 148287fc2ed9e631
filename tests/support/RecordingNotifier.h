#pragma once

#include "service/Notifier.h"

#include <QStringList>

// Installs itself for its lifetime and records every message instead of showing it.
class RecordingNotifier : public tavix::Notifier
{
public:
    RecordingNotifier();
    ~RecordingNotifier() override;
    void showError(const QString &caption, const QString &text) override;

    QStringList messages; // "caption|text"

private:
    tavix::Notifier *m_previous;
};
