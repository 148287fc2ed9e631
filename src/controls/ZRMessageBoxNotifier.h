#pragma once

#include "service/Notifier.h"

// Shows the core's error messages in the program's own message box (OK, error picture).
class ZRMessageBoxNotifier : public tavix::Notifier
{
public:
    void showError(const QString &caption, const QString &text) override;
};
